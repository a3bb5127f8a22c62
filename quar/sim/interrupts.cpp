// Interrupt events: set by the simulated hardware, waited for by callers.
#include "sim/interrupts.h"

#include <chrono>

namespace quar {

Interrupts &Interrupts::Instance() {
    static Interrupts interrupts;
    return interrupts;
}

QRX_HANDLE Interrupts::Connect(QRX_HANDLE module, int kind) {
    std::lock_guard lock(mutex_);
    auto event = std::make_shared<Event>();
    event->module = module;
    event->kind = kind;
    const QRX_HANDLE handle = next_++;
    events_.emplace(handle, std::move(event));
    return handle;
}

int Interrupts::Disconnect(QRX_HANDLE event) {
    std::lock_guard lock(mutex_);
    auto found = events_.find(event);
    if (found == events_.end()) return -1;
    found->second->disconnected = true;
    events_.erase(found);
    raised_.notify_all();
    return 0;
}

int Interrupts::SetEnabled(QRX_HANDLE event, bool enabled) {
    std::lock_guard lock(mutex_);
    auto found = events_.find(event);
    if (found == events_.end()) return -1;
    found->second->enabled = enabled;
    if (!enabled) found->second->pending = false;
    raised_.notify_all();
    return 0;
}

// The waiter keeps its event alive, so a disconnect from another thread
// leaves it something to find the news in.
int Interrupts::Wait(QRX_HANDLE handle, int timeoutMs) {
    std::unique_lock lock(mutex_);
    auto found = events_.find(handle);
    if (found == events_.end() || !found->second->enabled || timeoutMs < -1) return -1;
    const std::shared_ptr<Event> event = found->second;
    auto ready = [&event] { return event->pending || event->disconnected || !event->enabled; };
    if (timeoutMs < 0)
        raised_.wait(lock, ready);
    else
        raised_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    if (event->disconnected) return -2;
    if (!event->pending) return -1;
    event->pending = false;
    return 0;
}

void Interrupts::Raise(QRX_HANDLE module, int kind) {
    std::lock_guard lock(mutex_);
    bool any = false;
    for (auto &[handle, event] : events_) {
        if (event->module != module || event->kind != kind || !event->enabled) continue;
        event->pending = true;
        any = true;
    }
    if (any) raised_.notify_all();
}

}  // namespace quar
