// The DQ-500's own monitor: which frame shows what the acquisition module in
// slot 0 delivers, stopping and clearing the frames, showing, and arming a
// triggered snap into the shown frame.
#include "modules/boards/dq500.h"

#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "params/mod.h"
#include "params/usr_param.h"
#include "platform/ui.h"

namespace qvi {

namespace {

// The pixel format a module reports is the type of its input board.
constexpr int kYcrcbPixelFormat = QV_acq_plat_mod::kDecoderBoard;
constexpr int kRgbPixelFormat = QV_acq_plat_mod::kRgbBoard;
constexpr int kTrueColourDepth = 24;
constexpr int kYcrcbDepth = 16;

bool IsSixteenBitDepth(int depth) {
    return depth == 10 || depth == 12 || depth == 16;
}

// The display paths the monitor needs, whatever it shows.
constexpr int kDisplayPaths[][2] = {{13, 6}, {14, 7}, {15, 9}};

// The "Color Mode" row and its true-colour choice; handle 43 behind it.
constexpr int kColourModeRow = 16;
constexpr int kTrueColourIndex = 1;
constexpr int kColourModeHandle = 43;
constexpr double kPseudoColourValue = 1;

// The display entry takes the chooser's 16-bit frame as its display 1, and
// shows 16-bit YCrCb colour as its display 2.
constexpr int kMonitor = 0;
constexpr int kSixteenBitDisplay = 1;
constexpr int kYcrcbDisplay = 2;
constexpr int kDisplayMode = 3;

// The library parameters of the trigger mode of frames A0, A1 and B1.
constexpr int kTriggerModeParams[] = {163, 194, 224};

}  // namespace

DQP_plat_mod::Image DQP_plat_mod::AcquiredImage() const {
    Image image;
    auto *module = dynamic_cast<QV_acq_plat_mod *>(AcquisitionModule());
    if (module == nullptr) return image;
    image.pixelFormat = module->GetBoardType();
    image.depth = module->GetBitsPerPixel();
    image.height = module->GetImageHeight();
    image.width = module->GetImageWidth();
    return image;
}

void DQP_plat_mod::EnableDisplay(int frame, bool on) {
    const bool fitted = (frame != DQP_FRAME_A1 || HasFrameA1()) &&
                        (frame != DQP_FRAME_B1 || HasFrameB1());
    auto enable = Typed<&::dqp_disp_enable>(Fn::DisplayEnable);
    if (enable && fitted) enable(Handle(), frame, on ? 1 : 0);
}

int DQP_plat_mod::FallBackToA0() {
    EnableDisplay(DQP_FRAME_A0, true);
    EnableDisplay(DQP_FRAME_A1, false);
    EnableDisplay(DQP_FRAME_B1, false);
    return DQP_FRAME_A0;
}

int DQP_plat_mod::ChooseDisplayFrame() {
    const Image image = AcquiredImage();
    if (auto route = Typed<&::dqp_set_cpspath>(Fn::SetCpsPath))
        for (const auto &path : kDisplayPaths) route(Handle(), path[0], path[1]);
    if (image.depth == kTrueColourDepth) return ChooseTrueColourFrame(image);
    if (IsSixteenBitDepth(image.depth) && image.pixelFormat != kYcrcbPixelFormat)
        return ChooseSixteenBitFrame();
    // A0's display is switched back on: a 16-bit image before may have left it off.
    return FallBackToA0();
}

int DQP_plat_mod::ChooseTrueColourFrame(const Image &image) {
    if (!HasFrameA1() || !HasFrameB1()) {
        ReportError("color display not supported on this DQP, displaying frame A0");
        return FallBackToA0();
    }
    EnableDisplay(DQP_FRAME_TRUE_COLOR, true);
    OfferTrueColour(image);
    return DQP_FRAME_TRUE_COLOR;
}

// A true-colour image looks wrong through pseudo-colour tables. An RGB input
// board always wants true colour; for any other module the user decides.
void DQP_plat_mod::OfferTrueColour(const Image &image) {
    QV_mod *container = Module();
    QV_mod_param *mode = container ? container->GetModParam(kColourModeHandle) : nullptr;
    QV_usr_param *row = container ? container->GetUsrParam(kColourModeRow) : nullptr;
    if (mode == nullptr || row == nullptr || mode->GetRawValue().ToDouble() != kPseudoColourValue)
        return;
    if (image.pixelFormat != kRgbPixelFormat &&
        CurrentUi().Ask("DQP display is set for pseudo color, do you want it set to true color?",
                        MessageButtons::YesNo, MessageKind::Information,
                        "Warning") != MessageAnswer::Yes)
        return;
    row->SetIndex(kTrueColourIndex);
}

int DQP_plat_mod::ChooseSixteenBitFrame() {
    if (!HasFrameA1()) {
        ReportError("16-bit display not supported on this DQP, displaying frame A0");
        return FallBackToA0();
    }
    EnableDisplay(DQP_FRAME_A0, false);
    EnableDisplay(DQP_FRAME_A1, true);
    EnableDisplay(DQP_FRAME_B1, false);
    return DQP_FRAME_A0_A1;
}

void DQP_plat_mod::ShowDisplay() {
    if (!HardwareEnabled()) return;
    ShowFrame(ChooseDisplayFrame(), AcquiredImage());
}

void DQP_plat_mod::ShowFrame(int frame, const Image &image) {
    if (!HardwareEnabled()) return;
    int display = frame == DQP_FRAME_A0_A1 ? kSixteenBitDisplay : frame;
    if (image.pixelFormat == kYcrcbPixelFormat && image.depth == kYcrcbDepth)
        display = kYcrcbDisplay;
    if (auto show = Typed<&::dqp_display_area>(Fn::DisplayArea))
        show(Handle(), kMonitor, display, 0, 0, image.width, image.height, kDisplayMode);
}

void DQP_plat_mod::XBoard(int code, int frame) {
    auto request = Binding() ? Binding()->Entry<&::qrx_xboard>() : nullptr;
    if (request == nullptr) return;
    const QRX_XBOARD_REQUEST block{code, frame, {}};
    request(Handle(), &block);
}

void DQP_plat_mod::StopAcquisition() {
    auto status = Typed<&::dqp_acqbits>(Fn::AcquireBits);
    auto stop = [&](int frame) {
        if (status && status(Handle(), frame, DQP_ACQBITS_STATUS) == DQP_STATUS_ARMED)
            XBoard(QRX_XBOARD_SNAP, frame);
        XBoard(QRX_XBOARD_STOP, frame);
    };
    stop(DQP_FRAME_A0);
    if (HasFrameA1()) stop(DQP_FRAME_A1);
    if (HasFrameB1()) stop(DQP_FRAME_B1);
}

void DQP_plat_mod::ClearFrames() {
    StopAcquisition();
    if (auto clear = Typed<&::dqp_clr_frame>(Fn::ClearFrame)) {
        clear(Handle(), DQP_FRAME_A0);
        if (HasFrameA1()) clear(Handle(), DQP_FRAME_A1);
        if (HasFrameB1()) clear(Handle(), DQP_FRAME_B1);
        clear(Handle(), DQP_FRAME_OVERLAY);
    }
    ShowDisplay();
}

void DQP_plat_mod::ArmTrigger() {
    auto arm = Typed<&::dqp_acqbits>(Fn::AcquireBits);
    if (arm == nullptr || !HardwareEnabled()) return;
    arm(Handle(), ChooseDisplayFrame(), DQP_ACQBITS_ARM_TRIGGER);
}

void DQP_plat_mod::SetTriggerMode(int on) {
    ClearFrames();
    auto setParam = Binding() ? Binding()->Entry<&::qrx_set_param>() : nullptr;
    if (setParam == nullptr) return;
    for (int param : kTriggerModeParams) setParam(Handle(), param, on);
}

}  // namespace qvi
