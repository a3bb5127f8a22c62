// The command line's clock: timers tick while the caller waits, stop, and end a wait early.
#include "platform/posix/polling_clock.h"

#include <chrono>

#include <gtest/gtest.h>

namespace qvi {
namespace {

TEST(PollingClockTest, TimersTickWhileWaitingAndStop) {
    PollingClock clock;
    int ticks = 0;
    const Clock::TimerId id = clock.StartTimer(20, [&] { ++ticks; });
    ASSERT_NE(id, 0);
    EXPECT_EQ(clock.StartTimer(0, [] {}), 0);
    EXPECT_EQ(clock.StartTimer(10, {}), 0);
    clock.Wait(110);
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 6);
    clock.StopTimer(id);
    const int stopped = ticks;
    clock.Wait(50);
    EXPECT_EQ(ticks, stopped);
}

TEST(PollingClockTest, RunUntilEndsWhenTheConditionHoldsOrAtItsTimeOut) {
    PollingClock clock;
    int ticks = 0;
    const Clock::TimerId id = clock.StartTimer(10, [&] {
        if (++ticks == 3)
            clock.StopTimer(clock.StartTimer(1000, [] {}));  // ticks may change timers
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(clock.RunUntil([&] { return ticks >= 3; }, 5000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    clock.StopTimer(id);
    EXPECT_FALSE(clock.RunUntil([] { return false; }, 30));
}

}  // namespace
}  // namespace qvi
