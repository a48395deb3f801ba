#include "EventThrottle.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(EventThrottle, PassesTheFirstCallAndThenAtMostOncePerInterval)
{
    std::chrono::steady_clock::time_point now{};
    int processed = 0;
    EventThrottle throttle([&] { ++processed; }, 20ms, [&] { return now; });

    throttle();
    EXPECT_EQ(processed, 1);
    now += 19ms;
    throttle();
    EXPECT_EQ(processed, 1);
    now += 1ms;
    throttle();
    EXPECT_EQ(processed, 2);
}

} // namespace
