#include "gfx/Geometry.h"

#include "base/Str.h"

#include <algorithm>
#include <cmath>

namespace gfx {

bool Rect::contains(Point p) const {
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::intersects(const Rect &other) const {
    return !intersection(other).isEmpty();
}

Rect Rect::intersection(const Rect &other) const {
    float x0 = std::max(minX(), other.minX()), y0 = std::max(minY(), other.minY());
    float x1 = std::min(maxX(), other.maxX()), y1 = std::min(maxY(), other.maxY());
    if (x1 <= x0 || y1 <= y0)
        return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

Rect Rect::inset(float dx, float dy) const {
    return {minX() + dx, minY() + dy, std::abs(s.w) - 2 * dx, std::abs(s.h) - 2 * dy};
}

Rect Rect::inset(const EdgeInsets &e) const {
    return {minX() + e.left, minY() + e.top, std::abs(s.w) - e.left - e.right,
            std::abs(s.h) - e.top - e.bottom};
}

std::string Rect::description() const {
    return base::str::format("{{%g, %g}, {%g, %g}}", o.x, o.y, s.w, s.h);
}

Transform Transform::rotation(float radians) {
    float c = std::cos(radians), s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

Transform Transform::concat(const Transform &t) const {
    return {a * t.a + b * t.c, a * t.b + b * t.d,          c * t.a + d * t.c,
            c * t.b + d * t.d, tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
}

} // namespace gfx
