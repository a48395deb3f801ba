#pragma once

#include <chrono>
#include <functional>

// Passes calls on to an event-processing function at most once per interval,
// so that a long run spends its time writing pages rather than repainting.
class EventThrottle
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit EventThrottle(std::function<void()> processEvents,
                           std::chrono::milliseconds interval = std::chrono::milliseconds(20),
                           Clock clock = &std::chrono::steady_clock::now);

    void operator()();

private:
    std::function<void()> m_processEvents;
    std::chrono::milliseconds m_interval;
    Clock m_clock;
    std::chrono::steady_clock::time_point m_last{};
    bool m_calledBefore = false;
};
