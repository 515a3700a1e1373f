#include "ads/search/SearchViewController.h"

#include "ads/request/Ad.h"
#include "ads/request/URLDownload.h"
#include "ads/search/SearchBar.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Font.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/web/WebRequest.h"
#include "platform/web/WebView.h"
#include "json/JSONDeserializer.h"

namespace pennant {

using graphics::Rect;

namespace {

// The text cut after its first `count` characters, never inside one.
std::string firstCharacters(std::string_view text, std::size_t count) {
    std::size_t started = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && started++ == count)
            return std::string(text.substr(0, i));
    }
    return std::string(text);
}

bool given(const std::optional<std::string>& text) { return text && !text->empty(); }

} // namespace

SearchViewController::~SearchViewController() {
    for (const auto& download : activeSuggestionDownloads_)
        download->cancel();
}

std::shared_ptr<SearchViewController> SearchViewController::shared() {
    return std::static_pointer_cast<SearchViewController>(shared_from_this());
}

void SearchViewController::presentFromView(std::shared_ptr<ui::View> view, std::shared_ptr<Ad> ad,
                                           std::weak_ptr<Delegate> delegate,
                                           std::function<std::shared_ptr<Ad>()> displayedAd) {
    originalAd_ = std::move(ad);
    commandeerScreenFromAdView(std::move(view), kBannerToTop, std::move(delegate),
                               std::move(displayedAd));
}

void SearchViewController::loadViewWithBounds(const Rect& bounds) {
    const float width = bounds.width(), height = bounds.height(), barHeight = searchBarHeight_;
    view()->setBackgroundColor(graphics::Color::darkGrayColor());

    searchBar_ = SearchBar::create(Rect(0, 0, width, barHeight), tileImage_);
    searchBar_->setDelegate(shared());
    searchBar_->setPlaceholder(placeholderText_);
    searchBar_->setAutoresizingMask(ui::AutoresizingFlexibleWidth);
    view()->addSubview(searchBar_);

    const Rect below(0, barHeight, width, height - barHeight);
    suggestionTable_ = ui::TableView::create(below);
    suggestionTable_->setDataSource(shared());
    suggestionTable_->setDelegate(shared());
    suggestionTable_->setScrollEnabled(true);
    suggestionTable_->setHidden(true);
    suggestionTable_->setAutoresizingMask(ui::AutoresizingFlexibleWidth);
    view()->addSubview(suggestionTable_);

    if (given(webpageURL_)) {
        webView_ = web::WebView::create(below);
        webView_->setAutoresizingMask(ui::AutoresizingFlexibleWidth);
        webView_->loadRequest({*webpageURL_});
        view()->addSubview(webView_);
    }
    observeKeyboard();
}

void SearchViewController::landingPageDidAppear() { searchBar_->becomeFirstResponder(); }

// A screen that goes, replaced or closed, takes its keyboard with it.
void SearchViewController::landingPageWillDisappear() {
    ModalViewController::landingPageWillDisappear();
    if (searchBar_)
        searchBar_->resignFirstResponder();
    keyboardDidShow_ = {};
    keyboardWillHide_ = {};
}

void SearchViewController::observeKeyboard() {
    auto& center = foundation::NotificationCenter::defaultCenter();
    std::weak_ptr<SearchViewController> weak = shared();
    keyboardDidShow_ = center.addObserver(ui::Keyboard::kDidShowNotification, nullptr,
                                          [weak](const foundation::Notification& notification) {
                                              if (auto self = weak.lock())
                                                  self->keyboardDidShow(notification);
                                          });
    keyboardWillHide_ = center.addObserver(ui::Keyboard::kWillHideNotification, nullptr,
                                           [weak](const foundation::Notification&) {
                                               if (auto self = weak.lock())
                                                   self->keyboardWillHide();
                                           });
}

void SearchViewController::keyboardDidShow(const foundation::Notification& notification) {
    const float keyboardHeight = static_cast<float>(
        notification.userInfo[ui::Keyboard::kBoundsUserInfoKey][3].doubleValue());
    const float top = searchBar_->bounds().height();
    const Rect bounds = view()->bounds();
    suggestionTable_->setFrame(
        Rect(0, top, bounds.width(), bounds.height() - top - keyboardHeight));
}

void SearchViewController::keyboardWillHide() {
    const float top = searchBar_->bounds().height();
    const Rect bounds = view()->bounds();
    suggestionTable_->setFrame(Rect(0, top, bounds.width(), bounds.height() - top));
}

void SearchViewController::textDidChange(ui::SearchBar&, const std::string& text) {
    if (webView_) {
        if (text.empty())
            view()->bringSubviewToFront(webView_);
        else
            view()->sendSubviewToBack(webView_);
    }
    if (given(suggestionUrl_) && !text.empty()) {
        requestSuggestions(text);
        return;
    }
    suggestionTable_->setHidden(true);
    suggestionList_.clear();
    suggestionTable_->reloadData();
}

