#pragma once

#include "ads/actions/ModalViewController.h"
#include "platform/foundation/Subscribers.h"
#include "platform/ui/SearchBarDelegate.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace foundation {
class Data;
struct Notification;
} // namespace foundation
namespace graphics {
class Image;
}
namespace ui {
class ActivityIndicatorView;
class TableView;
} // namespace ui
namespace web {
class WebView;
}

namespace pennant {

class Ad;
class SearchBar;
class URLDownload;

// The screen a search banner opens: a search bar at the top with the keyboard up, a list of
// suggestions under it fetched from the ad's suggestion service as the user types, and a help
// page while the field is empty. A picked suggestion or the search key sends the query as the
// ad's click; the click's answer opens the results, which take this screen's place.
class SearchViewController : public ModalViewController,
                             public ui::SearchBarDelegate,
                             public ui::TableViewDataSource,
                             public ui::TableViewDelegate {
public:
    // Suggestion answers come from the network: only this much of one is shown.
    static constexpr std::size_t kMaxSuggestions = 50;
    static constexpr std::size_t kMaxSuggestionCharacters = 256;
    static constexpr float kSuggestionFontSize = 15;
    static constexpr float kSpinnerSize = 25;

    static std::shared_ptr<SearchViewController> create() {
        return std::shared_ptr<SearchViewController>(new SearchViewController());
    }
    ~SearchViewController() override;
    std::string className() const override { return "PennantSearchViewController"; }

    // Set by the banner's controller before presenting.
    float searchBarHeight() const { return searchBarHeight_; }
    void setSearchBarHeight(float height) { searchBarHeight_ = height; }
    void setTileImage(std::shared_ptr<graphics::Image> image) { tileImage_ = std::move(image); }
    void setPlaceholderText(std::string text) { placeholderText_ = std::move(text); }
    // Empty or absent: no suggestions.
    void setSuggestionUrl(std::optional<std::string> url) { suggestionUrl_ = std::move(url); }
    // Empty or absent: no help page.
    void setWebpageURL(std::optional<std::string> url) { webpageURL_ = std::move(url); }

    void presentFromView(std::shared_ptr<ui::View> view, std::shared_ptr<Ad> ad,
                         std::weak_ptr<Delegate> delegate,
                         std::function<std::shared_ptr<Ad>()> displayedAd = {});

    void loadViewWithBounds(const graphics::Rect& bounds) override;
    void landingPageDidAppear() override;
    void landingPageWillDisappear() override;
    void landingPageDidDisappear() override {}
    bool shouldRemoveOnChildModal() const override { return true; }

    void textDidChange(ui::SearchBar& bar, const std::string& text) override;
    void searchBarSearchButtonClicked(ui::SearchBar& bar) override;
    void searchBarCancelButtonClicked(ui::SearchBar& bar) override;

    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table,
                                                             const ui::IndexPath& path) override;
    void didSelectRowAtIndexPath(ui::TableView& table, const ui::IndexPath& path) override;

    // Sends the query as the ad's click; nothing happens without one.
    void performSearch(const std::optional<std::string>& query);

    // The suggestions an answer carries: text entries only, at most kMaxSuggestions of them,
    // each cut to kMaxSuggestionCharacters characters.
    static std::vector<std::string> suggestionsFromAnswer(const foundation::Data& body);

    const std::shared_ptr<SearchBar>& searchBar() const { return searchBar_; }
    const std::shared_ptr<ui::TableView>& suggestionTable() const { return suggestionTable_; }
    const std::vector<std::string>& suggestionList() const { return suggestionList_; }
    std::size_t activeSuggestionDownloadCount() const { return activeSuggestionDownloads_.size(); }
    const std::shared_ptr<web::WebView>& webView() const { return webView_; }
    const std::shared_ptr<ui::ActivityIndicatorView>& spinner() const { return spinner_; }

private:
    SearchViewController() = default;
    std::shared_ptr<SearchViewController> shared();
    void requestSuggestions(const std::string& text);
    std::string suggestionAddress(const std::string& text) const;
    std::shared_ptr<URLDownload> take(URLDownload& download);
    void suggestionDownloadDidSucceed(URLDownload& download);
    void suggestionDownloadDidFail(URLDownload& download);
    void observeKeyboard();
    void keyboardDidShow(const foundation::Notification& notification);
    void keyboardWillHide();
    void showSpinner();

    std::shared_ptr<SearchBar> searchBar_;
    float searchBarHeight_ = 48;
    std::shared_ptr<graphics::Image> tileImage_;
    std::string placeholderText_;
    std::optional<std::string> suggestionUrl_;
    std::shared_ptr<ui::TableView> suggestionTable_;
    std::vector<std::string> suggestionList_;
    std::set<std::shared_ptr<URLDownload>> activeSuggestionDownloads_;
    std::shared_ptr<web::WebView> webView_;
    std::optional<std::string> webpageURL_;
    std::shared_ptr<Ad> originalAd_;
    std::shared_ptr<ui::ActivityIndicatorView> spinner_;
    foundation::Subscription keyboardDidShow_;
    foundation::Subscription keyboardWillHide_;
};

} // namespace pennant
