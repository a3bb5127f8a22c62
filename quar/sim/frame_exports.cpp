// The core library's frame entries: camera frames, acquisition size,
// clearing, pixel reads and the colour conversions.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "quar/quar_acquire.h"
#include "sim/board_frames.h"
#include "sim/library.h"

using quar::Library;

namespace {

int AcquisitionSize(QRX_HANDLE handle, int16_t *width, int16_t *height) {
    if (width == nullptr || height == nullptr) return -1;
    const quar::Element *module = quar::AcquisitionModuleOf(Library::Instance(), handle);
    if (module == nullptr) return -1;
    const quar::VideoFormat format = quar::VideoFormatOf(*module);
    *width = static_cast<int16_t>(format.width);
    *height = static_cast<int16_t>(format.height);
    return 0;
}

int Clear(QRX_HANDLE board, int32_t frame, uint32_t value) {
    const auto name = quar::NameFrame(Library::Instance(), board, frame);
    if (!name) return -1;
    std::lock_guard lock(quar::VideoStore::Instance().Mutex());
    quar::Frame *pixels = quar::CurrentFrame(Library::Instance(), *name);
    if (pixels == nullptr) return -1;
    quar::VideoStore::Fill(*pixels, value);
    return 0;
}

// The frame brought up to date, or null. Caller holds the store's lock.
quar::Frame *ReadableFrame(QRX_HANDLE board, int32_t frame) {
    const auto name = quar::NameFrame(Library::Instance(), board, frame);
    quar::Frame *pixels = name ? quar::CurrentFrame(Library::Instance(), *name) : nullptr;
    if (pixels != nullptr) quar::VideoStore::Advance(*pixels);
    return pixels;
}

bool Inside(const quar::Frame &frame, int64_t x, int64_t y, int64_t width, int64_t height) {
    return x >= 0 && y >= 0 && width > 0 && height > 0 && x + width <= frame.format.width &&
           y + height <= frame.format.height;
}

// One row in the read-out layout: 24-bit colour packed to 3 bytes a pixel.
void ReadRow(const quar::Frame &frame, int x, int y, int width, uint8_t *to) {
    const int bytes = frame.layout.Bytes();
    const uint8_t *from = frame.Row(y) + static_cast<std::size_t>(x) * bytes;
    if (frame.layout.kind != quar::PixelKind::Rgb32) {
        std::memcpy(to, from, static_cast<std::size_t>(width) * bytes);
        return;
    }
    for (int i = 0; i < width; ++i, from += 4, to += 3) {
        to[0] = from[2];
        to[1] = from[1];
        to[2] = from[0];
    }
}

uint8_t Clamp(double value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

bool ValidImage(const void *from, const void *to, int32_t width, int32_t height) {
    return from != nullptr && to != nullptr && width > 0 && height > 0 && width % 2 == 0 &&
           static_cast<int64_t>(width) * height <= (int64_t{1} << 28);
}

}  // namespace

extern "C" {

int qrx_get_cam_frame(QRX_HANDLE board) {
    return quar::CameraFrame(Library::Instance(), board);
}

int sxp_get_cam_frame(QRX_HANDLE board) {
    return quar::CameraFrame(Library::Instance(), board);
}

int qrx_get_acq_dim(QRX_HANDLE handle, int16_t *width, int16_t *height) {
    return AcquisitionSize(handle, width, height);
}

int sxp_get_acq_dim(QRX_HANDLE handle, int16_t *width, int16_t *height) {
    return AcquisitionSize(handle, width, height);
}

int qrx_clr_frame(QRX_HANDLE board, int32_t frame) {
    return Clear(board, frame, 0);
}

int sxp_clr_frame(QRX_HANDLE board, int32_t frame, int32_t value) {
    return Clear(board, frame, static_cast<uint32_t>(value));
}

int32_t qrx_rpix(QRX_HANDLE board, int32_t frame, int32_t x, int32_t y) {
    std::lock_guard lock(quar::VideoStore::Instance().Mutex());
    const quar::Frame *pixels = ReadableFrame(board, frame);
    if (pixels == nullptr || !Inside(*pixels, x, y, 1, 1)) return -1;
    return static_cast<int32_t>(quar::LoadPixel(
        pixels->Row(y) + static_cast<std::size_t>(x) * pixels->layout.Bytes(), pixels->layout));
}

int qrx_read_area(QRX_HANDLE board, int32_t frame, int32_t x, int32_t y, int32_t width,
                  int32_t height, void *buffer) {
    std::lock_guard lock(quar::VideoStore::Instance().Mutex());
    const quar::Frame *pixels = ReadableFrame(board, frame);
    if (pixels == nullptr || buffer == nullptr || !Inside(*pixels, x, y, width, height)) return -1;
    const int bytes = pixels->layout.kind == quar::PixelKind::Rgb32 ? 3 : pixels->layout.Bytes();
    auto *to = static_cast<uint8_t *>(buffer);
    for (int row = 0; row < height; ++row)
        ReadRow(*pixels, x, y + row, width, to + static_cast<std::size_t>(row) * width * bytes);
    return 0;
}

int qrx_ycrcb_to_rgb(const void *ycrcb, void *rgb, int32_t width, int32_t height) {
    if (!ValidImage(ycrcb, rgb, width, height)) return -1;
    const auto *from = static_cast<const uint8_t *>(ycrcb);
    auto *to = static_cast<uint8_t *>(rgb);
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < pixels; i += 2, from += 4) {
        const double cb = from[1] - 128.0;
        const double cr = from[3] - 128.0;
        for (int k = 0; k < 2; ++k, to += 4) {
            const double y = from[2 * k];
            to[0] = Clamp(y + 1.402 * cr);
            to[1] = Clamp(y - 0.344136 * cb - 0.714136 * cr);
            to[2] = Clamp(y + 1.772 * cb);
            to[3] = 0;
        }
    }
    return 0;
}

int qrx_rgb_to_ycrcb(const void *rgb, void *ycrcb, int32_t width, int32_t height) {
    if (!ValidImage(rgb, ycrcb, width, height)) return -1;
    const auto *from = static_cast<const uint8_t *>(rgb);
    auto *to = static_cast<uint8_t *>(ycrcb);
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < pixels; i += 2, from += 8, to += 4) {
        double cb = 0.0;
        double cr = 0.0;
        for (int k = 0; k < 2; ++k) {
            const double r = from[4 * k], g = from[4 * k + 1], b = from[4 * k + 2];
            to[2 * k] = Clamp(0.299 * r + 0.587 * g + 0.114 * b);
            cb += 128.0 - 0.168736 * r - 0.331264 * g + 0.5 * b;
            cr += 128.0 + 0.5 * r - 0.418688 * g - 0.081312 * b;
        }
        to[1] = Clamp(cb / 2.0);
        to[3] = Clamp(cr / 2.0);
    }
    return 0;
}

}  // extern "C"
