#include "platform/graphics/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace graphics {

Rect Rect::null() {
    constexpr float inf = std::numeric_limits<float>::infinity();
    return Rect(inf, inf, 0, 0);
}

float Rect::minX() const { return std::min(origin.x, origin.x + size.width); }
float Rect::maxX() const { return std::max(origin.x, origin.x + size.width); }
float Rect::midX() const { return origin.x + size.width * 0.5f; }
float Rect::minY() const { return std::min(origin.y, origin.y + size.height); }
float Rect::maxY() const { return std::max(origin.y, origin.y + size.height); }
float Rect::midY() const { return origin.y + size.height * 0.5f; }
float Rect::width() const { return std::fabs(size.width); }
float Rect::height() const { return std::fabs(size.height); }

bool Rect::isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }

bool Rect::isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }

Rect Rect::standardized() const {
    if (isNull())
        return *this;
    return Rect(minX(), minY(), width(), height());
}

Rect Rect::inset(float dx, float dy) const {
    if (isNull())
        return *this;
    Rect r = standardized();
    r = Rect(r.origin.x + dx, r.origin.y + dy, r.size.width - 2 * dx, r.size.height - 2 * dy);
    return (r.size.width < 0 || r.size.height < 0) ? null() : r;
}

Rect Rect::inset(const EdgeInsets& insets) const {
    return Rect(origin.x + insets.left, origin.y + insets.top,
                size.width - insets.left - insets.right, size.height - insets.top - insets.bottom);
}

Rect Rect::offset(float dx, float dy) const {
    if (isNull())
        return *this;
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
}

Rect Rect::intersection(const Rect& other) const {
    if (isNull() || other.isNull())
        return null();
    float left = std::max(minX(), other.minX());
    float top = std::max(minY(), other.minY());
    float right = std::min(maxX(), other.maxX());
    float bottom = std::min(maxY(), other.maxY());
    if (right < left || bottom < top)
        return null();
    return Rect(left, top, right - left, bottom - top);
}

Rect Rect::unionWith(const Rect& other) const {
    if (isNull())
        return other.standardized();
    if (other.isNull())
        return standardized();
    float left = std::min(minX(), other.minX());
    float top = std::min(minY(), other.minY());
    return Rect(left, top, std::max(maxX(), other.maxX()) - left,
                std::max(maxY(), other.maxY()) - top);
}

bool Rect::intersects(const Rect& other) const {
    Rect common = intersection(other);
    return !common.isNull() && !common.isEmpty();
}

// Half-open, as the platform's: a point on the right or bottom edge is outside.
bool Rect::contains(Point point) const {
    return !isNull() && point.x >= minX() && point.x < maxX() && point.y >= minY() &&
           point.y < maxY();
}

bool Rect::contains(const Rect& other) const {
    return !isNull() && !other.isNull() && other.minX() >= minX() && other.maxX() <= maxX() &&
           other.minY() >= minY() && other.maxY() <= maxY();
}

Rect Rect::integral() const {
    if (isNull())
        return *this;
    float left = std::floor(minX());
    float top = std::floor(minY());
    return Rect(left, top, std::ceil(maxX()) - left, std::ceil(maxY()) - top);
}

} // namespace graphics
