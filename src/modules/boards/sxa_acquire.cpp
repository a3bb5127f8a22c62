// The SXA board's image windows, one per camera channel: live grab (dual tap
// included), snap, clear, files, pixel reads, and the host acquisition the
// trigger waiter waits on. Each call works on the current channel.
#include <algorithm>
#include <chrono>
#include <thread>

#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/boards/board_image_file.h"
#include "modules/boards/sxa_board.h"
#include "platform/ui.h"
#include "system/image_document.h"

namespace qvi {

namespace {

constexpr int kSnap = 1;
constexpr int kClear = 2;
constexpr int kDirectDrawTest = -3;

// Channel parameters: the dual-tap switch, and the setting both taps share.
constexpr int kDualTapParam = 70;
constexpr int kTapSourceParam = 6;
constexpr int kTapTargetParam = 45;
constexpr int kDepth = 8;
constexpr int kFrame = 0;  // a channel's camera frame
// A triggered dual-tap acquisition goes into at least one megabyte.
constexpr std::size_t kDualTapTriggerBuffer = 1048576;
constexpr int kFrameEndInterrupt = QRX_INTR_FRAME_END;
constexpr int kWaitStepMs = 10;

const char *const kDualTapSuffix = "  Dual Tap Mode";

}  // namespace

QRX_HANDLE SXA_plat_mod::ChannelHandle() const {
    auto channel = Binding() ? Binding()->Entry<&::qrx_get_vmodcnf>() : nullptr;
    return channel ? channel(Handle(), currentChannel_) : 0;
}

double SXA_plat_mod::ChannelParam(QRX_HANDLE channel, int param) const {
    auto get = Binding()->Entry<&::qrx_get_param>();
    return get && channel ? get(channel, param) : 0.0;
}

void SXA_plat_mod::SetChannelParam(QRX_HANDLE channel, int param, double value) const {
    auto set = Binding()->Entry<&::qrx_set_param>();
    if (set && channel) set(channel, param, value);
}

bool SXA_plat_mod::DualTap() const {
    if (Binding() == nullptr || (currentChannel_ != 0 && currentChannel_ != 2)) return false;
    return ChannelParam(ChannelHandle(), kDualTapParam) == 1.0;
}

void SXA_plat_mod::Request(QRX_HANDLE channel, int code) {
    auto request = Binding()->Entry<&::qrx_xboard>();
    const QRX_XBOARD_REQUEST block{code, kFrame, {}};
    if (request && channel) request(channel, &block);
}

// The library writes the host buffer until its acquisition stops, so the
// buffer goes last.
void SXA_plat_mod::ReleaseDisplay() {
    ImageDocument *document = Document(currentChannel_);
    if (document == nullptr || Binding() == nullptr) return;
    const QRX_HANDLE channel = ChannelHandle();
    if (auto stop = Binding()->Entry<&::qrx_host_grab_stop>(); stop && document->grab != 0)
        stop(document->grab);
    document->grab = 0;
    if (document->grabRunning) Request(channel, QRX_XBOARD_STOP);
    document->grabRunning = false;
    if (auto disconnect = Binding()->Entry<&::qrx_intr_disconnect>();
        disconnect && document->event != 0)
        disconnect(document->event);
    document->event = 0;
    DeleteDisplay(*Binding(), *document);
    document->hostBuffer.clear();
    document->hostBuffer.shrink_to_fit();
}

AcquiredImage SXA_plat_mod::PrepareChannel(ImageDocument &document, bool dualTap) {
    ReleaseDisplay();
    const QRX_HANDLE channel = ChannelHandle();
    if (auto stop = Binding()->Entry<&::qrx_host_grab_stop>(); stop && channel) stop(channel);
    document.bitsPerPixel = kDepth;
    auto size = Binding()->Entry<&::qrx_get_acq_dim>();
    std::int16_t width = 0, height = 0;
    if (dualTap) {
        const double shared = ChannelParam(channel, kTapSourceParam);
        SetChannelParam(channel, kTapTargetParam, shared);
        auto next = Binding()->Entry<&::qrx_get_vmodcnf>();
        SetChannelParam(next ? next(Handle(), currentChannel_ + 1) : 0, kTapTargetParam, shared);
    }
    if (size) size(channel, &width, &height);
    return {0, kDepth, width, height};
}

std::string SXA_plat_mod::Caption(const ImageDocument &document, const AcquiredImage &image,
                                  bool dualTap) const {
    return SizeDepthCaption(document.title, image.width, image.height, image.depth) +
           (dualTap ? kDualTapSuffix : "");
}

bool SXA_plat_mod::ShowCamera(ImageDocument &document, void *window, const AcquiredImage &image,
                              bool server) {
    if (window == nullptr) return false;
    auto create = Binding()->Entry<&::qrx_create_cam_area_img_src>();
    const QRX_HANDLE channel = ChannelHandle();
    return BuildDisplay(*Binding(), document, {window, image.depth, image.width, image.height, 0,
                                               server},
                        [&](int width, int height) -> QRX_HANDLE {
                            return create ? create(channel, 0, 0, width, height) : 0;
                        });
}

bool SXA_plat_mod::ShowHostBuffer(ImageDocument &document, void *window,
                                  const AcquiredImage &image, bool server) {
    if (window == nullptr || document.hostBuffer.empty()) return false;
    auto create = Binding()->Entry<&::qrx_create_host_img_src>();
    const void *buffer = document.hostBuffer.data();
    return BuildDisplay(*Binding(), document, {window, image.depth, image.width, image.height, 0,
                                               server},
                        [&](int width, int height) -> QRX_HANDLE {
                            return create ? create(0, buffer, image.depth, image.width,
                                                   image.height, 0, 0, width, height)
                                          : 0;
                        });
}

int SXA_plat_mod::GrabLive(void *window, int &width, int &height) {
    ImageDocument *document = Document(currentChannel_);
    if (document == nullptr || Binding() == nullptr || !HardwareEnabled()) return 0;
    const bool dualTap = DualTap();
    const AcquiredImage image = PrepareChannel(*document, dualTap);
    const QRX_HANDLE channel = ChannelHandle();
    bool shown = false;
    if (dualTap) {
        auto start = Binding()->Entry<&::qrx_host_start_dualtap_acq>();
        auto next = Binding()->Entry<&::qrx_get_vmodcnf>();
        document->hostBuffer.assign(
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 0);
        document->grab =
            start && next ? start(channel, next(Handle(), currentChannel_ + 1),
                                  QRX_HOST_CONTINUOUS, 0, 0, image.width, image.height,
                                  document->hostBuffer.data(), 1, -1)
                          : 0;
        shown = ShowHostBuffer(*document, window, image, true);
    } else {
        Request(channel, QRX_XBOARD_GRAB);
        document->grabRunning = true;
        shown = ShowCamera(*document, window, image, true);
    }
    document->resizeWindow = document->width != image.width || document->height != image.height;
    width = document->width = image.width;
    height = document->height = image.height;
    document->state = ImageDocument::kLiveGrab;
    document->caption = Caption(*document, image, dualTap);
    return shown ? 1 : 0;
}

void SXA_plat_mod::StartHostAcquisition() {
    ImageDocument *document = Document(currentChannel_);
    if (document == nullptr || Binding() == nullptr || !HardwareEnabled()) return;
    const bool dualTap = DualTap();
    const AcquiredImage image = PrepareChannel(*document, dualTap);
    const QRX_HANDLE channel = ChannelHandle();
    if (auto connect = Binding()->Entry<&::qrx_intr_connect>())
        connect(channel, kFrameEndInterrupt, &document->event);
    const std::size_t pixels =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (dualTap) {
        // The library fills width x height bytes: never less than that.
        document->hostBuffer.assign(std::max(kDualTapTriggerBuffer, pixels), 0);
        auto start = Binding()->Entry<&::qrx_host_start_dualtap_acq>();
        auto next = Binding()->Entry<&::qrx_get_vmodcnf>();
        document->grab = start && next ? start(channel, next(Handle(), currentChannel_ + 1),
                                               QRX_HOST_ON_TRIGGER, 0, 0, image.width,
                                               image.height, document->hostBuffer.data(), 1, -1)
                                       : 0;
    } else {
        document->hostBuffer.assign(pixels, 0);
        auto start = Binding()->Entry<&::qrx_host_start_acq>();
        document->grab = start ? start(channel, QRX_HOST_ON_TRIGGER, 0, 0, image.width,
                                       image.height, document->hostBuffer.data(), 1, -1)
                               : 0;
    }
    ShowHostBuffer(*document, document->window, image, false);
    document->width = image.width;
    document->height = image.height;
    document->state = ImageDocument::kTriggered;
    document->caption = Caption(*document, image, dualTap);
}

// Snap and clear work on the channel's camera frame; showing again keeps
// a triggered host acquisition and shows its buffer.
int SXA_plat_mod::Acquire(void *window, int &width, int &height, int code) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    if (code == kDirectDrawTest) return Binding()->Entry<&::qrx_create_win_img_sink>() ? 1 : 0;
    ImageDocument *document = Document(currentChannel_);
    if (document == nullptr) return 0;
    const QRX_HANDLE channel = ChannelHandle();
    AcquiredImage image{0, kDepth, document->width, document->height};
    if (document->grab != 0 && code != kSnap && code != kClear) {
        DeleteDisplay(*Binding(), *document);
        image.width = document->width;
        image.height = document->height;
        const bool shown = ShowHostBuffer(*document, window, image, false);
        width = document->width;
        height = document->height;
        return shown ? 1 : 0;
    }
    image = PrepareChannel(*document, false);
    if (code == kSnap) Request(channel, QRX_XBOARD_SNAP);
    if (code == kClear) {
        if (auto clear = Binding()->Entry<&::qrx_clr_frame>()) clear(channel, kFrame);
    }
    width = document->width = image.width;
    height = document->height = image.height;
    document->caption = code == kClear ? SizeCaption(document->title, image.width, image.height)
                                       : Caption(*document, image, false);
    return ShowCamera(*document, window, image, false) ? 1 : 0;
}

