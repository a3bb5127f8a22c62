// Image sources, window sinks, connections and the display servers' threads.
#include "sim/display.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>

#include "sim/host_acquisition.h"
#include "sim/video_store.h"

namespace quar {

namespace {

using Clock = std::chrono::steady_clock;

// The pixels a source shows: rows of a frame or of the caller's memory.
struct Pixels {
    const Frame *frame = nullptr;
    const ImageSource *host = nullptr;
    PixelLayout layout;
    int width = 0;
    int height = 0;

    const std::uint8_t *Row(int y) const {
        if (frame) return frame->Row(y);
        return host->host + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) *
                                static_cast<std::size_t>(layout.Bytes());
    }
};

std::uint8_t Byte(long value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0L, 255L));
}

// One pixel as 0x00RRGGBB; YCrCb takes the chroma of its pair.
std::uint32_t Xrgb(const std::uint8_t *row, int x, PixelLayout layout) {
    const std::uint32_t value = LoadPixel(row + x * layout.Bytes(), layout);
    switch (layout.kind) {
        case PixelKind::Rgb32:
            return value;
        case PixelKind::Grey8:
            return value * 0x010101u;
        case PixelKind::Grey16:
            return (value >> (layout.depth - 8) & 0xFFu) * 0x010101u;
        case PixelKind::Ycrcb16: {
            const int even = x & ~1;
            const long y = value & 0xFFu;
            const long cb = static_cast<long>(row[even * 2 + 1]) - 128;
            const long cr = static_cast<long>(row[even * 2 + 3]) - 128;
            return static_cast<std::uint32_t>(Byte(y + (359 * cr >> 8))) << 16 |
                   static_cast<std::uint32_t>(Byte(y - ((88 * cb + 183 * cr) >> 8))) << 8 |
                   Byte(y + (454 * cb >> 8));
        }
    }
    return 0;
}

std::uint8_t Grey(const std::uint8_t *row, int x, PixelLayout layout) {
    const std::uint32_t value = LoadPixel(row + x * layout.Bytes(), layout);
    switch (layout.kind) {
        case PixelKind::Grey8:
            return static_cast<std::uint8_t>(value);
        case PixelKind::Grey16:
            return static_cast<std::uint8_t>(value >> (layout.depth - 8));
        case PixelKind::Ycrcb16:
            return static_cast<std::uint8_t>(value);
        case PixelKind::Rgb32:
            return static_cast<std::uint8_t>(
                ((value >> 16 & 0xFFu) * 77 + (value >> 8 & 0xFFu) * 150 + (value & 0xFFu) * 29) >>
                8);
    }
    return 0;
}

// Whether a row goes to the sink byte for byte.
bool SameLayout(PixelLayout layout, int sinkFormat) {
    return (layout.kind == PixelKind::Grey8 && sinkFormat == QRX_SINK_GREY8) ||
           (layout.kind == PixelKind::Rgb32 && sinkFormat == QRX_SINK_XRGB32);
}

struct Placement {
    int sourceX, sourceY, width, height;
    double zoomX, zoomY;
};

void DrawRows(const Pixels &pixels, const Placement &at, QRX_FRAME_SINK &window, int sinkX,
              int sinkY) {
    const bool copy = at.zoomX == 1.0 && SameLayout(pixels.layout, window.format);
    const int bytesOut = window.format == QRX_SINK_GREY8 ? 1 : 4;
    for (int dy = 0; dy < at.height; ++dy) {
        const int sy = at.sourceY + static_cast<int>(dy / at.zoomY);
        if (sy >= pixels.height) break;
        const std::uint8_t *row = pixels.Row(sy);
        auto *out = static_cast<std::uint8_t *>(window.buffer) +
                    static_cast<std::size_t>(sinkY + dy) * static_cast<std::size_t>(window.stride) +
                    static_cast<std::size_t>(sinkX) * static_cast<std::size_t>(bytesOut);
        if (copy) {
            std::memcpy(out, row + at.sourceX * pixels.layout.Bytes(),
                        static_cast<std::size_t>(at.width) * static_cast<std::size_t>(bytesOut));
            continue;
        }
        for (int dx = 0; dx < at.width; ++dx) {
            const int sx = at.sourceX + static_cast<int>(dx / at.zoomX);
            if (bytesOut == 1) {
                out[dx] = Grey(row, sx, pixels.layout);
            } else {
                const std::uint32_t value = Xrgb(row, sx, pixels.layout);
                std::memcpy(out + dx * 4, &value, 4);
            }
        }
    }
}

}  // namespace

Display &Display::Instance() {
    // The store outlives the display: servers stop before the store goes.
    VideoStore::Instance();
    static Display display;
    return display;
}

Display::~Display() {
    std::vector<QRX_HANDLE> servers;
    {
        std::lock_guard lock(VideoStore::Instance().Mutex());
        for (const auto &[handle, server] : servers_) servers.push_back(handle);
    }
    for (QRX_HANDLE server : servers) RemoveServer(server);
}

QRX_HANDLE Display::AddSource(const ImageSource &source) {
    sources_[++next_] = source;
    return next_;
}

QRX_HANDLE Display::AddSink(const ImageSink &sink) {
    sinks_[++next_] = sink;
    return next_;
}

QRX_HANDLE Display::AddConnection(QRX_HANDLE source, QRX_HANDLE sink) {
    if (!sources_.contains(source) || !sinks_.contains(sink)) return 0;
    connections_[++next_] = Connection{source, sink};
    return next_;
}

