#include "ui/Animator.h"

#include "base/Clock.h"
#include "base/RunLoop.h"
#include "ui/Compositor.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <optional>

namespace ui {

struct Animator::Group {
    std::string name;
    base::Ref<base::Object> context;
    double duration = 0.2;
    double delay = 0;
    Curve curve = Curve::EaseInOut;
    std::function<void(const std::string &, bool)> didStop;
    std::function<void(bool)> completion;
    bool interrupted = false;
};

// One property of one view moving from the value on screen to the model's.
struct Animator::Change {
    enum Property { Center, Bounds, Transform, Alpha, Background };
    base::Ref<View> view; // kept alive while it moves, as the platform keeps its layers
    Property property;
    Look from;
    double start, duration;
    Curve curve;
    std::shared_ptr<Group> group;
};

struct Animator::Running {
    base::Ref<View> view;
    base::Ref<Transition> transition;
    std::string key;
    gfx::Surface before;
    // The new content as last drawn, and the change count it was drawn at: redrawn only when a
    // view has changed since, not on every frame of the transition.
    gfx::Surface after;
    std::optional<uint64_t> afterChanges;
    double start;
};

namespace {

float mix(float a, float b, double t) {
    return float(a + (b - a) * t);
}

gfx::Point mix(gfx::Point a, gfx::Point b, double t) {
    return {mix(a.x, b.x, t), mix(a.y, b.y, t)};
}

// The y of a cubic Bézier easing curve (from (0, 0) to (1, 1)) at x.
double bezier(double x1, double y1, double x2, double y2, double x) {
    auto at = [](double p1, double p2, double s) {
        double u = 1 - s;
        return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
    };
    double lo = 0, hi = 1, s = x;
    for (int i = 0; i < 40; ++i) {
        s = (lo + hi) / 2;
        (at(x1, x2, s) < x ? lo : hi) = s;
    }
    return at(y1, y2, s);
}

} // namespace

Transition::Type Transition::typeNamed(std::string_view name) {
    if (name == "push")
        return Type::Push;
    if (name == "moveIn")
        return Type::MoveIn;
    if (name == "reveal")
        return Type::Reveal;
    if (name == "oglFlip")
        return Type::Flip;
    if (name == "cube")
        return Type::Cube;
    return Type::Fade;
}

Transition::From Transition::subtypeNamed(std::string_view name) {
    if (name == "fromRight")
        return From::Right;
    if (name == "fromTop")
        return From::Top;
    if (name == "fromBottom")
        return From::Bottom;
    return From::Left;
}

Animator::Animator() = default;

Animator &Animator::shared() {
    static Animator animator;
    return animator;
}

double Animator::now() const {
    return base::Clock::current().monotonic();
}

double Animator::ease(Curve curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    switch (curve) {
    case Curve::EaseInOut:
        return bezier(0.42, 0, 0.58, 1, t);
    case Curve::EaseIn:
        return bezier(0.42, 0, 1, 1, t);
    case Curve::EaseOut:
        return bezier(0, 0, 0.58, 1, t);
    case Curve::Linear:
        break;
    }
    return t;
}

gfx::Transform Animator::blend(const gfx::Transform &a, const gfx::Transform &b, double k) {
    // Split each into scale, rotation and translation, and move each part on its own.
    struct Parts {
        float sx, sy, angle, tx, ty;
    };
    auto split = [](const gfx::Transform &t) {
        float sx = std::hypot(t.a, t.b);
        float sy = sx > 0 ? (t.a * t.d - t.b * t.c) / sx : std::hypot(t.c, t.d);
        return Parts{sx, sy, std::atan2(t.b, t.a), t.tx, t.ty};
    };
    Parts p = split(a), q = split(b);
    float angle = mix(p.angle, q.angle, k);
    float sx = mix(p.sx, q.sx, k), sy = mix(p.sy, q.sy, k);
    return gfx::Transform::scale(sx, sy)
        .concat(gfx::Transform::rotation(angle))
        .concat(gfx::Transform::translation(mix(p.tx, q.tx, k), mix(p.ty, q.ty, k)));
}

void Animator::begin(std::string name, base::Ref<base::Object> context) {
    auto group = std::make_shared<Group>();
    group->name = std::move(name);
    group->context = std::move(context);
    open_.push_back(std::move(group));
}

void Animator::setDuration(double seconds) {
    if (!open_.empty())
        open_.back()->duration = std::max(0.0, seconds);
}

void Animator::setDelay(double seconds) {
    if (!open_.empty())
        open_.back()->delay = std::max(0.0, seconds);
}

void Animator::setCurve(Curve curve) {
    if (!open_.empty())
        open_.back()->curve = curve;
}

void Animator::setDidStop(std::function<void(const std::string &, bool)> callback) {
    if (!open_.empty())
        open_.back()->didStop = std::move(callback);
}

void Animator::setCompletion(std::function<void(bool)> completion) {
    if (!open_.empty())
        open_.back()->completion = std::move(completion);
}

void Animator::commit() {
    if (open_.empty())
        return;
    std::shared_ptr<Group> group = open_.back();
    open_.pop_back();
    base::RunLoop::main().performAfter(
        group->delay + group->duration,
        base::Action("animationDidStop", [this, group](base::Object *) { finish(group); }));
}

void Animator::finish(const std::shared_ptr<Group> &group) {
    // The last frame shows where things came to rest.
    compositor::setNeedsFrame();
    for (auto it = changes_.begin(); it != changes_.end();) {
        std::erase_if(it->second, [&](const Change &c) { return c.group == group; });
        it = it->second.empty() ? changes_.erase(it) : std::next(it);
    }
    bool finished = !group->interrupted;
    if (group->didStop)
        group->didStop(group->name, finished);
    if (group->completion)
        group->completion(finished);
}

void Animator::modelChanged(View &view, const Look &before) {
    const Look &after = view.model();
    std::vector<Change::Property> properties;
    if (before.center != after.center)
        properties.push_back(Change::Center);
    if (before.bounds != after.bounds)
        properties.push_back(Change::Bounds);
    if (before.transform != after.transform)
        properties.push_back(Change::Transform);
    if (before.alpha != after.alpha)
        properties.push_back(Change::Alpha);
    if (before.background != after.background)
        properties.push_back(Change::Background);
    auto found = changes_.find(&view);
    if (open_.empty() && found == changes_.end())
        return;
    // What shows now, before any running change of these properties is replaced.
    Look shown = presentationOver(view, before);
    std::vector<Change> &list = changes_[&view];
    const std::shared_ptr<Group> current = open_.empty() ? nullptr : open_.back();
    for (auto property : properties)
        std::erase_if(list, [&](const Change &c) {
            if (c.property != property)
                return false;
            // A block that changes a property twice does not interrupt itself.
            if (c.group != current)
                c.group->interrupted = true;
            return true;
        });
    if (current) {
        const auto &group = current;
        double start = now() + group->delay;
        for (auto property : properties)
            list.push_back({view.self<View>(), property, shown, start, group->duration, group->curve, group});
    }
    if (list.empty())
        changes_.erase(&view);
}

Look Animator::presentation(const View &view) const {
    return presentationOver(view, view.model());
}

Look Animator::presentationOver(const View &view, Look look) const {
    auto found = changes_.find(&view);
    if (found == changes_.end())
        return look;
    const double t = now();
    for (const Change &c : found->second) {
        if (t >= c.start + c.duration)
            continue;
        double k = t <= c.start ? 0 : ease(c.curve, (t - c.start) / c.duration);
        switch (c.property) {
        case Change::Center:
            look.center = mix(c.from.center, look.center, k);
            break;
        case Change::Bounds:
            look.bounds = {mix(c.from.bounds.o, look.bounds.o, k),
                           {mix(c.from.bounds.width(), look.bounds.width(), k),
                            mix(c.from.bounds.height(), look.bounds.height(), k)}};
            break;
        case Change::Transform:
            look.transform = blend(c.from.transform, look.transform, k);
            break;
        case Change::Alpha:
            look.alpha = mix(c.from.alpha, look.alpha, k);
            break;
        case Change::Background: {
            auto from = c.from.background ? c.from.background : gfx::Color::clear();
            auto to = look.background ? look.background : gfx::Color::clear();
            if (from->patternImage() || to->patternImage())
                break;
            look.background = gfx::Color::rgba(mix(from->r(), to->r(), k), mix(from->g(), to->g(), k),
                                               mix(from->b(), to->b(), k), mix(from->a(), to->a(), k));
            break;
        }
        }
    }
    return look;
}

bool Animator::busy() const {
    return animatingViews() || !transitions_.empty();
}

bool Animator::animatingViews() const {
    const double t = now();
    for (const auto &[view, list] : changes_)
        for (const Change &c : list)
            if (t < c.start + c.duration)
                return true;
    return false;
}

void Animator::addTransition(View &view, base::Ref<Transition> transition, std::string key) {
    if (!transition)
        return;
    removeTransition(view, key);
    auto running = std::make_shared<Running>();
    running->view = view.self<View>();
    running->before = compositor::snapshot(view);
    running->transition = std::move(transition);
    running->key = std::move(key);
    running->start = now();
    transitions_.push_back(running);
    compositor::setNeedsFrame();
    std::weak_ptr<Running> weak = running;
    base::RunLoop::main().performAfter(running->transition->duration,
                                       base::Action("animationDidStop", [this, weak](base::Object *) {
                                           if (auto r = weak.lock())
                                               endTransition(r, true);
                                       }));
}

void Animator::endTransition(const std::shared_ptr<Running> &running, bool finished) {
    auto it = std::find(transitions_.begin(), transitions_.end(), running);
    if (it == transitions_.end())
        return;
    transitions_.erase(it);
    compositor::setNeedsFrame();
    if (auto d = running->transition->delegate.lock())
        d->animationDidStop(*running->transition, finished);
}

void Animator::removeTransition(const View &view, std::string_view key) {
    for (auto &r : std::vector(transitions_))
        if (r->view.get() == &view && (key.empty() || r->key == key))
            endTransition(r, false);
}

Transition *Animator::transition(const View &view, std::string_view key) const {
    for (auto &r : transitions_)
        if (r->view.get() == &view && (key.empty() || r->key == key))
            return r->transition.get();
    return nullptr;
}

bool Animator::drawTransition(View &view, gfx::Context &c) {
    auto it = std::find_if(transitions_.begin(), transitions_.end(),
                           [&](auto &r) { return r->view.get() == &view; });
    if (it == transitions_.end())
        return false;
    std::shared_ptr<Running> running = *it;
    const Transition &tr = *running->transition;
    double linear = tr.duration > 0 ? (now() - running->start) / tr.duration : 1;
    double p = ease(tr.timing, linear);
    if (std::optional<uint64_t> changes = compositor::changeCount();
        !running->after || !changes || running->afterChanges != changes) {
        running->after = compositor::snapshot(view);
        running->afterChanges = compositor::changeCount();
    }
    const gfx::Surface &after = running->after;
    gfx::Rect b = presentation(view).bounds;
    float w = b.width(), h = b.height();
    cairo_t *cr = c.cairo();
    auto paint = [&](const gfx::Surface &s, float dx, float dy, float sx, float sy, double alpha) {
        if (!s || sx <= 0 || sy <= 0)
            return;
        cairo_save(cr);
        cairo_translate(cr, b.x() + dx, b.y() + dy);
        cairo_scale(cr, sx, sy);
        cairo_set_source_surface(cr, s.cairo(), 0, 0);
        cairo_paint_with_alpha(cr, alpha);
        cairo_restore(cr);
    };
    // The unit direction the new content moves in.
    float ux = 0, uy = 0;
    switch (tr.subtype) {
    case Transition::From::Left:
        ux = 1;
        break;
    case Transition::From::Right:
        ux = -1;
        break;
    case Transition::From::Top:
        uy = 1;
        break;
    case Transition::From::Bottom:
        uy = -1;
        break;
    }
    float q = float(1 - p);
    c.save();
    c.clipToRect(b);
    switch (tr.type) {
    case Transition::Type::Fade:
        // Adding the two weighted pictures gives a true cross-dissolve.
        cairo_push_group(cr);
        paint(running->before, 0, 0, 1, 1, 1 - p);
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        paint(after, 0, 0, 1, 1, p);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
        break;
    case Transition::Type::Push:
        paint(running->before, ux * w * float(p), uy * h * float(p), 1, 1, 1);
        paint(after, -ux * w * q, -uy * h * q, 1, 1, 1);
        break;
    case Transition::Type::MoveIn:
        paint(running->before, 0, 0, 1, 1, 1);
        paint(after, -ux * w * q, -uy * h * q, 1, 1, 1);
        break;
    case Transition::Type::Reveal:
        paint(after, 0, 0, 1, 1, 1);
        paint(running->before, ux * w * float(p), uy * h * float(p), 1, 1, 1);
        break;
    case Transition::Type::Flip: {
        // One face folds to an edge-on line about the centre, then the other unfolds.
        bool vertical = uy != 0;
        bool first = p < 0.5;
        float k = float(first ? 1 - 2 * p : 2 * p - 1);
        const gfx::Surface &face = first ? running->before : after;
        float sx = vertical ? 1 : k, sy = vertical ? k : 1;
        paint(face, w * (1 - sx) / 2, h * (1 - sy) / 2, sx, sy, 1);
        c.setFill(*gfx::Color::white(0, 0.3f * (1 - k)));
        c.fillRect({b.x() + w * (1 - sx) / 2, b.y() + h * (1 - sy) / 2, w * sx, h * sy});
        break;
    }
    case Transition::Type::Cube: {
        // Two sides of a box turning: the new side grows from the edge it comes from.
        float pf = float(p);
        if (ux != 0) {
            float newW = w * pf, oldW = w - newW;
            float newX = ux < 0 ? oldW : 0, oldX = ux < 0 ? 0 : newW;
            paint(running->before, oldX, 0, oldW / w, 1, 1);
            paint(after, newX, 0, newW / w, 1, 1);
        } else {
            float newH = h * pf, oldH = h - newH;
            float newY = uy < 0 ? oldH : 0, oldY = uy < 0 ? 0 : newH;
            paint(running->before, 0, oldY, 1, oldH / h, 1);
            paint(after, 0, newY, 1, newH / h, 1);
        }
        break;
    }
    }
    c.restore();
    return true;
}

// The view's static side of the animation blocks.

void View::beginAnimations(std::string name, base::Ref<base::Object> context) {
    Animator::shared().begin(std::move(name), std::move(context));
}
void View::setAnimationDuration(double seconds) {
    Animator::shared().setDuration(seconds);
}
void View::setAnimationDelay(double seconds) {
    Animator::shared().setDelay(seconds);
}
void View::setAnimationCurve(Curve curve) {
    Animator::shared().setCurve(curve);
}
void View::setAnimationDidStop(std::function<void(const std::string &, bool)> callback) {
    Animator::shared().setDidStop(std::move(callback));
}
void View::commitAnimations() {
    Animator::shared().commit();
}

void View::animate(double duration, double delay, Curve curve, const std::function<void()> &changes,
                   std::function<void(bool)> completion) {
    Animator &a = Animator::shared();
    a.begin({}, nullptr);
    a.setDuration(duration);
    a.setDelay(delay);
    a.setCurve(curve);
    a.setCompletion(std::move(completion));
    if (changes)
        changes();
    a.commit();
}

void View::animate(double duration, const std::function<void()> &changes,
                   std::function<void(bool)> completion) {
    animate(duration, 0, Curve::EaseInOut, changes, std::move(completion));
}

} // namespace ui
