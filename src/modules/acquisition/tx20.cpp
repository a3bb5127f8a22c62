// The TX-20 module: its converted ranges, rows, pages and time-base rows.
#include "modules/acquisition/tx20.h"

#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <string_view>

#include "keys/model_tables.h"
#include "modules/acquisition/pair_row.h"
#include "modules/label_table.h"
#include "params/mod.h"
#include "platform/ui.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kStartupPortHandle = 0;
constexpr int kNameHandle = 2;
constexpr int kInterlaceHandle = 9;
constexpr int kTriggerGeneratorHandle = 18;
constexpr int kTriggerSourceHandle = 19;
constexpr int kHorizontalActiveHandle = 24;
constexpr int kVerticalActiveHandle = 26;
constexpr int kClampingHandle = 29;
constexpr int kClampingSourceHandle = 30;
constexpr int kStrobeSourceHandle = 31;
constexpr int kStrobePolarityHandle = 32;
constexpr int kNegativeRefHandle = 33;
constexpr int kPositiveRefHandle = 34;

// The scan-mode key's values.
constexpr int kInterlaced = 1;
constexpr int kNonInterlaced = 0;

// Reads 1 on boards whose time-base crystals include the MC1000P's.
constexpr int kTimeBaseRegister = 3;
constexpr int kTriggerEnableRegister = 22;
constexpr int kTriggerSourceRegister = 23;  // 1 software, 0 external
constexpr int kSoftwareTriggerRegister = 40;

// The rows with behaviour of their own.
constexpr int kScanModeRow = 4;
constexpr int kAcqTriggerRow = 20;
constexpr int kVerticalActiveRow = 22;
constexpr int kStrobeOutputRow = 23;
constexpr int kClampModeRow = 24;

// The rows that set two parameters. The trigger generator, then the source.
constexpr PairRow kTriggerPair{
    .firstHandle = kTriggerGeneratorHandle,
    .secondHandle = kTriggerSourceHandle,
    .choices = kTriggerChoices,
    .badIndexText = "Invalid passed to TX20_trig_usr_param::SetIndex()",
};
// The strobe line, then its polarity.
constexpr PairRow kStrobePair{
    .firstHandle = kStrobeSourceHandle,
    .secondHandle = kStrobePolarityHandle,
    .choices = kBinaryChoices,
    .badIndexText = "Invalid passed to TX20_strobe_output_usr_param::SetIndex()",
    .badIndexSetsFirst = true,
};
// Disabled, auto clamp or programmed clamp; a bad index quietly disables.
constexpr ChoicePair kClampChoices[] = {{0, ChoicePair::kAny}, {1, 0}, {1, 1}};
constexpr PairRow kClampPair{
    .firstHandle = kClampingHandle,
    .secondHandle = kClampingSourceHandle,
    .choices = kClampChoices,
    .badIndexSetsFirst = true,
};

// ---- the converters that differ -----------------------------------------------------

// The horizontal active width is shown in pixels (units of four, less one),
// the vertical active count in lines (less one), and the references in
// millivolts: the hardware takes them in its own steps.
std::unique_ptr<QV_mod_param> MakeConvertedRange(const keys::KeyRow &row, int ports) {
    switch (row.handle) {
        case kHorizontalActiveHandle:
            return MakeRange(
                row, ports,
                {.toUi = MakeScaleOffset(4.0f, 4.0f), .fromUi = MakeScaleOffset(0.25f, -1.0f)});
        case kVerticalActiveHandle:
            return MakeRange(row, ports, {.toUi = MakeOffset(1.0f), .fromUi = MakeOffset(-1.0f)});
        case kNegativeRefHandle:
            return MakeRange(row, ports, {.toHardware = MakeScaleOffset(0.28672f, 0.0f)});
        case kPositiveRefHandle:
            return MakeRange(row, ports,
                             {.toHardware = MakeScaleOffset(0.215385f, 0.0f),
                              .spare = MakeScaleOffset(4.642857f, 0.0f)});
        default:
            return nullptr;
    }
}

// ---- the user label table ------------------------------------------------

using namespace labels;
using enum Kind;

