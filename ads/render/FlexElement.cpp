#include "ads/render/FlexElement.h"

#include "platform/animation/Animation.h"
#include "platform/animation/Layer.h"

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
    if (animation_)
        this->layer()->addAnimation(animation_);
}

template class FlexElement<ui::View>;
template class FlexElement<ui::Label>;

} // namespace pennant
