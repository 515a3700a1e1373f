#include "platform/animation/KeyPath.h"

#include "platform/animation/LayerValues.h"

#include <cmath>
#include <functional>
#include <map>
#include <string>

namespace animation {

using graphics::Color;
using graphics::Point;
using graphics::Rect;
using graphics::Size;
using graphics::Transform3D;

namespace {

struct Accessor {
    std::function<AnimationValue(const LayerValues&)> get;
    // False when the value is not of the property's kind.
    std::function<bool(LayerValues&, const AnimationValue&)> set;
};

// A part of the values of type T, reached by a generic lambda returning a reference to it.
template <typename T, typename Part>
Accessor part(Part reach) {
    return {[reach](const LayerValues& v) { return AnimationValue(reach(v)); },
            [reach](LayerValues& v, const AnimationValue& value) {
                const T* typed = value.get<T>();
                if (typed)
                    reach(v) = *typed;
                return typed != nullptr;
            }};
}

float rowLength(float x, float y) { return std::hypot(x, y); }

// Stretches a row of the plane part to the length, keeping its direction (x when it has none).
void setRowLength(float& x, float& y, float length, bool firstRow) {
    const float current = rowLength(x, y);
    if (current == 0) {
        (firstRow ? x : y) = length;
        return;
    }
    x *= length / current;
    y *= length / current;
}

// Transform parts: each reads its component and writes it back into the rest of the matrix.
Accessor transformPart(std::function<float(const Transform3D&)> read,
                       std::function<void(Transform3D&, float)> write) {
    return {[read](const LayerValues& v) { return AnimationValue(read(v.transform)); },
            [write](LayerValues& v, const AnimationValue& value) {
                const float* typed = value.get<float>();
                if (typed)
                    write(v.transform, *typed);
                return typed != nullptr;
            }};
}

float angleOf(const Transform3D& m) { return std::atan2(m.m12, m.m11); }

void setAngle(Transform3D& m, float angle) {
    const float sx = rowLength(m.m11, m.m12), sy = rowLength(m.m21, m.m22);
    const float c = std::cos(angle), s = std::sin(angle);
    m.m11 = sx * c;
    m.m12 = sx * s;
    m.m21 = -sy * s;
    m.m22 = sy * c;
}

// Turns about x or y replace the plane part; the translation stays.
Accessor turnAbout(float x, float y) {
    return transformPart([](const Transform3D&) { return 0.0f; },
                         [x, y](Transform3D& m, float angle) {
                             m = Transform3D::rotation(angle, x, y, 0)
                                     .concat(Transform3D::translation(m.m41, m.m42, m.m43));
                         });
}

Accessor uniformScale() {
    return transformPart([](const Transform3D& m) { return rowLength(m.m11, m.m12); },
                         [](Transform3D& m, float s) {
                             setRowLength(m.m11, m.m12, s, true);
                             setRowLength(m.m21, m.m22, s, false);
                             m.m33 = s;
                         });
}

using Table = std::map<std::string, Accessor, std::less<>>;

Table makeTable() {
    Table t;
    t["position"] = part<Point>([](auto& v) -> auto& { return v.position; });
    t["position.x"] = part<float>([](auto& v) -> auto& { return v.position.x; });
    t["position.y"] = part<float>([](auto& v) -> auto& { return v.position.y; });
    t["bounds"] = part<Rect>([](auto& v) -> auto& { return v.bounds; });
    t["bounds.origin"] = part<Point>([](auto& v) -> auto& { return v.bounds.origin; });
    t["bounds.size"] = part<Size>([](auto& v) -> auto& { return v.bounds.size; });
    t["bounds.size.width"] = part<float>([](auto& v) -> auto& { return v.bounds.size.width; });
    t["bounds.size.height"] = part<float>([](auto& v) -> auto& { return v.bounds.size.height; });
    t["anchorPoint"] = part<Point>([](auto& v) -> auto& { return v.anchorPoint; });
    t["opacity"] = part<float>([](auto& v) -> auto& { return v.opacity; });
    t["zPosition"] = part<float>([](auto& v) -> auto& { return v.zPosition; });
    t["backgroundColor"] = {
        [](const LayerValues& v) { return AnimationValue(v.backgroundColor.value_or(Color())); },
        [](LayerValues& v, const AnimationValue& value) {
            const Color* c = value.get<Color>();
            if (c)
                v.backgroundColor = *c;
            return c != nullptr;
        }};
    t["transform"] = part<Transform3D>([](auto& v) -> auto& { return v.transform; });
    t["transform.scale"] = uniformScale();
    t["transform.scale.x"] =
        transformPart([](const Transform3D& m) { return rowLength(m.m11, m.m12); },
                      [](Transform3D& m, float s) { setRowLength(m.m11, m.m12, s, true); });
    t["transform.scale.y"] =
        transformPart([](const Transform3D& m) { return rowLength(m.m21, m.m22); },
                      [](Transform3D& m, float s) { setRowLength(m.m21, m.m22, s, false); });
    t["transform.scale.z"] = transformPart([](const Transform3D& m) { return m.m33; },
                                           [](Transform3D& m, float s) { m.m33 = s; });
    t["transform.rotation"] = transformPart(angleOf, setAngle);
    t["transform.rotation.z"] = transformPart(angleOf, setAngle);
    t["transform.rotation.x"] = turnAbout(1, 0);
    t["transform.rotation.y"] = turnAbout(0, 1);
    t["transform.translation.x"] = transformPart([](const Transform3D& m) { return m.m41; },
                                                 [](Transform3D& m, float x) { m.m41 = x; });
    t["transform.translation.y"] = transformPart([](const Transform3D& m) { return m.m42; },
                                                 [](Transform3D& m, float y) { m.m42 = y; });
    t["transform.translation.z"] = transformPart([](const Transform3D& m) { return m.m43; },
                                                 [](Transform3D& m, float z) { m.m43 = z; });
    return t;
}

const Accessor* find(std::string_view keyPath) {
    static const Table table = makeTable();
    auto it = table.find(keyPath);
    return it == table.end() ? nullptr : &it->second;
}

} // namespace

bool KeyPath::isAnimatable(std::string_view keyPath) { return find(keyPath) != nullptr; }

std::optional<AnimationValue> KeyPath::get(const LayerValues& values, std::string_view keyPath) {
    if (auto accessor = find(keyPath))
        return accessor->get(values);
    return std::nullopt;
}

bool KeyPath::set(LayerValues& values, std::string_view keyPath, const AnimationValue& value) {
    auto accessor = find(keyPath);
    return accessor && accessor->set(values, value);
}

} // namespace animation