// clang-format off
constexpr std::string_view kTimeBasesMc1000p[] = {
    "RS170 512x484 10.00MHz", "MC1000P 1000x504 20MHz", "RS170 640x484 12.28MHz",
    "RS170 756x484 14.32MHz", "CCIR  512x572 10.00MHz", "CCIR  768x572 15.00MHz",
    "CCIR  736x572 14.18MHz",
};
constexpr std::string_view kTimeBasesVga[] = {
    "RS170 512x484 10.00MHz", "VGA   640x480 (NI)",     "RS170 640x484 12.28MHz",
    "RS170 756x484 14.32MHz", "CCIR  512x572 10.00MHz", "CCIR  768x572 15.00MHz",
    "CCIR  736x572 14.18MHz",
};
constexpr std::string_view kClockSources[] = {"TX-20 (XTAL)", "Camera (PLL)"};
constexpr std::string_view kLowPassFilters[] = {"3.0 MHz", "4.3 MHz", "6.5 MHz", "12.0 MHz"};
constexpr std::string_view kInputGains[] = {"1.0 x", "1.5 x", "0.5 x", "0.75 x"};
constexpr std::string_view kScanModes[] = {"Interlaced", "Non-interlaced"};
constexpr std::string_view kTimingSources[] = {
    "Time Base", "External 0", "External 1", "Ext Differential",
};
constexpr std::string_view kEnablePolarity[] = {"Invert (act lo)", "NoInvert (act hi)"};
constexpr std::string_view kFieldPolarity[] = {"Invert (odd 1st)", "NoInvert (even 1st)"};
constexpr std::string_view kPixelClockPolarity[] = {
    "Invert(falling edge)", "NoInvert(rising edge)",
};
constexpr std::string_view kPixelClockRate[] = {
    "Time Base x1 (xpclk_en)", "Time Base x2(xpclk_dis)",
};
constexpr std::string_view kFieldSource[] = {"Sync Strip(fsync_en)", "Timing Src(fsync_dis)"};
constexpr std::string_view kVSyncSource[] = {
    "Sync Stripper(vsync_en)", "Timing Source(vsync_dis)",
};
constexpr std::string_view kFrameResetWidth[] = {"1 Line", "1 VBlank"};
constexpr std::string_view kTriggerModes[] = {
    "Slow Strobe", "Frame Reset", "Line Scan", "Fast Strobe",
};
constexpr std::string_view kAcqTriggers[] = {"Disabled", "Software trig", "External trig"};
constexpr std::string_view kStrobeOutputs[] = {
    "Strobe 1 Act Low", "Strobe 1 Act High", "Strobe 2 Act Low", "Strobe 2 Act High",
};
constexpr std::string_view kClampModes[] = {"Disabled", "Auto Clamp", "Prog Clamp"};
constexpr std::string_view kCameras[] = {"Camera 0", "Camera 1", "Camera 2", "Camera 3"};

// "Time Base" comes first, in one of two forms: the first on boards whose
// register 3 reads 1, the second on all others.
constexpr LabelRow kTimeBaseRows[] = {
    {0,  5,  "Time Base",                Choice,  kTimeBasesMc1000p,   kNoBounds,       kPlain},
    {0,  5,  "Time Base",                Choice,  kTimeBasesVga,       kNoBounds,       kPlain},
};

