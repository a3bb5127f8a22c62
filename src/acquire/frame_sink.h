#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "quar/quar_acquire.h"

namespace qvi {

// The memory an image window's view shows, in the form the library renders
// into: the board hands Window() to the library as the window. The library
// writes the pixels on its own thread between Lock and Unlock and then says
// the frame is ready; the owner reads them under the same lock on its own
// thread. The ready callback runs on the library's thread while it holds its
// display lock, so it must only take note (post a repaint, count).
class FrameSink {
public:
    enum class Format { Grey8 = QRX_SINK_GREY8, Xrgb32 = QRX_SINK_XRGB32 };

    FrameSink(int width, int height, Format format);
    FrameSink(const FrameSink &) = delete;
    FrameSink &operator=(const FrameSink &) = delete;

    // What the board passes to the library as the window.
    void *Window() { return &sink_; }
    // A new size, or a new pixel format. The library reads the sink's
    // layout under the sink's lock, so either may change between any two
    // frames; the pixels start black.
    void Resize(int width, int height);
    void SetFormat(Format format);
    int Width() const { return sink_.width; }
    int Height() const { return sink_.height; }
    int Stride() const { return sink_.stride; }
    Format PixelFormat() const { return format_; }
    // Frames the library has finished since the sink was made.
    int Frames() const { return frames_.load(); }
    // Told on the library's thread after each frame (after the count).
    void OnFrameReady(std::function<void()> ready) { ready_ = std::move(ready); }

    // Runs `read` on the pixels while the library cannot write them.
    void Read(const std::function<void(const std::uint8_t *pixels)> &read);

private:
    static void FrameReady(void *context);
    static void LockSink(void *context);
    static void UnlockSink(void *context);
    // Under the lock.
    void Allocate(int width, int height);

    Format format_;
    std::vector<std::uint8_t> pixels_;
    QRX_FRAME_SINK sink_{};
    std::mutex mutex_;
    std::atomic<int> frames_{0};
    std::function<void()> ready_;
};

}  // namespace qvi
