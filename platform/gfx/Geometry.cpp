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

Rect Rect::united(const Rect &other) const {
    if (isEmpty())
        return other;
    if (other.isEmpty())
        return *this;
    float x0 = std::min(minX(), other.minX()), y0 = std::min(minY(), other.minY());
    float x1 = std::max(maxX(), other.maxX()), y1 = std::max(maxY(), other.maxY());
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

Rect Transform::apply(const Rect &r) const {
    const Point corners[] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                             apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
    float x0 = corners[0].x, x1 = x0, y0 = corners[0].y, y1 = y0;
    for (const Point &p : corners) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

} // namespace gfx
