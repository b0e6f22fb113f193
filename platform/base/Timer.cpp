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
    if (!valid_)
        return;
    valid_ = false;
    // Released after the state is consistent: the target's destructor may come back here.
    auto action = std::move(action_);
    auto keep = std::move(keep_);
}

void Timer::fire() {
    if (!valid_)
        return;
    // Held locally: the callback may invalidate the timer, which drops the timer's own references.
    auto action = action_;
    auto keep = keep_;
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
