#pragma once

#include "gfx/Geometry.h"

#include <memory>
#include <vector>

typedef struct _cairo_region cairo_region_t;

namespace gfx {

class Context;

// A set of whole pixels made of rectangles: the part of a window that must be painted again. Rects
// added are rounded out to the pixels they touch. The compositor clips to it and the hosts copy
// only its rectangles to the screen.
class Region {
public:
    Region();
    explicit Region(Rect rect);
    Region(const Region &other);
    Region &operator=(const Region &other);

    void add(Rect rect);
    void add(const Region &other);
    // Keeps only what lies inside `rect`.
    void intersect(Rect rect);
    void clear();

    bool isEmpty() const;
    bool intersects(Rect rect) const;
    // Whether every pixel the rect touches is in the region.
    bool contains(Rect rect) const;
    // The smallest rectangle holding the whole region.
    Rect extents() const;
    // The disjoint rectangles making the region, top to bottom.
    std::vector<Rect> rects() const;
    // Restricts the context's drawing to the region (in the context's current space).
    void clip(Context &context) const;

private:
    std::shared_ptr<cairo_region_t> region_;
};

} // namespace gfx
