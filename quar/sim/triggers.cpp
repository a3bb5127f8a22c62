// Triggers reaching modules: armed snaps, host acquisitions, interrupts, and
// the external trigger clock.
#include "sim/triggers.h"

#include "quar/quar_host_acquire.h"
#include "sim/host_acquisition.h"
#include "sim/interrupts.h"
#include "sim/video_store.h"

namespace quar {

TriggerHub &TriggerHub::Instance() {
    static TriggerHub hub;
    return hub;
}

// What the clock thread calls into is made first, so it is still there when
// the hub goes at unload.
TriggerHub::TriggerHub() {
    VideoStore::Instance();
    Interrupts::Instance();
    HostAcquisitions::Instance();
}

TriggerHub::~TriggerHub() {
    {
        std::lock_guard lock(mutex_);
        shutdown_ = true;
        changed_.notify_all();
    }
    if (clock_.joinable()) clock_.join();
}

void TriggerHub::Update(QRX_HANDLE module, QRX_HANDLE board, int periodMs, TriggerSources sources) {
    std::lock_guard lock(mutex_);
    Target &target = targets_[module];
    target.board = board;
    target.sources = sources;
    if (periodMs > 0 && !clock_.joinable()) clock_ = std::thread([this] { RunClock(); });
    if (target.periodMs != periodMs) {
        target.periodMs = periodMs;
        target.nextExternal =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(periodMs);
        changed_.notify_all();
    }
}

// The snap is taken under the hub's lock, so whoever sees it completed finds
// the frame's pixels already there.
void TriggerHub::Fire(QRX_HANDLE module, TriggerSource source) {
    QRX_HANDLE board = 0;
    bool snapped = false;
    {
        std::lock_guard lock(mutex_);
        auto found = targets_.find(module);
        if (found == targets_.end()) return;
        Target &target = found->second;
        const bool takes =
            source == TriggerSource::Software ? target.sources.software : target.sources.external;
        if (!takes) return;
        board = target.board;
        if (target.armed) {
            std::lock_guard store(VideoStore::Instance().Mutex());
            if (Frame *frame = VideoStore::Instance().Find(board, target.frame))
                VideoStore::Request(*frame, QRX_XBOARD_SNAP);
            target.armed = false;
            completed_[board] = true;
            snapped = true;
            changed_.notify_all();
        }
    }
    Interrupts &interrupts = Interrupts::Instance();
    interrupts.Raise(module, QRX_INTR_TRIGGER);
    if (board != module) interrupts.Raise(board, QRX_INTR_TRIGGER);
    HostAcquisitions::Instance().Trigger(module);
    if (!snapped) return;
    interrupts.Raise(module, QRX_INTR_FRAME_END);
    if (board != module) interrupts.Raise(board, QRX_INTR_FRAME_END);
}

void TriggerHub::Arm(QRX_HANDLE module, QRX_HANDLE board, int frame) {
    std::lock_guard lock(mutex_);
    for (auto &[handle, target] : targets_)
        if (target.board == board) target.armed = false;
    Target &target = targets_[module];
    target.board = board;
    target.armed = true;
    target.frame = frame;
    completed_.erase(board);
}

void TriggerHub::Disarm(QRX_HANDLE board) {
    std::lock_guard lock(mutex_);
    for (auto &[handle, target] : targets_)
        if (target.board == board) target.armed = false;
    completed_.erase(board);
    changed_.notify_all();
}

bool TriggerHub::Pending(QRX_HANDLE board) {
    std::lock_guard lock(mutex_);
    for (const auto &[handle, target] : targets_)
        if (target.board == board && target.armed) return true;
    return false;
}

void TriggerHub::WaitTaken(QRX_HANDLE board, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] {
        for (const auto &[handle, target] : targets_)
            if (target.board == board && target.armed) return false;
        return true;
    });
}

bool TriggerHub::TakeCompleted(QRX_HANDLE board) {
    std::lock_guard lock(mutex_);
    return completed_.erase(board) > 0;
}

void TriggerHub::Forget(QRX_HANDLE handle) {
    std::lock_guard lock(mutex_);
    targets_.erase(handle);
    completed_.erase(handle);
}

// The modules whose external trigger is due, each moved on to its next one
// (skipping the ones missed: a late clock does not fire a burst).
std::vector<QRX_HANDLE> TriggerHub::DueExternal(std::chrono::steady_clock::time_point now) {
    std::vector<QRX_HANDLE> due;
    for (auto &[module, target] : targets_) {
        if (target.periodMs <= 0 || target.nextExternal > now) continue;
        due.push_back(module);
        const auto period = std::chrono::milliseconds(target.periodMs);
        while (target.nextExternal <= now) target.nextExternal += period;
    }
    return due;
}

void TriggerHub::RunClock() {
    std::unique_lock lock(mutex_);
    while (!shutdown_) {
        auto next = std::chrono::steady_clock::time_point::max();
        for (const auto &[module, target] : targets_)
            if (target.periodMs > 0 && target.nextExternal < next) next = target.nextExternal;
        if (next == std::chrono::steady_clock::time_point::max())
            changed_.wait(lock);
        else
            changed_.wait_until(lock, next);
        if (shutdown_) break;
        const std::vector<QRX_HANDLE> due = DueExternal(std::chrono::steady_clock::now());
        lock.unlock();
        for (QRX_HANDLE module : due) Fire(module, TriggerSource::External);
        lock.lock();
    }
}

}  // namespace quar