ImageSource *Display::Source(QRX_HANDLE handle) {
    auto found = sources_.find(handle);
    return found == sources_.end() ? nullptr : &found->second;
}

Connection *Display::FindConnection(QRX_HANDLE handle) {
    auto found = connections_.find(handle);
    return found == connections_.end() ? nullptr : &found->second;
}

DisplayServer *Display::Server(QRX_HANDLE handle) {
    auto found = servers_.find(handle);
    return found == servers_.end() ? nullptr : found->second.get();
}

int Display::RemoveSource(QRX_HANDLE handle) {
    return sources_.erase(handle) ? 0 : -1;
}

int Display::RemoveSink(QRX_HANDLE handle) {
    return sinks_.erase(handle) ? 0 : -1;
}

int Display::RemoveConnection(QRX_HANDLE handle) {
    return connections_.erase(handle) ? 0 : -1;
}

namespace {

// Renders the source's area into the caller's buffer; 1 when it drew,
// 0 when nothing of the source fits the sink.
int DrawInto(QRX_FRAME_SINK &window, const ImageSink &sink, const ImageSource &source,
             const Connection &connection, const Pixels &pixels) {
    const int sinkX = std::clamp(sink.x, 0, window.width);
    const int sinkY = std::clamp(sink.y, 0, window.height);
    const int room = std::min(sink.width, window.width - sinkX);
    const int roomY = std::min(sink.height, window.height - sinkY);
    Placement at{std::clamp(source.x + source.scrollX, 0, pixels.width),
                 std::clamp(source.y + source.scrollY, 0, pixels.height),
                 0,
                 0,
                 connection.zoomX,
                 connection.zoomY};
    const int width = std::min(source.width, pixels.width - at.sourceX);
    const int height = std::min(source.height, pixels.height - at.sourceY);
    if (width <= 0 || height <= 0 || room <= 0 || roomY <= 0) return 0;
    if (at.zoomX <= 0.0 || at.zoomY <= 0.0) {
        at.zoomX = static_cast<double>(room) / width;
        at.zoomY = static_cast<double>(roomY) / height;
    }
    at.width = std::min(room, static_cast<int>(std::floor(width * at.zoomX)));
    at.height = std::min(roomY, static_cast<int>(std::floor(height * at.zoomY)));
    DrawRows(pixels, at, window, sinkX, sinkY);
    return 1;
}

}  // namespace

int Display::Draw(QRX_HANDLE handle) {
    const Connection *connection = FindConnection(handle);
    const ImageSource *source = connection ? Source(connection->source) : nullptr;
    auto sink = connection ? sinks_.find(connection->sink) : sinks_.end();
    if (source == nullptr || sink == sinks_.end()) return -1;
    Pixels pixels;
    HeldHostBuffer held;  // a host acquisition's frame is not written while drawn
    if (source->host != nullptr) {
        pixels = {nullptr, source, source->hostLayout, source->hostWidth, source->hostHeight};
        held = HostAcquisitions::Instance().Hold(
            source->host, static_cast<std::size_t>(source->hostWidth) *
                              static_cast<std::size_t>(source->hostHeight) *
                              static_cast<std::size_t>(source->hostLayout.Bytes()));
    } else {
        Frame *frame = VideoStore::Instance().Find(source->board, source->frame);
        if (frame == nullptr) return -1;
        VideoStore::Advance(*frame);
        pixels = {frame, nullptr, frame->layout, frame->format.width, frame->format.height};
    }
    // The sink's size is read under the caller's lock: the caller may resize
    // its buffer between frames.
    QRX_FRAME_SINK &window = *sink->second.window;
    if (window.lock) window.lock(window.context);
    const int drawn = DrawInto(window, sink->second, *source, *connection, pixels);
    if (window.unlock) window.unlock(window.context);
    if (drawn > 0 && window.frame_ready) window.frame_ready(window.context);
    return 0;
}

QRX_HANDLE Display::AddServer(QRX_HANDLE connection, int periodMs) {
    if (!connections_.contains(connection)) return 0;
    auto server = std::make_unique<DisplayServer>();
    server->connection = connection;
    server->periodMs = periodMs;
    const QRX_HANDLE handle = ++next_;
    DisplayServer *running = server.get();
    servers_[handle] = std::move(server);
    running->thread = std::thread([this, running] { Serve(running); });
    return handle;
}

// The server's thread: one drawing per period, frames counted per second.
// Its server object lives until the thread is joined.
void Display::Serve(DisplayServer *server) {
    std::unique_lock lock(VideoStore::Instance().Mutex());
    auto next = Clock::now();
    auto second = next;
    int frames = 0;
    while (!server->stopping) {
        if (!server->suspended && Draw(server->connection) == 0) ++frames;
        if (const auto now = Clock::now(); now - second >= std::chrono::seconds(1)) {
            server->frameRate = frames / std::chrono::duration<double>(now - second).count();
            frames = 0;
            second = now;
        }
        next += std::chrono::milliseconds(server->periodMs);
        wake_.wait_until(lock, next, [server] { return server->stopping; });
    }
}

// Takes the lock itself: the thread is joined without it.
int Display::RemoveServer(QRX_HANDLE handle) {
    std::unique_ptr<DisplayServer> server;
    {
        std::lock_guard lock(VideoStore::Instance().Mutex());
        auto found = servers_.find(handle);
        if (found == servers_.end()) return -1;
        found->second->stopping = true;
        server = std::move(found->second);
        servers_.erase(found);
    }
    wake_.notify_all();
    server->thread.join();
    return 0;
}

}  // namespace quar
