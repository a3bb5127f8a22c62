#pragma once

#include <QObject>
#include <map>

#include "platform/clock.h"

class QTimer;

namespace qvi {

// The desktop's clock: timers tick on the GUI thread's event loop, and a
// wait keeps the loop running (without user input) while it lasts.
class QtClock : public QObject, public Clock {
public:
    explicit QtClock(QObject *parent = nullptr) : QObject(parent) {}

    TimerId StartTimer(int periodMs, std::function<void()> tick) override;
    void StopTimer(TimerId id) override;
    void Wait(int ms) override;

private:
    std::map<TimerId, QTimer *> timers_;
    TimerId lastId_ = 0;
};

}  // namespace qvi
