#pragma once

#include "base/Action.h"
#include "base/Object.h"
#include "base/Timer.h"

// One repeating timer that its owner can stop. Releasing the wrapper does not stop the timer: the
// owner calls closeTimer first.
class MyTimer : public base::Object {
public:
    // Schedules a repeating timer of `interval` seconds running `action` on the current run loop.
    MyTimer(double interval, base::Action action);

    // Stops the timer; harmless when already stopped.
    void closeTimer();
    bool isRunning() const { return m_timer && m_timer->isValid(); }

private:
    base::Ref<base::Timer> m_timer;
};
