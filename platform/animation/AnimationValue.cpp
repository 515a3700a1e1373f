#include "platform/animation/AnimationValue.h"

#include <array>
#include <bit>
#include <cmath>

namespace animation {

using graphics::Color;
using graphics::Point;
using graphics::Rect;
using graphics::Size;
using graphics::Transform3D;

namespace {

float mix(float a, float b, double t) { return static_cast<float>(a + (b - a) * t); }

Point mix(Point a, Point b, double t) { return {mix(a.x, b.x, t), mix(a.y, b.y, t)}; }

Size mix(Size a, Size b, double t) {
    return {mix(a.width, b.width, t), mix(a.height, b.height, t)};
}

Rect mix(const Rect& a, const Rect& b, double t) {
    return {mix(a.origin, b.origin, t), mix(a.size, b.size, t)};
}

Color mix(Color a, Color b, double t) {
    return {mix(a.red(), b.red(), t), mix(a.green(), b.green(), t), mix(a.blue(), b.blue(), t),
            mix(a.alpha(), b.alpha(), t)};
}

// The plane part of a transform as the platform animates it: scale, skew and a turn about z.
struct PlaneParts {
    float scaleX, scaleY, skew, angle;

    static PlaneParts of(const Transform3D& m) {
        const float scaleX = std::hypot(m.m11, m.m12);
        if (scaleX == 0)
            return {0, std::hypot(m.m21, m.m22), 0, 0};
        const float cx = m.m11 / scaleX, cy = m.m12 / scaleX;
        return {scaleX, -cy * m.m21 + cx * m.m22, cx * m.m21 + cy * m.m22, std::atan2(cy, cx)};
    }
};

Transform3D mixPlane(const Transform3D& a, const Transform3D& b, double t) {
    const PlaneParts pa = PlaneParts::of(a), pb = PlaneParts::of(b);
    const float angle = mix(pa.angle, pb.angle, t), scaleX = mix(pa.scaleX, pb.scaleX, t);
    const float scaleY = mix(pa.scaleY, pb.scaleY, t), skew = mix(pa.skew, pb.skew, t);
    const float c = std::cos(angle), s = std::sin(angle);
    Transform3D m;
    m.m11 = scaleX * c;
    m.m12 = scaleX * s;
    m.m21 = skew * c - scaleY * s;
    m.m22 = skew * s + scaleY * c;
    m.m33 = mix(a.m33, b.m33, t);
    m.m41 = mix(a.m41, b.m41, t);
    m.m42 = mix(a.m42, b.m42, t);
    m.m43 = mix(a.m43, b.m43, t);
    return m;
}

// A flat transform: nothing but the plane part, z scale and translation.
bool isPlanar(const Transform3D& m) {
    return m.m13 == 0 && m.m14 == 0 && m.m23 == 0 && m.m24 == 0 && m.m31 == 0 && m.m32 == 0 &&
           m.m34 == 0 && m.m44 == 1;
}

Transform3D mix(const Transform3D& a, const Transform3D& b, double t) {
    if (isPlanar(a) && isPlanar(b))
        return mixPlane(a, b, t);
    // Perspective and 3D turns move entry by entry.
    using Entries = std::array<float, 16>;
    const auto ea = std::bit_cast<Entries>(a), eb = std::bit_cast<Entries>(b);
    Entries mixed;
    for (std::size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = mix(ea[i], eb[i], t);
    return std::bit_cast<Transform3D>(mixed);
}

Color add(Color a, Color b, float k) {
    return {a.red() + k * b.red(), a.green() + k * b.green(), a.blue() + k * b.blue(),
            a.alpha() + k * b.alpha()};
}

Transform3D add(const Transform3D& a, const Transform3D& b, float k) {
    if (k > 0)
        return b.concat(a);
    const auto inverse = b.affine().inverted();
    return inverse ? Transform3D::fromAffine(*inverse).concat(a) : a;
}

float add(float a, float b, float k) { return a + k * b; }
Point add(Point a, Point b, float k) { return {a.x + k * b.x, a.y + k * b.y}; }
Size add(Size a, Size b, float k) { return {a.width + k * b.width, a.height + k * b.height}; }
Rect add(const Rect& a, const Rect& b, float k) {
    return {add(a.origin, b.origin, k), add(a.size, b.size, k)};
}

} // namespace

std::optional<AnimationValue>
AnimationValue::interpolate(const AnimationValue& a, const AnimationValue& b, double fraction) {
    return std::visit(
        [&](const auto& from) -> std::optional<AnimationValue> {
            using T = std::decay_t<decltype(from)>;
            if (auto to = b.get<T>())
                return AnimationValue(mix(from, *to, fraction));
            return std::nullopt;
        },
        a.storage_);
}

std::optional<AnimationValue> AnimationValue::combine(const AnimationValue& a,
                                                      const AnimationValue& b, float sign) {
    return std::visit(
        [&](const auto& first) -> std::optional<AnimationValue> {
            using T = std::decay_t<decltype(first)>;
            if (auto second = b.get<T>())
                return AnimationValue(add(first, *second, sign));
            return std::nullopt;
        },
        a.storage_);
}

} // namespace animation
