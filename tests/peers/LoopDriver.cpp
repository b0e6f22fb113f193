#include "LoopDriver.h"

#include "base/RunLoop.h"

#include <algorithm>
#include <chrono>

namespace peers {

namespace {

// How long one poll waits for a busy peer's bytes; it returns as soon as any arrive.
constexpr double PeerWait = 0.001;

} // namespace

bool LoopDriver::peersQuiet() const {
    return std::all_of(peers_.begin(), peers_.end(), [](const QuietCheck &quiet) { return quiet(); });
}

bool LoopDriver::runUntilIdle(const std::function<bool()> &done) {
    base::RunLoop &loop = base::RunLoop::current();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::duration<double>(RealLimit);
    while (!(done && done())) {
        if (loop.runOnce(base::RunLoop::Default, 0))
            continue;
        if (peersQuiet()) {
            // What the peers wrote before they answered is readable by now.
            if (loop.runOnce(base::RunLoop::Default, 0))
                continue;
            // The peers' own state (what they received) may have met `done` meanwhile.
            return !done || done();
        }
        if (std::chrono::steady_clock::now() > limit) {
            stalled_ = true;
            return false;
        }
        loop.runOnce(base::RunLoop::Default, PeerWait);
    }
    return true;
}

void LoopDriver::advance(double seconds) {
    base::RunLoop &loop = base::RunLoop::current();
    const double end = clock_.monotonic() + std::max(seconds, 0.0);
    runUntilIdle();
    for (;;) {
        std::optional<double> due = loop.nextDeadline();
        const double next = due && *due < end ? *due : end;
        clock_.advance(std::max(next - clock_.monotonic(), 0.0));
        runUntilIdle();
        if (next >= end)
            return;
    }
}

bool LoopDriver::runUntil(const std::function<bool()> &done, double seconds) {
    base::RunLoop &loop = base::RunLoop::current();
    const double end = clock_.monotonic() + seconds;
    while (!runUntilIdle(done)) {
        std::optional<double> due = loop.nextDeadline();
        if (!due || *due > end || stalled_)
            return false;
        clock_.advance(std::max(*due - clock_.monotonic(), 0.0));
    }
    return true;
}

} // namespace peers