// In the order the rows are added after it: number, handle, label, kind,
// choice labels or bounds, flags (and a camera selector's port).
constexpr LabelRow kUsrRows[] = {
    {1,  6,  "Clock Source",             Choice,  kClockSources,       kNoBounds,       kPlain},
    {2,  7,  "Low Pass Filter",          Choice,  kLowPassFilters,     kNoBounds,       kPlain},
    {3,  8,  "Input Gain",               Choice,  kInputGains,         kNoBounds,       kPlain},
    {4,  9,  "Scan Mode",                Special, kScanModes,          kNoBounds,       kNotify},
    {5,  10, "Timing Source",            Choice,  kTimingSources,      kNoBounds,       kPlain},
    {6,  11, "LEN Polarity",             Choice,  kEnablePolarity,     kNoBounds,       kPlain},
    {7,  12, "Field Polarity",           Choice,  kFieldPolarity,      kNoBounds,       kPlain},
    {8,  13, "FEN Polarity",             Choice,  kEnablePolarity,     kNoBounds,       kPlain},
    {9,  14, "PCLK Polarity",            Choice,  kPixelClockPolarity, kNoBounds,       kPlain},
    {10, 15, "PCLK Output Rate(ECLKEN)", Choice,  kPixelClockRate,     kNoBounds,       kPlain},
    {11, 16, "Field Source",             Choice,  kFieldSource,        kNoBounds,       kPlain},
    {12, 17, "VSync Source",             Choice,  kVSyncSource,        kNoBounds,       kPlain},
    {13, 20, "FReset width (frmode)",    Choice,  kFrameResetWidth,    kNoBounds,       kPlain},
    {14, 21, "Trigger Mode",             Choice,  kTriggerModes,       kNoBounds,       kPlain},
    {15, 22, "Strobe Delay",             Range,   {},                  {0, 15, 1},      kPlain},
    {16, 23, "Horizontal Offset",        Range,   {},                  {0, 511, 1},     kPlain},
    {17, 25, "Vertical Offset",          Range,   {},                  {0, 1023, 1},    kPlain},
    {18, 27, "Frame Reset Offset",       Range,   {},                  {0, 511, 1},     kPlain},
    {19, 28, "Clamp Position",           Range,   {},                  {0, 63, 1},      kPlain},
    {20, 0,  "Acq Trigger",              Special, kAcqTriggers,        kNoBounds,       kPlain},
    {21, 24, "Horizontal Active",        Range,   {},                  {4, 4096, 4},    kNotify},
    {22, 26, "Vertical Active",          Special, {},                  {1, 1024, 1},    kNotify},
    {23, 0,  "Strobe Output",            Special, kStrobeOutputs,      kNoBounds,       kPlain},
    {24, 0,  "Clamp Mode",               Special, kClampModes,         kNoBounds,       kPlain},
    {25, 33, "Neg Ref (mV)",             Range,   {},                  {0, 1500, 6},    kPlain},
    {26, 34, "Pos Ref (mV)",             Range,   {},                  {0, 2000, 8},    kPlain},
    {27, 2,  "Camera 0",                 Camera,  {},                  kNoBounds,       kNotify, 0},
    {28, 2,  "Camera 1",                 Camera,  {},                  kNoBounds,       kNotify, 1},
    {29, 2,  "Camera 2",                 Camera,  {},                  kNoBounds,       kNotify, 2},
    {30, 2,  "Camera 3",                 Camera,  {},                  kNoBounds,       kNotify, 3},
    {31, 0,  "Active Camera",            Port,    kCameras,            kNoBounds,       kNotify},
};

// ---- the group table -----------------------------------------------------

constexpr IdRange kCameraPage[] = {{27, 31}};
constexpr IdRange kAllPage[] = {{27, 31}, {21, 22}, {4, 4}, {0, 3}, {5, 20}, {23, 26}};

constexpr GroupRow kGroups[] = {
    {"Camera", kCameraPage},
    {"All",    kAllPage},
};
// clang-format on

// clang-format off
constexpr SpecialRow kSpecialRows[] = {
    {kScanModeRow,       MakeChoiceRow<TX20_scan_mode_usr_param>},
    {kAcqTriggerRow,     MakePairRow<kTriggerPair>},
    {kVerticalActiveRow, MakeRangeRow<TX20_vertical_active_usr_param>},
    {kStrobeOutputRow,   MakePairRow<kStrobePair>},
    {kClampModeRow,      MakePairRow<kClampPair>},
};
// clang-format on

// The scan-mode key's value at the parameter's current port.
int ScanMode(const QV_mod_param &interlace) {
    return static_cast<int>(interlace.GetRawValue().ToDouble());
}

// Twice a shown line count, in its kind when it fits.
QV_param_val Doubled(const QV_param_val &lines) {
    QV_param_val doubled = QV_param_val::S32(static_cast<std::int32_t>(2 * lines.ToDouble()));
    doubled.ConvertTo(lines.GetKind());
    return doubled;
}

// Half an entered line count, rounded toward zero, in its kind.
QV_param_val Halved(const QV_param_val &lines) {
    const auto whole = static_cast<std::int32_t>(std::trunc(lines.ToDouble()));
    QV_param_val halved = QV_param_val::S32(whole / 2);
    halved.ConvertTo(lines.GetKind());
    return halved;
}

}  // namespace

