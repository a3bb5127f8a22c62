#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "quar/quar_acquire.h"

namespace qvi::testing {

// A window as the library sees it: a frame sink whose buffer starts filled
// with a marker byte, so that pixels the library never drew stand out.
class FrameSink {
public:
    static constexpr std::uint8_t kUndrawn = 0xA5;

    FrameSink(int width, int height, int format)
        : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                      (format == QRX_SINK_XRGB32 ? 4 : 1),
                  kUndrawn) {
        sink_.buffer = pixels_.data();
        sink_.width = width;
        sink_.height = height;
        sink_.stride = width * (format == QRX_SINK_XRGB32 ? 4 : 1);
        sink_.format = format;
        sink_.frame_ready = [](void *self) { ++static_cast<FrameSink *>(self)->frames_; };
        sink_.lock = [](void *self) { static_cast<FrameSink *>(self)->mutex_.lock(); };
        sink_.unlock = [](void *self) { static_cast<FrameSink *>(self)->mutex_.unlock(); };
        sink_.context = this;
    }
    FrameSink(const FrameSink &) = delete;
    FrameSink &operator=(const FrameSink &) = delete;

    void *Window() { return &sink_; }
    QRX_FRAME_SINK &Sink() { return sink_; }
    int Frames() const { return frames_.load(); }
    // The drawn value at (x, y): a grey byte, or 0x00RRGGBB.
    std::uint32_t At(int x, int y) {
        std::lock_guard lock(mutex_);
        const std::size_t row =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(sink_.stride);
        if (sink_.format != QRX_SINK_XRGB32) return pixels_[row + static_cast<std::size_t>(x)];
        const std::uint8_t *p = &pixels_[row + static_cast<std::size_t>(x) * 4];
        return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 |
               p[0];
    }
    // Waits up to two seconds for `count` more frames; whether they came.
    bool WaitFrames(int count) {
        const int target = Frames() + count;
        for (int i = 0; i < 200 && Frames() < target; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return Frames() >= target;
    }

private:
    std::vector<std::uint8_t> pixels_;
    QRX_FRAME_SINK sink_{};
    std::mutex mutex_;
    std::atomic<int> frames_{0};
};

}  // namespace qvi::testing
