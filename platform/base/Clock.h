#pragma once

namespace base {

// Where the application's time comes from. Tests install a virtual clock and advance it.
class Clock {
public:
    virtual ~Clock() = default;
    // Wall time: seconds since 2001-01-01 00:00:00 UTC.
    virtual double now() const = 0;
    // Seconds on a clock that never goes back; what timers are scheduled against.
    virtual double monotonic() const = 0;

    // The clock in use: the real one unless a test installed another.
    static Clock& current();
    // Installs `clock` (not owned); nullptr goes back to the real clock.
    static void setCurrent(Clock* clock);
};

class RealClock : public Clock {
public:
    double now() const override;
    double monotonic() const override;
};

} // namespace base
