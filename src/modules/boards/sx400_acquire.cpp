// The SX-400's image window: live grab, snap, clear, the triggered frame,
// redisplay, pixel reads, TIFF files and the triggered snap, all on the
// board's camera frame.
#include <algorithm>

#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/boards/board_image_file.h"
#include "modules/boards/sx400.h"
#include "platform/ui.h"
#include "quar/quar_modules.h"
#include "system/image_document.h"

namespace qvi {

namespace {

// The codes of Acquire.
constexpr int kShowTriggered = 0;
constexpr int kSnap = 1;
constexpr int kClear = 2;
constexpr int kRedisplay = -1;
constexpr int kDirectDrawTest = -3;

constexpr int kClearValue = 0;
constexpr int kDisplayAreaMode = 3;
constexpr int kTrueColour = 24;
constexpr int kRgbPlanes = 3;

// The board's own display entry takes its arguments unchecked.
using DisplayAreaEntry = int (*)(QRX_HANDLE, ...);

}  // namespace

int SXP_plat_mod::CameraFrame() {
    auto get = Typed<&::sxp_get_cam_frame>(SxpEntry::GetCameraFrame);
    const int frame = get ? get(Handle()) : -1;
    frame_ = static_cast<std::int16_t>(frame < 0 ? -1 : frame);
    return frame_;
}

void SXP_plat_mod::Request(int code) {
    auto request = Binding() ? Binding()->Entry<&::qrx_xboard>() : nullptr;
    if (request == nullptr) return;
    const QRX_XBOARD_REQUEST block{code, frame_, {}};
    request(Handle(), &block);
}

void SXP_plat_mod::ReleaseDisplay() {
    ImageDocument *document = Document(0);
    if (document == nullptr || Binding() == nullptr) return;
    if (document->grabRunning) Request(QRX_XBOARD_STOP);
    document->grabRunning = false;
    DeleteDisplay(*Binding(), *document);
}

// A call without a window (closing it, opening the trigger tool before the
// view exists) changes the frame but has nothing to draw into.
bool SXP_plat_mod::Display(ImageDocument &document, void *window, const AcquiredImage &image,
                           bool server) {
    if (window == nullptr) return false;
    auto revision = Typed<&::sxp_get_hw_revision>(SxpEntry::GetHardwareRevision);
    DisplayRequest request{window, image.depth, image.width, image.height,
                           revision ? revision(Handle()) : 0, server};
    auto createSource = Binding()->Entry<&::qrx_create_frame_area_img_src>();
    const int frame = frame_;
    const QRX_HANDLE board = Handle();
    return BuildDisplay(*Binding(), document, request, [&](int width, int height) -> QRX_HANDLE {
        return createSource ? createSource(board, frame, 0, 0, width, height) : 0;
    });
}

int SXP_plat_mod::GrabLive(void *window, int &width, int &height) {
    ImageDocument *document = Document(0);
    if (document == nullptr || Binding() == nullptr || !HardwareEnabled()) return 0;
    const AcquiredImage image = ImageOf(AcquisitionModule());
    document->bitsPerPixel = image.depth;
    ReleaseDisplay();
    if (CameraFrame() < 0) return 0;

    Request(QRX_XBOARD_GRAB);
    document->grabRunning = true;
    const bool shown = Display(*document, window, image, true);
    document->resizeWindow = document->width != image.width || document->height != image.height;
    width = document->width = image.width;
    height = document->height = image.height;
    document->state = ImageDocument::kLiveGrab;
    document->caption = SizeDepthCaption(document->title, image.width, image.height, image.depth);
    if (auto area = std::bit_cast<DisplayAreaEntry>(EntryAddress(SxpEntry::DisplayArea)))
        area(Handle(), static_cast<int>(frame_), 0, 0, image.width, image.height,
             kDisplayAreaMode);
    return shown ? 1 : 0;
}

int SXP_plat_mod::ShowFrame(ImageDocument &document, void *window, int &width, int &height) {
    const AcquiredImage image = ImageOf(AcquisitionModule());
    document.bitsPerPixel = image.depth;
    width = document.width = image.width;
    height = document.height = image.height;
    document.caption = SizeDepthCaption(document.title, image.width, image.height, image.depth);
    return Display(document, window, image, false) ? 1 : 0;
}

// The library draws through either display path, so DirectDraw is there
// whenever the display entries are.
int SXP_plat_mod::Acquire(void *window, int &width, int &height, int code) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    if (code == kDirectDrawTest) return Binding()->Entry<&::qrx_create_win_img_sink>() ? 1 : 0;
    ImageDocument *document = Document(0);
    if (document == nullptr) return 0;
    ReleaseDisplay();
    if (CameraFrame() < 0) return 0;
    switch (code) {
        case kSnap:
            Request(QRX_XBOARD_SNAP);
            break;
        case kClear:
            if (auto clear = Typed<&::sxp_clr_frame>(SxpEntry::ClearFrame))
                clear(Handle(), frame_, kClearValue);
            break;
        case kShowTriggered:  // the armed snap has filled the frame
        case kRedisplay:
        default:
            break;
    }
    const int shown = ShowFrame(*document, window, width, height);
    if (code == kClear) document->caption = SizeCaption(document->title, width, height);
    return shown;
}

