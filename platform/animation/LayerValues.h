#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Transform3D.h"

#include <memory>
#include <optional>

namespace graphics {
class Image;
}

namespace animation {

// Everything about a layer that can be animated: a layer keeps one set as its model, and the
// compositor draws the set computed for the current time. The geometry helpers work on either.
struct LayerValues {
    // Where the anchor point sits in the superlayer.
    graphics::Point position;
    graphics::Rect bounds;
    // In unit coordinates of the bounds: (0.5, 0.5) is the centre. The transform turns about it.
    graphics::Point anchorPoint{0.5f, 0.5f};
    graphics::Transform3D transform;
    float opacity = 1;
    // Sublayers are drawn in order of their z position, equal ones in their own order.
    float zPosition = 0;
    bool hidden = false;
    bool masksToBounds = false;
    std::optional<graphics::Color> backgroundColor;
    std::shared_ptr<graphics::Image> contents;

    // The anchor point in bounds coordinates.
    graphics::Point anchorInBounds() const;
    // The bounding box of the transformed bounds, in the superlayer.
    graphics::Rect frame() const;
    // Places the untransformed bounds at the rectangle, keeping the bounds origin.
    void setFrame(const graphics::Rect& frame);
    // From bounds coordinates to the superlayer's and back. Transforms are drawn flat: only
    // their z = 0 plane part counts.
    graphics::AffineTransform transformToSuperlayer() const;
    graphics::Point convertPointToSuperlayer(graphics::Point point) const;
    graphics::Point convertPointFromSuperlayer(graphics::Point point) const;
};

} // namespace animation
