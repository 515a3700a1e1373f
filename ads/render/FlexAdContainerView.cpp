#include "ads/render/FlexAdContainerView.h"

#include "ads/render/AdClickHandler.h"
#include "ads/request/Ad.h"
#include "platform/animation/Animation.h"
#include "platform/animation/Layer.h"
#include "platform/animation/Transaction.h"
#include "platform/ui/Touch.h"

namespace pennant {

FlexAdContainerView::FlexAdContainerView(const graphics::Rect& frame) : SingleAdView(frame) {
    setUiTag(kContainerTag);
}

double FlexAdContainerView::timeIntervalSinceFirstRender() const {
    return dateOfFirstRender_ ? -dateOfFirstRender_->timeIntervalSinceNow() : 0.0;
}

bool FlexAdContainerView::touchIsInSelf(const ui::Touch& touch) const {
    return touchableArea_.contains(touch.locationInView(this)) &&
           timeIntervalSinceFirstRender() > initialTouchIgnoreDuration_;
}

void FlexAdContainerView::drawRect(graphics::Context&, const graphics::Rect&) {
    if (!dateOfFirstRender_) {
        dateOfFirstRender_ = foundation::Date::now();
        if (useCATransaction_)
            animation::Transaction::begin();
        recursivelySendViewDidAppearToView(*this);
        if (useCATransaction_)
            animation::Transaction::commit();
    }
    if (ad())
        ad()->loadAccountingPixel();
}

void FlexAdContainerView::recursivelySendViewDidAppearToView(ui::View& view) {
    if (auto* flexView = dynamic_cast<FlexAdViewProtocol*>(&view))
        flexView->viewDidAppear();
    // A copy: a view's appearance may change its subviews.
    const auto subviews = view.subviews();
    for (const auto& subview : subviews)
        recursivelySendViewDidAppearToView(*subview);
}

void FlexAdContainerView::setAnimation(std::shared_ptr<animation::Animation> animation) {
    animation_ = std::move(animation);
}

void FlexAdContainerView::viewDidAppear() {
    if (animation_)
        layer()->addAnimation(animation_);
}

std::optional<foundation::Value> FlexAdContainerView::userInteractionHistory() const {
    foundation::Value::Array touches;
    for (const auto& record : storedTouches_)
        touches.emplace_back(record);
    return foundation::Value(foundation::Dictionary{{"touches", foundation::Value(touches)}});
}

void FlexAdContainerView::recursivelyGatherUserInteractionHistoryFromView(
    ui::View& view, foundation::Dictionary& gathered) {
    if (const auto* flexView = dynamic_cast<const FlexAdViewProtocol*>(&view)) {
        auto history = flexView->userInteractionHistory();
        if (history && flexView->uiTag())
            gathered.set(*flexView->uiTag(), std::move(*history));
    }
    for (const auto& subview : view.subviews())
        recursivelyGatherUserInteractionHistoryFromView(*subview, gathered);
}

void FlexAdContainerView::click() {
    foundation::Dictionary gathered;
    recursivelyGatherUserInteractionHistoryFromView(*this, gathered);
    if (auto handler = controller())
        handler->click(*this,
                       foundation::Dictionary{{"interactions", foundation::Value(gathered)}});
}

void FlexAdContainerView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    const ui::Touch& touch = *touches.front();
    if (!touchIsInSelf(touch))
        return;
    setTouched(true);
    recordTouch(touch, false, this, timeIntervalSinceFirstRender(), storedTouches_);
}

void FlexAdContainerView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    setTouched(touchIsInSelf(*touches.front()));
}

void FlexAdContainerView::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    const ui::Touch& touch = *touches.front();
    setTouched(false);
    if (!touchIsInSelf(touch))
        return;
    recordTouch(touch, true, this, timeIntervalSinceFirstRender(), storedTouches_);
    click();
}

void FlexAdContainerView::touchesCancelled(const ui::TouchSet&, const ui::Event&) {
    setTouched(false);
}

} // namespace pennant
