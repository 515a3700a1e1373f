#pragma once

#include "ads/render/FlexElement.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/View.h"

#include <string>
#include <vector>

namespace ui {
class PageControl;
class ScrollView;
} // namespace ui

namespace pennant {

class TouchForwardingView;

// A flex ad's pages element: pages swiped sideways in a paging scroll view, a faint page
// indicator along the bottom that brightens while the pages move, and a record "page,time"
// of every change of page. Touches on the pages go straight to the touch delegate (the
// container). Its history is the list of page changes, reported even when empty.
class PagingScrollView : public FlexElement<ui::View>, public ui::ScrollViewDelegate {
public:
    static constexpr const char* kDefaultUiTag = "scroll";
    static constexpr float kPageControlHeight = 12.0f;
    static constexpr float kFadedAlpha = 0.35f;
    static constexpr double kFadeSeconds = 1.0;

    static std::shared_ptr<PagingScrollView> create(const graphics::Rect& frame,
                                                    unsigned initialPage);
    std::string className() const override { return "PagingScrollView"; }

    const std::shared_ptr<ui::ScrollView>& scrollView() const { return scrollView_; }
    const std::shared_ptr<ui::PageControl>& pageControl() const { return pageControl_; }
    const std::shared_ptr<TouchForwardingView>& touchForwardingView() const {
        return touchForwardingView_;
    }
    const std::vector<std::string>& storedScrolls() const { return storedScrolls_; }

    // Sizes the content for the pages and makes the forwarding layer and the indicator anew.
    void setNumberOfPages(unsigned pages, std::weak_ptr<ui::Responder> touchDelegate);
    // Places the view, laid out in the page's coordinates, on that page.
    void addContentSubview(const std::shared_ptr<ui::View>& view, unsigned page);
    void fadePageControl(double seconds);
    void recordScrollToNewPage(unsigned page);

    void setContainerView(std::weak_ptr<FlexTimeBase> container) override;
    std::optional<foundation::Value> userInteractionHistory() const override;
    // Moves to the initial page, flashes the indicator, starts the animation.
    void viewDidAppear() override;

    void scrollViewDidScroll(ui::ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndScrollingAnimation(ui::ScrollView& scrollView) override;

protected:
    PagingScrollView(const graphics::Rect& frame, unsigned initialPage);

private:
    std::shared_ptr<ui::ScrollView> scrollView_;
    std::shared_ptr<ui::PageControl> pageControl_;
    unsigned initialPage_;
    std::shared_ptr<TouchForwardingView> touchForwardingView_;
    std::vector<std::string> storedScrolls_;
    std::weak_ptr<FlexTimeBase> containerView_;
};

} // namespace pennant
