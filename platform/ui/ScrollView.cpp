#include "ui/ScrollView.h"

#include "base/Clock.h"
#include "base/RunLoop.h"
#include "ui/Animator.h"
#include "ui/Gesture.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double TickInterval = 1.0 / 60;
// Below this speed (points per millisecond) a deceleration has come to rest.
constexpr float RestSpeed = 0.02f;
// A finger that rested this long before lifting throws nothing.
constexpr double StillTime = 0.1;

double now() {
    return base::Clock::current().monotonic();
}

// The scroll view's pan: it tells the view when a finger comes down, gives up on a drag the view
// cannot follow (so that a scroller around it may take it) and knows when the finger last moved.
class ScrollPan : public PanRecognizer {
public:
    using PanRecognizer::PanRecognizer;
    double lastMove = 0;

protected:
    ScrollView &scroll() const { return static_cast<ScrollView &>(*view()); }

    void began(const TouchSet &touches, const Event &event) override {
        if (touchCount() == int(touches.size()) && view() && !scroll().fingerDown(touches.front()->view())) {
            setState(GestureState::Failed);
            return;
        }
        start_ = centroid();
        lastMove = event.timestamp();
        PanRecognizer::began(touches, event);
    }

    void moved(const TouchSet &touches, const Event &event) override {
        lastMove = event.timestamp();
        if (state() == GestureState::Possible && view()) {
            gfx::Point c = centroid();
            float dx = c.x - start_.x, dy = c.y - start_.y;
            if (std::hypot(dx, dy) >= Threshold && !scroll().canScroll(std::abs(dx) > std::abs(dy))) {
                setState(GestureState::Failed);
                return;
            }
        }
        PanRecognizer::moved(touches, event);
    }

private:
    gfx::Point start_;
};

} // namespace

ScrollView::ScrollView(gfx::Rect frame) : View(frame) {
    clipsToBounds = true;
    pan_ = base::make<ScrollPan>();
    pan_->addTarget(base::Action("scrollPan", [this, pan = pan_.get()](base::Object *) {
        if (pan->view() == this)
            panned();
    }));
    addGestureRecognizer(pan_);
}

ScrollView::~ScrollView() {
    if (ticker_)
        ticker_->invalidate();
}

void ScrollView::onContentSizeChange(std::function<void(gfx::Size)> observer) {
    sizeObservers_.push_back(std::move(observer));
}

void ScrollView::setContentSize(gfx::Size size) {
    if (size == contentSize_)
        return;
    contentSize_ = size;
    if (sizeObservers_.empty())
        return;
    base::Ref<View> keep = self<View>();
    for (auto &observer : std::vector(sizeObservers_))
        observer(size);
}

void ScrollView::setContentInset(gfx::EdgeInsets inset) {
    inset_ = inset;
    if (!dragging_ && !decelerating_ && motion_ == Motion::None) {
        gfx::Point offset = contentOffset(), limited = clamped(offset);
        if (limited != offset)
            moveTo(limited);
    } else if (motion_ == Motion::Settling) {
        // A bounce under way ends within the new limits.
        to_ = clamped(to_);
    }
}

gfx::Point ScrollView::minimumOffset() const {
    return {-inset_.left, -inset_.top};
}

gfx::Point ScrollView::maximumOffset() const {
    gfx::Rect b = bounds();
    gfx::Point low = minimumOffset();
    return {std::max(low.x, contentSize_.w + inset_.right - b.width()),
            std::max(low.y, contentSize_.h + inset_.bottom - b.height())};
}

gfx::Point ScrollView::clamped(gfx::Point p) const {
    gfx::Point low = minimumOffset(), high = maximumOffset();
    return {std::clamp(p.x, low.x, high.x), std::clamp(p.y, low.y, high.y)};
}

bool ScrollView::bouncesOn(bool horizontal) const {
    gfx::Point low = minimumOffset(), high = maximumOffset();
    bool longer = horizontal ? high.x > low.x : high.y > low.y;
    return bounces && (longer || (horizontal ? alwaysBounceHorizontal : alwaysBounceVertical));
}

bool ScrollView::canScroll(bool horizontal) const {
    gfx::Point low = minimumOffset(), high = maximumOffset();
    return scrollEnabled && ((horizontal ? high.x > low.x : high.y > low.y) || bouncesOn(horizontal));
}

bool ScrollView::isTracking() const {
    return pan_->touchCount() > 0;
}

double ScrollView::contentTouchDelay() const {
    return scrollEnabled && delaysContentTouches ? ContentTouchDelay : 0;
}

