#include "ui/Gesture.h"

#include "base/RunLoop.h"
#include "ui/View.h"
#include "ui/Window.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

float distance(gfx::Point a, gfx::Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool active(GestureState s) {
    return s == GestureState::Began || s == GestureState::Changed;
}

} // namespace

GestureRecognizer::GestureRecognizer(base::Action action) {
    if (action)
        actions_.push_back(std::move(action));
}

void GestureRecognizer::addTarget(base::Action action) {
    actions_.push_back(std::move(action));
}

void GestureRecognizer::requireToFail(GestureRecognizer &other) {
    if (&other == this)
        return;
    required_.push_back(other.weakSelf<GestureRecognizer>());
    other.dependents_.push_back(weakSelf<GestureRecognizer>());
}

bool GestureRecognizer::heldBack(GestureState &state) {
    for (const auto &weak : required_) {
        auto other = weak.lock();
        if (!other)
            continue;
        if (active(other->state_) || other->state_ == GestureState::Ended) {
            state = GestureState::Failed;
            return false;
        }
        if (other->state_ == GestureState::Possible && other->inProgress()) {
            deferred_ = state;
            return true;
        }
    }
    return false;
}

void GestureRecognizer::requiredFailed() {
    if (!deferred_)
        return;
    GestureState state = *deferred_;
    deferred_.reset();
    setState(state);
}

void GestureRecognizer::requiredRecognized() {
    if (!deferred_)
        return;
    deferred_.reset();
    fail();
}

gfx::Point GestureRecognizer::centroid() const {
    if (touches_.empty())
        return lifted_;
    gfx::Point sum;
    for (const auto &t : touches_) {
        gfx::Point p = t->location(nullptr);
        sum.x += p.x, sum.y += p.y;
    }
    const float n = float(touches_.size());
    return {sum.x / n, sum.y / n};
}

gfx::Point GestureRecognizer::location(const View *in) const {
    gfx::Point c = centroid();
    Window *w = view_ ? view_->window() : nullptr;
    return w && in ? w->convert(c, in) : c;
}

gfx::Point GestureRecognizer::locationOfTouch(int index, const View *in) const {
    if (index < 0 || index >= int(touches_.size()))
        return {};
    return touches_[size_t(index)]->location(in);
}

bool GestureRecognizer::finished() const {
    return touches_.empty() && (state_ == GestureState::Ended || state_ == GestureState::Cancelled ||
                                state_ == GestureState::Failed);
}

void GestureRecognizer::reset() {
    deferred_.reset();
    touches_.clear();
    state_ = GestureState::Possible;
    resetGesture();
}

void GestureRecognizer::fail() {
    resetGesture();
    deferred_.reset();
    state_ = GestureState::Failed;
    base::Ref<Object> keep = shared_from_this();
    for (const auto &weak : std::vector(dependents_))
        if (auto d = weak.lock())
            d->requiredFailed();
}

void GestureRecognizer::handle(Touch::Phase phase, const TouchSet &touches, const Event &event) {
    base::Ref<Object> keep = shared_from_this();
    switch (phase) {
    case Touch::Phase::Began:
        for (Touch *t : touches)
            touches_.push_back(t->self<Touch>());
        if (state_ != GestureState::Failed)
            began(touches, event);
        break;
    case Touch::Phase::Moved:
    case Touch::Phase::Stationary:
        if (state_ != GestureState::Failed && state_ != GestureState::Ended &&
            state_ != GestureState::Cancelled)
            moved(touches, event);
        break;
    case Touch::Phase::Ended:
    case Touch::Phase::Cancelled:
        if (phase == Touch::Phase::Cancelled && active(state_))
            cancelled();
        lifted_ = centroid();
        std::erase_if(touches_, [&](const base::Ref<Touch> &t) {
            return std::find(touches.begin(), touches.end(), t.get()) != touches.end();
        });
        if (state_ != GestureState::Failed && state_ != GestureState::Ended &&
            state_ != GestureState::Cancelled)
            ended(touches, event);
        break;
    }
}

void GestureRecognizer::cancelled() {
    setState(GestureState::Cancelled);
}

