#include "base/Timer.h"

#include "base/Clock.h"
#include "base/RunLoop.h"

#include <utility>

namespace base {

namespace {
// The shortest interval, as on the platform: a zero interval would never let the loop go on.
constexpr double minimumInterval = 0.0001;
} // namespace

Timer::Timer(double interval, bool repeats, Action action)
    : interval_(interval > minimumInterval ? interval : minimumInterval), repeats_(repeats),
      fireDate_(Clock::current().monotonic() + interval_), keep_(action.target()) {
    valid_ = !action.hasTarget() || keep_ != nullptr;
    if (valid_)
        action_ = std::make_shared<const Action>(std::move(action));
}

Ref<Timer> Timer::make(double interval, bool repeats, Action action) {
    return std::make_shared<Timer>(interval, repeats, std::move(action));
}

Ref<Timer> Timer::scheduled(double interval, bool repeats, Action action) {
    auto timer = make(interval, repeats, std::move(action));
    RunLoop::current().addTimer(timer);
    return timer;
}

void Timer::invalidate() {
    if (!valid_.exchange(false))
        return;
    std::shared_ptr<const Action> action;
    Ref<Object> keep;
    {
        std::lock_guard guard(lock_);
        action = std::move(action_);
        keep = std::move(keep_);
    }
    // Released after the state is consistent and outside the lock: the target's destructor may
    // come back here.
}

void Timer::fire() {
    if (!valid_)
        return;
    // Held locally: the callback may invalidate the timer, which drops the timer's own references.
    std::shared_ptr<const Action> action;
    Ref<Object> keep;
    {
        std::lock_guard guard(lock_);
        action = action_;
        keep = keep_;
    }
    if (!action)
        return;
    auto self = weak_from_this().lock();
    (*action)(this);
    if (!repeats_)
        invalidate();
}

void Timer::fireFromLoop(double now) {
    if (repeats_) {
        double next = fireDate_ + interval_;
        fireDate_ = next > now ? next : now + interval_;
    }
    fire();
}

} // namespace base
