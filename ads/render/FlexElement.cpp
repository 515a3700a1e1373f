#include "ads/render/FlexElement.h"

#include "platform/animation/Animation.h"
#include "platform/animation/Layer.h"
#include "platform/foundation/RunLoop.h"

namespace pennant {

template <class Base>
void FlexElement<Base>::setAnimation(std::shared_ptr<animation::Animation> animation) {
    animation_ = std::move(animation);
}

template <class Base>
std::optional<foundation::Value> FlexElement<Base>::userInteractionHistory() const {
    return std::nullopt;
}

template <class Base>
void FlexElement<Base>::viewDidAppear() {
    if (!animation_)
        return;
    // The ad's begin time counts from this first appearance; a layer's from the clock's origin.
    auto started = animation_->copy();
    started->setBeginTime(foundation::RunLoop::main().now() + animation_->beginTime());
    this->layer()->addAnimation(started);
}

template class FlexElement<ui::View>;
template class FlexElement<ui::Label>;

} // namespace pennant
