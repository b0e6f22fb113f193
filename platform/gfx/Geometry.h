#pragma once

#include <string>

namespace gfx {

struct Point {
    float x = 0, y = 0;
    bool operator==(const Point &) const = default;
};

struct Size {
    float w = 0, h = 0;
    bool operator==(const Size &) const = default;
};

struct EdgeInsets {
    float top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const EdgeInsets &) const = default;
};

struct Rect {
    Point o;
    Size s;

    Rect() = default;
    Rect(Point origin, Size size) : o(origin), s(size) {}
    Rect(float x, float y, float w, float h) : o{x, y}, s{w, h} {}

    float x() const { return o.x; }
    float y() const { return o.y; }
    float width() const { return s.w; }
    float height() const { return s.h; }
    float minX() const { return s.w < 0 ? o.x + s.w : o.x; }
    float minY() const { return s.h < 0 ? o.y + s.h : o.y; }
    float maxX() const { return s.w < 0 ? o.x : o.x + s.w; }
    float maxY() const { return s.h < 0 ? o.y : o.y + s.h; }
    float midX() const { return o.x + s.w / 2; }
    float midY() const { return o.y + s.h / 2; }
    bool isEmpty() const { return s.w == 0 || s.h == 0; }

    // The edges at the minimum are inside, those at the maximum are not.
    bool contains(Point p) const;
    bool intersects(const Rect &other) const;
    // The common part; an empty rect at the origin when there is none.
    Rect intersection(const Rect &other) const;
    // The smallest rect holding both; an empty rect counts as nothing.
    Rect united(const Rect &other) const;
    // Shrinks by dx on the left and right and dy on the top and bottom (grows for negative values).
    Rect inset(float dx, float dy) const;
    Rect inset(const EdgeInsets &insets) const;
    Rect offset(float dx, float dy) const { return {o.x + dx, o.y + dy, s.w, s.h}; }
    bool operator==(const Rect &) const = default;
    std::string description() const;
};

// An affine transform mapping (x, y) to (a x + c y + tx, b x + d y + ty).
struct Transform {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static Transform identity() { return {}; }
    static Transform rotation(float radians);
    static Transform scale(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Transform translation(float dx, float dy) { return {1, 0, 0, 1, dx, dy}; }
    // This transform followed by `then`.
    Transform concat(const Transform &then) const;
    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // The smallest upright rect holding the transformed rect.
    Rect apply(const Rect &r) const;
    bool isIdentity() const { return *this == Transform{}; }
    bool operator==(const Transform &) const = default;
};

} // namespace gfx
