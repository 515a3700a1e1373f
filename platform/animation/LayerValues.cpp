#include "platform/animation/LayerValues.h"

namespace animation {

using graphics::AffineTransform;
using graphics::Point;
using graphics::Rect;

Point LayerValues::anchorInBounds() const {
    return {bounds.origin.x + bounds.size.width * anchorPoint.x,
            bounds.origin.y + bounds.size.height * anchorPoint.y};
}

Rect LayerValues::frame() const {
    const float width = bounds.width(), height = bounds.height();
    const Rect local(-width * anchorPoint.x, -height * anchorPoint.y, width, height);
    return transform.affine().apply(local).offset(position.x, position.y);
}

void LayerValues::setFrame(const Rect& frame) {
    const Rect f = frame.standardized();
    position = {f.origin.x + f.size.width * anchorPoint.x,
                f.origin.y + f.size.height * anchorPoint.y};
    bounds = Rect(bounds.origin, f.size);
}

AffineTransform LayerValues::transformToSuperlayer() const {
    const Point anchor = anchorInBounds();
    return AffineTransform::translation(-anchor.x, -anchor.y)
        .concat(transform.affine())
        .concat(AffineTransform::translation(position.x, position.y));
}

Point LayerValues::convertPointToSuperlayer(Point point) const {
    const Point anchor = anchorInBounds();
    const Point moved = transform.affine().apply(Point{point.x - anchor.x, point.y - anchor.y});
    return {moved.x + position.x, moved.y + position.y};
}

Point LayerValues::convertPointFromSuperlayer(Point point) const {
    const Point anchor = anchorInBounds();
    const Point offset{point.x - position.x, point.y - position.y};
    const Point local = transform.affine().inverted().value_or(AffineTransform{}).apply(offset);
    return {local.x + anchor.x, local.y + anchor.y};
}

} // namespace animation
