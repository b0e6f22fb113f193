#include "ui/View.h"

#include "ui/Animator.h"
#include "ui/Compositor.h"
#include "ui/Gesture.h"
#include "ui/Window.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

gfx::Transform inverse(const gfx::Transform &t) {
    float det = t.a * t.d - t.b * t.c;
    if (det == 0)
        return {};
    gfx::Transform r{t.d / det, -t.b / det, -t.c / det, t.a / det, 0, 0};
    r.tx = -(r.a * t.tx + r.c * t.ty);
    r.ty = -(r.b * t.tx + r.d * t.ty);
    return r;
}

// The transform from a view's space to the space of the root of its tree.
gfx::Transform toRoot(const View *v) {
    gfx::Transform t;
    for (; v && v->superview(); v = v->superview())
        t = t.concat(v->toSuperview());
    return t;
}

} // namespace

namespace {
uint64_t nextSerial = 0;
}

View::View(gfx::Rect frame) : layer_(base::make<Layer>()), serial_(++nextSerial) {
    layer_->view_ = this;
    look_.bounds = {0, 0, frame.width(), frame.height()};
    look_.center = {frame.midX(), frame.midY()};
}

View::~View() {
    for (auto &r : recognizers_)
        r->view_ = nullptr;
    for (auto &v : subviews_)
        v->superview_ = nullptr;
    layer_->view_ = nullptr;
}

gfx::Rect View::frame() const {
    const gfx::Rect &b = look_.bounds;
    if (look_.transform.isIdentity())
        return {look_.center.x - b.width() / 2, look_.center.y - b.height() / 2, b.width(), b.height()};
    return toSuperview().apply(b);
}

void View::setFrame(gfx::Rect frame) {
    gfx::Rect old = this->frame();
    Look before = look_;
    look_.center = {frame.midX(), frame.midY()};
    look_.bounds.s = frame.s;
    if (old == frame)
        return;
    changed(before);
    if (before.bounds.s != frame.s)
        resizeSubviews(before.bounds.s);
    setNeedsLayout();
}

void View::setBounds(gfx::Rect bounds) {
    Look before = look_;
    look_.bounds = bounds;
    if (before.bounds == bounds)
        return;
    changed(before);
    if (before.bounds.s != bounds.s) {
        resizeSubviews(before.bounds.s);
        setNeedsLayout();
    }
}

void View::setCenter(gfx::Point center) {
    Look before = look_;
    look_.center = center;
    if (before.center != center)
        changed(before);
}

void View::setTransform(gfx::Transform transform) {
    Look before = look_;
    look_.transform = transform;
    if (before.transform != transform)
        changed(before);
}

void View::setAlpha(float alpha) {
    Look before = look_;
    look_.alpha = std::clamp(alpha, 0.f, 1.f);
    if (before.alpha != look_.alpha)
        changed(before);
}

void View::setBackgroundColor(base::Ref<gfx::Color> color) {
    Look before = look_;
    look_.background = std::move(color);
    changed(before);
}

void View::setHidden(bool hidden) {
    if (hidden == hidden_)
        return;
    hidden_ = hidden;
    compositor::setNeedsFrame();
}

void View::changed(const Look &before) {
    compositor::setNeedsFrame();
    if (before.bounds.s != look_.bounds.s)
        setNeedsDisplay();
    Animator::shared().modelChanged(*this, before);
}

void View::resizeSubviews(gfx::Size oldSize) {
    if (!autoresizesSubviews)
        return;
    for (auto &v : subviews_)
        v->autoresize(oldSize, look_.bounds.s);
}

void View::autoresize(gfx::Size oldSize, gfx::Size newSize) {
    unsigned m = autoresizingMask;
    if (m == 0)
        return;
    gfx::Rect f = frame();
    // Share the change among the flexible parts of each axis in proportion to their sizes.
    auto axis = [](float &pos, float &len, float oldOuter, float newOuter, bool flexLow, bool flexLen,
                   bool flexHigh) {
        float delta = newOuter - oldOuter;
        float high = oldOuter - pos - len;
        float total = (flexLow ? pos : 0) + (flexLen ? len : 0) + (flexHigh ? high : 0);
        int flexible = flexLow + flexLen + flexHigh;
        if (flexible == 0)
            return;
        auto share = [&](float part) { return total > 0 ? delta * part / total : delta / flexible; };
        float dLow = flexLow ? share(pos) : 0, dLen = flexLen ? share(len) : 0;
        pos += dLow;
        len += dLen;
    };
    float x = f.x(), w = f.width(), y = f.y(), h = f.height();
    axis(x, w, oldSize.w, newSize.w, m & FlexibleLeftMargin, m & FlexibleWidth, m & FlexibleRightMargin);
    axis(y, h, oldSize.h, newSize.h, m & FlexibleTopMargin, m & FlexibleHeight, m & FlexibleBottomMargin);
    setFrame({x, y, w, h});
}

