#pragma once

#include "platform/graphics/AffineTransform.h"

namespace graphics {

// A 4×4 layer transform in the platform's row-vector layout: a point (x, y, z, 1) times the
// matrix. m34 carries perspective. a.concat(b) applies a first, then b.
struct Transform3D {
    float m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    float m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    float m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    float m41 = 0, m42 = 0, m43 = 0, m44 = 1;

    static Transform3D identity() { return {}; }
    static Transform3D translation(float tx, float ty, float tz);
    static Transform3D scale(float sx, float sy, float sz);
    // Rotation by angle (radians) about the axis (x, y, z); a zero axis gives the identity.
    static Transform3D rotation(float angle, float x, float y, float z);
    static Transform3D fromAffine(const AffineTransform& t);

    // These apply the new step before this transform, as the platform's Translate/Scale/Rotate.
    Transform3D translated(float tx, float ty, float tz) const;
    Transform3D scaled(float sx, float sy, float sz) const;
    Transform3D rotated(float angle, float x, float y, float z) const;

    Transform3D concat(const Transform3D& then) const;
    bool isIdentity() const { return *this == Transform3D{}; }
    // True when the matrix only moves points within the z = 0 plane, with no perspective.
    bool isAffine() const;
    AffineTransform affine() const;
    // Maps a point of the z = 0 plane, dividing by w so perspective shows.
    Point project(Point point) const;

    bool operator==(const Transform3D&) const = default;
};

} // namespace graphics
