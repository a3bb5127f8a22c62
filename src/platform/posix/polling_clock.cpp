// The command line's clock: timers that tick while the caller waits.
#include "platform/posix/polling_clock.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace qvi {

Clock::TimerId PollingClock::StartTimer(int periodMs, std::function<void()> tick) {
    if (periodMs <= 0 || !tick) return 0;
    const std::chrono::milliseconds period(periodMs);
    timers_[++lastId_] = {period, std::chrono::steady_clock::now() + period, std::move(tick)};
    return lastId_;
}

void PollingClock::StopTimer(TimerId id) {
    timers_.erase(id);
}

void PollingClock::Wait(int ms) {
    RunUntil([] { return false; }, ms);
}

bool PollingClock::RunUntil(const std::function<bool()> &done, int timeoutMs) {
    const Instant end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        RunDue(end);
    }
    return true;
}

void PollingClock::RunDue(Instant until) {
    const Instant now = std::chrono::steady_clock::now();
    Instant next = until;
    // A tick may start or stop timers: take the due ones first.
    std::vector<TimerId> due;
    for (auto &[id, timer] : timers_) {
        if (timer.due <= now)
            due.push_back(id);
        else if (timer.due < next)
            next = timer.due;
    }
    for (TimerId id : due) {
        auto found = timers_.find(id);
        if (found == timers_.end()) continue;
        found->second.due = now + found->second.period;
        auto tick = found->second.tick;
        tick();
    }
    // Short slices, so that a condition another thread makes true is seen soon.
    const Instant slice = now + std::chrono::milliseconds(10);
    if (due.empty()) std::this_thread::sleep_until(std::min({next, until, slice}));
}

}  // namespace qvi
