#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"

namespace qvi {

// The command line's clock: timers tick on the caller's thread while it
// waits (Wait, or RunUntil), at their due times on the steady clock.
class PollingClock : public Clock {
public:
    TimerId StartTimer(int periodMs, std::function<void()> tick) override;
    void StopTimer(TimerId id) override;
    void Wait(int ms) override;
    // Waits until `done` holds or `timeoutMs` passed; true when it holds.
    bool RunUntil(const std::function<bool()> &done, int timeoutMs);

private:
    using Instant = std::chrono::steady_clock::time_point;
    struct Timer {
        std::chrono::milliseconds period;
        Instant due;
        std::function<void()> tick;
    };
    // Ticks every timer that is due and sleeps until the next due time, but
    // not beyond `until`.
    void RunDue(Instant until);

    std::map<TimerId, Timer> timers_;
    TimerId lastId_ = 0;
};

}  // namespace qvi
