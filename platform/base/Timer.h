#pragma once

#include "base/Action.h"
#include "base/Object.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace base {

// A one-shot or repeating timer. From creation until it is invalidated the timer keeps its action's
// target alive; a one-shot timer invalidates itself after firing. The action receives the timer as
// its sender. A repeating timer that fell behind fires once and is rescheduled an interval from now.
class Timer : public Object {
public:
    // A timer added to the current thread's run loop in the default mode.
    static Ref<Timer> scheduled(double interval, bool repeats, Action action);
    // A timer not yet on a run loop: add it with RunLoop::addTimer.
    static Ref<Timer> make(double interval, bool repeats, Action action);

    Timer(double interval, bool repeats, Action action);

    // Stops the timer for good and lets go of its target; harmless when already invalid, also
    // from inside the timer's own callback, and from another thread than its run loop's (an object
    // that owns a timer may end on any thread).
    void invalidate();
    bool isValid() const { return valid_; }
    // When the timer fires next, in Clock::current().monotonic() seconds.
    double fireDate() const { return fireDate_; }
    double interval() const { return interval_; }
    bool repeats() const { return repeats_; }
    // Runs the action now without changing the schedule; a one-shot timer is then invalid.
    void fire();

private:
    friend class RunLoop;
    // Fires at loop time `now`: a repeating timer is rescheduled first.
    void fireFromLoop(double now);

    double interval_;
    bool repeats_;
    std::atomic<bool> valid_{true};
    double fireDate_;
    // Guards action_ and keep_, which invalidate() drops from whatever thread calls it.
    std::mutex lock_;
    std::shared_ptr<const Action> action_;
    Ref<Object> keep_;
};

} // namespace base
