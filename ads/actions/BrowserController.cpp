#include "ads/actions/BrowserController.h"

#include "ads/request/ImageCache.h"
#include "ads/request/Localizer.h"
#include "ads/request/Opener.h"
#include "platform/foundation/URL.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Toolbar.h"
#include "platform/web/WebView.h"

namespace pennant {

namespace {

constexpr unsigned kBarResizing = ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight |
                                  ui::AutoresizingFlexibleTopMargin |
                                  ui::AutoresizingFlexibleBottomMargin;

std::string localized(const std::string& key) {
    return Localizer::sharedLocalizer().localizedStringForKey(key);
}

std::shared_ptr<ui::BarButtonItem> systemItem(ui::BarButtonSystemItem item,
                                              std::function<void()> action = {}) {
    return ui::BarButtonItem::create(item, std::move(action));
}

template <typename Bar>
std::shared_ptr<Bar> makeBar(const graphics::Rect& frame) {
    auto bar = Bar::create(frame);
    bar->setAutoresizingMask(kBarResizing);
    bar->setAutoresizesSubviews(true);
    bar->setTintColor(graphics::Color::blackColor());
    return bar;
}

} // namespace

std::shared_ptr<BrowserController> BrowserController::create() {
    std::shared_ptr<BrowserController> screen(new BrowserController());
    screen->attachPage();
    return screen;
}

BrowserController::BrowserController() : WebViewController(false) {}

float BrowserController::barHeight(float screenHeight) {
    return static_cast<float>(static_cast<int>(44.0f * screenHeight / 480.0f));
}

void BrowserController::loadViewWithBounds(const graphics::Rect& bounds) {
    const float width = bounds.width();
    const float height = bounds.height();
    const float bar = barHeight(height);
    WebViewController::loadViewWithBounds({0, bar, width, height - 2 * bar});
    for (const auto& old : {std::static_pointer_cast<ui::View>(bottomToolbar_),
                            std::static_pointer_cast<ui::View>(topToolbar_)})
        if (old)
            old->removeFromSuperview();
    bottomToolbar_ = makeBar<ui::Toolbar>({0, height - bar, width, bar});
    topToolbar_ = makeBar<ui::NavigationBar>({0, 0, width, bar});
    topNavItem_ = ui::NavigationItem::create("");
    topToolbar_->pushNavigationItem(topNavItem_);
    refreshBottomToolbar();
    refreshTopToolbar();
    view()->addSubview(bottomToolbar_);
    view()->addSubview(topToolbar_);
}

void BrowserController::refreshTopToolbar() {
    topNavItem_->setLeftBarButtonItem(
        systemItem(ui::BarButtonSystemItem::Done, onSelf(&BrowserController::relinquishScreen)));
    if (webView()->isLoading()) {
        topNavItem_->setTitle("");
        if (!spinner_) {
            spinner_ = ui::ActivityIndicatorView::create(ui::ActivityIndicatorViewStyle::White);
            spinner_->startAnimating();
            const auto bar = topToolbar_->bounds();
            spinner_->setFrame({(bar.width() - kSpinnerSize) * 0.5f,
                                (bar.height() - kSpinnerSize) * 0.5f, kSpinnerSize, kSpinnerSize});
            topToolbar_->addSubview(spinner_);
        }
    } else {
        topNavItem_->setTitle(pageTitle());
        if (auto spinner = std::exchange(spinner_, nullptr))
            spinner->removeFromSuperview();
    }
    topToolbar_->setNeedsDisplay();
}

void BrowserController::refreshBottomToolbar() {
    const auto& page = webView();
    std::weak_ptr<web::WebView> weakPage = page;
    auto onPage = [weakPage](void (web::WebView::*step)()) {
        return [weakPage, step] {
            if (auto target = weakPage.lock())
                (target.get()->*step)();
        };
    };
    const bool loading = page->isLoading();
    bottomToolbar_->setItems({
        barButtonItem("back", "back_disable", page->canGoBack(), onPage(&web::WebView::goBack)),
        systemItem(ui::BarButtonSystemItem::FlexibleSpace),
        barButtonItem("forward", "forward_disable", page->canGoForward(),
                      onPage(&web::WebView::goForward)),
        systemItem(ui::BarButtonSystemItem::FlexibleSpace),
        loading ? systemItem(ui::BarButtonSystemItem::Stop, onPage(&web::WebView::stopLoading))
                : systemItem(ui::BarButtonSystemItem::Refresh, onPage(&web::WebView::reload)),
        systemItem(ui::BarButtonSystemItem::FlexibleSpace),
        systemItem(ui::BarButtonSystemItem::Action, onSelf(&BrowserController::systemAction)),
    });
}

std::shared_ptr<ui::BarButtonItem>
BrowserController::barButtonItem(std::string_view imageName, std::string_view disabledImageName,
                                 bool enabled, std::function<void()> action) {
    auto image = ImageCache::sharedCache().fetchImageNamed(enabled ? imageName : disabledImageName);
    auto item = ui::BarButtonItem::create(std::move(image), ui::BarButtonItemStyle::Plain,
                                          std::move(action));
    item->setEnabled(enabled);
    return item;
}

std::function<void()> BrowserController::onSelf(void (BrowserController::*step)()) {
    std::weak_ptr<BrowserController> weak =
        std::static_pointer_cast<BrowserController>(shared_from_this());
    return [weak, step] {
        if (auto screen = weak.lock())
            (screen.get()->*step)();
    };
}

void BrowserController::systemAction() {
    auto sheet = ui::ActionSheet::create(
        std::nullopt, std::static_pointer_cast<BrowserController>(shared_from_this()),
        localized("Cancel"), std::nullopt,
        std::vector<std::string>{localized("Launch Safari"), localized("Email link")});
    sheet->showFromToolbar(*bottomToolbar_);
}

void BrowserController::clickedButtonAtIndex(ui::ActionSheet&, int index) {
    if (index == 0) {
        launchSafari();
    } else if (index == 1) {
        const auto& request = webView()->request();
        mailWithSubject(pageTitle(), request ? request->url : std::string());
    }
}

void BrowserController::launchSafari() {
    const auto& request = webView()->request();
    if (!request)
        return;
    if (auto url = foundation::URL::create(request->url))
        Opener::launchNewApplication(*url, pubDelegate());
}

void BrowserController::refreshBars() {
    refreshBottomToolbar();
    refreshTopToolbar();
}

void BrowserController::didStartLoad(web::WebView& view) {
    refreshBars();
    WebViewController::didStartLoad(view);
}

void BrowserController::didFinishLoad(web::WebView& view) {
    refreshBars();
    WebViewController::didFinishLoad(view);
}

void BrowserController::didFailLoad(web::WebView& view, const foundation::Error& error) {
    refreshBars();
    WebViewController::didFailLoad(view, error);
}

} // namespace pennant