bool GestureRecognizer::mayBegin() {
    if (auto d = delegate.lock())
        if (!d->shouldBegin(*this).valueOr(true))
            return false;
    Window *w = view_ ? view_->window() : nullptr;
    return !w || w->mayBegin(*this);
}

void GestureRecognizer::setState(GestureState state) {
    if (deferred_) {
        if (state == GestureState::Changed)
            return;
        deferred_.reset();
    }
    bool recognizing =
        state == GestureState::Began || (state == GestureState::Ended && state_ == GestureState::Possible);
    if (recognizing && heldBack(state))
        return;
    if (state != GestureState::Failed && recognizing && !mayBegin())
        state = GestureState::Failed;
    if (state == state_ && state != GestureState::Changed)
        return;
    state_ = state;
    base::Ref<Object> keep = shared_from_this();
    if (state == GestureState::Failed || recognizing)
        for (const auto &weak : std::vector(dependents_))
            if (auto d = weak.lock())
                state == GestureState::Failed ? d->requiredFailed() : d->requiredRecognized();
    if (state == GestureState::Failed || state == GestureState::Possible)
        return;
    if (recognizing && view_)
        if (Window *w = view_->window())
            w->recognized(*this);
    for (const base::Action &action : std::vector(actions_))
        action(this);
}

// Taps.

void TapRecognizer::began(const TouchSet &touches, const Event &) {
    base::RunLoop::main().cancelPerforms(this, "tooLate");
    if (touches.size() == size_t(touchCount()))
        start_ = centroid();
    maxFingers_ = std::max(maxFingers_, touchCount());
    if (touchCount() > touchesRequired)
        setState(GestureState::Failed);
}

void TapRecognizer::moved(const TouchSet &touches, const Event &) {
    for (Touch *t : touches)
        if (distance(t->location(nullptr), start_) > Slop && touchCount() == 1)
            setState(GestureState::Failed);
    if (touchCount() > 1 && distance(centroid(), start_) > Slop * 2)
        setState(GestureState::Failed);
}

void TapRecognizer::ended(const TouchSet &, const Event &) {
    if (touchCount() > 0)
        return;
    if (maxFingers_ != touchesRequired) {
        setState(GestureState::Failed);
        return;
    }
    maxFingers_ = 0;
    if (++taps_ >= tapsRequired) {
        setState(GestureState::Ended);
        return;
    }
    base::RunLoop::main().performAfter(
        TapInterval, base::Action(weakSelf(), "tooLate", [this](base::Object *) { tooLate(); }));
}

void TapRecognizer::tooLate() {
    if (state() == GestureState::Possible)
        setState(GestureState::Failed);
}

bool TapRecognizer::inProgress() const {
    return taps_ > 0 || GestureRecognizer::inProgress();
}

void TapRecognizer::resetGesture() {
    base::RunLoop::main().cancelPerforms(this, "tooLate");
    taps_ = 0;
    maxFingers_ = 0;
}

// Pans.

void PanRecognizer::restart() {
    gfx::Point c = centroid();
    if (active(state())) {
        // Keep the translation continuous when fingers are added or lifted.
        offset_ = {offset_.x + last_.x - c.x, offset_.y + last_.y - c.y};
    } else {
        start_ = c;
        offset_ = {};
    }
    last_ = c;
}

void PanRecognizer::began(const TouchSet &, const Event &event) {
    if (state() == GestureState::Possible && touchCount() > maxTouches) {
        setState(GestureState::Failed);
        return;
    }
    restart();
    lastTime_ = event.timestamp();
}

void PanRecognizer::moved(const TouchSet &, const Event &event) {
    gfx::Point c = centroid();
    double dt = event.timestamp() - lastTime_;
    if (dt > 0)
        velocity_ = {float((c.x - last_.x) / dt), float((c.y - last_.y) / dt)};
    last_ = c;
    lastTime_ = event.timestamp();
    if (active(state())) {
        setState(GestureState::Changed);
        return;
    }
    if (touchCount() >= minTouches && touchCount() <= maxTouches && distance(centroid(), start_) >= Threshold)
        setState(GestureState::Began);
}

void PanRecognizer::ended(const TouchSet &, const Event &) {
    if (active(state())) {
        if (touchCount() < minTouches)
            setState(GestureState::Ended);
        else
            restart();
    } else if (touchCount() == 0) {
        setState(GestureState::Failed);
    } else {
        restart();
    }
}

