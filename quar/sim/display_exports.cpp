// The core library's display entries: image sources, window sinks,
// connections and display servers.
#include <mutex>

#include "quar/quar_acquire.h"
#include "sim/board_frames.h"
#include "sim/display.h"
#include "sim/library.h"

using quar::Display;
using quar::Library;

namespace {

// The largest side of an area a source or sink may name.
constexpr int32_t kMaxSide = 1 << 16;

bool ValidArea(int32_t x, int32_t y, int32_t width, int32_t height) {
    return x >= 0 && y >= 0 && x < kMaxSide && y < kMaxSide && width > 0 && height > 0 &&
           width <= kMaxSide && height <= kMaxSide;
}

std::unique_lock<std::mutex> Lock() {
    return std::unique_lock(quar::VideoStore::Instance().Mutex());
}

QRX_HANDLE FrameSource(QRX_HANDLE handle, int32_t frame, int32_t x, int32_t y, int32_t width,
                       int32_t height) {
    const auto name = quar::NameFrame(Library::Instance(), handle, frame);
    if (!name || !ValidArea(x, y, width, height)) return 0;
    auto lock = Lock();
    if (quar::CurrentFrame(Library::Instance(), *name) == nullptr) return 0;
    quar::ImageSource source;
    source.board = name->board;
    source.frame = name->frame;
    source.x = x;
    source.y = y;
    source.width = width;
    source.height = height;
    return Display::Instance().AddSource(source);
}

bool ValidSink(const QRX_FRAME_SINK *window) {
    if (window == nullptr || window->buffer == nullptr || window->width <= 0 ||
        window->height <= 0 || window->width > kMaxSide || window->height > kMaxSide)
        return false;
    const int32_t bytes = window->format == QRX_SINK_GREY8    ? 1
                          : window->format == QRX_SINK_XRGB32 ? 4
                                                              : 0;
    return bytes != 0 && window->stride >= window->width * bytes;
}

}  // namespace

