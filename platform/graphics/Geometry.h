#pragma once

// Point, Size, Rect and EdgeInsets live together: they are plain values used as a set.

namespace graphics {

struct Point {
    float x = 0;
    float y = 0;

    bool operator==(const Point&) const = default;
};

struct Size {
    float width = 0;
    float height = 0;

    bool operator==(const Size&) const = default;
};

struct EdgeInsets {
    float top = 0;
    float left = 0;
    float bottom = 0;
    float right = 0;

    bool operator==(const EdgeInsets&) const = default;
};

// A rectangle in points. Like the platform's, a negative width or height is read as the same
// rectangle standardized, and the null rectangle (the intersection of disjoint rectangles)
// has an infinite origin.
struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(Point origin, Size size) : origin(origin), size(size) {}
    Rect(float x, float y, float width, float height) : origin{x, y}, size{width, height} {}
    static Rect null();

    float minX() const;
    float midX() const;
    float maxX() const;
    float minY() const;
    float midY() const;
    float maxY() const;
    float width() const;
    float height() const;

    bool isNull() const;
    bool isEmpty() const;
    Rect standardized() const;
    Rect inset(float dx, float dy) const;
    Rect inset(const EdgeInsets& insets) const;
    Rect offset(float dx, float dy) const;
    Rect intersection(const Rect& other) const;
    Rect unionWith(const Rect& other) const;
    bool intersects(const Rect& other) const;
    bool contains(Point point) const;
    bool contains(const Rect& other) const;
    // The smallest rectangle with integer edges that holds this one.
    Rect integral() const;

    bool operator==(const Rect&) const = default;
};

} // namespace graphics