void PanRecognizer::resetGesture() {
    start_ = offset_ = velocity_ = last_ = {};
    lastTime_ = 0;
}

gfx::Point PanRecognizer::translation(const View *in) const {
    gfx::Point t{last_.x - start_.x + offset_.x, last_.y - start_.y + offset_.y};
    Window *w = view() ? view()->window() : nullptr;
    if (!w || !in)
        return t;
    gfx::Point o = w->convert(gfx::Point{0, 0}, in), p = w->convert(t, in);
    return {p.x - o.x, p.y - o.y};
}

void PanRecognizer::setTranslation(gfx::Point translation, const View *in) {
    Window *w = view() ? view()->window() : nullptr;
    gfx::Point t = translation;
    if (w && in) {
        gfx::Point o = in->convert(gfx::Point{0, 0}, nullptr), p = in->convert(translation, nullptr);
        t = {p.x - o.x, p.y - o.y};
    }
    start_ = last_;
    offset_ = t;
}

gfx::Point PanRecognizer::velocity(const View *) const {
    return velocity_;
}

// Pinches.

float PinchRecognizer::distance() const {
    if (touchCount() < 2)
        return 0;
    return ui::distance(touches()[0]->location(nullptr), touches()[1]->location(nullptr));
}

void PinchRecognizer::began(const TouchSet &, const Event &event) {
    if (touchCount() > 2 && state() == GestureState::Possible) {
        setState(GestureState::Failed);
        return;
    }
    start_ = last_ = distance();
    lastTime_ = event.timestamp();
}

void PinchRecognizer::moved(const TouchSet &, const Event &event) {
    float d = distance();
    if (touchCount() < 2 || last_ <= 0 || d <= 0)
        return;
    if (!active(state())) {
        if (std::abs(d - start_) < Threshold)
            return;
        scale = d / start_;
        last_ = d;
        setState(GestureState::Began);
        return;
    }
    float previous = scale;
    scale *= d / last_;
    double dt = event.timestamp() - lastTime_;
    velocity = dt > 0 ? float((scale - previous) / dt) : 0;
    last_ = d;
    lastTime_ = event.timestamp();
    setState(GestureState::Changed);
}

void PinchRecognizer::ended(const TouchSet &, const Event &) {
    if (active(state()))
        setState(GestureState::Ended);
    else if (touchCount() == 0)
        setState(GestureState::Failed);
}

void PinchRecognizer::resetGesture() {
    scale = 1;
    velocity = 0;
    start_ = last_ = 0;
}

// Long presses.

LongPressRecognizer::~LongPressRecognizer() {
    base::RunLoop::main().cancelPerforms(this, "held");
}

void LongPressRecognizer::began(const TouchSet &, const Event &) {
    if (state() != GestureState::Possible)
        return;
    if (touchCount() > touchesRequired) {
        base::RunLoop::main().cancelPerforms(this, "held");
        setState(GestureState::Failed);
        return;
    }
    start_ = centroid();
    if (touchCount() == touchesRequired && !waiting_) {
        waiting_ = true;
        base::RunLoop::main().performAfter(
            minimumDuration, base::Action(weakSelf(), "held", [this](base::Object *) { held(); }));
    }
}

void LongPressRecognizer::held() {
    waiting_ = false;
    if (state() == GestureState::Possible && touchCount() == touchesRequired)
        setState(GestureState::Began);
}

void LongPressRecognizer::moved(const TouchSet &, const Event &) {
    if (active(state())) {
        setState(GestureState::Changed);
    } else if (distance(centroid(), start_) > allowableMovement) {
        base::RunLoop::main().cancelPerforms(this, "held");
        waiting_ = false;
        setState(GestureState::Failed);
    }
}

void LongPressRecognizer::ended(const TouchSet &, const Event &) {
    if (active(state())) {
        setState(GestureState::Ended);
        return;
    }
    base::RunLoop::main().cancelPerforms(this, "held");
    waiting_ = false;
    setState(GestureState::Failed);
}

void LongPressRecognizer::resetGesture() {
    base::RunLoop::main().cancelPerforms(this, "held");
    waiting_ = false;
}

} // namespace ui
