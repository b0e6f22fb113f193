#pragma once

#include "base/Object.h"
#include "base/Timer.h"

#include <cstdint>

// What the screen on view implements to be refreshed. The operation is optional: a controller
// that does not implement it keeps its count-down running but is never called.
class TimerCenterDelegate {
public:
    virtual ~TimerCenterDelegate() = default;
    // The refresh period has run out; `userID` is the screen id given to resetCountDown.
    virtual base::Opt<void> OnTimerCenterNotify(int32_t userID) {
        (void)userID;
        return base::notImplemented;
    }
};

// The one refresh scheduler of the process: a 0.5 s tick counts down the period of the screen on
// view (the controller) and calls it when the period has run out, then starts again. Only one
// screen is controller at a time, so only the visible screen refreshes. `DataBase` creates it at
// set-up and closes its timer when it goes; screens reach it as `DataBase::IO_TimerCenter`.
class TimerCenter : public base::Object {
public:
    static constexpr double TickInterval = 0.5;

    // A scheduler ticking on the current run loop; the tick keeps it alive until closeTimer.
    static base::Ref<TimerCenter> create();

    // The tick: frozen without a controller or with a screen id below 1; otherwise counts down
    // and, once the count-down is 0 or less, calls the controller and resets it to the period.
    void OnTimeEvent();
    // Restarts the count-down from `period` for screen `userID`; the controller stays.
    void resetCountDown(double period, int32_t userID);
    // The controller is not retained; setting it keeps the count-down and the screen id.
    void setController(base::Weak<TimerCenterDelegate> controller) { m_controller = std::move(controller); }
    base::Ref<TimerCenterDelegate> controller() const { return m_controller.lock(); }
    void clear();
    // Stops the tick for good; harmless when already stopped.
    void closeTimer();

    double countDown() const { return m_countDown; }
    int32_t userID() const { return m_userID; }
    bool isTicking() const { return m_timer && m_timer->isValid(); }

private:
    base::Ref<base::Timer> m_timer;
    base::Weak<TimerCenterDelegate> m_controller;
    double m_countDown = 0;
    double m_ti = 0;
    int32_t m_userID = 0;
};