int SXA_plat_mod::Redraw(int channel) {
    SetCurrentChannel(channel);
    ImageDocument *document = Document(channel);
    if (document == nullptr) return 1;
    int width = document->width;
    int height = document->height;
    if (document->state == ImageDocument::kLiveGrab)
        return GrabLive(document->window, document->width, document->height);
    if (document->state == ImageDocument::kFromFile)
        return Acquire(document->window, width, height, kDirectDrawTest);
    return Acquire(document->window, document->width, document->height, -1);
}

int SXA_plat_mod::ReadPixel(int x, int y) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    auto read = Binding()->Entry<&::qrx_rpix>();
    return read ? read(ChannelHandle(), kFrame, x, y) : 0;
}

bool SXA_plat_mod::ReadFramePixels(FramePixels &pixels) {
    const ImageDocument *document = Document(currentChannel_);
    if (Binding() == nullptr || !HardwareEnabled() || document == nullptr) return false;
    const AcquiredImage image{0, document->bitsPerPixel, document->width, document->height};
    return qvi::ReadFramePixels(*Binding(), ChannelHandle(), kFrame, image, pixels);
}

// A dual-tap grab takes its frames into the host buffer, numbered from 0.
std::int64_t SXA_plat_mod::FramesAcquired() {
    const ImageDocument *document = Document(currentChannel_);
    if (Binding() == nullptr || !HardwareEnabled()) return -1;
    if (document != nullptr && document->grab != 0) {
        auto latest = Binding()->Entry<&::qrx_grab_latest_seqnum>();
        return latest ? std::int64_t{latest(document->grab)} + 1 : -1;
    }
    return FrameCount(Binding(), ChannelHandle(), kFrame);
}

