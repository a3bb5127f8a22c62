// The core library's host acquisition entries: an SXA camera channel
// acquiring into the caller's buffers.
#include <mutex>

#include "quar/quar_host_acquire.h"
#include "sim/board_frames.h"
#include "sim/host_acquisition.h"
#include "sim/library.h"
#include "sim/trigger_setup.h"

using quar::HostAcquisitions;
using quar::HostAcquisitionSetup;
using quar::Library;

namespace {

// The largest side of a host frame, and the most buffers and bytes one
// acquisition may go round.
constexpr int32_t kMaxSide = 8192;
constexpr int32_t kMaxBuffers = 256;
constexpr int64_t kMaxBytes = int64_t{1} << 31;

bool IsChannel(QRX_HANDLE handle) {
    const quar::Element *element = Library::Instance().Find(handle);
    return element != nullptr && element->category == QRX_CATEGORY_CAMERA_CHANNEL;
}

bool ValidArea(int32_t x, int32_t y, int32_t width, int32_t height) {
    return x >= 0 && y >= 0 && x < kMaxSide && y < kMaxSide && width > 0 && height > 0 &&
           width <= kMaxSide && height <= kMaxSide;
}

bool ValidBuffers(const void *buffer, int32_t buffers, int32_t width, int32_t height) {
    return buffer != nullptr && buffers > 0 && buffers <= kMaxBuffers &&
           int64_t{width} * height * buffers <= kMaxBytes;
}

QRX_HANDLE Start(std::vector<QRX_HANDLE> channels, int32_t mode, int32_t x, int32_t y,
                 int32_t width, int32_t height, void *buffer, int32_t buffers, int32_t frames) {
    for (QRX_HANDLE channel : channels)
        if (!IsChannel(channel)) return 0;
    if ((mode != QRX_HOST_ON_TRIGGER && mode != QRX_HOST_CONTINUOUS) ||
        !ValidArea(x, y, width, height) || !ValidBuffers(buffer, buffers, width, height) ||
        (frames < 1 && frames != -1))
        return 0;
    Library &library = Library::Instance();
    HostAcquisitionSetup setup;
    setup.board = library.Find(channels.front())->parent;
    setup.channels = std::move(channels);
    setup.mode = mode;
    setup.x = x;
    setup.y = y;
    setup.width = width;
    setup.height = height;
    setup.buffer = static_cast<uint8_t *>(buffer);
    setup.buffers = buffers;
    setup.frames = frames;
    setup.frameRate = library.FrameRate(setup.board);
    for (QRX_HANDLE channel : setup.channels)
        quar::RefreshTriggerTarget(library, *library.Find(channel));
    return HostAcquisitions::Instance().Start(setup);
}

}  // namespace

extern "C" {

QRX_HANDLE qrx_host_start_acq(QRX_HANDLE channel, int32_t mode, int32_t x, int32_t y, int32_t width,
                              int32_t height, void *buffer, int32_t buffers, int32_t frames) {
    return Start({channel}, mode, x, y, width, height, buffer, buffers, frames);
}

QRX_HANDLE qrx_host_start_dualtap_acq(QRX_HANDLE channel, QRX_HANDLE second, int32_t mode,
                                      int32_t x, int32_t y, int32_t width, int32_t height,
                                      void *buffer, int32_t buffers, int32_t frames) {
    if (channel == second) return 0;
    return Start({channel, second}, mode, x, y, width, height, buffer, buffers, frames);
}

int32_t qrx_host_wait_acq(QRX_HANDLE grab, int32_t sequence, int32_t timeout_ms, int32_t lock,
                          void **address) {
    auto acquisition = HostAcquisitions::Instance().Find(grab);
    if (acquisition == nullptr || (lock != 0 && lock != 1)) return -1;
    return acquisition->Wait(sequence, timeout_ms, lock == 1, address);
}

int qrx_host_grab_lock(QRX_HANDLE grab, int32_t sequence) {
    auto acquisition = HostAcquisitions::Instance().Find(grab);
    return acquisition ? acquisition->Lock(sequence) : -1;
}

int qrx_host_grab_release(QRX_HANDLE grab, int32_t sequence) {
    auto acquisition = HostAcquisitions::Instance().Find(grab);
    return acquisition ? acquisition->Release(sequence) : -1;
}

int32_t qrx_grab_latest_seqnum(QRX_HANDLE grab) {
    auto acquisition = HostAcquisitions::Instance().Find(grab);
    return acquisition ? acquisition->Latest() : -1;
}

int qrx_host_grab_stop(QRX_HANDLE handle) {
    return handle == 0 ? -1 : HostAcquisitions::Instance().Stop(handle);
}

// The channel's next frame, the same one a snap request on it would take.
int qrx_host_snap(QRX_HANDLE channel, void *buffer, int32_t width, int32_t height) {
    if (!IsChannel(channel) || !ValidArea(0, 0, width, height) ||
        !ValidBuffers(buffer, 1, width, height))
        return -1;
    Library &library = Library::Instance();
    const auto name = quar::NameFrame(library, channel, 0);
    std::uint64_t number = 0;
    {
        std::lock_guard lock(quar::VideoStore::Instance().Mutex());
        quar::Frame *frame = name ? quar::CurrentFrame(library, *name) : nullptr;
        if (frame == nullptr) return -1;
        quar::VideoStore::Request(*frame, QRX_XBOARD_SNAP);
        number = frame->count;
    }
    quar::HostFrameWriter(0, 0, width, height, false).Write(static_cast<uint8_t *>(buffer), number);
    return 0;
}

QRX_HANDLE qrx_host_grab(QRX_HANDLE channel, void *buffer, int32_t width, int32_t height) {
    return qrx_host_start_acq(channel, QRX_HOST_CONTINUOUS, 0, 0, width, height, buffer, 1, -1);
}

}  // extern "C"