void ScrollView::moveTo(gfx::Point offset) {
    gfx::Rect b = bounds();
    if (b.o == offset)
        return;
    setBounds({offset, b.s});
    base::Ref<View> keep = self<View>();
    offsetChanged();
    if (auto d = scrollDelegate())
        d->didScroll(*this);
}

void ScrollView::setContentOffset(gfx::Point offset, bool animated) {
    stopMotion();
    if (animated && offset != contentOffset())
        settle(offset, AnimationDuration, Motion::Animating);
    else
        moveTo(offset);
}

void ScrollView::scrollRectToVisible(gfx::Rect rect, bool animated) {
    gfx::Rect b = bounds();
    auto axis = [](float offset, float size, float lo, float len) {
        if (lo < offset)
            return lo;
        if (lo + len > offset + size)
            return std::min(lo, lo + len - size);
        return offset;
    };
    gfx::Point target{axis(b.x(), b.width(), rect.x(), rect.width()),
                      axis(b.y(), b.height(), rect.y(), rect.height())};
    setContentOffset(clamped(target), animated);
}

void ScrollView::scrollBy(gfx::Point delta) {
    if (!scrollEnabled || dragging_)
        return;
    stopMotion();
    gfx::Point o = contentOffset(), target = clamped({o.x + delta.x, o.y + delta.y});
    if (target == o)
        return;
    moveTo(target);
    base::RunLoop &loop = base::RunLoop::main();
    loop.cancelPerforms(this, "wheelRested");
    loop.performAfter(WheelRestDelay, base::Action(weakSelf(), "wheelRested", [this](base::Object *) {
                          if (auto d = scrollDelegate())
                              d->didEndDecelerating(*this);
                      }));
}

bool ScrollView::fingerDown(const View *on) {
    if (on && !scrollsForTouch(on))
        return false;
    base::RunLoop::main().cancelPerforms(this, "wheelRested");
    // A finger on moving content stops it where it is; the content has come to rest.
    if (motion_ == Motion::None || motion_ == Motion::Animating)
        return true;
    stopMotion();
    if (auto d = scrollDelegate())
        d->didEndDecelerating(*this);
    return true;
}

void ScrollView::panned() {
    auto &pan = static_cast<ScrollPan &>(*pan_);
    switch (pan.state()) {
    case GestureState::Began: {
        stopMotion();
        dragging_ = true;
        dragStart_ = contentOffset();
        lock_ = Lock::None;
        if (directionalLockEnabled) {
            gfx::Point t = pan.translation(this);
            lock_ = std::abs(t.x) > std::abs(t.y) ? Lock::Horizontal : Lock::Vertical;
        }
        if (auto d = scrollDelegate())
            d->willBeginDragging(*this);
        [[fallthrough]];
    }
    case GestureState::Changed: {
        // In the content's own units, so that a scaled scroll view follows the finger.
        gfx::Point t = pan.translation(this);
        gfx::Point raw{dragStart_.x - t.x, dragStart_.y - t.y};
        gfx::Point low = minimumOffset(), high = maximumOffset(), now = contentOffset();
        auto follow = [&](float value, float lo, float hi, bool horizontal) {
            if (!canScroll(horizontal))
                return horizontal ? now.x : now.y;
            if (!bouncesOn(horizontal))
                return std::clamp(value, lo, hi);
            if (value < lo)
                return lo + (value - lo) / 2;
            if (value > hi)
                return hi + (value - hi) / 2;
            return value;
        };
        gfx::Point next{follow(raw.x, low.x, high.x, true), follow(raw.y, low.y, high.y, false)};
        if (lock_ == Lock::Horizontal)
            next.y = now.y;
        if (lock_ == Lock::Vertical)
            next.x = now.x;
        moveTo(next);
        break;
    }
    case GestureState::Ended:
    case GestureState::Cancelled: {
        gfx::Point v = pan.velocity(nullptr);
        bool still = pan.state() == GestureState::Cancelled || now() - pan.lastMove > StillTime;
        release(still ? gfx::Point{} : gfx::Point{-v.x, -v.y});
        break;
    }
    default:
        break;
    }
}

gfx::Point ScrollView::pageFor(gfx::Point velocity) const {
    gfx::Rect b = bounds();
    auto axis = [](float offset, float page, float speed, float lo, float hi) {
        if (page <= 0)
            return offset;
        float at = offset / page;
        float index = speed > ReleaseSpeed    ? std::ceil(at)
                      : speed < -ReleaseSpeed ? std::floor(at)
                                              : std::round(at);
        return std::clamp(index * page, lo, hi);
    };
    gfx::Point low = minimumOffset(), high = maximumOffset();
    return {axis(b.x(), b.width(), velocity.x, low.x, high.x),
            axis(b.y(), b.height(), velocity.y, low.y, high.y)};
}

