#include "platform/graphics/Transform3D.h"

#include <cmath>

namespace graphics {

Transform3D Transform3D::translation(float tx, float ty, float tz) {
    Transform3D t;
    t.m41 = tx;
    t.m42 = ty;
    t.m43 = tz;
    return t;
}

Transform3D Transform3D::scale(float sx, float sy, float sz) {
    Transform3D t;
    t.m11 = sx;
    t.m22 = sy;
    t.m33 = sz;
    return t;
}

Transform3D Transform3D::rotation(float angle, float x, float y, float z) {
    float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0)
        return {};
    x /= length;
    y /= length;
    z /= length;
    float c = std::cos(angle);
    float s = std::sin(angle);
    float k = 1 - c;
    Transform3D t;
    t.m11 = c + x * x * k;
    t.m12 = y * x * k + z * s;
    t.m13 = z * x * k - y * s;
    t.m21 = x * y * k - z * s;
    t.m22 = c + y * y * k;
    t.m23 = z * y * k + x * s;
    t.m31 = x * z * k + y * s;
    t.m32 = y * z * k - x * s;
    t.m33 = c + z * z * k;
    return t;
}

Transform3D Transform3D::fromAffine(const AffineTransform& a) {
    Transform3D t;
    t.m11 = a.a;
    t.m12 = a.b;
    t.m21 = a.c;
    t.m22 = a.d;
    t.m41 = a.tx;
    t.m42 = a.ty;
    return t;
}

Transform3D Transform3D::translated(float tx, float ty, float tz) const {
    return translation(tx, ty, tz).concat(*this);
}

Transform3D Transform3D::scaled(float sx, float sy, float sz) const {
    return scale(sx, sy, sz).concat(*this);
}

Transform3D Transform3D::rotated(float angle, float x, float y, float z) const {
    return rotation(angle, x, y, z).concat(*this);
}

Transform3D Transform3D::concat(const Transform3D& o) const {
    const float l[4][4] = {
        {m11, m12, m13, m14}, {m21, m22, m23, m24}, {m31, m32, m33, m34}, {m41, m42, m43, m44}};
    const float r[4][4] = {{o.m11, o.m12, o.m13, o.m14},
                           {o.m21, o.m22, o.m23, o.m24},
                           {o.m31, o.m32, o.m33, o.m34},
                           {o.m41, o.m42, o.m43, o.m44}};
    float p[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            p[i][j] = l[i][0] * r[0][j] + l[i][1] * r[1][j] + l[i][2] * r[2][j] + l[i][3] * r[3][j];
    return {p[0][0], p[0][1], p[0][2], p[0][3], p[1][0], p[1][1], p[1][2], p[1][3],
            p[2][0], p[2][1], p[2][2], p[2][3], p[3][0], p[3][1], p[3][2], p[3][3]};
}

bool Transform3D::isAffine() const {
    return m13 == 0 && m14 == 0 && m23 == 0 && m24 == 0 && m31 == 0 && m32 == 0 && m33 == 1 &&
           m34 == 0 && m43 == 0 && m44 == 1;
}

AffineTransform Transform3D::affine() const { return {m11, m12, m21, m22, m41, m42}; }

Point Transform3D::project(Point p) const {
    float x = p.x * m11 + p.y * m21 + m41;
    float y = p.x * m12 + p.y * m22 + m42;
    float w = p.x * m14 + p.y * m24 + m44;
    if (w == 0)
        return {x, y};
    return {x / w, y / w};
}

} // namespace graphics