extern "C" {

QRX_HANDLE qrx_create_frame_area_img_src(QRX_HANDLE board, int32_t frame, int32_t x, int32_t y,
                                         int32_t width, int32_t height) {
    return FrameSource(board, frame, x, y, width, height);
}

QRX_HANDLE qrx_create_cam_area_img_src(QRX_HANDLE channel, int32_t x, int32_t y, int32_t width,
                                       int32_t height) {
    return FrameSource(channel, 0, x, y, width, height);
}

QRX_HANDLE qrx_create_host_img_src(QRX_HANDLE, const void *buffer, int32_t depth,
                                   int32_t buffer_width, int32_t buffer_height, int32_t x,
                                   int32_t y, int32_t width, int32_t height) {
    if (buffer == nullptr || (depth != 8 && depth != 16 && depth != 24) ||
        !ValidArea(0, 0, buffer_width, buffer_height) || !ValidArea(x, y, width, height))
        return 0;
    quar::ImageSource source;
    source.host = static_cast<const uint8_t *>(buffer);
    source.hostLayout = quar::LayoutOf(depth, 0);
    source.hostWidth = buffer_width;
    source.hostHeight = buffer_height;
    source.x = x;
    source.y = y;
    source.width = width;
    source.height = height;
    auto lock = Lock();
    return Display::Instance().AddSource(source);
}

int qrx_set_host_img_src_addr(QRX_HANDLE source, const void *buffer) {
    auto lock = Lock();
    quar::ImageSource *found = Display::Instance().Source(source);
    if (found == nullptr || found->host == nullptr || buffer == nullptr) return -1;
    found->host = static_cast<const uint8_t *>(buffer);
    return 0;
}

int qrx_set_img_src_aoi(QRX_HANDLE source, int32_t x, int32_t y) {
    auto lock = Lock();
    quar::ImageSource *found = Display::Instance().Source(source);
    if (found == nullptr || !ValidArea(x, y, 1, 1)) return -1;
    found->scrollX = x;
    found->scrollY = y;
    return 0;
}

int qrx_delete_img_src(QRX_HANDLE source) {
    auto lock = Lock();
    return Display::Instance().RemoveSource(source);
}

QRX_HANDLE qrx_create_win_img_sink(void *window, int32_t bits_per_pixel, int32_t x, int32_t y,
                                   int32_t width, int32_t height, int32_t display_mode) {
    auto *sink = static_cast<QRX_FRAME_SINK *>(window);
    const bool modeKnown = display_mode == QRX_DISPLAY_PLAIN ||
                           display_mode == QRX_DISPLAY_DIRECT ||
                           display_mode == QRX_DISPLAY_DIRECT_16;
    if (!ValidSink(sink) || !modeKnown || !ValidArea(x, y, width, height) ||
        (bits_per_pixel != 8 && bits_per_pixel != 16 && bits_per_pixel != 24))
        return 0;
    auto lock = Lock();
    return Display::Instance().AddSink({sink, x, y, width, height, display_mode});
}

int qrx_delete_img_sink(QRX_HANDLE sink) {
    auto lock = Lock();
    return Display::Instance().RemoveSink(sink);
}

QRX_HANDLE qrx_create_img_conn(QRX_HANDLE source, QRX_HANDLE sink) {
    auto lock = Lock();
    return Display::Instance().AddConnection(source, sink);
}

int qrx_delete_img_conn(QRX_HANDLE connection) {
    auto lock = Lock();
    return Display::Instance().RemoveConnection(connection);
}

int qrx_set_display_zoom_img_conn(QRX_HANDLE connection, double zoom_x, double zoom_y) {
    const bool fit = zoom_x == -1.0 && zoom_y == -1.0;
    const bool valid = zoom_x > 0.0 && zoom_y > 0.0 && zoom_x <= 64.0 && zoom_y <= 64.0;
    auto lock = Lock();
    quar::Connection *found = Display::Instance().FindConnection(connection);
    if (found == nullptr || !(fit || valid)) return -1;
    found->zoomX = zoom_x;
    found->zoomY = zoom_y;
    return 0;
}

uint32_t qrx_get_dest_key_rep(uint32_t colour, int32_t, int32_t) {
    return (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
}

int qrx_set_color_key_img_conn(QRX_HANDLE connection, uint32_t key) {
    auto lock = Lock();
    quar::Connection *found = Display::Instance().FindConnection(connection);
    if (found == nullptr) return -1;
    found->colourKey = key;
    return 0;
}

int qrx_display_img_conn(QRX_HANDLE connection, int32_t, int32_t) {
    auto lock = Lock();
    return Display::Instance().Draw(connection);
}

int qrx_display_conn(QRX_HANDLE connection) {
    auto lock = Lock();
    return Display::Instance().Draw(connection);
}

QRX_HANDLE qrx_create_img_server(QRX_HANDLE connection, int32_t period_ms, int32_t) {
    if (period_ms < 0 || period_ms > 60000) return 0;
    auto lock = Lock();
    return Display::Instance().AddServer(connection, period_ms);
}

int qrx_suspend_img_server(QRX_HANDLE server) {
    auto lock = Lock();
    quar::DisplayServer *found = Display::Instance().Server(server);
    if (found == nullptr) return -1;
    found->suspended = true;
    return 0;
}

int qrx_resume_img_server(QRX_HANDLE server) {
    auto lock = Lock();
    quar::DisplayServer *found = Display::Instance().Server(server);
    if (found == nullptr) return -1;
    found->suspended = false;
    return 0;
}

int qrx_delete_img_server(QRX_HANDLE server) {
    return Display::Instance().RemoveServer(server);
}

double qrx_img_server_frame_rate(QRX_HANDLE server) {
    auto lock = Lock();
    const quar::DisplayServer *found = Display::Instance().Server(server);
    return found ? found->frameRate : -1.0;
}

}  // extern "C"
