// The caller's side of the library's window sink.
#include "acquire/frame_sink.h"

#include <algorithm>

namespace qvi {

FrameSink::FrameSink(int width, int height, Format format) : format_(format) {
    sink_.format = static_cast<std::int32_t>(format);
    sink_.frame_ready = &FrameSink::FrameReady;
    sink_.lock = &FrameSink::LockSink;
    sink_.unlock = &FrameSink::UnlockSink;
    sink_.context = this;
    Resize(width, height);
}

void FrameSink::Resize(int width, int height) {
    std::lock_guard lock(mutex_);
    Allocate(width, height);
}

void FrameSink::SetFormat(Format format) {
    std::lock_guard lock(mutex_);
    if (format == format_) return;
    format_ = format;
    sink_.format = static_cast<std::int32_t>(format);
    Allocate(sink_.width, sink_.height);
}

void FrameSink::Allocate(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const int bytesPerPixel = format_ == Format::Grey8 ? 1 : 4;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                       static_cast<std::size_t>(bytesPerPixel),
                   0);
    sink_.buffer = pixels_.data();
    sink_.width = width;
    sink_.height = height;
    sink_.stride = width * bytesPerPixel;
}

void FrameSink::Read(const std::function<void(const std::uint8_t *pixels)> &read) {
    std::lock_guard lock(mutex_);
    read(pixels_.data());
}

void FrameSink::FrameReady(void *context) {
    auto *sink = static_cast<FrameSink *>(context);
    sink->frames_.fetch_add(1);
    if (sink->ready_) sink->ready_();
}

void FrameSink::LockSink(void *context) {
    static_cast<FrameSink *>(context)->mutex_.lock();
}

void FrameSink::UnlockSink(void *context) {
    static_cast<FrameSink *>(context)->mutex_.unlock();
}

}  // namespace qvi
