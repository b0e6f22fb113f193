#include "ui/Window.h"

#include "base/Clock.h"
#include "base/RunLoop.h"
#include "ui/Application.h"
#include "ui/Compositor.h"
#include "ui/Gesture.h"
#include "ui/ViewController.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double MultiTapInterval = 0.35;
constexpr float MultiTapDistance = 20;

bool simultaneous(GestureRecognizer &a, GestureRecognizer &b) {
    for (auto [x, y] : {std::pair{&a, &b}, std::pair{&b, &a}})
        if (auto d = x->delegate.lock())
            if (d->simultaneously(*x, *y).valueOr(false))
                return true;
    return false;
}

} // namespace

Window::Window(gfx::Rect frame)
    : View(frame), alertLayer_(base::make<View>(gfx::Rect{{0, 0}, frame.s})),
      popoverLayer_(base::make<View>(gfx::Rect{{0, 0}, frame.s})) {
    alertLayer_->superview_ = this;
    popoverLayer_->superview_ = this;
}

Window::~Window() {
    alertLayer_->superview_ = nullptr;
    popoverLayer_->superview_ = nullptr;
}

void Window::setRootViewController(base::Ref<ViewController> controller) {
    if (controller == root_)
        return;
    base::Ref<ViewController> old = std::move(root_);
    if (old) {
        old->beginAppearance(false, false);
        old->view().removeFromSuperview();
        old->endAppearance(false);
    }
    root_ = std::move(controller);
    if (!root_)
        return;
    const base::Ref<View> &view = root_->viewRef();
    view->setFrame(Screen::main().applicationFrame());
    root_->beginAppearance(true, false);
    insertSubview(view, 0);
    root_->endAppearance(false);
}

bool Window::rotate(Orientation orientation) {
    Application &app = Application::shared();
    if (orientation == app.statusBarOrientation())
        return true;
    if (root_ && !root_->rotationAllowed(orientation))
        return false;
    app.setStatusBarOrientation(orientation);
    return true;
}

void Window::makeKeyAndVisible() {
    Application::shared().makeKey(self<Window>());
}

bool Window::isKeyWindow() const {
    return Application::shared().keyWindow() == this;
}

View *Window::hitTest(gfx::Point point, const Event *event) {
    if (!alertLayer_->subviews().empty()) {
        alertLayer_->setFrame(bounds());
        View *hit = alertLayer_->hitTest(point, event);
        return hit ? hit : alertLayer_.get();
    }
    if (!popoverLayer_->subviews().empty()) {
        popoverLayer_->setFrame(bounds());
        if (View *hit = popoverLayer_->hitTest(point, event); hit && hit != popoverLayer_.get())
            return hit;
    }
    return View::hitTest(point, event);
}

double Window::timeOr(std::optional<double> time) {
    return time ? *time : base::Clock::current().monotonic();
}

std::vector<base::Ref<Touch>> Window::activeTouches() const {
    std::vector<base::Ref<Touch>> all;
    for (auto &[id, t] : touches_)
        all.push_back(t.touch);
    return all;
}

void Window::touchDown(int id, gfx::Point point, std::optional<double> time) {
    if (touches_.count(id))
        return;
    double now = timeOr(time);
    auto touch = base::make<Touch>(id, *this, point, now);
    bool again = now - lastTap_.time <= MultiTapInterval &&
                 std::hypot(point.x - lastTap_.point.x, point.y - lastTap_.point.y) <= MultiTapDistance;
    touch->tapCount_ = again ? lastTap_.count + 1 : 1;
    Tracked tracked{touch, true, false, {}};
    if (View *hit = hitTest(point, nullptr)) {
        touch->view_ = hit->weakSelf<View>();
        if (!hit->multipleTouchEnabled)
            for (auto &[other, t] : touches_)
                if (t.toView && t.touch->view() == hit)
                    tracked.toView = false;
        for (View *v = hit; v; v = v->superview())
            for (const auto &r : v->gestureRecognizers()) {
                if (!r->enabled)
                    continue;
                if (r->finished())
                    r->reset();
                auto d = r->delegate.lock();
                if (d && !d->shouldReceiveTouch(*r, *touch).valueOr(true))
                    continue;
                tracked.recognizers.push_back(r);
            }
    } else {
        tracked.toView = false;
    }
    double delay = 0;
    for (View *v = touch->view() ? touch->view()->superview() : nullptr; v; v = v->superview())
        delay = std::max(delay, v->contentTouchDelay());
    tracked.held = tracked.toView && delay > 0;
    touches_[id] = std::move(tracked);
    dispatch(Touch::Phase::Began, {id}, now);
    if (touches_.count(id) && touches_[id].held)
        base::RunLoop::main().performAfter(
            delay,
            base::Action(weakSelf<Window>(), "releaseTouch",
                         [this, id, weak = base::Weak<Touch>(touch)](base::Object *) {
                             auto it = touches_.find(id);
                             if (it != touches_.end() && it->second.touch == weak.lock() && it->second.held)
                                 releaseHeld(id, base::Clock::current().monotonic());
                         }));
}

