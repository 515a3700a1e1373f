#pragma once

#include "ads/actions/WebViewController.h"
#include "platform/ui/ActionSheetDelegate.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ui {
class ActivityIndicatorView;
class BarButtonItem;
class NavigationBar;
class NavigationItem;
class Toolbar;
} // namespace ui

namespace pennant {

// The in-app browser: the web screen with a title bar (Done, the page title, a spinner while
// loading) and a toolbar (back, forward, stop or reload, and a menu to open the page in the
// system browser or mail its link). Both bars are one height that follows the screen's.
class BrowserController : public WebViewController, public ui::ActionSheetDelegate {
public:
    static std::shared_ptr<BrowserController> create();
    std::string className() const override { return "PennantBrowserController"; }

    // The toolbar's image names, fetched into the image cache ahead of any click.
    static constexpr std::array<std::string_view, 4> kBrowserIcons = {"back", "back_disable",
                                                                      "forward", "forward_disable"};
    static constexpr float kSpinnerSize = 20;
    // Bar height for a screen this high: 44 on a 480-point screen, in proportion otherwise.
    static float barHeight(float screenHeight);

    void loadViewWithBounds(const graphics::Rect& bounds) override;
    void refreshTopToolbar();
    void refreshBottomToolbar();
    void systemAction();
    void launchSafari();
    void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;

    void didStartLoad(web::WebView& view) override;
    void didFinishLoad(web::WebView& view) override;
    void didFailLoad(web::WebView& view, const foundation::Error& error) override;

    const std::shared_ptr<ui::Toolbar>& bottomToolbar() const { return bottomToolbar_; }
    const std::shared_ptr<ui::NavigationBar>& topToolbar() const { return topToolbar_; }
    const std::shared_ptr<ui::ActivityIndicatorView>& spinner() const { return spinner_; }

private:
    BrowserController();
    std::shared_ptr<ui::BarButtonItem> barButtonItem(std::string_view imageName,
                                                     std::string_view disabledImageName,
                                                     bool enabled, std::function<void()> action);
    void refreshBars();
    // Runs the step on this screen while it lives; bar buttons never keep it alive.
    std::function<void()> onSelf(void (BrowserController::*step)());

    std::shared_ptr<ui::Toolbar> bottomToolbar_;
    std::shared_ptr<ui::NavigationBar> topToolbar_;
    std::shared_ptr<ui::NavigationItem> topNavItem_;
    std::shared_ptr<ui::ActivityIndicatorView> spinner_;
};

} // namespace pennant
