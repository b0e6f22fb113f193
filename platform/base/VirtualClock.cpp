#include "base/VirtualClock.h"

#include "base/RunLoop.h"

namespace base {

void VirtualClock::advance(double seconds) {
    RunLoop &loop = RunLoop::current();
    const double end = elapsed_.load() + (seconds > 0 ? seconds : 0);
    for (auto due = loop.nextDeadline(); due && *due <= end; due = loop.nextDeadline()) {
        if (*due > elapsed_.load())
            elapsed_.store(*due);
        loop.runOnce(RunLoop::Default, 0);
    }
    elapsed_.store(end);
}

} // namespace base
