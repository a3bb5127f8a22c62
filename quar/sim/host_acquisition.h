#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "quar/quar_api.h"
#include "sim/video_store.h"

namespace quar {

// Where a host acquisition puts its frames and how it takes them.
struct HostAcquisitionSetup {
    QRX_HANDLE board = 0;
    std::vector<QRX_HANDLE> channels;  // one, or two for dual tap (even, odd columns)
    int mode = 2;                      // QRX_HOST_ON_TRIGGER or QRX_HOST_CONTINUOUS
    int x = 0, y = 0, width = 0, height = 0;
    std::uint8_t *buffer = nullptr;
    int buffers = 1;
    std::int64_t frames = -1;  // -1: without end
    double frameRate = 30.0;   // 0: a new frame whenever a waiter asks for one
};

// Writes frame `number` of the pattern, 8-bit grey, for the area of a host
// acquisition: pixel (c, r) is the pattern's (x + c, y + r), or in dual tap
// ((x + c) / 2, y + r): each channel delivers its own columns, the first the
// even and the second the odd ones of the image.
class HostFrameWriter {
public:
    HostFrameWriter(int x, int y, int width, int height, bool dualTap);
    void Write(std::uint8_t *to, std::uint64_t number) const;

private:
    int x_, y_, width_, height_;
    bool dualTap_;
    PatternTile tile_;
};

// One running host acquisition: its thread takes frames into the caller's
// buffers, round the buffers, skipping locked ones.
class HostAcquisition {
public:
    explicit HostAcquisition(const HostAcquisitionSetup &setup);
    ~HostAcquisition();
    HostAcquisition(const HostAcquisition &) = delete;
    HostAcquisition &operator=(const HostAcquisition &) = delete;

    const HostAcquisitionSetup &Setup() const { return setup_; }
    int Wait(int sequence, int timeoutMs, bool lock, void **address);
    int Lock(int sequence);
    int Release(int sequence);
    int Latest();
    void Trigger();
    // The pending wait, or the next one when none is pending, returns -2.
    void EndWait();
    // Ends the thread; pending waits return -2.
    void Stop();
    // Whether a frame of this acquisition may be written into [begin, end).
    bool Writes(const std::uint8_t *begin, const std::uint8_t *end) const;
    // No frame is written while the lock is held: a reader of the buffers
    // sees whole frames, as the board's transfers never tear a frame.
    std::unique_lock<std::mutex> HoldPixels() { return std::unique_lock(pixels_); }

private:
    struct Slot {
        std::int64_t sequence = -1;  // the frame it holds; -1: none (or being written)
        bool locked = false;
    };

    void Run();
    bool WaitForWork(std::unique_lock<std::mutex> &lock,
                     std::chrono::steady_clock::time_point &next);
    void Produce(std::unique_lock<std::mutex> &lock);
    int HeldSlot(std::int64_t sequence) const;
    // The oldest frame held at or after `from`; -1 when none.
    std::int64_t OldestFrom(std::int64_t from) const;
    std::size_t FrameBytes() const;

    HostAcquisitionSetup setup_;
    HostFrameWriter writer_;
    std::mutex mutex_;
    std::mutex pixels_;  // held while a frame is written
    std::condition_variable changed_;
    std::vector<Slot> slots_;
    std::int64_t nextSequence_ = 0;
    std::int64_t nextToWait_ = 0;
    std::int64_t latest_ = -1;
    int nextSlot_ = 0;
    int triggers_ = 0;
    int waiters_ = 0;
    bool endWait_ = false;
    bool finished_ = false;  // the frames asked for are all taken
    bool stopped_ = false;
    std::thread thread_;
};

// The acquisitions writing into some memory, held so that none writes a
// frame until this goes away.
class HeldHostBuffer {
public:
    void Add(std::shared_ptr<HostAcquisition> acquisition);

private:
    std::vector<std::shared_ptr<HostAcquisition>> acquisitions_;
    std::vector<std::unique_lock<std::mutex>> locks_;  // released before the above
};

// Every running host acquisition, by grab handle.
class HostAcquisitions {
public:
    static HostAcquisitions &Instance();
    ~HostAcquisitions();

    // Stops what runs on the setup's channels first. The grab handle.
    QRX_HANDLE Start(const HostAcquisitionSetup &setup);
    std::shared_ptr<HostAcquisition> Find(QRX_HANDLE grab);
    // By grab handle or by one of its channels; -1 when nothing ran.
    int Stop(QRX_HANDLE handle);
    // A trigger reached a channel: its on-trigger acquisitions take a frame.
    void Trigger(QRX_HANDLE channel);
    void EndWaits(QRX_HANDLE channel);
    // Holds every acquisition that writes into [begin, begin + bytes).
    HeldHostBuffer Hold(const std::uint8_t *begin, std::size_t bytes);

private:
    HostAcquisitions();
    std::vector<std::shared_ptr<HostAcquisition>> OnChannel(QRX_HANDLE channel);

    std::mutex mutex_;
    std::map<QRX_HANDLE, std::shared_ptr<HostAcquisition>> running_;
    QRX_HANDLE next_ = 0x20000000;
};

}  // namespace quar
