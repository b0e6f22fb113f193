#include "ui/Compositor.h"

#include "base/Clock.h"
#include "ui/Animator.h"
#include "ui/Host.h"
#include "ui/View.h"

#include <cairo.h>
#include <cmath>
#include <utility>

namespace ui::compositor {

namespace {

void roundedRect(gfx::Context &c, gfx::Rect r, float radius) {
    c.beginPath();
    radius = std::min({radius, r.width() / 2, r.height() / 2});
    if (radius <= 0) {
        c.addRect(r);
        return;
    }
    c.moveTo({r.minX() + radius, r.minY()});
    c.addArcToPoint({r.maxX(), r.minY()}, {r.maxX(), r.maxY()}, radius);
    c.addArcToPoint({r.maxX(), r.maxY()}, {r.minX(), r.maxY()}, radius);
    c.addArcToPoint({r.minX(), r.maxY()}, {r.minX(), r.minY()}, radius);
    c.addArcToPoint({r.minX(), r.minY()}, {r.maxX(), r.minY()}, radius);
    c.closePath();
}

gfx::Transform placement(const Look &look) {
    const gfx::Rect &b = look.bounds;
    return gfx::Transform::translation(-b.x() - b.width() / 2, -b.y() - b.height() / 2)
        .concat(look.transform)
        .concat(gfx::Transform::translation(look.center.x, look.center.y));
}

void drawLayer(const Layer &layer, gfx::Context &c) {
    if (layer.hidden || layer.opacity <= 0)
        return;
    const gfx::Rect &f = layer.frame;
    c.save();
    c.concat(gfx::Transform::translation(-f.width() / 2, -f.height() / 2)
                 .concat(layer.presentedTransform())
                 .concat(gfx::Transform::translation(f.midX(), f.midY())));
    cairo_push_group(c.cairo());
    gfx::Rect box{0, 0, f.width(), f.height()};
    if (layer.backgroundColor) {
        c.setFill(*layer.backgroundColor);
        c.fillRect(box);
    }
    if (layer.contents) {
        gfx::Size s = layer.contents->size();
        gfx::Rect r = box;
        if (layer.gravity == Layer::Gravity::Center) {
            r = {(box.width() - s.w) / 2, (box.height() - s.h) / 2, s.w, s.h};
        } else if (layer.gravity == Layer::Gravity::ResizeAspect && s.w > 0 && s.h > 0) {
            float k = std::min(box.width() / s.w, box.height() / s.h);
            r = {(box.width() - s.w * k) / 2, (box.height() - s.h * k) / 2, s.w * k, s.h * k};
        }
        c.drawImage(r, *layer.contents);
    }
    for (const auto &sub : layer.sublayers())
        drawLayer(*sub, c);
    cairo_pop_group_to_source(c.cairo());
    cairo_paint_with_alpha(c.cairo(), layer.opacity);
    c.restore();
}

// While the window composites its damage: the damaged part, in window pixels.
const gfx::Region *damaged = nullptr;

void drawInside(View &view, const Look &look, gfx::Context &c) {
    if (damaged && !damaged->intersects(view.drawnArea())) {
        // Nothing of its own to paint here; its subviews may still lie in the damage.
        c.save();
        if (view.clipsToBounds || view.layer().masksToBounds) {
            roundedRect(c, look.bounds, view.layer().cornerRadius);
            c.clip();
        }
        for (const auto &sub : std::vector(view.subviews()))
            draw(*sub, c);
        c.restore();
        return;
    }
    const Layer &layer = view.layer();
    const gfx::Rect b = look.bounds;
    const float radius = layer.cornerRadius;
    const bool clip = view.clipsToBounds || layer.masksToBounds;
    auto background = look.background ? look.background : layer.backgroundColor;
    if (background) {
        // The shadow falls from the background's shape; a layer that masks to its bounds has none.
        c.save();
        if (layer.shadowOpacity > 0 && !clip) {
            auto color = layer.shadowColor ? layer.shadowColor : gfx::Color::black();
            auto shadow = color->withAlpha(color->a() * layer.shadowOpacity);
            c.setShadow(layer.shadowOffset, layer.shadowRadius, shadow.get());
        }
        roundedRect(c, b, radius);
        c.setFill(*background);
        c.fillPath();
        c.restore();
    }
    c.save();
    if (clip) {
        roundedRect(c, b, radius);
        c.clip();
    }
    if (const gfx::Surface &content = view.content()) {
        cairo_set_source_surface(c.cairo(), content.cairo(), b.x(), b.y());
        cairo_paint(c.cairo());
    }
    for (const auto &sub : layer.sublayers())
        drawLayer(*sub, c);
    for (const auto &sub : std::vector(view.subviews()))
        draw(*sub, c);
    c.restore();
    if (layer.borderWidth > 0) {
        float half = layer.borderWidth / 2;
        roundedRect(c, b.inset(half, half), std::max(0.f, radius - half));
        c.setStroke(layer.borderColor ? *layer.borderColor : *gfx::Color::black());
        c.setLineWidth(layer.borderWidth);
        c.strokePath();
    }
}

} // namespace

namespace {
bool frameWanted = true;
double framesUntil = 0;
uint64_t changes = 0;
} // namespace

std::optional<uint64_t> changeCount() {
    if (base::Clock::current().monotonic() < framesUntil || Animator::shared().animatingViews())
        return std::nullopt;
    return changes;
}

bool needsFrame() {
    return frameWanted || base::Clock::current().monotonic() < framesUntil || Animator::shared().busy();
}

void setNeedsFrameUntil(double time) {
    ++changes;
    framesUntil = std::max(framesUntil, time);
    frameWanted = false;
    setNeedsFrame();
}

void setNeedsFrame() {
    ++changes;
    if (frameWanted)
        return;
    frameWanted = true;
    if (Host *host = Host::current())
        host->setNeedsFrame();
}

void frameDrawn() {
    frameWanted = false;
}

void prepare(View &root) {
    root.layoutIfNeeded();
    // What is hidden is not drawn, so it keeps no pixels either; a running transition still draws it.
    struct Display {
        static void pass(View &v) {
            if (v.isHidden() && !Animator::shared().transition(v, {}))
                return discard(v);
            v.display();
            for (const auto &sub : std::vector(v.subviews()))
                pass(*sub);
        }
        static void discard(View &v) {
            v.discardContent();
            for (const auto &sub : v.subviews())
                discard(*sub);
        }
    };
    Display::pass(root);
}

void draw(View &view, gfx::Context &c) {
    Animator &animator = Animator::shared();
    Look look = animator.presentation(view);
    bool transition = animator.transition(view, {}) != nullptr;
    if (!transition && (view.isHidden() || look.alpha <= 0))
        return;
    if (damaged && !damaged->intersects(view.drawnSubtreeArea()))
        return;
    c.save();
    c.concat(placement(look));
    bool group = look.alpha < 1;
    if (group)
        cairo_push_group(c.cairo());
    if (!animator.drawTransition(view, c))
        drawInside(view, look, c);
    if (group) {
        cairo_pop_group_to_source(c.cairo());
        cairo_paint_with_alpha(c.cairo(), look.alpha);
    }
    c.restore();
}

void drawContents(View &view, gfx::Context &c) {
    if (!Animator::shared().drawTransition(view, c))
        drawInside(view, Animator::shared().presentation(view), c);
}

namespace {

// Whether the window's own background paints every pixel of `area` opaque, so that clearing it first
// would only be painted over.
bool coveredByBackground(View &window, gfx::Rect area) {
    Animator &animator = Animator::shared();
    Look look = animator.presentation(window);
    auto background = look.background ? look.background : window.layer().backgroundColor;
    return background && !background->patternImage() && background->a() >= 1 && look.alpha >= 1 &&
           !window.isHidden() && window.layer().cornerRadius <= 0 && !animator.transition(window, {}) &&
           look.bounds.intersection(area) == area;
}

void drawWindow(View &window, View &popovers, View *alerts, gfx::Rect area, gfx::Context &c, bool cull) {
    gfx::Region piece(area);
    c.save();
    c.clipToRect(area);
    if (!coveredByBackground(window, area))
        c.clearRect(area);
    damaged = cull ? &piece : nullptr;
    drawContents(window, c);
    draw(popovers, c);
    if (alerts) {
        // Dim what lies below an alert.
        c.setFill(*gfx::Color::white(0, 0.4f));
        c.fillRect(window.bounds());
        draw(*alerts, c);
    }
    damaged = nullptr;
    c.restore();
}

} // namespace

void drawDamaged(View &window, View &popovers, View *alerts, const std::vector<gfx::Rect> &pieces,
                 gfx::Context &c) {
    for (const gfx::Rect &piece : pieces)
        drawWindow(window, popovers, alerts, piece, c, true);
}

void drawWhole(View &window, View &popovers, View *alerts, gfx::Rect area, gfx::Context &c) {
    drawWindow(window, popovers, alerts, area, c, false);
}

gfx::Surface snapshot(View &view) {
    // A snapshot draws the whole view, whatever the window's damage.
    const gfx::Region *outer = std::exchange(damaged, nullptr);
    Look look = Animator::shared().presentation(view);
    gfx::Surface surface(int(std::ceil(look.bounds.width())), int(std::ceil(look.bounds.height())));
    if (!surface) {
        damaged = outer;
        return surface;
    }
    prepare(view);
    gfx::Context c(surface);
    c.translate(-look.bounds.x(), -look.bounds.y());
    drawInside(view, look, c);
    damaged = outer;
    return surface;
}

} // namespace ui::compositor
