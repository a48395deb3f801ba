#include "EventThrottle.h"

EventThrottle::EventThrottle(std::function<void()> processEvents,
                             std::chrono::milliseconds interval, Clock clock)
    : m_processEvents(std::move(processEvents)), m_interval(interval), m_clock(std::move(clock))
{}

void EventThrottle::operator()()
{
    const auto now = m_clock();
    if (m_calledBefore && now - m_last < m_interval)
        return;
    m_calledBefore = true;
    m_last = now;
    m_processEvents();
}