void Window::releaseHeld(int id, double time) {
    Tracked &t = touches_[id];
    t.held = false;
    base::Ref<View> v = t.touch->view_.lock();
    if (!t.toView || !v)
        return;
    base::Ref<Touch> touch = t.touch;
    Touch::Phase phase = touch->phase_;
    touch->phase_ = Touch::Phase::Began;
    v->touchesBegan({touch.get()}, Event(time, activeTouches()));
    touch->phase_ = phase;
}

void Window::touchMove(int id, gfx::Point point, std::optional<double> time) {
    touchesMove({{id, point}}, time);
}

void Window::touchesMove(const std::vector<std::pair<int, gfx::Point>> &moves, std::optional<double> time) {
    std::vector<int> ids;
    for (auto &[id, point] : moves) {
        auto it = touches_.find(id);
        if (it == touches_.end())
            continue;
        Touch &t = *it->second.touch;
        t.previous_ = t.point_;
        t.point_ = point;
        ids.push_back(id);
    }
    if (!ids.empty())
        dispatch(Touch::Phase::Moved, ids, timeOr(time));
}

void Window::touchUp(int id, std::optional<double> time) {
    auto it = touches_.find(id);
    if (it == touches_.end())
        return;
    double now = timeOr(time);
    const Touch &t = *it->second.touch;
    lastTap_ = {t.point_, now, t.tapCount_};
    dispatch(Touch::Phase::Ended, {id}, now);
}

void Window::touchCancel(int id, std::optional<double> time) {
    if (touches_.count(id))
        dispatch(Touch::Phase::Cancelled, {id}, timeOr(time));
}

void Window::dispatch(Touch::Phase phase, std::vector<int> ids, double time) {
    std::vector<base::Ref<Touch>> changed;
    for (int id : ids) {
        Touch &t = *touches_[id].touch;
        t.phase_ = phase;
        t.timestamp_ = time;
        changed.push_back(touches_[id].touch);
    }
    Event event(time, activeTouches());

    // Recognisers first, each with its own touches among those that changed.
    std::vector<base::Ref<GestureRecognizer>> order;
    for (int id : ids)
        for (auto &r : touches_[id].recognizers)
            if (std::find(order.begin(), order.end(), r) == order.end())
                order.push_back(r);
    for (auto &r : order) {
        TouchSet mine;
        for (int id : ids)
            if (auto it = touches_.find(id); it != touches_.end()) {
                auto &rs = it->second.recognizers;
                if (std::find(rs.begin(), rs.end(), r) != rs.end())
                    mine.push_back(it->second.touch.get());
            }
        if (!mine.empty() && r->view())
            r->handle(phase, mine, event);
    }

    // Then the views, grouped by the view each touch belongs to.
    std::vector<std::pair<base::Ref<View>, TouchSet>> byView;
    for (int id : ids) {
        auto it = touches_.find(id);
        if (it == touches_.end() || !it->second.toView)
            continue;
        if (it->second.held) {
            // A finger that lifts before the wait is over still makes a tap.
            if (phase != Touch::Phase::Ended)
                continue;
            releaseHeld(id, time);
        }
        base::Ref<View> v = it->second.touch->view_.lock();
        if (!v)
            continue;
        auto group = std::find_if(byView.begin(), byView.end(), [&](auto &g) { return g.first == v; });
        if (group == byView.end())
            byView.push_back({v, {it->second.touch.get()}});
        else
            group->second.push_back(it->second.touch.get());
    }
    for (auto &[view, set] : byView) {
        switch (phase) {
        case Touch::Phase::Began:
            view->touchesBegan(set, event);
            break;
        case Touch::Phase::Moved:
        case Touch::Phase::Stationary:
            view->touchesMoved(set, event);
            break;
        case Touch::Phase::Ended:
            view->touchesEnded(set, event);
            break;
        case Touch::Phase::Cancelled:
            view->touchesCancelled(set, event);
            break;
        }
    }
    if (phase == Touch::Phase::Ended || phase == Touch::Phase::Cancelled)
        for (int id : ids)
            touches_.erase(id);
}

