#include "gfx/Region.h"

#include "gfx/Context.h"

#include <cairo.h>
#include <cmath>

namespace gfx {

namespace {

cairo_rectangle_int_t pixels(Rect r) {
    int x0 = int(std::floor(r.minX())), y0 = int(std::floor(r.minY()));
    int x1 = int(std::ceil(r.maxX())), y1 = int(std::ceil(r.maxY()));
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

std::shared_ptr<cairo_region_t> adopt(cairo_region_t *region) {
    return {region, cairo_region_destroy};
}

} // namespace

Region::Region() : region_(adopt(cairo_region_create())) {}

Region::Region(Rect rect) : Region() {
    add(rect);
}

Region::Region(const Region &other) : region_(adopt(cairo_region_copy(other.region_.get()))) {}

Region &Region::operator=(const Region &other) {
    if (this != &other)
        region_ = adopt(cairo_region_copy(other.region_.get()));
    return *this;
}

void Region::add(Rect rect) {
    cairo_rectangle_int_t r = pixels(rect);
    if (r.width > 0 && r.height > 0)
        cairo_region_union_rectangle(region_.get(), &r);
}

void Region::add(const Region &other) {
    cairo_region_union(region_.get(), other.region_.get());
}

void Region::intersect(Rect rect) {
    cairo_rectangle_int_t r = pixels(rect);
    cairo_region_intersect_rectangle(region_.get(), &r);
}

void Region::clear() {
    region_ = adopt(cairo_region_create());
}

bool Region::isEmpty() const {
    return cairo_region_is_empty(region_.get());
}

bool Region::intersects(Rect rect) const {
    cairo_rectangle_int_t r = pixels(rect);
    return r.width > 0 && r.height > 0 &&
           cairo_region_contains_rectangle(region_.get(), &r) != CAIRO_REGION_OVERLAP_OUT;
}

bool Region::contains(Rect rect) const {
    cairo_rectangle_int_t r = pixels(rect);
    return r.width <= 0 || r.height <= 0 ||
           cairo_region_contains_rectangle(region_.get(), &r) == CAIRO_REGION_OVERLAP_IN;
}

Rect Region::extents() const {
    cairo_rectangle_int_t r;
    cairo_region_get_extents(region_.get(), &r);
    return {float(r.x), float(r.y), float(r.width), float(r.height)};
}

std::vector<Rect> Region::rects() const {
    std::vector<Rect> all;
    int n = cairo_region_num_rectangles(region_.get());
    for (int i = 0; i < n; ++i) {
        cairo_rectangle_int_t r;
        cairo_region_get_rectangle(region_.get(), i, &r);
        all.push_back({float(r.x), float(r.y), float(r.width), float(r.height)});
    }
    return all;
}

void Region::clip(Context &context) const {
    cairo_t *cr = context.cairo();
    cairo_new_path(cr);
    for (const Rect &r : rects())
        cairo_rectangle(cr, r.x(), r.y(), r.width(), r.height());
    cairo_clip(cr);
}

} // namespace gfx
