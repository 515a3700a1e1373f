#pragma once

#include "ads/render/FlexAdViewProtocol.h"
#include "ads/render/FlexTimeBase.h"
#include "ads/render/SingleAdView.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Dictionary.h"

#include <optional>
#include <string>
#include <vector>

namespace pennant {

// The root of a flex ad's view tree and the banner that shows it. It draws nothing itself: on
// its first drawing it starts every element's animation; it decides which touches count as a
// tap; a tap gathers the interaction history of every tagged view into the click.
class FlexAdContainerView : public SingleAdView, public FlexAdViewProtocol, public FlexTimeBase {
    UI_CREATABLE(FlexAdContainerView)
    static constexpr const char* kContainerTag = "container";

    std::string className() const override { return "FlexAdContainerView"; }

    double initialTouchIgnoreDuration() const { return initialTouchIgnoreDuration_; }
    void setInitialTouchIgnoreDuration(double seconds) { initialTouchIgnoreDuration_ = seconds; }
    const graphics::Rect& touchableArea() const { return touchableArea_; }
    void setTouchableArea(const graphics::Rect& area) { touchableArea_ = area; }
    bool useCATransaction() const { return useCATransaction_; }
    void setUseCATransaction(bool use) { useCATransaction_ = use; }
    const std::optional<foundation::Date>& dateOfFirstRender() const { return dateOfFirstRender_; }
    const std::vector<std::string>& storedTouches() const { return storedTouches_; }

    // Seconds since the first drawing, 0 before it: the time base of every record of the ad.
    double timeIntervalSinceFirstRender() const override;
    bool touchIsInSelf(const ui::Touch& touch) const;
    void click();

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

    void setAnimation(std::shared_ptr<animation::Animation> animation) override;
    std::shared_ptr<animation::Animation> animation() const override { return animation_; }
    void setUiTag(std::optional<std::string> tag) override { uiTag_ = std::move(tag); }
    std::optional<std::string> uiTag() const override { return uiTag_; }
    std::optional<foundation::Value> userInteractionHistory() const override;
    void viewDidAppear() override;

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

protected:
    explicit FlexAdContainerView(const graphics::Rect& frame = {});

private:
    static void recursivelySendViewDidAppearToView(ui::View& view);
    static void recursivelyGatherUserInteractionHistoryFromView(ui::View& view,
                                                                foundation::Dictionary& gathered);

    std::shared_ptr<animation::Animation> animation_;
    std::optional<std::string> uiTag_;
    double initialTouchIgnoreDuration_ = 0;
    graphics::Rect touchableArea_;
    std::optional<foundation::Date> dateOfFirstRender_;
    bool useCATransaction_ = true;
    std::vector<std::string> storedTouches_;
};

} // namespace pennant