bool Window::shareTouches(const GestureRecognizer &a, const GestureRecognizer &b) const {
    for (auto &[id, t] : touches_) {
        bool hasA = false, hasB = false;
        for (auto &r : t.recognizers)
            hasA |= r.get() == &a, hasB |= r.get() == &b;
        if (hasA && hasB)
            return true;
    }
    return false;
}

bool Window::mayBegin(GestureRecognizer &recognizer) {
    for (auto &[id, t] : touches_)
        for (auto &other : t.recognizers) {
            if (other.get() == &recognizer)
                continue;
            bool running = other->state() == GestureState::Began || other->state() == GestureState::Changed;
            if (running && shareTouches(recognizer, *other) && !simultaneous(recognizer, *other))
                return false;
        }
    return true;
}

void Window::recognized(GestureRecognizer &recognizer) {
    // Competing recognisers of the same touches give up.
    std::vector<base::Ref<GestureRecognizer>> rivals;
    for (auto &[id, t] : touches_)
        for (auto &other : t.recognizers)
            if (other.get() != &recognizer && other->state() == GestureState::Possible &&
                shareTouches(recognizer, *other) &&
                std::find(rivals.begin(), rivals.end(), other) == rivals.end())
                rivals.push_back(other);
    for (auto &r : rivals)
        if (!simultaneous(recognizer, *r))
            r->fail();
    if (recognizer.cancelsTouchesInView)
        cancelInViews(recognizer);
}

void Window::cancelInViews(GestureRecognizer &recognizer) {
    double now = base::Clock::current().monotonic();
    for (auto &[id, t] : touches_) {
        if (!t.toView)
            continue;
        auto &rs = t.recognizers;
        if (std::find_if(rs.begin(), rs.end(), [&](auto &r) { return r.get() == &recognizer; }) == rs.end())
            continue;
        t.toView = false;
        if (t.held)
            continue;
        if (base::Ref<View> v = t.touch->view_.lock()) {
            Touch::Phase phase = t.touch->phase_;
            t.touch->phase_ = Touch::Phase::Cancelled;
            v->touchesCancelled({t.touch.get()}, Event(now, activeTouches()));
            t.touch->phase_ = phase;
        }
    }
}

void Window::prepareFrame() {
    alertLayer_->setFrame(bounds());
    popoverLayer_->setFrame(bounds());
    compositor::prepare(*this);
    compositor::prepare(*popoverLayer_);
    compositor::prepare(*alertLayer_);
}

gfx::Surface Window::render() {
    gfx::Rect b = bounds();
    int w = int(std::ceil(b.width())), h = int(std::ceil(b.height()));
    if (!frame_ || frame_.width() != w || frame_.height() != h)
        frame_ = gfx::Surface(w, h);
    if (!frame_)
        return {};
    // Whatever was told or not: a layer's look can be set without telling anyone.
    refresh(frame_, false);
    return frame_.copy();
}

void Window::renderInto(const gfx::Surface &target) {
    prepareFrame();
    gfx::Context context(target);
    gfx::Rect all{0, 0, float(target.width()), float(target.height())};
    bool dimmed = !alertLayer_->subviews().empty();
    compositor::drawWhole(*this, *popoverLayer_, dimmed ? alertLayer_.get() : nullptr, all, context);
    compositor::frameDrawn();
}

gfx::Region Window::update(const gfx::Surface &target) {
    return refresh(target, true);
}

gfx::Region Window::refresh(const gfx::Surface &target, bool whenTold) {
    if (whenTold && target.cairo() == lastTarget_ && !compositor::needsFrame())
        return {};
    // The layout and display passes find nothing to do unless a view made a change known since
    // they last ran: a frame drawn only because a transition moves skips them.
    if (!whenTold || !preparedAt_ || preparedAt_ != compositor::changeCount())
        prepareFrame();
    if (target.cairo() != lastTarget_)
        damage_.reset();
    lastTarget_ = target.cairo();
    bool dimmed = !alertLayer_->subviews().empty();
    gfx::Rect area{0, 0, float(target.width()), float(target.height())};
    gfx::Region damage = damage_.collect(*this, *popoverLayer_, *alertLayer_, dimmed, area);
    preparedAt_ = compositor::changeCount();
    if (!damage.isEmpty()) {
        gfx::Context context(target);
        compositor::drawDamaged(*this, *popoverLayer_, dimmed ? alertLayer_.get() : nullptr,
                                damage_.pieces(damage), context);
    }
    compositor::frameDrawn();
    return damage;
}

} // namespace ui
