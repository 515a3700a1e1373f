#pragma once

#include "platform/graphics/Geometry.h"

#include <optional>

namespace graphics {

// A 2-D affine map in the platform's layout: x' = a·x + c·y + tx, y' = b·x + d·y + ty.
// Composition reads left to right: a.concat(b) applies a first, then b.
struct AffineTransform {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform translation(float tx, float ty);
    static AffineTransform scale(float sx, float sy);
    // Positive angles (radians) turn +x toward +y, which is clockwise on a y-down screen.
    static AffineTransform rotation(float angle);

    // These apply the new step before this transform, as the platform's Translate/Scale/Rotate.
    AffineTransform translated(float tx, float ty) const;
    AffineTransform scaled(float sx, float sy) const;
    AffineTransform rotated(float angle) const;

    AffineTransform concat(const AffineTransform& then) const;
    // nullopt when the transform is singular.
    std::optional<AffineTransform> inverted() const;
    bool isIdentity() const { return *this == AffineTransform{}; }

    Point apply(Point point) const;
    // Sizes are vectors: no translation.
    Size apply(Size size) const;
    // The bounding box of the transformed corners.
    Rect apply(const Rect& rect) const;

    bool operator==(const AffineTransform&) const = default;
};

} // namespace graphics