View *View::viewWithTag(int wanted) {
    if (tag == wanted)
        return this;
    for (auto &v : subviews_)
        if (View *found = v->viewWithTag(wanted))
            return found;
    return nullptr;
}

void View::attach(base::Ref<View> view, size_t index) {
    if (!view || view.get() == this)
        return;
    Window *oldWindow = view->window();
    if (view->superview_ == this) {
        auto it = std::find(subviews_.begin(), subviews_.end(), view);
        size_t at = size_t(it - subviews_.begin());
        subviews_.erase(it);
        if (index > at)
            --index;
    } else if (view->superview_) {
        view->removeFromSuperview();
    }
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + long(index), view);
    view->superview_ = this;
    view->setNeedsLayout();
    setNeedsLayout();
    view->didMoveToSuperview();
    if (oldWindow != view->window())
        view->notifyWindow();
}

void View::notifyWindow() {
    if (!window())
        discardContent();
    didMoveToWindow();
    for (auto &v : std::vector(subviews_))
        v->notifyWindow();
}

void View::addSubview(base::Ref<View> view) {
    attach(std::move(view), subviews_.size());
}

void View::insertSubview(base::Ref<View> view, size_t index) {
    attach(std::move(view), index);
}

void View::insertSubviewAbove(base::Ref<View> view, const View *above) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](auto &v) { return v.get() == above; });
    attach(std::move(view), it == subviews_.end() ? subviews_.size() : size_t(it - subviews_.begin()) + 1);
}

void View::insertSubviewBelow(base::Ref<View> view, const View *below) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](auto &v) { return v.get() == below; });
    attach(std::move(view), it == subviews_.end() ? 0 : size_t(it - subviews_.begin()));
}

void View::removeFromSuperview() {
    View *parent = superview_;
    if (!parent)
        return;
    Window *oldWindow = window();
    // Keep this view alive until it is fully detached.
    base::Ref<View> keep = self<View>();
    auto it = std::find(parent->subviews_.begin(), parent->subviews_.end(), keep);
    if (it != parent->subviews_.end())
        parent->subviews_.erase(it);
    superview_ = nullptr;
    if (isFirstResponder())
        resignFirstResponder();
    parent->setNeedsLayout();
    didMoveToSuperview();
    if (oldWindow)
        notifyWindow();
}

void View::bringSubviewToFront(const View *view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](auto &v) { return v.get() == view; });
    if (it != subviews_.end())
        std::rotate(it, it + 1, subviews_.end());
    compositor::setNeedsFrame();
}

void View::sendSubviewToBack(const View *view) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](auto &v) { return v.get() == view; });
    if (it != subviews_.end())
        std::rotate(subviews_.begin(), it, it + 1);
    compositor::setNeedsFrame();
}

bool View::isDescendantOf(const View *view) const {
    for (const View *v = this; v; v = v->superview_)
        if (v == view)
            return true;
    return false;
}

Window *View::window() const {
    return superview_ ? superview_->window() : nullptr;
}

void View::setNeedsDisplay() {
    needsDisplay_ = true;
    dirty_ = {};
    compositor::setNeedsFrame();
}

void View::setNeedsDisplay(gfx::Rect rect) {
    if (rect.isEmpty() || (needsDisplay_ && dirty_.isEmpty()))
        return;
    dirty_ = needsDisplay_ ? dirty_.united(rect) : rect;
    needsDisplay_ = true;
    compositor::setNeedsFrame();
}

void View::drawRect(gfx::Context &, gfx::Rect) {
    drewNothing_ = true;
}

