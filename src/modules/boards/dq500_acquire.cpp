// The DQ-500's acquisitions on its own monitor: grab and snap with their
// overlay texts, and TIFF files written from and read into frame memory.
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "modules/boards/board_image_file.h"
#include "modules/boards/dq500.h"
#include "params/mod.h"
#include "params/usr_param.h"
#include "platform/ui.h"
#include "system/image_document.h"

namespace qvi {

namespace {

constexpr int kYcrcbPixelFormat = QV_acq_plat_mod::kDecoderBoard;
constexpr int kTrueColourDepth = 24;
constexpr int kRgbPlanes = 3;
constexpr int kGreyPlane = 1;
constexpr int kByteSample = 8;

bool IsSixteenBitDepth(int depth) {
    return depth == 10 || depth == 12 || depth == 16;
}

// Where the overlay's text goes.
constexpr int kTextX = 50;
constexpr int kTextY = 100;

// The "Color Mode" row: pseudo colour first, true colour second.
constexpr int kColourModeRow = 16;
constexpr int kPseudoColourIndex = 0;
constexpr int kTrueColourIndex = 1;

}  // namespace

void DQP_plat_mod::GrabOnMonitor() {
    AcquireOnMonitor(QRX_XBOARD_GRAB, "Grab");
}

void DQP_plat_mod::SnapOnMonitor() {
    AcquireOnMonitor(QRX_XBOARD_SNAP, "Snap");
}

// A YCrCb module fills the 16-bit pair whatever frame the monitor shows.
void DQP_plat_mod::AcquireOnMonitor(int code, const char *text) {
    if (!HardwareEnabled()) return;
    const Image image = AcquiredImage();
    const int shown = ChooseDisplayFrame();
    XBoard(code, image.pixelFormat == kYcrcbPixelFormat ? DQP_FRAME_A0_A1 : shown);
    if (auto clear = Typed<&::dqp_clr_frame>(Fn::ClearFrame)) clear(Handle(), DQP_FRAME_OVERLAY);
    if (auto write = Typed<&::dqp_text_out>(Fn::TextOut))
        write(Handle(), DQP_FRAME_OVERLAY, kTextX, kTextY, text);
    ShowFrame(shown, image);
}

int DQP_plat_mod::AcquisitionFrame(const Image &image) const {
    if (image.pixelFormat == kYcrcbPixelFormat) return DQP_FRAME_A0_A1;
    if (image.depth == kTrueColourDepth && HasFrameA1() && HasFrameB1())
        return DQP_FRAME_TRUE_COLOR;
    if (IsSixteenBitDepth(image.depth) && HasFrameA1()) return DQP_FRAME_A0_A1;
    return DQP_FRAME_A0;
}

std::int64_t DQP_plat_mod::FramesAcquired() {
    if (Binding() == nullptr || !HardwareEnabled()) return -1;
    return FrameCount(Binding(), Handle(), AcquisitionFrame(AcquiredImage()));
}

// The depth is checked before anything stops, as on the SX-400.
int DQP_plat_mod::SaveImageFile(const std::string &path) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    const Image image = AcquiredImage();
    const qvi::AcquiredImage written{image.pixelFormat, image.depth, image.width, image.height};
    if (!SavableImage(written)) return RefuseDepth();
    StopAcquisition();
    if (ImageDocument *document = Document(0)) {
        document->state = ImageDocument::kSnapped;
        document->frozen = true;
    }
    return WriteFrameFile(*Binding(), Handle(), AcquisitionFrame(image), written, path);
}

void DQP_plat_mod::SetPseudoColour(bool pseudo) {
    QV_usr_param *row = Module() ? Module()->GetUsrParam(kColourModeRow) : nullptr;
    if (row != nullptr) row->SetIndex(pseudo ? kPseudoColourIndex : kTrueColourIndex);
}

int DQP_plat_mod::ReadIntoFrame(const std::string &path, int frame, const Image &file) {
    auto read = Binding()->Entry<&::qrx_read_image>();
    if (read == nullptr || read(Handle(), frame, path.c_str()) != 0) {
        ReportWarning("Image file reading failed.\n");
        return -1;
    }
    ShowFrame(frame, file);
    return 1;
}

int DQP_plat_mod::LoadImageFile(const std::string &path, void *, int &width, int &height) {
    if (Binding() == nullptr || !HardwareEnabled()) return 0;
    StopAcquisition();
    auto props = Binding()->Entry<&::qrx_imagefile_props>();
    std::int32_t planes = 0, bits = 0, fileWidth = 0, fileHeight = 0;
    if (props == nullptr || props(path.c_str(), &fileWidth, &fileHeight, &planes, &bits) != 0) {
        ReportWarning("Image file reading failed.\n");
        return -1;
    }
    width = fileWidth;
    height = fileHeight;
    const std::string insufficient = "Insufficient frame memory to load file: " + path;

    if (planes == kRgbPlanes && bits == kByteSample) {
        if (!HasFrameA1() || !HasFrameB1()) {
            ReportError(insufficient);
            return -1;
        }
        EnableDisplay(DQP_FRAME_TRUE_COLOR, true);
        SetPseudoColour(false);
        return ReadIntoFrame(path, DQP_FRAME_TRUE_COLOR,
                             {0, kTrueColourDepth, fileWidth, fileHeight});
    }
    const bool eightBits = planes == kGreyPlane && bits == kByteSample;
    const bool sixteenBits = planes == kGreyPlane && IsSixteenBitDepth(bits);
    if (!eightBits && !sixteenBits) {
        ReportError("ImageFile :" + path + " bit depth not supported.");
        return -1;
    }
    if (sixteenBits && !HasFrameA1()) {
        ReportError(insufficient);
        return -1;
    }
    SetPseudoColour(true);
    EnableDisplay(DQP_FRAME_A0, eightBits);
    EnableDisplay(DQP_FRAME_A1, sixteenBits);
    EnableDisplay(DQP_FRAME_B1, false);
    return ReadIntoFrame(path, eightBits ? DQP_FRAME_A0 : DQP_FRAME_A0_A1,
                         {0, bits, fileWidth, fileHeight});
}

}  // namespace qvi
