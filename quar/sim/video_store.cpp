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

// The store's clock for Frame::version; only ever read or moved under the
// store's lock.
std::uint64_t gClock = 0;

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
    frame.version = ++gClock;
    DrawCounter(frame);
}

// A pattern frame's rows copied into its bytes, so that single bytes of it
// can be written.
void Materialise(Frame &frame) {
    if (!frame.pattern) return;
    std::vector<std::uint8_t> bytes(frame.RowBytes() *
                                    static_cast<std::size_t>(frame.format.height));
    for (int y = 0; y < frame.format.height; ++y)
        std::memcpy(bytes.data() + static_cast<std::size_t>(y) * frame.RowBytes(), frame.Row(y),
                    frame.RowBytes());
    frame.bytes = std::move(bytes);
    frame.pattern = false;
}

// Byte `plane` of every composite pixel into an 8-bit memory, or back.
void CopyPlaneOut(const Frame &composite, int plane, Frame &memory) {
    if (memory.layout.Bytes() != 1 || plane >= composite.layout.Bytes()) return;
    Materialise(memory);
    const int width = std::min(composite.format.width, memory.format.width);
    const int height = std::min(composite.format.height, memory.format.height);
    const int step = composite.layout.Bytes();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *from = composite.Row(y) + plane;
        std::uint8_t *to = memory.bytes.data() + static_cast<std::size_t>(y) * memory.RowBytes();
        for (int x = 0; x < width; ++x) to[x] = from[x * step];
    }
}

void CopyPlaneIn(const Frame &memory, int plane, Frame &composite) {
    if (memory.layout.Bytes() != 1 || plane >= composite.layout.Bytes()) return;
    Materialise(composite);
    const int width = std::min(composite.format.width, memory.format.width);
    const int height = std::min(composite.format.height, memory.format.height);
    const int step = composite.layout.Bytes();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *from = memory.Row(y);
        std::uint8_t *to =
            composite.bytes.data() + static_cast<std::size_t>(y) * composite.RowBytes() + plane;
        for (int x = 0; x < width; ++x) to[x * step] = from[x];
    }
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
    const Key key{board, number};
    Frame &frame = frames_[key];
    frame.frameRate = frameRate;
    if (!frame.tile || !(frame.format == format)) {
        frame.format = format;
        frame.layout = LayoutOf(format.depth, format.pixelFormat);
        frame.tile = TileFor(format.width, frame.layout);
        ShowPattern(frame, frame.count);
        frame.version = 0;
    }
    Reconcile(key, frame);
    return frame;
}

Frame *VideoStore::Find(QRX_HANDLE board, int number) {
    const Key key{board, number};
    auto found = frames_.find(key);
    if (found == frames_.end()) return nullptr;
    Reconcile(key, found->second);
    return &found->second;
}

void VideoStore::Forget(QRX_HANDLE board) {
    std::erase_if(frames_, [board](const auto &entry) { return entry.first.first == board; });
    std::erase_if(planes_, [board](const auto &entry) { return entry.first.first == board; });
}

void VideoStore::SetPlanes(QRX_HANDLE board, int composite, std::vector<int> planes) {
    planes_[{board, composite}] = std::move(planes);
}

void VideoStore::Reconcile(const Key &key, Frame &frame) {
    if (planes_.contains(key))
        TakePlanesFromMemories(key, frame);
    else
        TakePlaneFromComposites(key, frame);
}

// A memory shows its byte of the composite written after it, the newest
// when two composites hold it.
void VideoStore::TakePlaneFromComposites(const Key &key, Frame &frame) {
    const Frame *newest = nullptr;
    int newestPlane = 0;
    for (const auto &[compositeKey, planes] : planes_) {
        if (compositeKey.first != key.first) continue;
        const auto at = std::find(planes.begin(), planes.end(), key.second);
        auto composite = frames_.find(compositeKey);
        if (at == planes.end() || composite == frames_.end()) continue;
        Advance(composite->second);
        if (composite->second.version > frame.version &&
            (newest == nullptr || composite->second.version > newest->version)) {
            newest = &composite->second;
            newestPlane = static_cast<int>(at - planes.begin());
        }
    }
    if (newest == nullptr) return;
    CopyPlaneOut(*newest, newestPlane, frame);
    frame.version = newest->version;
}

// A composite takes each plane whose memory was written after it.
void VideoStore::TakePlanesFromMemories(const Key &key, Frame &frame) {
    const std::vector<int> &planes = planes_.at(key);
    std::uint64_t version = frame.version;
    for (std::size_t plane = 0; plane < planes.size(); ++plane) {
        const Key memoryKey{key.first, planes[plane]};
        auto memory = frames_.find(memoryKey);
        if (memory == frames_.end()) continue;
        Advance(memory->second);
        TakePlaneFromComposites(memoryKey, memory->second);
        if (memory->second.version <= frame.version) continue;
        CopyPlaneIn(memory->second, static_cast<int>(plane), frame);
        version = std::max(version, memory->second.version);
    }
    frame.version = version;
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

void VideoStore::EndCompositesHolding(QRX_HANDLE board, int memory, int except) {
    for (const auto &[key, planes] : planes_) {
        if (key.first != board || key.second == except) continue;
        if (std::find(planes.begin(), planes.end(), memory) == planes.end()) continue;
        if (auto composite = frames_.find(key); composite != frames_.end())
            Request(composite->second, QRX_XBOARD_STOP);
    }
}

void VideoStore::Fill(Frame &frame, std::uint32_t value) {
    frame.grabbing = false;
    frame.pattern = false;
    frame.version = ++gClock;
    frame.bytes.assign(frame.RowBytes() * static_cast<std::size_t>(frame.format.height), 0);
    if (value == 0) return;
    const int bytes = frame.layout.Bytes();
    for (std::size_t at = 0; at < frame.bytes.size(); at += static_cast<std::size_t>(bytes))
        StorePixel(frame.bytes.data() + at, value, frame.layout);
}

}  // namespace quar
