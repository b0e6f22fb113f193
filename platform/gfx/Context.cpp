#include "gfx/Context.h"

#include "gfx/FontRegistry.h"
#include "gfx/Gradient.h"
#include "gfx/Image.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <pango/pangocairo.h>

namespace gfx {

namespace {

cairo_t *createFor(const Surface &target) {
    if (target)
        return cairo_create(target.cairo());
    // Drawing into nothing: a zero-sized surface keeps every operation valid.
    cairo_surface_t *none = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 0, 0);
    cairo_t *cr = cairo_create(none);
    cairo_surface_destroy(none);
    return cr;
}

void addRectPath(cairo_t *cr, Rect r) {
    cairo_rectangle(cr, r.x(), r.y(), r.width(), r.height());
}

void addEllipsePath(cairo_t *cr, Rect r) {
    if (r.width() == 0 || r.height() == 0)
        return;
    cairo_save(cr);
    cairo_translate(cr, r.midX(), r.midY());
    cairo_scale(cr, r.width() / 2, r.height() / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// The one pixel-space slices of a stretchable image along one axis: the cap before the
// stretched pixel, that pixel, and the cap after it.
struct Span {
    float source, sourceLength, target, targetLength;
};

std::vector<Span> nineSpans(int pixels, int capPixels, float scale, float targetLength) {
    if (capPixels <= 0 || capPixels >= pixels)
        return {{0, float(pixels), 0, targetLength}};
    float before = capPixels / scale, after = (pixels - capPixels - 1) / scale;
    float shrink = before + after > targetLength ? targetLength / (before + after) : 1;
    before *= shrink;
    after *= shrink;
    return {{0, float(capPixels), 0, before},
            {float(capPixels), 1, before, targetLength - before - after},
            {float(capPixels + 1), float(pixels - capPixels - 1), targetLength - after, after}};
}

} // namespace

namespace {

// The Pango context text is laid out in, one per thread and brought to the drawing's matrix before
// each use: making one for every drawing context cost as much as laying out a short label, and a
// window draws each label through a context of its own.
PangoContext *textContext() {
    struct Holder {
        PangoContext *context = FontRegistry::shared().newContext();
        ~Holder() { g_object_unref(context); }
    };
    thread_local Holder holder;
    return holder.context;
}

} // namespace

Context::Context(const Surface &target) : target_(target), cr_(createFor(target)) {
    state_.fill = Color::black();
    state_.stroke = Color::black();
    cairo_set_line_width(cr_, 1);
}

Context::Context(cairo_t *cairo) : cr_(cairo_reference(cairo)) {
    state_.fill = Color::black();
    state_.stroke = Color::black();
}

Context::~Context() {
    cairo_destroy(cr_);
}

void Context::flipVertically(float height) {
    cairo_translate(cr_, 0, height);
    cairo_scale(cr_, 1, -1);
}

void Context::save() {
    saved_.push_back(state_);
    cairo_save(cr_);
}

void Context::restore() {
    if (saved_.empty())
        return;
    state_ = saved_.back();
    saved_.pop_back();
    cairo_restore(cr_);
}

void Context::setFill(const Color &color) {
    state_.fill = color.withAlpha(color.a());
}

void Context::setStroke(const Color &color) {
    state_.stroke = color.withAlpha(color.a());
}

void Context::setLineWidth(float width) {
    cairo_set_line_width(cr_, width);
}

float Context::lineWidth() const {
    return static_cast<float>(cairo_get_line_width(cr_));
}

void Context::setShouldAntialias(bool antialias) {
    cairo_set_antialias(cr_, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

bool Context::shouldAntialias() const {
    return cairo_get_antialias(cr_) != CAIRO_ANTIALIAS_NONE;
}

void Context::setDash(std::span<const float> lengths, float phase) {
    std::vector<double> dashes(lengths.begin(), lengths.end());
    // Cairo refuses negative or all-zero patterns; the platform draws those solid.
    bool usable = std::all_of(dashes.begin(), dashes.end(), [](double d) { return d >= 0; }) &&
                  std::any_of(dashes.begin(), dashes.end(), [](double d) { return d > 0; });
    if (!usable)
        dashes.clear();
    cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), phase);
}

std::vector<float> Context::dash() const {
    std::vector<double> dashes(static_cast<size_t>(cairo_get_dash_count(cr_)));
    cairo_get_dash(cr_, dashes.data(), nullptr);
    return {dashes.begin(), dashes.end()};
}

void Context::setShadow(Size offset, float blur, const Color *color) {
    bool visible = color && (color->a() > 0 || color->patternImage());
    state_.shadow = visible ? color->withAlpha(color->a()) : nullptr;
    state_.shadowOffset = offset;
    state_.shadowBlur = std::max(blur, 0.f);
}

void Context::setBlendMode(Blend mode) {
    cairo_set_operator(cr_, mode == Blend::Color ? CAIRO_OPERATOR_HSL_COLOR : CAIRO_OPERATOR_OVER);
}

void Context::setSource(const Color &color) {
    const auto &image = color.patternImage();
    if (!image || !image->surface()) {
        cairo_set_source_rgba(cr_, color.r(), color.g(), color.b(), color.a());
        return;
    }
    cairo_pattern_t *pattern = cairo_pattern_create_for_surface(image->surface().cairo());
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, image->scale(), image->scale());
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_set_source(cr_, pattern);
    cairo_pattern_destroy(pattern);
}

template <class Draw> void Context::paint(Draw draw) {
    if (!state_.shadow) {
        draw();
        return;
    }
    // Draw into a group in device space, paint it offset in the shadow colour (spread over a few
    // sub-offsets to soften it by the blur), then paint the group itself on top.
    cairo_path_t *path = cairo_copy_path(cr_);
    cairo_push_group(cr_);
    cairo_new_path(cr_);
    cairo_append_path(cr_, path);
    draw();
    cairo_pattern_t *group = cairo_pop_group(cr_);
    cairo_path_destroy(path);

    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_pattern_set_matrix(group, &identity);
    const Color &shadow = *state_.shadow;
    float spread = state_.shadowBlur / 2;
    int steps = spread > 0 ? 3 : 1;
    float alpha = shadow.a() / static_cast<float>(steps * steps);
    for (int i = 0; i < steps; ++i) {
        for (int j = 0; j < steps; ++j) {
            float dx = steps == 1 ? 0 : spread * (i - 1), dy = steps == 1 ? 0 : spread * (j - 1);
            cairo_save(cr_);
            cairo_translate(cr_, state_.shadowOffset.w + dx, state_.shadowOffset.h + dy);
            cairo_set_source_rgba(cr_, shadow.r(), shadow.g(), shadow.b(), alpha);
            cairo_mask(cr_, group);
            cairo_restore(cr_);
        }
    }
    cairo_set_source(cr_, group);
    cairo_paint(cr_);
    cairo_restore(cr_);
    cairo_pattern_destroy(group);
}

void Context::fillRect(Rect r) {
    cairo_new_path(cr_);
    addRectPath(cr_, r);
    fillPath();
}

void Context::strokeRect(Rect r) {
    cairo_new_path(cr_);
    addRectPath(cr_, r);
    strokePath();
}

void Context::clearRect(Rect r) {
    cairo_save(cr_);
    cairo_new_path(cr_);
    addRectPath(cr_, r);
    cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void Context::fillEllipse(Rect r) {
    cairo_new_path(cr_);
    addEllipsePath(cr_, r);
    fillPath();
}

void Context::strokeEllipse(Rect r) {
    cairo_new_path(cr_);
    addEllipsePath(cr_, r);
    strokePath();
}

void Context::beginPath() {
    cairo_new_path(cr_);
}

void Context::moveTo(Point p) {
    cairo_move_to(cr_, p.x, p.y);
}

void Context::lineTo(Point p) {
    if (hasCurrentPoint())
        cairo_line_to(cr_, p.x, p.y);
    else
        cairo_move_to(cr_, p.x, p.y);
}

void Context::addLines(std::span<const Point> points) {
    for (size_t i = 0; i < points.size(); ++i)
        i == 0 ? moveTo(points[i]) : lineTo(points[i]);
}

void Context::addRect(Rect r) {
    addRectPath(cr_, r);
}

void Context::addEllipse(Rect r) {
    addEllipsePath(cr_, r);
}

void Context::addArc(Point c, float radius, float start, float end, bool clockwise) {
    if (clockwise)
        cairo_arc_negative(cr_, c.x, c.y, radius, start, end);
    else
        cairo_arc(cr_, c.x, c.y, radius, start, end);
}

void Context::addArcToPoint(Point p1, Point p2, float radius) {
    if (!hasCurrentPoint())
        moveTo(p1);
    double x0, y0;
    cairo_get_current_point(cr_, &x0, &y0);
    double ax = x0 - p1.x, ay = y0 - p1.y, bx = p2.x - p1.x, by = p2.y - p1.y;
    double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    double cross = ax * by - ay * bx;
    if (radius <= 0 || la == 0 || lb == 0 || std::abs(cross) < 1e-9 * la * lb) {
        lineTo(p1);
        return;
    }
    ax /= la, ay /= la, bx /= lb, by /= lb;
    double angle = std::acos(std::clamp(ax * bx + ay * by, -1.0, 1.0));
    double tangent = radius / std::tan(angle / 2);
    double t1x = p1.x + ax * tangent, t1y = p1.y + ay * tangent;
    double t2x = p1.x + bx * tangent, t2y = p1.y + by * tangent;
    double mx = ax + bx, my = ay + by, ml = std::hypot(mx, my);
    double centre = radius / std::sin(angle / 2);
    double cx = p1.x + mx / ml * centre, cy = p1.y + my / ml * centre;
    double a0 = std::atan2(t1y - cy, t1x - cx), a1 = std::atan2(t2y - cy, t2x - cx);
    cairo_line_to(cr_, t1x, t1y);
    if (cross < 0)
        cairo_arc(cr_, cx, cy, radius, a0, a1);
    else
        cairo_arc_negative(cr_, cx, cy, radius, a0, a1);
}

void Context::addCurveTo(Point c1, Point c2, Point end) {
    if (!hasCurrentPoint())
        moveTo(c1);
    cairo_curve_to(cr_, c1.x, c1.y, c2.x, c2.y, end.x, end.y);
}

void Context::closePath() {
    cairo_close_path(cr_);
}

bool Context::hasCurrentPoint() const {
    return cairo_has_current_point(cr_);
}

void Context::fillPath(bool evenOdd) {
    cairo_set_fill_rule(cr_, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    paint([&] {
        setSource(*state_.fill);
        cairo_fill(cr_);
    });
    cairo_new_path(cr_);
}

void Context::strokePath() {
    paint([&] {
        setSource(*state_.stroke);
        cairo_stroke(cr_);
    });
    cairo_new_path(cr_);
}

void Context::fillAndStrokePath(bool evenOdd) {
    cairo_set_fill_rule(cr_, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    paint([&] {
        setSource(*state_.fill);
        cairo_fill_preserve(cr_);
        setSource(*state_.stroke);
        cairo_stroke(cr_);
    });
    cairo_new_path(cr_);
}

void Context::clipToRect(Rect r) {
    cairo_new_path(cr_);
    addRectPath(cr_, r);
    clip();
}

void Context::clip(bool evenOdd) {
    cairo_set_fill_rule(cr_, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr_);
}

Rect Context::clipBounds() const {
    double x0, y0, x1, y1;
    cairo_clip_extents(cr_, &x0, &y0, &x1, &y1);
    return {float(x0), float(y0), float(x1 - x0), float(y1 - y0)};
}

void Context::drawLinearGradient(const Gradient &gradient, Point from, Point to, bool extend) {
    cairo_pattern_t *pattern = cairo_pattern_create_linear(from.x, from.y, to.x, to.y);
    for (const auto &s : gradient.stops())
        cairo_pattern_add_color_stop_rgba(pattern, s.offset, s.r, s.g, s.b, s.a);
    cairo_pattern_set_extend(pattern, extend ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    paint([&] {
        cairo_set_source(cr_, pattern);
        cairo_paint(cr_);
    });
    cairo_pattern_destroy(pattern);
}

void Context::concat(const Transform &t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_transform(cr_, &m);
}

void Context::translate(float dx, float dy) {
    cairo_translate(cr_, dx, dy);
}

void Context::scale(float sx, float sy) {
    cairo_scale(cr_, sx, sy);
}

void Context::rotate(float radians) {
    cairo_rotate(cr_, radians);
}

Transform Context::ctm() const {
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    return {float(m.xx), float(m.yx), float(m.xy), float(m.yy), float(m.x0), float(m.y0)};
}

void Context::drawSlice(const Image &image, Rect source, Rect target) {
    if (source.isEmpty() || target.width() <= 0 || target.height() <= 0)
        return;
    cairo_surface_t *slice = cairo_surface_create_for_rectangle(image.surface().cairo(), source.x(),
                                                                source.y(), source.width(), source.height());
    cairo_save(cr_);
    cairo_new_path(cr_);
    addRectPath(cr_, target);
    cairo_clip(cr_);
    cairo_translate(cr_, target.x(), target.y());
    cairo_scale(cr_, target.width() / source.width(), target.height() / source.height());
    cairo_set_source_surface(cr_, slice, 0, 0);
    // Stretching a one-pixel slice must not blur in the transparent world beyond its edges.
    cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
    cairo_paint(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(slice);
}

void Context::drawImage(Rect r, const Image &image) {
    if (!image.surface())
        return;
    const Surface &pixels = image.surface();
    auto columns = nineSpans(pixels.width(), int(image.leftCap() * image.scale()), image.scale(), r.width());
    auto rows = nineSpans(pixels.height(), int(image.topCap() * image.scale()), image.scale(), r.height());
    paint([&] {
        for (const Span &row : rows)
            for (const Span &column : columns)
                drawSlice(image, {column.source, row.source, column.sourceLength, row.sourceLength},
                          {r.x() + column.target, r.y() + row.target, column.targetLength, row.targetLength});
    });
}

void Context::drawImageRaw(Rect r, const Image &image) {
    if (!image.surface() || r.width() == 0 || r.height() == 0)
        return;
    cairo_save(cr_);
    cairo_translate(cr_, r.x(), r.maxY());
    cairo_scale(cr_, 1, -1);
    drawSlice(image, {0, 0, float(image.surface().width()), float(image.surface().height())},
              {0, 0, r.width(), r.height()});
    cairo_restore(cr_);
}

void Context::drawTiledImage(Rect tile, const Image &image) {
    if (!image.surface() || tile.width() <= 0 || tile.height() <= 0)
        return;
    cairo_pattern_t *pattern = cairo_pattern_create_for_surface(image.surface().cairo());
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, image.surface().width() / tile.width(),
                            image.surface().height() / tile.height());
    cairo_matrix_translate(&matrix, -tile.x(), -tile.y());
    cairo_pattern_set_matrix(pattern, &matrix);
    paint([&] {
        cairo_set_source(cr_, pattern);
        cairo_paint(cr_);
    });
    cairo_pattern_destroy(pattern);
}

Size Context::drawText(std::string_view text, Rect r, const Font &font, LineBreak lineBreak, Align align) {
    if (text.empty() || r.width() <= 0 || r.height() <= 0)
        return {};
    PangoContext *pango = textContext();
    pango_cairo_update_context(cr_, pango);
    PangoLayout *layout = layoutText(pango, text, font, r.width(), lineBreak, align);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    float width = float(logical.width) / PANGO_SCALE, height = float(logical.height) / PANGO_SCALE;
    float x = r.x();
    if (lineBreak == LineBreak::Clip && align != Align::Left)
        x += (r.width() - width) * (align == Align::Center ? 0.5f : 1.f);
    cairo_save(cr_);
    cairo_new_path(cr_);
    addRectPath(cr_, r);
    cairo_clip(cr_);
    paint([&] {
        setSource(*state_.fill);
        cairo_move_to(cr_, x, r.y());
        pango_cairo_show_layout(cr_, layout);
    });
    cairo_restore(cr_);
    cairo_new_path(cr_);
    g_object_unref(layout);
    return {std::min(width, r.width()), std::min(height, r.height())};
}

Size Context::drawText(std::string_view text, Point p, const Font &font) {
    if (text.empty())
        return {};
    PangoContext *pango = textContext();
    pango_cairo_update_context(cr_, pango);
    PangoLayout *layout = layoutText(pango, text, font, INFINITY, LineBreak::Clip, Align::Left);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    paint([&] {
        setSource(*state_.fill);
        cairo_move_to(cr_, p.x, p.y);
        pango_cairo_show_layout(cr_, layout);
    });
    cairo_new_path(cr_);
    g_object_unref(layout);
    return {float(logical.width) / PANGO_SCALE, float(logical.height) / PANGO_SCALE};
}

} // namespace gfx
