#pragma once

#include "platform/animation/Animation.h"

#include <memory>

namespace graphics {
class Image;
}

namespace animation {

// Replaces a layer's content by its new state with a visual effect; the compositor draws it.
// The old state is a picture taken before the change (none: nothing showed there); the new
// one is the layer as it is now, or a picture of it when one is given.
class Transition : public Animation {
public:
    enum class Type { Fade, MoveIn, Push, Reveal, FlipFromLeft, FlipFromRight };
    // Where the movement of the sliding types comes from.
    enum class Subtype { FromRight, FromLeft, FromTop, FromBottom };

    static std::shared_ptr<Transition> create(Type type, Subtype subtype = Subtype::FromLeft);
    std::shared_ptr<Animation> copy() const override;

    Type type() const { return type_; }
    void setType(Type type) { type_ = type; }
    Subtype subtype() const { return subtype_; }
    void setSubtype(Subtype subtype) { subtype_ = subtype; }
    const std::shared_ptr<graphics::Image>& oldContents() const { return oldContents_; }
    void setOldContents(std::shared_ptr<graphics::Image> image) { oldContents_ = std::move(image); }
    const std::shared_ptr<graphics::Image>& newContents() const { return newContents_; }
    void setNewContents(std::shared_ptr<graphics::Image> image) { newContents_ = std::move(image); }

    // From 0 (all old) to 1 (all new) the given time after its begin; none when not showing.
    std::optional<double> progressAt(double sinceBegin) const;

protected:
    Transition(Type type, Subtype subtype) : type_(type), subtype_(subtype) {}
    // The effect is drawn, not set on properties.
    void apply(LayerValues&, double) const override {}

private:
    Type type_;
    Subtype subtype_;
    std::shared_ptr<graphics::Image> oldContents_;
    std::shared_ptr<graphics::Image> newContents_;
};

} // namespace animation
