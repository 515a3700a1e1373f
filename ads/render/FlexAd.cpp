#include "ads/render/FlexAd.h"

#include "ads/render/FlexAdColors.h"
#include "ads/render/FlexAdContainerView.h"
#include "ads/render/FlexAdDictionaryParsing.h"
#include "ads/render/FlexAnimationReader.h"
#include "ads/render/GradientView.h"
#include "ads/render/ImageView.h"
#include "ads/render/LabelView.h"
#include "ads/render/PagingScrollView.h"
#include "ads/render/PlainView.h"
#include "ads/request/FlexAdDelegate.h"
#include "ads/request/URLDownload.h"
#include "platform/animation/AnimationGroup.h"
#include "platform/animation/Layer.h"
#include "platform/foundation/Dictionary.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"

#include <algorithm>

namespace pennant {

namespace {

// A touchable area smaller than a fingertip in either direction is the whole banner.
constexpr float kSmallestTouchableSide = 44.0f;
// The platform's standard system font size, the labels' default.
constexpr float kSystemFontSize = 14.0f;

} // namespace

std::shared_ptr<FlexAd> FlexAd::create(const foundation::Value& dictionary,
                                       std::weak_ptr<FlexAdDelegate> delegate,
                                       std::weak_ptr<Delegate> pennantDelegate,
                                       const graphics::Rect& frame) {
    auto flexAd = std::shared_ptr<FlexAd>(
        new FlexAd(std::move(delegate), std::move(pennantDelegate), frame, dictionary));
    flexAd->build();
    return flexAd;
}

FlexAd::FlexAd(std::weak_ptr<FlexAdDelegate> delegate, std::weak_ptr<Delegate> pennantDelegate,
               const graphics::Rect& frame, foundation::Value dictionary)
    : delegate_(std::move(delegate)), pennantDelegate_(std::move(pennantDelegate)),
      containerView_(FlexAdContainerView::create(frame)), decodedMarkup_(std::move(dictionary)) {}

FlexAd::~FlexAd() { cancelDownloads(); }

graphics::Color FlexAd::primaryTextColor() const {
    return FlexAdColors::shared().primaryTextColor(pennantDelegate_);
}

graphics::Color FlexAd::secondaryTextColor() const {
    return FlexAdColors::shared().secondaryTextColor(pennantDelegate_);
}

graphics::Color FlexAd::adBackgroundColor() const {
    return FlexAdColors::shared().adBackgroundColor(pennantDelegate_);
}

void FlexAd::build() {
    const auto& assets = decodedMarkup_["$"];
    // Present means present: a JSON null is an asset table that is not a dictionary.
    if (decodedMarkup_.asDictionary().contains("$") && !assets.isDictionary())
        return fail(foundation::Error{kErrorDomain, -1, ""});
    if (assets.isDictionary())
        startDownloads(assets.asDictionary());
    const graphics::Rect bounds = containerView_->bounds();
    graphics::Rect area = FlexAdDictionaryParsing::rectWithValue(decodedMarkup_["ta"], {});
    if (area.width() < kSmallestTouchableSide || area.height() < kSmallestTouchableSide)
        area = bounds;
    containerView_->setTouchableArea(area);
    containerView_->setInitialTouchIgnoreDuration(
        FlexAdDictionaryParsing::floatWithValue(decodedMarkup_["itid"], 0.0f));
    containerView_->setUseCATransaction(
        FlexAdDictionaryParsing::boolWithValue(decodedMarkup_["ucat"], true));
    if (downloads_.empty())
        finishLoading();
}

void FlexAd::startDownloads(const foundation::Dictionary& assets) {
    for (const auto& name : assets.keys()) {
        const auto& entry = assets.get(name);
        if (!entry.isDictionary() || !entry["u"].isString())
            continue;
        auto& names = namesByURL_[std::string(entry["u"].asString())];
        names.push_back(name);
        if (names.size() > 1 || namesByURL_.size() > kMaxAssets)
            continue;
        auto download = URLDownload::create();
        download->setIdentifier(std::string(entry["u"].asString()));
        std::weak_ptr<FlexAd> weak = weak_from_this();
        download->setSuccessCallback([weak](URLDownload& done) {
            if (auto self = weak.lock())
                self->downloadDidSucceed(done);
        });
        download->setFailureCallback([weak](URLDownload& done) {
            if (auto self = weak.lock())
                self->downloadDidFail(done);
        });
        download->loadContentsOfURLAtString(entry["u"].asString());
        downloads_.insert(std::move(download));
    }
}

void FlexAd::downloadDidSucceed(URLDownload& download) {
    const auto finished = download.shared_from_this();
    downloads_.erase(finished);
    for (const auto& name : namesByURL_[download.identifier()])
        assets_[name] = download.data();
    finished->cancel();
    if (downloads_.empty())
        finishLoading();
}

void FlexAd::downloadDidFail(URLDownload& download) {
    const foundation::Error error =
        download.error().value_or(foundation::Error{URLDownload::kErrorDomain, -4, ""});
    cancelDownloads();
    fail(error);
}

void FlexAd::fail(const foundation::Error& error) {
    if (auto delegate = delegate_.lock())
        delegate->flexAdDidFailLoadWithError(shared_from_this(), error);
}

void FlexAd::cancelDownloads() {
    for (const auto& download : std::exchange(downloads_, {}))
        download->cancel();
}

void FlexAd::finishLoading() {
    const auto self = shared_from_this();
    for (const auto& view : viewsFromArray(decodedMarkup_["v"]))
        containerView_->addSubview(view);
    cancelDownloads();
    assets_.clear();
    images_.clear();
    namesByURL_.clear();
    decodedMarkup_ = foundation::Value();
    if (auto delegate = delegate_.lock())
        delegate->flexAdDidLoad(self);
}

std::vector<std::shared_ptr<ui::View>> FlexAd::viewsFromArray(const foundation::Value& elements) {
    std::vector<std::shared_ptr<ui::View>> views;
    if (!elements.isArray() || depth_ >= kMaxDepth)
        return views;
    ++depth_;
    for (const auto& element : elements.asArray()) {
        if (elementsBuilt_ >= kMaxElements)
            break;
        if (auto view = viewFromDictionary(element)) {
            ++elementsBuilt_;
            views.push_back(std::move(view));
        }
    }
    --depth_;
    return views;
}

std::shared_ptr<ui::View> FlexAd::viewFromDictionary(const foundation::Value& element) {
    if (!element.isDictionary() || !element["t"].isString())
        return nullptr;
    const graphics::Rect frame = FlexAdDictionaryParsing::rectWithValue(element["f"], {});
    auto view = elementView(std::string(element["t"].asString()), element, frame);
    if (!view)
        return nullptr;
    view->setBackgroundColor(
        FlexAdDictionaryParsing::colorWithValue(element["bgc"], graphics::Color::clearColor()));
    // After the frame, so the layer keeps its position at the frame's centre.
    view->layer()->setAnchorPoint(
        FlexAdDictionaryParsing::pointWithValue(element["ap"], view->layer()->anchorPoint()));
    if (element.asDictionary().contains("cav"))
        containerView_->setClickAnimationView(view);
    auto* flexView = dynamic_cast<FlexAdViewProtocol*>(view.get());
    if (flexView && element["a"].isArray()) {
        const auto& properties = element["ag"];
        flexView->setAnimation(FlexAnimationReader::animationGroupFromArray(
            element["a"], properties.isDictionary() ? properties : foundation::Value()));
    }
    if (flexView && element["ut"].isString())
        flexView->setUiTag(std::string(element["ut"].asString()));
    if (flexView)
        flexView->setContainerView(containerView_);
    return view;
}

std::shared_ptr<ui::View> FlexAd::elementView(const std::string& kind,
                                              const foundation::Value& element,
                                              const graphics::Rect& frame) {
    if (kind == "l")
        return labelFromDictionary(element, frame);
    if (kind == "i")
        return imageViewFromDictionary(element, frame);
    if (kind == "bg")
        return gradientViewFromDictionary(element, frame);
    if (kind == "p")
        return pagesViewFromDictionary(element, frame);
    if (kind == "P")
        return plainViewFromDictionary(element, frame);
    return nullptr;
}

std::shared_ptr<ui::View> FlexAd::labelFromDictionary(const foundation::Value& element,
                                                      const graphics::Rect& frame) {
    using Parsing = FlexAdDictionaryParsing;
    auto label = LabelView::create(frame);
    label->setBackgroundColor(graphics::Color::clearColor());
    if (element["x"].isString())
        label->setText(std::string(element["x"].asString()));
    const float size = Parsing::floatWithValue(element["fs"], kSystemFontSize);
    const auto named = element["fn"].isString()
                           ? graphics::Font::named(element["fn"].asString(), size)
                           : std::nullopt;
    label->setFont(named.value_or(graphics::Font::systemFont(size)));
    const auto color = Parsing::colorWithValue(element["fco"], std::nullopt);
    label->setTextColor(color                                              ? *color
                        : Parsing::integerWithValue(element["fc"], 0) == 1 ? secondaryTextColor()
                                                                           : primaryTextColor());
    label->setAdjustsFontSizeToFitWidth(Parsing::boolWithValue(element["afstfw"], true));
    label->setMinimumFontSize(Parsing::floatWithValue(element["mfs"], 8.0f));
    label->setNumberOfLines(int(Parsing::integerWithValue(element["nol"], 1)));
    return label;
}

std::shared_ptr<ui::View> FlexAd::imageViewFromDictionary(const foundation::Value& element,
                                                          const graphics::Rect& frame) {
    using Parsing = FlexAdDictionaryParsing;
    if (!element["$"].isString())
        return nullptr;
    auto image = imageNamed(std::string(element["$"].asString()));
    if (!image)
        return nullptr;
    auto view = ImageView::create(frame);
    view->setImage(std::move(image));
    if (Parsing::boolWithValue(element["b"], false)) {
        view->setBeveled(true);
        view->setBevelWidth(Parsing::floatWithValue(element["bw"], 0.5f));
        view->setBevelRadius(Parsing::floatWithValue(element["br"], 6.5f));
        view->setBevelCornerMeetingPoint(Parsing::floatWithValue(element["bcmp"], 0.5f));
        view->setBevelDarkColor(
            *Parsing::colorWithValue(element["bdc"], ImageView::kDefaultBevelDarkColor));
    }
    return view;
}

std::shared_ptr<graphics::Image> FlexAd::imageNamed(const std::string& name) {
    // Decoded once however many elements show it.
    if (const auto decoded = images_.find(name); decoded != images_.end())
        return decoded->second;
    const auto asset = assets_.find(name);
    auto image = asset == assets_.end() ? nullptr : graphics::Image::fromData(asset->second);
    images_[name] = image;
    return image;
}

std::shared_ptr<ui::View> FlexAd::gradientViewFromDictionary(const foundation::Value& element,
                                                             const graphics::Rect& frame) {
    using Parsing = FlexAdDictionaryParsing;
    // The format has no entry of its own for the end point: "ia" serves for both.
    return GradientView::create(frame, *Parsing::colorWithValue(element["bc"], adBackgroundColor()),
                                Parsing::floatWithValue(element["ia"], 0.5f),
                                Parsing::floatWithValue(element["ia"], 0.4375f));
}

std::shared_ptr<ui::View> FlexAd::plainViewFromDictionary(const foundation::Value&,
                                                          const graphics::Rect& frame) {
    return PlainView::create(frame);
}

std::shared_ptr<ui::View> FlexAd::pagesViewFromDictionary(const foundation::Value& element,
                                                          const graphics::Rect& frame) {
    using Parsing = FlexAdDictionaryParsing;
    if (element["pr"].isString() && element["pr"].asString() != "s")
        return nullptr;
    const auto initialPage = Parsing::integerWithValue(element["ip"], 0);
    auto pages = PagingScrollView::create(
        frame, unsigned(std::clamp<long long>(initialPage, 0, kMaxElements)));
    const auto& list = element["p"];
    const auto count = list.isArray() ? std::min(list.asArray().size(), kMaxElements) : 0;
    pages->setNumberOfPages(unsigned(count), containerView_);
    for (std::size_t page = 0; page < count; ++page)
        for (const auto& view : viewsFromArray(list[page]["v"]))
            pages->addContentSubview(view, unsigned(page));
    return pages;
}

} // namespace pennant
