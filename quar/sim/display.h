#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <thread>

#include "quar/quar_acquire.h"
#include "sim/test_pattern.h"

namespace quar {

// What a source shows: an area of a board's frame, or of the caller's memory.
struct ImageSource {
    QRX_HANDLE board = 0;
    int frame = 0;
    const std::uint8_t *host = nullptr;  // a host source's memory
    PixelLayout hostLayout;
    int hostWidth = 0;
    int hostHeight = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int scrollX = 0, scrollY = 0;
};

struct ImageSink {
    QRX_FRAME_SINK *window = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    int mode = 0;
};

struct Connection {
    QRX_HANDLE source = 0;
    QRX_HANDLE sink = 0;
    double zoomX = 1.0, zoomY = 1.0;  // -1: fit
    std::uint32_t colourKey = 0;
};

// A display server: a thread that draws its connection at its period.
struct DisplayServer {
    QRX_HANDLE connection = 0;
    int periodMs = 20;
    bool suspended = false;
    bool stopping = false;
    double frameRate = 0.0;
    std::thread thread;
};

// The sources, sinks, connections and servers, under the video store's lock.
// Servers are joined when deleted and when the library is unloaded.
class Display {
public:
    static Display &Instance();
    ~Display();

    QRX_HANDLE AddSource(const ImageSource &source);
    QRX_HANDLE AddSink(const ImageSink &sink);
    QRX_HANDLE AddConnection(QRX_HANDLE source, QRX_HANDLE sink);
    QRX_HANDLE AddServer(QRX_HANDLE connection, int periodMs);
    // Null for an unknown handle. Caller holds the store's lock.
    ImageSource *Source(QRX_HANDLE handle);
    Connection *FindConnection(QRX_HANDLE handle);
    DisplayServer *Server(QRX_HANDLE handle);
    int RemoveSource(QRX_HANDLE handle);
    int RemoveSink(QRX_HANDLE handle);
    int RemoveConnection(QRX_HANDLE handle);
    int RemoveServer(QRX_HANDLE handle);
    // Draws a connection into its sink. Caller holds the store's lock.
    int Draw(QRX_HANDLE connection);
    void Wake() { wake_.notify_all(); }

private:
    void Serve(DisplayServer *server);

    std::condition_variable wake_;
    QRX_HANDLE next_ = 0x10000;
    std::map<QRX_HANDLE, ImageSource> sources_;
    std::map<QRX_HANDLE, ImageSink> sinks_;
    std::map<QRX_HANDLE, Connection> connections_;
    std::map<QRX_HANDLE, std::unique_ptr<DisplayServer>> servers_;
};

}  // namespace quar
