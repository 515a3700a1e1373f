#include "platform/graphics/AffineTransform.h"

#include <algorithm>
#include <cmath>

namespace graphics {

AffineTransform AffineTransform::translation(float tx, float ty) { return {1, 0, 0, 1, tx, ty}; }

AffineTransform AffineTransform::scale(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }

AffineTransform AffineTransform::rotation(float angle) {
    float cosine = std::cos(angle);
    float sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

AffineTransform AffineTransform::translated(float x, float y) const {
    return translation(x, y).concat(*this);
}

AffineTransform AffineTransform::scaled(float sx, float sy) const {
    return scale(sx, sy).concat(*this);
}

AffineTransform AffineTransform::rotated(float angle) const {
    return rotation(angle).concat(*this);
}

AffineTransform AffineTransform::concat(const AffineTransform& t) const {
    return {a * t.a + b * t.c, a * t.b + b * t.d,          c * t.a + d * t.c,
            c * t.b + d * t.d, tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
}

std::optional<AffineTransform> AffineTransform::inverted() const {
    float determinant = a * d - b * c;
    if (determinant == 0 || !std::isfinite(determinant))
        return std::nullopt;
    float ia = d / determinant;
    float ib = -b / determinant;
    float ic = -c / determinant;
    float id = a / determinant;
    return AffineTransform{ia, ib, ic, id, -(tx * ia + ty * ic), -(tx * ib + ty * id)};
}

Point AffineTransform::apply(Point p) const {
    return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

Size AffineTransform::apply(Size s) const {
    return {a * s.width + c * s.height, b * s.width + d * s.height};
}

Rect AffineTransform::apply(const Rect& rect) const {
    if (rect.isNull())
        return rect;
    Point corners[] = {
        apply(Point{rect.minX(), rect.minY()}), apply(Point{rect.maxX(), rect.minY()}),
        apply(Point{rect.minX(), rect.maxY()}), apply(Point{rect.maxX(), rect.maxY()})};
    float left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (const Point& p : corners) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return Rect(left, top, right - left, bottom - top);
}

} // namespace graphics