std::string SearchViewController::suggestionAddress(const std::string& text) const {
    std::string address;
    address.reserve(512);
    address += *suggestionUrl_;
    address += "&query=";
    address += URLDownload::encodeURL(text);
    if (originalAd_)
        for (const auto& [key, value] : originalAd_->userDemographicInfo()) {
            address += '&';
            address += URLDownload::encodeURL(key);
            address += '=';
            address += URLDownload::encodeURL(value.stringValue());
        }
    return address;
}

void SearchViewController::requestSuggestions(const std::string& text) {
    auto download = URLDownload::create();
    std::weak_ptr<SearchViewController> weak = shared();
    download->setSuccessCallback([weak](URLDownload& done) {
        if (auto self = weak.lock())
            self->suggestionDownloadDidSucceed(done);
    });
    download->setFailureCallback([weak](URLDownload& done) {
        if (auto self = weak.lock())
            self->suggestionDownloadDidFail(done);
    });
    download->setIdentifier(text);
    download->loadContentsOfURLAtString(suggestionAddress(text));
    activeSuggestionDownloads_.insert(std::move(download));
}

std::shared_ptr<URLDownload> SearchViewController::take(URLDownload& download) {
    std::shared_ptr<URLDownload> taken;
    std::erase_if(activeSuggestionDownloads_, [&](const auto& entry) {
        if (entry.get() != &download)
            return false;
        taken = entry;
        return true;
    });
    return taken;
}

void SearchViewController::suggestionDownloadDidSucceed(URLDownload& download) {
    const auto finished = take(download);
    // Only the answer for the text in the field counts; one for an earlier text is stale.
    if (finished && download.identifier() == searchBar_->text()) {
        suggestionList_ = suggestionsFromAnswer(download.data());
        if (!suggestionList_.empty())
            suggestionTable_->setHidden(false);
        suggestionTable_->reloadData();
    }
    download.cancel();
}

void SearchViewController::suggestionDownloadDidFail(URLDownload& download) {
    // Held until cancelled: the set may have had the last reference.
    const auto finished = take(download);
    searchBar_->setUserInteractionEnabled(true);
    download.cancel();
}

std::vector<std::string> SearchViewController::suggestionsFromAnswer(const foundation::Data& body) {
    std::vector<std::string> list;
    const auto answer = json::JSONDeserializer().deserialize(body);
    if (!answer || !answer.value().isDictionary())
        return list;
    const auto& data = answer.value()["data"];
    if (!data.isArray())
        return list;
    for (const auto& entry : data.asArray()) {
        if (list.size() == kMaxSuggestions)
            break;
        if (entry.isString())
            list.push_back(firstCharacters(entry.asString(), kMaxSuggestionCharacters));
    }
    return list;
}

int SearchViewController::numberOfRowsInSection(ui::TableView&, int) {
    return static_cast<int>(suggestionList_.size());
}

std::shared_ptr<ui::TableViewCell>
SearchViewController::cellForRowAtIndexPath(ui::TableView& table, const ui::IndexPath& path) {
    const std::string& text = suggestionList_.at(static_cast<std::size_t>(path.row));
    if (auto cell = table.dequeueReusableCell(text))
        return cell;
    auto cell = ui::TableViewCell::create(text);
    cell->textLabel()->setText(text);
    cell->textLabel()->setFont(graphics::Font::named("Helvetica", kSuggestionFontSize)
                                   .value_or(graphics::Font::systemFont(kSuggestionFontSize)));
    return cell;
}

void SearchViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& path) {
    const auto row = static_cast<std::size_t>(path.row);
    if (row < suggestionList_.size())
        performSearch(suggestionList_[row]);
}

void SearchViewController::searchBarSearchButtonClicked(ui::SearchBar& bar) {
    performSearch(bar.text());
}

void SearchViewController::searchBarCancelButtonClicked(ui::SearchBar&) {
    searchBar_->resignFirstResponder();
    relinquishScreen();
}

void SearchViewController::performSearch(const std::optional<std::string>& query) {
    if (!query)
        return;
    const auto self = shared();
    searchBar_->setUserInteractionEnabled(false);
    searchBar_->setShowsCancelButton(false);
    if (originalAd_) {
        auto data = originalAd_->userDemographicInfo();
        data.set("query", *query);
        originalAd_->clickWithData(data);
    }
    suggestionTable_->removeFromSuperview();
    if (webView_)
        webView_->removeFromSuperview();
    searchBar_->setText(*query);
    showSpinner();
}

void SearchViewController::showSpinner() {
    const Rect table = suggestionTable_->frame();
    spinner_ = ui::ActivityIndicatorView::create(ui::ActivityIndicatorViewStyle::White);
    spinner_->setFrame(Rect(table.midX() - kSpinnerSize / 2, table.midY() - kSpinnerSize / 2,
                            kSpinnerSize, kSpinnerSize));
    spinner_->startAnimating();
    view()->addSubview(spinner_);
}

} // namespace pennant
