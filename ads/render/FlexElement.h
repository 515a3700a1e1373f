#pragma once

#include "ads/render/FlexAdViewProtocol.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Label.h"

#include <memory>
#include <optional>
#include <string>

namespace pennant {

// A platform view (Base) as a flex ad element: it keeps its animation and interaction tag,
// and starts the animation on its layer when the ad first shows. It reports nothing.
template <class Base>
class FlexElement : public Base, public FlexAdViewProtocol {
public:
    void setAnimation(std::shared_ptr<animation::Animation> animation) override;
    std::shared_ptr<animation::Animation> animation() const override { return animation_; }
    void setUiTag(std::optional<std::string> tag) override { uiTag_ = std::move(tag); }
    std::optional<std::string> uiTag() const override { return uiTag_; }
    std::optional<foundation::Value> userInteractionHistory() const override;
    void viewDidAppear() override;

protected:
    explicit FlexElement(const graphics::Rect& frame) : Base(frame) {}

private:
    std::shared_ptr<animation::Animation> animation_;
    std::optional<std::string> uiTag_;
};

extern template class FlexElement<ui::View>;
extern template class FlexElement<ui::Label>;

} // namespace pennant