void ScrollView::release(gfx::Point velocity) {
    dragging_ = false;
    if (lock_ == Lock::Horizontal)
        velocity.y = 0;
    if (lock_ == Lock::Vertical)
        velocity.x = 0;
    if (!canScroll(true))
        velocity.x = 0;
    if (!canScroll(false))
        velocity.y = 0;
    gfx::Point offset = contentOffset();
    bool fast = std::hypot(velocity.x, velocity.y) > ReleaseSpeed;
    bool outside = clamped(offset) != offset;
    bool paging = pagingEnabled && pageFor(velocity) != offset;
    decelerating_ = outside || paging || fast;
    base::Ref<View> keep = self<View>();
    if (auto d = scrollDelegate())
        d->didEndDragging(*this, decelerating_);
    if (!decelerating_ || motion_ != Motion::None)
        return;
    if (auto d = scrollDelegate())
        d->willBeginDecelerating(*this);
    if (!decelerating_ || motion_ != Motion::None)
        return;
    // The owner may have changed the inset or the offset meanwhile: the limits are read now.
    offset = contentOffset();
    if (clamped(offset) != offset) {
        settle(clamped(offset), BounceDuration, Motion::Settling);
    } else if (pagingEnabled) {
        settle(pageFor(velocity), PagingDuration, Motion::Settling);
    } else {
        velocity_ = {velocity.x / 1000, velocity.y / 1000};
        motion_ = Motion::Decelerating;
        startTicking();
    }
}

void ScrollView::settle(gfx::Point target, double duration, Motion kind) {
    from_ = contentOffset();
    to_ = target;
    start_ = now();
    duration_ = duration;
    motion_ = kind;
    decelerating_ = kind != Motion::Animating;
    startTicking();
}

void ScrollView::startTicking() {
    lastTick_ = now();
    if (ticker_)
        return;
    ticker_ = base::Timer::make(
        TickInterval, true, base::Action(weakSelf<View>(), "scrollTick", [this](base::Object *) { tick(); }));
    base::RunLoop::main().addTimer(ticker_, base::RunLoop::Common);
}

void ScrollView::tick() {
    base::Ref<View> keep = self<View>();
    double t = now();
    if (motion_ == Motion::Decelerating) {
        double ms = (t - lastTick_) * 1000;
        lastTick_ = t;
        double rate = std::clamp(double(decelerationRate), 0.0, double(MaximumRate));
        // The distance covered while the speed decays by the rate every millisecond.
        double decay = std::pow(rate, ms);
        double travel = rate > 0 ? (decay - 1) / std::log(rate) : 0;
        gfx::Point o = contentOffset();
        gfx::Point next{float(o.x + velocity_.x * travel), float(o.y + velocity_.y * travel)};
        velocity_ = {float(velocity_.x * decay), float(velocity_.y * decay)};
        gfx::Point limited = clamped(next);
        // The content stops at an edge it reaches.
        if (limited.x != next.x)
            velocity_.x = 0;
        if (limited.y != next.y)
            velocity_.y = 0;
        moveTo(limited);
        if (motion_ == Motion::Decelerating && std::hypot(velocity_.x, velocity_.y) < RestSpeed)
            endMotion();
        return;
    }
    if (motion_ == Motion::Settling || motion_ == Motion::Animating) {
        double k = duration_ > 0 ? std::min(1.0, (t - start_) / duration_) : 1;
        double e = Animator::ease(motion_ == Motion::Settling ? Curve::EaseOut : Curve::EaseInOut, k);
        moveTo({float(from_.x + (to_.x - from_.x) * e), float(from_.y + (to_.y - from_.y) * e)});
        if (k >= 1 && motion_ != Motion::None)
            endMotion();
        return;
    }
    stopMotion();
}

void ScrollView::stopMotion() {
    motion_ = Motion::None;
    decelerating_ = false;
    velocity_ = {};
    if (ticker_)
        ticker_->invalidate();
    ticker_ = nullptr;
}

void ScrollView::endMotion() {
    Motion kind = motion_;
    stopMotion();
    auto d = scrollDelegate();
    if (!d)
        return;
    if (kind == Motion::Animating)
        d->didEndScrollingAnimation(*this);
    else
        d->didEndDecelerating(*this);
}

} // namespace ui
