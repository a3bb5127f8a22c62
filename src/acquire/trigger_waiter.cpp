// The SXA trigger waiter: a thread that shows each buffer acquired on a trigger.
#include "acquire/trigger_waiter.h"

namespace qvi {

TriggerWaiter::TriggerWaiter(HostFramePort &port) : port_(port), thread_([this] { Run(); }) {}

TriggerWaiter::TriggerWaiter(std::unique_ptr<HostFramePort> port)
    : ownedPort_(std::move(port)), port_(*ownedPort_), thread_([this] { Run(); }) {}

TriggerWaiter::~TriggerWaiter() {
    Stop();
}

void TriggerWaiter::Run() {
    while (!stop_.load()) {
        std::uint8_t *address = nullptr;
        const int sequence = port_.WaitForBuffer(&address);
        if (sequence < 0 || stop_.load()) continue;  // a time-out or failure loops
        port_.ShowBuffer(address);
        port_.ReleaseBuffer(sequence);
        shown_.fetch_add(1);
    }
}

void TriggerWaiter::Stop() {
    if (stopped_) return;
    stop_.store(true);
    port_.InterruptWait();
    if (thread_.joinable()) thread_.join();
    port_.EndInterrupt();
    stopped_ = true;
}

}  // namespace qvi
