// Every board's frames: formats, grabs and snaps, and their pixels.
#include "sim/video_store.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "quar/quar_api.h"

namespace quar {

void StorePixel(std::uint8_t *to, std::uint32_t value, PixelLayout layout) {
    switch (layout.kind) {
        case PixelKind::Grey8:
            to[0] = static_cast<std::uint8_t>(value);
            return;
        case PixelKind::Grey16:
        case PixelKind::Ycrcb16:
            to[0] = static_cast<std::uint8_t>(value);
            to[1] = static_cast<std::uint8_t>(value >> 8);
            return;
        case PixelKind::Rgb32:
            to[0] = static_cast<std::uint8_t>(value);
            to[1] = static_cast<std::uint8_t>(value >> 8);
            to[2] = static_cast<std::uint8_t>(value >> 16);
            to[3] = 0;
            return;
    }
}

std::uint32_t LoadPixel(const std::uint8_t *from, PixelLayout layout) {
    switch (layout.kind) {
        case PixelKind::Grey8:
            return from[0];
        case PixelKind::Grey16:
        case PixelKind::Ycrcb16:
            return from[0] | static_cast<std::uint32_t>(from[1]) << 8;
        case PixelKind::Rgb32:
            return static_cast<std::uint32_t>(from[2]) << 16 |
                   static_cast<std::uint32_t>(from[1]) << 8 | from[0];
    }
    return 0;
}

// The tile's row y holds the pattern of frame 0 from column 0 to width +
// period, so frame n's row starts 2n mod period pixels in. Rows of the
// counter are not taken from it.
PatternTile::PatternTile(int width, PixelLayout layout)
    : width_(width),
      layout_(layout),
      stride_(static_cast<std::size_t>(width + kPatternPeriod) *
              static_cast<std::size_t>(layout.Bytes())),
      bytes_(stride_ * kPatternPeriod) {
    const int bytes = layout.Bytes();
    for (int y = 0; y < kPatternPeriod; ++y) {
        std::uint8_t *row = bytes_.data() + static_cast<std::size_t>(y) * stride_;
        // Row kPatternPeriod + r has the pattern of row r: start below the counter.
        const int patternY = y < kCounterRows ? y + kPatternPeriod : y;
        for (int x = 0; x < width_ + kPatternPeriod; ++x)
            StorePixel(row + x * bytes, PatternPixel(x, patternY, 0, layout), layout);
    }
}

const std::uint8_t *PatternTile::Row(int y, std::uint64_t frame) const {
    const std::size_t offset = static_cast<std::size_t>(2 * (frame % kPatternPeriod)) %
                               kPatternPeriod * static_cast<std::size_t>(layout_.Bytes());
    return bytes_.data() + static_cast<std::size_t>(y % kPatternPeriod) * stride_ + offset;
}

const std::uint8_t *Frame::Row(int y) const {
    if (!pattern) return bytes.data() + static_cast<std::size_t>(y) * RowBytes();
    if (y < kCounterRows) return counterRows.data() + static_cast<std::size_t>(y) * RowBytes();
    return tile->Row(y, count);
}

namespace {

// The counter's rows: the tile's rows with the 16 blocks drawn over their
// start, so a frame costs 8 row copies and 1024 pixels.
void DrawCounter(Frame &frame) {
    const int rows = std::min(kCounterRows, frame.format.height);
    const int columns = std::min(kCounterBlock * kCounterBits, frame.format.width);
    frame.counterRows.resize(frame.RowBytes() * static_cast<std::size_t>(rows));
    const int bytes = frame.layout.Bytes();
    for (int y = 0; y < rows; ++y) {
        std::uint8_t *row =
            frame.counterRows.data() + static_cast<std::size_t>(y) * frame.RowBytes();
        std::memcpy(row, frame.tile->Row(y, frame.count), frame.RowBytes());
        for (int x = 0; x < columns; ++x)
            StorePixel(row + x * bytes, PatternPixel(x, y, frame.count, frame.layout),
                       frame.layout);
    }
}

void ShowPattern(Frame &frame, std::uint64_t count) {
    frame.count = count;
    frame.pattern = true;
    frame.bytes.clear();
    DrawCounter(frame);
}

}  // namespace

VideoStore &VideoStore::Instance() {
    static VideoStore store;
    return store;
}

std::shared_ptr<const PatternTile> VideoStore::TileFor(int width, PixelLayout layout) {
    const std::pair<int, int> key{width, static_cast<int>(layout.kind) * 100 + layout.depth};
    if (auto tile = tiles_[key].lock()) return tile;
    auto tile = std::make_shared<const PatternTile>(width, layout);
    tiles_[key] = tile;
    return tile;
}

Frame &VideoStore::Configure(QRX_HANDLE board, int number, const VideoFormat &format,
                             double frameRate) {
    Frame &frame = frames_[{board, number}];
    frame.frameRate = frameRate;
    if (frame.tile && frame.format == format) return frame;
    frame.format = format;
    frame.layout = LayoutOf(format.depth, format.pixelFormat);
    frame.tile = TileFor(format.width, frame.layout);
    ShowPattern(frame, frame.count);
    return frame;
}

Frame *VideoStore::Find(QRX_HANDLE board, int number) {
    auto found = frames_.find({board, number});
    return found == frames_.end() ? nullptr : &found->second;
}

void VideoStore::Forget(QRX_HANDLE board) {
    std::erase_if(frames_, [board](const auto &entry) { return entry.first.first == board; });
}

void VideoStore::Advance(Frame &frame) {
    if (!frame.grabbing) return;
    if (frame.frameRate <= 0.0) {
        ShowPattern(frame, frame.count + 1);
        return;
    }
    const std::chrono::duration<double> elapsed =
        std::chrono::steady_clock::now() - frame.grabStart;
    const auto reached = frame.grabStartCount +
                         static_cast<std::uint64_t>(std::floor(elapsed.count() * frame.frameRate));
    if (reached != frame.count || !frame.pattern)
        ShowPattern(frame, std::max(reached, frame.count));
}

// A grab counts on from the frame it holds; a snap takes the next frame.
void VideoStore::Request(Frame &frame, int code) {
    switch (code) {
        case QRX_XBOARD_GRAB:
            Advance(frame);
            frame.grabbing = true;
            frame.grabStart = std::chrono::steady_clock::now();
            frame.grabStartCount = frame.count + 1;
            ShowPattern(frame, frame.count + 1);
            return;
        case QRX_XBOARD_SNAP:
            Advance(frame);
            frame.grabbing = false;
            ShowPattern(frame, frame.count + 1);
            return;
        case QRX_XBOARD_STOP:
            Advance(frame);
            frame.grabbing = false;
            return;
        default:
            return;
    }
}

void VideoStore::Fill(Frame &frame, std::uint32_t value) {
    frame.grabbing = false;
    frame.pattern = false;
    frame.bytes.assign(frame.RowBytes() * static_cast<std::size_t>(frame.format.height), 0);
    if (value == 0) return;
    const int bytes = frame.layout.Bytes();
    for (std::size_t at = 0; at < frame.bytes.size(); at += static_cast<std::size_t>(bytes))
        StorePixel(frame.bytes.data() + at, value, frame.layout);
}

}  // namespace quar