// A file image stays in the frame as read; the DirectDraw test leaves it.
int SXP_plat_mod::Redraw(int) {
    ImageDocument *document = Document(0);
    if (document == nullptr) return 1;
    int width = document->width;
    int height = document->height;
    if (document->state == ImageDocument::kLiveGrab)
        return GrabLive(document->window, document->width, document->height);
    if (document->state == ImageDocument::kFromFile)
        return Acquire(document->window, width, height, kDirectDrawTest);
    return Acquire(document->window, document->width, document->height, kRedisplay);
}

int SXP_plat_mod::ReadPixel(int x, int y) {
    if (Binding() == nullptr || !HardwareEnabled() || CameraFrame() < 0) return 0;
    auto read = Binding()->Entry<&::qrx_rpix>();
    return read ? read(Handle(), frame_, x, y) : 0;
}

bool SXP_plat_mod::ReadFramePixels(FramePixels &pixels) {
    if (Binding() == nullptr || !HardwareEnabled() || CameraFrame() < 0) return false;
    const ImageDocument *document = Document(0);
    AcquiredImage image = ImageOf(AcquisitionModule());
    if (document != nullptr && document->state == ImageDocument::kFromFile) {
        image.depth = document->bitsPerPixel;
        image.width = document->width;
        image.height = document->height;
    }
    return qvi::ReadFramePixels(*Binding(), Handle(), frame_, image, pixels);
}

std::int64_t SXP_plat_mod::FramesAcquired() {
    if (Binding() == nullptr || !HardwareEnabled() || CameraFrame() < 0) return -1;
    return FrameCount(Binding(), Handle(), frame_);
}

// The depth is checked before anything stops: a refused save leaves a live
// grab running.
int SXP_plat_mod::SaveImageFile(const std::string &path) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    const AcquiredImage image = ImageOf(AcquisitionModule());
    if (!SavableImage(image)) return RefuseDepth();
    if (ImageDocument *document = Document(0)) {
        if (document->grabRunning) {
            auto disconnect = Binding()->Entry<&::qrx_intr_disconnect>();
            if (disconnect && document->event != 0) disconnect(document->event);
            document->event = 0;
            Request(QRX_XBOARD_STOP);
            document->grabRunning = false;
        }
        document->state = ImageDocument::kSnapped;
        document->frozen = true;
    }
    if (CameraFrame() < 0) {
        ReportError(MessageText("No camera frame to save to file: ", path));
        return -1;
    }
    return WriteFrameFile(*Binding(), Handle(), frame_, image, path);
}

// A file larger than the frame is cut at the frame's edges, so the window
// shows at most the frame.
int SXP_plat_mod::LoadImageFile(const std::string &path, void *window, int &width, int &height) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    ReleaseDisplay();
    const std::optional<AcquiredImage> image =
        CameraFrame() >= 0
            ? ReadFrameFile(*Binding(), Handle(), frame_, path, ImageOf(AcquisitionModule()))
            : std::nullopt;
    if (!image) {
        ReportWarning("Image file reading failed.\n");
        return 0;
    }
    width = image->width;
    height = image->height;
    ImageDocument *document = Document(0);
    if (document == nullptr) return 1;
    HoldFile(*document, *image);
    Display(*document, window, *image, false);
    document->caption = FileCaption(*document, path, *image);
    return 1;
}

void SXP_plat_mod::ArmTrigger() {
    auto snap = Typed<&::sxp_trig_snap>(SxpEntry::TriggerSnap);
    if (snap == nullptr || !HardwareEnabled()) return;
    if (frame_ < 0) CameraFrame();
    snap(Handle(), frame_);
}

int SXP_plat_mod::WaitTrigger(int count) {
    auto wait = Typed<&::sxp_wait_trig>(SxpEntry::WaitTrigger);
    return wait && HardwareEnabled() ? wait(Handle(), count) : 0;
}

}  // namespace qvi
