#pragma once

#include <functional>

namespace qvi {

// Time as the logic sees it: timers whose ticks run on the thread that owns
// the clock, and short waits. The desktop runs timers on its event loop, the
// command line runs them while it waits, and tests advance time by hand.
class Clock {
public:
    using TimerId = int;

    virtual ~Clock() = default;

    // Calls `tick` every `periodMs` milliseconds until stopped; 0 when no
    // timer could be set.
    virtual TimerId StartTimer(int periodMs, std::function<void()> tick) = 0;
    // Stopping a timer that is not running does nothing.
    virtual void StopTimer(TimerId id) = 0;
    // Waits `ms` milliseconds; due timers tick meanwhile where the clock runs them.
    virtual void Wait(int ms) = 0;
};

}  // namespace qvi