// The camera frame holds 8-bit grey; the host buffer of a triggered frame is
// written as it stands once its acquisition has stopped.
int SXA_plat_mod::SaveImageFile(const std::string &path) {
    ImageDocument *document = Document(currentChannel_);
    if (Binding() == nullptr || !HardwareEnabled() || document == nullptr) return 0;
    const AcquiredImage image{0, kDepth, document->width, document->height};
    if (document->grab != 0) {
        if (auto stop = Binding()->Entry<&::qrx_host_grab_stop>()) stop(document->grab);
        document->grab = 0;
        auto write = Binding()->Entry<&::qrx_write_image>();
        const bool written = write && write(path.c_str(), document->hostBuffer.data(),
                                            image.width, image.height, 1, kDepth) == 0;
        document->state = ImageDocument::kSnapped;
        document->frozen = true;
        if (written) return 0;
        ReportError(MessageText("Image file writing failed: ", path));
        return -2;
    }
    if (document->grabRunning) Request(ChannelHandle(), QRX_XBOARD_STOP);
    document->grabRunning = false;
    document->state = ImageDocument::kSnapped;
    document->frozen = true;
    return WriteFrameFile(*Binding(), ChannelHandle(), kFrame, image, path);
}

int SXA_plat_mod::LoadImageFile(const std::string &path, void *window, int &width, int &height) {
    ImageDocument *document = Document(currentChannel_);
    if (Binding() == nullptr || !HardwareEnabled() || document == nullptr) return 0;
    const AcquiredImage frame = PrepareChannel(*document, false);
    const std::optional<AcquiredImage> image =
        ReadFrameFile(*Binding(), ChannelHandle(), kFrame, path, frame);
    if (!image) {
        ReportWarning("Image file reading failed.\n");
        return 0;
    }
    width = image->width;
    height = image->height;
    HoldFile(*document, *image);
    ShowCamera(*document, window, *image, false);
    document->caption = FileCaption(*document, path, *image);
    return 1;
}

void SXA_plat_mod::ArmTrigger() {
    ImageDocument *document = Document(currentChannel_);
    auto latest = Binding() ? Binding()->Entry<&::qrx_grab_latest_seqnum>() : nullptr;
    armedSequence_ = latest && document && document->grab ? latest(document->grab) : -1;
}

int SXA_plat_mod::TriggerDone() {
    ImageDocument *document = Document(currentChannel_);
    auto latest = Binding() ? Binding()->Entry<&::qrx_grab_latest_seqnum>() : nullptr;
    if (latest == nullptr || document == nullptr || document->grab == 0) return 0;
    return latest(document->grab) > armedSequence_ ? 1 : 0;
}

int SXA_plat_mod::WaitTrigger(int count) {
    for (int i = 0; i < count; ++i) {
        if (TriggerDone()) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(kWaitStepMs));
    }
    return TriggerDone() ? 0 : 1;
}

}  // namespace qvi