// ---- the platform object -------------------------------------------------------

TX20_plat_mod::TX20_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_four_port_plat_mod("TX-20 plat_mod", keys::kTx20Table, binding, handle, "tx20") {
    UseTriggerGenerator({.sourceRegister = kTriggerSourceRegister,
                         .enableRegister = kTriggerEnableRegister,
                         .fireRegister = kSoftwareTriggerRegister});
}

void TX20_plat_mod::FillParams(QV_mod &container) {
    const std::int16_t startupPort = SpecS16(kStartupPortOffset);
    container.SetParamFromCNF(kStartupPortHandle, QV_param_val::S16(startupPort));
    for (int port = 0; port < kPorts; ++port) FillPortParams(container, port);
    container.SetPort(startupPort);
}

void TX20_plat_mod::FillPortParams(QV_mod &container, int port) {
    if (PortCamera(port) == nullptr) return;
    CopyPortCameraTo(container, port, kCopiedCameraBytes);
    FillPortFromTable(container, port);
}

int TX20_plat_mod::GetImageWidth() {
    QV_mod *container = Module();
    if (container == nullptr) return 0;
    return static_cast<int>(container->GetUIValue(kHorizontalActiveHandle).ToDouble());
}

int TX20_plat_mod::GetImageHeight() {
    QV_mod *container = Module();
    const QV_mod_param *interlace = container ? container->GetModParam(kInterlaceHandle) : nullptr;
    if (interlace == nullptr) return 0;
    const auto lines = static_cast<int>(container->GetUIValue(kVerticalActiveHandle).ToDouble());
    return ScanMode(*interlace) == kInterlaced ? lines : 2 * lines;
}

// ---- the container -------------------------------------------------------------

QV_tx20_mod::QV_tx20_mod(QV_plat_mod *platform)
    : QV_four_port_mod(platform, keys::kTx20Table, kNameHandle) {
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_tx20_mod::CreateModParams() {
    AddTableParams(MakeConvertedRange);
}

void QV_tx20_mod::CreateUsrParams() {
    // Without hardware the register reads 0: the second form.
    QV_plat_mod *platform = OwnerBoardOf(*this);
    const bool mc1000p = platform && platform->read_reg(kTimeBaseRegister).ToDouble() == 1;
    const LabelContext context{.cameraKey = "TX-20", .special = SpecialRowsFrom(kSpecialRows)};
    AddLabelRows(*this, std::span(kTimeBaseRows).subspan(mc1000p ? 0 : 1, 1), context);
    AddLabelRows(*this, kUsrRows, context);
}

void QV_tx20_mod::CreateParamGroups() {
    AddGroups(*this, kGroups);
}

// ---- the geometry rows ------------------------------------------------------------

TX20_vertical_active_usr_param::TX20_vertical_active_usr_param(std::string label, int id,
                                                               const ParamList &params, int handle,
                                                               QV_param_val min, QV_param_val max,
                                                               QV_param_val step)
    : QV_range_usr_param(std::move(label), id, params, handle, std::move(min), std::move(max),
                         std::move(step)),
      interlace_(FindParam(params, kInterlaceHandle)) {}

QV_param_val TX20_vertical_active_usr_param::GetValue() {
    const QV_param_val shown = QV_range_usr_param::GetValue();
    if (interlace_ == nullptr || ScanMode(*interlace_) == kInterlaced) return shown;
    return Doubled(shown);
}

int TX20_vertical_active_usr_param::SetValue(const QV_param_val &value) {
    if (interlace_ != nullptr && ScanMode(*interlace_) == kNonInterlaced)
        return QV_range_usr_param::SetValue(Halved(value));
    return QV_range_usr_param::SetValue(value);
}

int TX20_scan_mode_usr_param::SetIndex(int index) {
    QV_mod *module = GetModule();
    QV_usr_param *activeRow = module ? module->GetUsrParam(kVerticalActiveRow) : nullptr;
    if (activeRow == nullptr) return QV_choice_usr_param::SetIndex(index);
    const QV_param_val shown = activeRow->GetValue();
    if (QV_choice_usr_param::SetIndex(index) < 0) return -1;
    activeRow->SetValue(shown);
    return kRedrawRow;
}

}  // namespace qvi