void View::setNeedsLayout() {
    needsLayout_ = true;
    compositor::setNeedsFrame();
}

void View::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    for (auto &v : std::vector(subviews_))
        v->layoutIfNeeded();
}

void View::sizeToFit() {
    gfx::Size s = sizeThatFits(look_.bounds.s);
    gfx::Rect f = frame();
    setFrame({f.x(), f.y(), s.w, s.h});
}

bool View::display() {
    if (!needsDisplay_)
        return bool(content_);
    needsDisplay_ = false;
    const gfx::Rect &b = look_.bounds;
    int w = int(std::ceil(b.width())), h = int(std::ceil(b.height()));
    bool kept = content_ && content_.width() == w && content_.height() == h;
    // The pixels to draw again, in the surface's space: what was marked, rounded out to whole pixels.
    gfx::Rect pixels{0, 0, float(w), float(h)};
    const bool partial = kept && !dirty_.isEmpty();
    if (partial) {
        gfx::Rect part = dirty_.offset(-b.x(), -b.y()).intersection(pixels);
        float x0 = std::floor(part.minX()), y0 = std::floor(part.minY());
        pixels = {x0, y0, std::ceil(part.maxX()) - x0, std::ceil(part.maxY()) - y0};
    } else if (kept && !contentStale()) {
        return true;
    }
    dirty_ = {};
    if (pixels.isEmpty())
        return bool(content_);
    gfx::Surface surface = kept ? content_ : gfx::Surface(w, h);
    if (!surface) {
        content_ = {};
        contentDamage_ = b;
        return false;
    }
    gfx::Rect area = partial ? pixels.offset(b.x(), b.y()) : b;
    {
        gfx::Context context(surface);
        if (kept) {
            context.clearRect(pixels);
            context.clipToRect(pixels);
        }
        context.translate(-b.x(), -b.y());
        drewNothing_ = false;
        drawRect(context, area);
    }
    content_ = drewNothing_ ? gfx::Surface() : surface;
    contentDamage_ = contentDamage_ ? contentDamage_->united(area) : area;
    return bool(content_);
}

void View::discardContent() {
    if (!content_)
        return;
    content_ = {};
    needsDisplay_ = true;
    dirty_ = {};
}

gfx::Transform View::toSuperview() const {
    const gfx::Rect &b = look_.bounds;
    return gfx::Transform::translation(-b.x() - b.width() / 2, -b.y() - b.height() / 2)
        .concat(look_.transform)
        .concat(gfx::Transform::translation(look_.center.x, look_.center.y));
}

gfx::Point View::convert(gfx::Point point, const View *to) const {
    gfx::Point root = toRoot(this).apply(point);
    return to ? inverse(toRoot(to)).apply(root) : root;
}

gfx::Point View::convertFrom(gfx::Point point, const View *from) const {
    gfx::Point root = from ? toRoot(from).apply(point) : point;
    return inverse(toRoot(this)).apply(root);
}

gfx::Rect View::convert(gfx::Rect rect, const View *to) const {
    gfx::Point a = convert(rect.o, to), b = convert({rect.maxX(), rect.maxY()}, to);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

bool View::pointInside(gfx::Point point, const Event *) const {
    return look_.bounds.contains(point);
}

View *View::hitTest(gfx::Point point, const Event *event) {
    if (hidden_ || !userInteractionEnabled || look_.alpha <= 0.01f || !pointInside(point, event))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        base::Ref<View> sub = *it;
        if (View *hit = sub->hitTest(inverse(sub->toSuperview()).apply(point), event))
            return hit;
    }
    return this;
}

void View::addGestureRecognizer(base::Ref<GestureRecognizer> recognizer) {
    if (!recognizer)
        return;
    if (View *old = recognizer->view())
        old->removeGestureRecognizer(recognizer.get());
    recognizer->view_ = this;
    recognizers_.push_back(std::move(recognizer));
}

void View::removeGestureRecognizer(GestureRecognizer *recognizer) {
    auto it = std::find_if(recognizers_.begin(), recognizers_.end(),
                           [&](auto &r) { return r.get() == recognizer; });
    if (it == recognizers_.end())
        return;
    (*it)->view_ = nullptr;
    recognizers_.erase(it);
}

Responder *View::nextResponder() const {
    return superview_;
}

} // namespace ui
