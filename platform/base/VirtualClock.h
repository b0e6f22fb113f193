#pragma once

#include "base/Clock.h"

#include <atomic>

namespace base {

// A clock that moves only when told to, for tests: install it with Clock::setCurrent before
// scheduling timers, and advance it to make them fire.
class VirtualClock : public Clock {
public:
    // Starts at wall time `now` (seconds since 2001-01-01 UTC) and monotonic time 0.
    explicit VirtualClock(double now = 0) : wallStart_(now) {}

    double now() const override { return wallStart_ + elapsed_.load(); }
    double monotonic() const override { return elapsed_.load(); }

    // Moves time forward by `seconds`. Every timer and deferred call of the calling thread's run
    // loop (default mode) that falls due within the span fires at its own time, in time order,
    // including those scheduled by the callbacks themselves.
    void advance(double seconds);

private:
    const double wallStart_;
    std::atomic<double> elapsed_{0};
};

} // namespace base
