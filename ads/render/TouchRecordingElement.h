#pragma once

#include "ads/render/FlexElement.h"
#include "platform/ui/Touch.h"

#include <string>
#include <vector>

namespace pennant {

// A flex ad element that notes where and when each touch on it began and ended, on the
// container's clock, and then lets the touch travel on up the responder chain: the container
// decides about clicks. On a click it reports {"touches": records} once it has any.
template <class Base>
class TouchRecordingElement : public FlexElement<Base> {
public:
    void setContainerView(std::weak_ptr<FlexTimeBase> container) override;
    std::optional<foundation::Value> userInteractionHistory() const override;
    const std::vector<std::string>& storedTouches() const { return storedTouches_; }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;

protected:
    explicit TouchRecordingElement(const graphics::Rect& frame) : FlexElement<Base>(frame) {}

private:
    void record(const ui::TouchSet& touches, bool isTouchEnd);

    std::weak_ptr<FlexTimeBase> containerView_;
    std::vector<std::string> storedTouches_;
};

extern template class TouchRecordingElement<ui::View>;
extern template class TouchRecordingElement<ui::Label>;

} // namespace pennant
