// The core library's frame entries: camera frames, acquisition size,
// clearing, pixel reads, the colour conversions, and frames to and from files.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

#include "quar/quar_acquire.h"
#include "quar/quar_image_file.h"
#include "sim/board_frames.h"
#include "sim/library.h"
#include "sim/tiff_file.h"

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

int64_t qrx_get_frame_count(QRX_HANDLE board, int32_t frame) {
    std::lock_guard lock(quar::VideoStore::Instance().Mutex());
    const quar::Frame *pixels = ReadableFrame(board, frame);
    return pixels != nullptr ? static_cast<int64_t>(pixels->count) : -1;
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

namespace {

// Whether a file of that shape suits the frame's pixels: colour frames take
// 3 planes of 8 bits, 8-bit grey 1 plane of 8 bits, 16-bit grey 1 plane of
// 10 to 16 bits. YCrCb frames have no file form of their own.
bool Suits(const quar::Frame &frame, int planes, int bits) {
    switch (frame.layout.kind) {
        case quar::PixelKind::Rgb32:
            return planes == 3 && bits == 8;
        case quar::PixelKind::Grey8:
            return planes == 1 && bits == 8;
        case quar::PixelKind::Grey16:
            return planes == 1 && bits > 8 && bits <= 16;
        default:
            return false;
    }
}

// One file row (planes interleaved, samples as the file module lays them
// out) into a frame row.
void StoreRow(quar::Frame &frame, int y, const uint8_t *from, int width) {
    uint8_t *to = frame.bytes.data() + static_cast<std::size_t>(y) * frame.RowBytes();
    if (frame.layout.kind != quar::PixelKind::Rgb32) {
        std::memcpy(to, from, static_cast<std::size_t>(width) * frame.layout.Bytes());
        return;
    }
    for (int i = 0; i < width; ++i, from += 3, to += 4) {
        to[0] = from[2];
        to[1] = from[1];
        to[2] = from[0];
        to[3] = 0;
    }
}

}  // namespace

extern "C" {

int qrx_write_frame_image(QRX_HANDLE board, int32_t frame, const char *path, int32_t planes,
                          int32_t bits) {
    if (path == nullptr) return -1;
    std::vector<uint8_t> image;
    quar::ImageShape shape;
    {
        std::lock_guard lock(quar::VideoStore::Instance().Mutex());
        const quar::Frame *pixels = ReadableFrame(board, frame);
        if (pixels == nullptr || !Suits(*pixels, planes, bits)) return -1;
        shape = {pixels->format.width, pixels->format.height, planes, bits};
        const std::size_t rowBytes = static_cast<std::size_t>(shape.width) * planes *
                                     static_cast<std::size_t>(quar::BytesPerSample(bits));
        image.resize(rowBytes * static_cast<std::size_t>(shape.height));
        for (int y = 0; y < shape.height; ++y)
            ReadRow(*pixels, 0, y, shape.width,
                    image.data() + rowBytes * static_cast<std::size_t>(y));
    }
    return quar::WriteTiff(path, image.data(), image.size(), shape);
}

int qrx_read_image(QRX_HANDLE board, int32_t frame, const char *path) {
    quar::ImageShape shape;
    if (path == nullptr || quar::ReadTiffShape(path, shape) != 0) return -1;
    std::vector<uint8_t> image(quar::ImageBytes(shape));
    if (quar::ReadTiff(path, image.data(), image.size(), shape) != 0) return -1;
    std::lock_guard lock(quar::VideoStore::Instance().Mutex());
    quar::Frame *pixels = ReadableFrame(board, frame);
    if (pixels == nullptr || !Suits(*pixels, shape.planes, shape.bits)) return -1;
    quar::VideoStore::Fill(*pixels, 0);
    const std::size_t rowBytes = static_cast<std::size_t>(shape.width) * shape.planes *
                                 static_cast<std::size_t>(quar::BytesPerSample(shape.bits));
    const int width = std::min(shape.width, pixels->format.width);
    const int height = std::min(shape.height, pixels->format.height);
    for (int y = 0; y < height; ++y)
        StoreRow(*pixels, y, image.data() + rowBytes * static_cast<std::size_t>(y), width);
    return 0;
}

}  // extern "C"
