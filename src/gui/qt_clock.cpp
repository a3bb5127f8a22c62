// Timers and waits on the Qt event loop.
#include "gui/qt_clock.h"

#include <QEventLoop>
#include <QTimer>

namespace qvi {

Clock::TimerId QtClock::StartTimer(int periodMs, std::function<void()> tick) {
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, std::move(tick));
    timer->start(periodMs);
    timers_[++lastId_] = timer;
    return lastId_;
}

// A timer may be stopped from its own tick: it goes once the tick returned.
void QtClock::StopTimer(TimerId id) {
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    found->second->stop();
    found->second->deleteLater();
    timers_.erase(found);
}

void QtClock::Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace qvi
