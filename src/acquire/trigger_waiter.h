#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace qvi {

// What the trigger waiter asks of the library for one SXA channel: wait for
// the next host buffer, show it, hand it back, and make a pending wait return.
class HostFramePort {
public:
    virtual ~HostFramePort() = default;

    // The next acquired buffer's sequence number (negative on a time-out or
    // failure) and address.
    virtual int WaitForBuffer(std::uint8_t **address) = 0;
    // Points the window's host source at the buffer and draws the connection.
    virtual void ShowBuffer(std::uint8_t *address) = 0;
    virtual void ReleaseBuffer(int sequence) = 0;
    // Makes a pending wait return (the channel's release parameters and a
    // software trigger), and puts the parameters back once the waiter ended.
    virtual void InterruptWait() = 0;
    virtual void EndInterrupt() = 0;
};

// The thread that shows the frames an SXA channel acquires on its triggers.
// It touches only the library, through the port. Stopping sets the flag,
// interrupts the pending wait and joins the thread; the destructor stops it,
// so the thread never outlives its owner.
class TriggerWaiter {
public:
    explicit TriggerWaiter(HostFramePort &port);
    // The waiter owns its port and ends it after the thread.
    explicit TriggerWaiter(std::unique_ptr<HostFramePort> port);
    ~TriggerWaiter();
    TriggerWaiter(const TriggerWaiter &) = delete;
    TriggerWaiter &operator=(const TriggerWaiter &) = delete;

    void Stop();
    bool Stopped() const { return stopped_; }
    // Buffers shown so far.
    int Shown() const { return shown_.load(); }

private:
    void Run();

    std::unique_ptr<HostFramePort> ownedPort_;
    HostFramePort &port_;
    std::atomic<bool> stop_{false};
    std::atomic<int> shown_{0};
    bool stopped_ = false;
    std::thread thread_;
};

}  // namespace qvi
