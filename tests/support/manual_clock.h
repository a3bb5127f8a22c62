#pragma once

#include <functional>
#include <map>

#include "platform/clock.h"

namespace qvi::testing {

// A clock whose time moves only when the test says so; timers tick in order
// of their due time, waits advance time.
class ManualClock : public Clock {
public:
    TimerId StartTimer(int periodMs, std::function<void()> tick) override {
        if (refuseTimers || periodMs <= 0) return 0;
        const TimerId id = ++lastId_;
        timers_[id] = {periodMs, now_ + periodMs, std::move(tick)};
        return id;
    }
    void StopTimer(TimerId id) override { timers_.erase(id); }
    void Wait(int ms) override {
        waited += ms;
        Advance(ms);
    }

    void Advance(int ms) {
        const long end = now_ + ms;
        while (true) {
            auto due = timers_.end();
            for (auto it = timers_.begin(); it != timers_.end(); ++it)
                if (it->second.due <= end &&
                    (due == timers_.end() || it->second.due < due->second.due))
                    due = it;
            if (due == timers_.end()) break;
            now_ = due->second.due;
            due->second.due += due->second.period;
            auto tick = due->second.tick;  // the tick may stop its own timer
            tick();
        }
        now_ = end;
    }
    int Running() const { return static_cast<int>(timers_.size()); }

    bool refuseTimers = false;
    int waited = 0;

private:
    struct Timer {
        int period;
        long due;
        std::function<void()> tick;
    };
    std::map<TimerId, Timer> timers_;
    TimerId lastId_ = 0;
    long now_ = 0;
};

}  // namespace qvi::testing
