#include "Common/TimerCenter.h"

base::Ref<TimerCenter> TimerCenter::create() {
    auto center = base::make<TimerCenter>();
    center->m_timer = base::Timer::scheduled(TickInterval, true, BASE_ACTION(center.get(), OnTimeEvent));
    return center;
}

void TimerCenter::OnTimeEvent() {
    auto controller = m_controller.lock();
    if (!controller || m_userID < 1)
        return;
    if (m_countDown > 0) {
        m_countDown -= TickInterval;
        return;
    }
    controller->OnTimerCenterNotify(m_userID);
    m_countDown = m_ti;
}

void TimerCenter::resetCountDown(double period, int32_t userID) {
    m_ti = m_countDown = period;
    m_userID = userID;
}

void TimerCenter::clear() {
    m_controller.reset();
    m_userID = 0;
}

void TimerCenter::closeTimer() {
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
}
