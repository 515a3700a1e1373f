#include "ads/render/TouchRecordingElement.h"

#include "ads/render/FlexTimeBase.h"
#include "ads/render/SingleAdView.h"
#include "platform/foundation/Dictionary.h"

namespace pennant {

template <class Base>
void TouchRecordingElement<Base>::setContainerView(std::weak_ptr<FlexTimeBase> container) {
    containerView_ = std::move(container);
}

template <class Base>
std::optional<foundation::Value> TouchRecordingElement<Base>::userInteractionHistory() const {
    if (storedTouches_.empty())
        return std::nullopt;
    foundation::Value::Array records(storedTouches_.begin(), storedTouches_.end());
    return foundation::Value(foundation::Dictionary{{"touches", foundation::Value(records)}});
}

template <class Base>
void TouchRecordingElement<Base>::touchesBegan(const ui::TouchSet& touches,
                                               const ui::Event& event) {
    record(touches, false);
    Base::touchesBegan(touches, event);
}

template <class Base>
void TouchRecordingElement<Base>::touchesEnded(const ui::TouchSet& touches,
                                               const ui::Event& event) {
    record(touches, true);
    Base::touchesEnded(touches, event);
}

template <class Base>
void TouchRecordingElement<Base>::record(const ui::TouchSet& touches, bool isTouchEnd) {
    if (touches.empty())
        return;
    const auto container = containerView_.lock();
    SingleAdView::recordTouch(*touches.front(), isTouchEnd, this,
                              container ? container->timeIntervalSinceFirstRender() : 0.0,
                              storedTouches_);
}

template class TouchRecordingElement<ui::View>;
template class TouchRecordingElement<ui::Label>;

} // namespace pennant
