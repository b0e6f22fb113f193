#include "Common/MyTimer.h"

MyTimer::MyTimer(double interval, base::Action action)
    : m_timer(base::Timer::scheduled(interval, true, std::move(action))) {}

void MyTimer::closeTimer() {
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
}
