#include "Clock.h"

#include <atomic>
#include <chrono>

namespace base {

namespace {
std::atomic<Clock *> installed{nullptr};
constexpr double referenceSince1970 = 978307200.0;
} // namespace

Clock &Clock::current() {
    // Never destroyed: threads that outlive main (the HTTP client's) still read the clock while
    // the program's statics are torn down.
    static auto *real = new RealClock;
    Clock *clock = installed.load();
    return clock ? *clock : *real;
}

void Clock::setCurrent(Clock *clock) {
    installed.store(clock);
}

double RealClock::now() const {
    auto since1970 = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since1970).count() - referenceSince1970;
}

double RealClock::monotonic() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace base
