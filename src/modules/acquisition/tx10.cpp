// The TX-10 module: its parameters, rows, pages and scan-mode row.
#include "modules/acquisition/tx10.h"

#include <memory>
#include <span>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/label_table.h"

namespace qvi {

namespace {

constexpr int kStartupPortHandle = 0;
constexpr int kNameHandle = 2;
constexpr int kBoardRevisionHandle = 86;

// Registers of the active window, the scan mode and the trigger logic.
constexpr int kBoardTypeRegister = 2;
constexpr int kHOffsetRegister = 17;
constexpr int kHActiveRegister = 18;
constexpr int kVOffsetRegister = 19;
constexpr int kVActiveRegister = 20;
constexpr int kInterlaceRegister = 35;
constexpr int kTriggerEnableRegister = 52;
constexpr int kTriggerSourceRegister = 57;  // 1 software, 0 external
constexpr int kSoftwareTriggerRegister = 62;
constexpr int kSelectedRegisters[] = {43, 44};
constexpr int kAccessedRegisters[] = {45, 46};
// AccessSelectedRegister reads rather than writes from this value on.
constexpr int kReadRequest = 65535;

// The rows the scan-mode switch converts.
constexpr int kVerticalTotalRow = 10;
constexpr int kVerticalActiveRow = 19;
constexpr int kVerticalOffsetRow = 18;

// ---- the user label table ------------------------------------------------

using namespace labels;
using enum Kind;

// clang-format off
constexpr std::string_view kCameras[] = {"Camera 0", "Camera 1", "Camera 2", "Camera 3"};
constexpr std::string_view kVideoStandards[] = {"RS170", "CCIR"};
constexpr std::string_view kLowHigh[] = {"Low", "High"};
constexpr std::string_view kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kVSyncSource[] = {"Vertical Sync", "Frame Reset Pulse"};
constexpr std::string_view kActiveHighLow[] = {"Active High", "Active Low"};
constexpr std::string_view kActiveLowHigh[] = {"Active Low", "Active High"};
constexpr std::string_view kFrameResetSize[] = {"Frame Reset Delay", "One Line"};
constexpr std::string_view kSyncOutput[] = {"Horizontal Sync", "Composite Sync"};
constexpr std::string_view kSyncMode[] = {"PLL mode", "Crystal mode"};
constexpr std::string_view kNormalInverted[] = {"Normal", "Inverted"};
constexpr std::string_view kInputScale[] = {"Input Gain=1", "Input Gain=1.5"};
constexpr std::string_view kScanModes[] = {"Non-Interlaced video", "Interlaced video"};
constexpr std::string_view kTriggerSource[] = {"Software Trigger", "External Trigger"};
constexpr std::string_view kStrobeMode[] = {"Fast Strobe", "Slow Strobe"};
constexpr std::string_view kEnableDisable[] = {"Enable", "Disable"};
constexpr std::string_view kClampSource[] = {"Sync Stripper Pulse", "Programmable Pulse"};
constexpr std::string_view kEdges[] = {"Falling Edge", "Rising Edge"};
constexpr std::string_view kPositiveNegative[] = {"Positive Edge", "Negative Edge"};
constexpr std::string_view kNegativePositive[] = {"Negative Edge", "Positive Edge"};
constexpr std::string_view kVcoGain[] = {
    "10MHz/Volt", "15MHz/Volt", "20MHz/Volt", "25MHz/Volt",
    "45MHz/Volt", "60MHz/Volt", "75MHz/Volt", "90MHz/Volt",
};
constexpr std::string_view kLoopFilter[] = {"External(always)", "Internal(not used)"};
constexpr std::string_view kVcoSelect[] = {"External(not used)", "Internal(always)"};
constexpr std::string_view kFeedbackClock[] = {"VCO clock (XTAL)", "OUT1 clock (PLL)"};
constexpr std::string_view kFeedbackSelect[] = {"External(not used)", "Internal (always)"};
constexpr std::string_view kPostScalar[] = {
    "Divide by 8", "Divide by 4", "Divide by 2", "Divide by 1",
};
constexpr std::string_view kLeadLag[] = {"FBK lead REF", "FBK lag REF"};
constexpr std::string_view kFinePhase[] = {"Disabled(always)", "Enabled(not used)"};
constexpr std::string_view kOutputMux[] = {"Low(always)", "High(not used)"};
constexpr std::string_view kInputReference[] = {"Crystal Input(not used)", "External Ref"};

// In the order the rows are added: number, handle, label, kind, choice
// labels or bounds, flags (and a camera selector's port).
constexpr LabelRow kUsrRows[] = {
    {0,  2,  "Camera 0",             Camera,  {},                kNoBounds,     kNotify, 0},
    {1,  2,  "Camera 1",             Camera,  {},                kNoBounds,     kNotify, 1},
    {2,  2,  "Camera 2",             Camera,  {},                kNoBounds,     kNotify, 2},
    {3,  2,  "Camera 3",             Camera,  {},                kNoBounds,     kNotify, 3},
    {5,  0,  "Active Camera",        Port,    kCameras,          kNoBounds,     kNotify},
    {4,  5,  "Video Standard",       Choice,  kVideoStandards,   kNoBounds,     kPlain},
    {6,  6,  "Horizontal Total",     Range,   {},                {0, 1023, 1},  kNotify},
    {7,  7,  "Hor Sync End",         Range,   {},                {0, 255, 1},   kPlain},
    {8,  8,  "Hor Equal End",        Range,   {},                {0, 255, 1},   kPlain},
    {9,  9,  "Serration Pulse",      Range,   {},                {0, 1023, 1},  kPlain},
    {10, 10, "Vertical Total",       Range,   {},                {0, 2047, 1},  kPlain},
    {11, 11, "Ver Sync End",         Range,   {},                {0, 32, 1},    kPlain},
    {12, 12, "Hsync Polarity",       Choice,  kLowHigh,          kNoBounds,     kPlain},
    {13, 13, "Vsync Polarity",       Choice,  kLowHigh,          kNoBounds,     kPlain},
    {14, 14, "Ver Gate Start",       Range,   {},                {0, 2047, 1},  kPlain},
    {15, 15, "Ver Gate End",         Range,   {},                {0, 127, 1},   kPlain},
    {16, 16, "Horizontal Offset",    Range,   {},                {0, 1023, 1},  kNotify},
    {17, 17, "Horizontal Active",    Range,   {},                {0, 4095, 1},  kNotify},
    {18, 18, "Vertical Offset",      Range,   {},                {0, 1023, 1},  kNotify},
    {19, 19, "Vertical Active",      Range,   {},                {0, 2048, 1},  kNotify},
    {20, 20, "Strobe Delay",         Range,   {},                {0, 63, 1},    kPlain},
    {23, 21, "Frame Reset Delay",    Range,   {},                {0, 255, 1},   kPlain},
    {24, 23, "Frame Reset Mode",     Choice,  kDisabledEnabled,  kNoBounds,     kPlain},
    {25, 22, "Vsync Source",         Choice,  kVSyncSource,      kNoBounds,     kPlain},
    {26, 24, "Frame Reset Pol",      Choice,  kActiveHighLow,    kNoBounds,     kPlain},
    {27, 25, "Frame Reset Size",     Choice,  kFrameResetSize,   kNoBounds,     kPlain},
    {28, 26, "Sync Output Select",   Choice,  kSyncOutput,       kNoBounds,     kPlain},
    {29, 27, "Hsync Output",         Choice,  kEnabledDisabled,  kNoBounds,     kPlain},
    {30, 28, "Vsync Output",         Choice,  kEnabledDisabled,  kNoBounds,     kPlain},
    {31, 29, "Sync Mode",            Choice,  kSyncMode,         kNoBounds,     kPlain},
    {32, 30, "Low Pass Filter",      Choice,  kDisabledEnabled,  kNoBounds,     kPlain},
    {33, 81, "Vscan Mode",           Choice,  kDisabledEnabled,  kNoBounds,     kPlain},
    {21, 82, "Line Enable Pol",      Choice,  kLowHigh,          kNoBounds,     kPlain},
    {22, 83, "Frame Enable Pol",     Choice,  kLowHigh,          kNoBounds,     kPlain},
    {35, 84, "VScan Clk Pol",        Choice,  kNormalInverted,   kNoBounds,     kPlain},
    {34, 31, "Input Scale",          Choice,  kInputScale,       kNoBounds,     kPlain},
    {37, 32, "TX Scan Mode",         Special, kScanModes,        kNoBounds,     kNotify},
    {36, 33, "Field Shift Mode",     Choice,  kLowHigh,          kNoBounds,     kPlain},
    {38, 35, "Trigger Source",       Choice,  kTriggerSource,    kNoBounds,     kPlain},
    {39, 36, "Trigger Polarity",     Choice,  kActiveLowHigh,    kNoBounds,     kPlain},
    {40, 34, "Trigger Mode",         Choice,  kDisabledEnabled,  kNoBounds,     kPlain},
    {41, 37, "Strobe Mode",          Choice,  kStrobeMode,       kNoBounds,     kPlain},
    {42, 85, "Strobe Output",        Choice,  kEnableDisable,    kNoBounds,     kPlain},
    {43, 38, "Strobe Polarity",      Choice,  kActiveLowHigh,    kNoBounds,     kPlain},
    {44, 39, "Skip Field Mode",      Choice,  kEnabledDisabled,  kNoBounds,     kPlain},
    {45, 42, "Clamp Source",         Choice,  kClampSource,      kNoBounds,     kPlain},
    {46, 41, "Clamp Polarity",       Choice,  kEdges,            kNoBounds,     kPlain},
    {47, 40, "Clamp Delay Count",    Range,   {},                {0, 15, 1},    kPlain},
    {48, 80, "Positive Ref",         Range,   {},                {0, 255, 1},   kPlain},
    {49, 79, "Negative Ref",         Range,   {},                {0, 255, 1},   kPlain},
    {50, 51, "Feedback Divider",     Range,   {},                {63, 2047, 1}, kPlain},
    {51, 52, "Feedback Syn Lo",      Range,   {},                {0, 255, 1},   kPlain},
    {52, 53, "Feedback Syn Hi",      Range,   {},                {0, 255, 1},   kPlain},
    {53, 54, "Reference Divider",    Range,   {},                {0, 1023, 1},  kPlain},
    {54, 55, "Reference Polarity",   Choice,  kPositiveNegative, kNoBounds,     kPlain},
    {55, 56, "VCO Gain",             Choice,  kVcoGain,          kNoBounds,     kPlain},
    {56, 57, "Ph Freq Det Gain",     Range,   {},                {0, 7, 1},     kPlain},
    {57, 58, "Phase Freq Det",       Choice,  kDisabledEnabled,  kNoBounds,     kPlain},
    {58, 59, "Loop Filter",          Choice,  kLoopFilter,       kNoBounds,     kPlain},
    {59, 60, "VCO Select",           Choice,  kVcoSelect,        kNoBounds,     kPlain},
    {60, 61, "FBK Clock Select",     Choice,  kFeedbackClock,    kNoBounds,     kPlain},
    {61, 62, "Feedback Select",      Choice,  kFeedbackSelect,   kNoBounds,     kPlain},
    {62, 63, "Feedback Polarity",    Choice,  kNegativePositive, kNoBounds,     kPlain},
    {63, 64, "ADD bit",              Choice,  kLowHigh,          kNoBounds,     kPlain},
    {64, 65, "SWLW bit",             Choice,  kLowHigh,          kNoBounds,     kPlain},
    {65, 66, "Output Post Scalar",   Choice,  kPostScalar,       kNoBounds,     kPlain},
    {66, 67, "Feedback Post Scalar", Choice,  kPostScalar,       kNoBounds,     kPlain},
    {67, 68, "Lead/Lag Adjustment",  Choice,  kLeadLag,          kNoBounds,     kPlain},
    {68, 69, "Fine Ph Adj",          Choice,  kFinePhase,        kNoBounds,     kPlain},
    {69, 70, "Load Counter",         Range,   {},                {0, 7, 1},     kPlain},
    {70, 71, "Output Mux1",          Choice,  kOutputMux,        kNoBounds,     kPlain},
    {71, 78, "Input Reference",      Choice,  kInputReference,   kNoBounds,     kPlain},
    {72, 86, "Board Revision",       Range,   {},                {0, 255, 1},   kGreyed},
};

// ---- the group table -----------------------------------------------------

constexpr IdRange kCameraPage[] = {{0, 3}, {5, 5}};
constexpr IdRange kAdvancedPage[] = {
    {0, 3}, {5, 5}, {4, 4}, {6, 8}, {16, 17}, {12, 12}, {10, 11}, {13, 15}, {18, 19}, {9, 9},
    {20, 20}, {23, 33}, {21, 22}, {35, 35}, {34, 34}, {36, 40}, {42, 42}, {41, 41}, {43, 49},
    {72, 72},
};
constexpr IdRange kPllPage[] = {{50, 57}, {62, 62}, {65, 65}, {69, 69}};

constexpr GroupRow kGroups[] = {
    {"Camera",        kCameraPage},
    {"Advanced",      kAdvancedPage},
    {"PLL registers", kPllPage},
};

// ---- help topics -----------------------------------------------------------

constexpr HelpRow kHelpTopics[] = {
    {0, 84},  {1, 84},  {2, 84},  {3, 84},
    {6, 16},  {7, 17},  {8, 18},  {9, 19},  {10, 20}, {11, 21}, {12, 22}, {13, 23},
    {14, 24}, {15, 25}, {16, 26}, {17, 27}, {18, 28}, {19, 29}, {20, 30}, {21, 74},
    {22, 75}, {23, 31}, {24, 33}, {25, 32}, {26, 34}, {27, 35}, {28, 36}, {29, 37},
    {30, 38}, {31, 39}, {32, 40}, {33, 73}, {34, 41}, {35, 76}, {36, 44}, {37, 42},
    {38, 46}, {39, 47}, {40, 45}, {41, 49}, {42, 48}, {43, 50}, {44, 51}, {45, 54},
    {46, 53}, {47, 52}, {48, 15}, {49, 14}, {50, 61}, {51, 62}, {52, 63}, {53, 64},
    {54, 65}, {55, 66}, {56, 67}, {57, 68},
    {58, 60}, {59, 60}, {60, 60}, {61, 60}, {63, 60}, {64, 60}, {66, 60}, {67, 60},
    {68, 60}, {70, 60}, {71, 60},
    {62, 69}, {65, 70}, {69, 71},
};
// clang-format on

std::unique_ptr<QV_usr_param> MakeScanModeRow(const LabelRow &row, const ParamList &params) {
    return std::make_unique<QV_tx10_scan_mode_usr_param>(std::string(row.label), row.id, params,
                                                         row.handle, ToStrings(row.choices));
}

}  // namespace

// ---- the platform object -------------------------------------------------------

TX10_plat_mod::TX10_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_four_port_plat_mod("TX-10 plat_mod", keys::kTx10Table, binding, handle, "tx10") {
    // Its enable register does not tell when the triggered frame is taken.
    UseTriggerGenerator({.sourceRegister = kTriggerSourceRegister,
                         .enableRegister = kTriggerEnableRegister,
                         .fireRegister = kSoftwareTriggerRegister,
                         .fireValue = 1,
                         .reportsDone = false});
}

void TX10_plat_mod::FillParams(QV_mod &container) {
    const std::int16_t startupPort = SpecS16(kStartupPortOffset);
    container.SetParamFromCNF(kStartupPortHandle, QV_param_val::S16(startupPort));
    container.SetPort(startupPort);
    for (int port = 0; port < kPorts; ++port) FillPortParams(container, port);
}

void TX10_plat_mod::FillPortParams(QV_mod &container, int port) {
    if (PortCamera(port) == nullptr) return;
    CopyPortCameraTo(container, port, kCameraSize);
    FillPortFromTable(container, port);
    if (HardwareEnabled())
        container.SetParamFromCNF(port, kBoardRevisionHandle,
                                  QV_param_val::S16(GetHardwareRevision()));
}

std::int16_t TX10_plat_mod::Register(int reg) {
    return read_reg(reg).GetShort();
}

int TX10_plat_mod::GetImageWidth() {
    const auto width =
        static_cast<std::int16_t>(Register(kHActiveRegister) - Register(kHOffsetRegister) + 5);
    return width & ~3;
}

int TX10_plat_mod::GetImageHeight() {
    const int height = Register(kVActiveRegister) - Register(kVOffsetRegister);
    return Register(kInterlaceRegister) == 1 ? 2 * height : height;
}

std::int16_t TX10_plat_mod::GetBoardType() {
    return Register(kBoardTypeRegister);
}

std::int16_t TX10_plat_mod::GetHardwareRevision() {
    auto revision = Binding() ? Binding()->Entry<&::qrx_get_hw_revision>() : nullptr;
    return HardwareEnabled() && revision ? revision(Handle()) : std::int16_t{0};
}

std::int16_t TX10_plat_mod::ReadSelectedRegister(int selector) {
    return Register(kSelectedRegisters[selector == 0 ? 0 : 1]);
}

std::int16_t TX10_plat_mod::AccessSelectedRegister(int selector, int value) {
    const int reg = kAccessedRegisters[selector == 0 ? 0 : 1];
    if (value >= kReadRequest) return Register(reg);
    WriteRegister(reg, value);
    return 1;
}

// ---- the container -------------------------------------------------------------

QV_tx10_mod::QV_tx10_mod(QV_plat_mod *platform)
    : QV_four_port_mod(platform, keys::kTx10Table, kNameHandle) {
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_tx10_mod::CreateModParams() {
    AddTableParams();
}

void QV_tx10_mod::CreateUsrParams() {
    AddLabelRows(*this, kUsrRows, {.cameraKey = "TX-10", .special = MakeScanModeRow});
}

void QV_tx10_mod::CreateParamGroups() {
    AddGroups(*this, kGroups);
}

int QV_tx10_mod::GetHelpTopic(int usrParamId) {
    return HelpTopicOf(kHelpTopics, usrParamId);
}

// ---- the scan-mode row -----------------------------------------------------------

int QV_tx10_scan_mode_usr_param::SetIndex(int index) {
    QV_mod *module = GetModule();
    QV_usr_param *totalRow = module ? module->GetUsrParam(kVerticalTotalRow) : nullptr;
    QV_usr_param *activeRow = module ? module->GetUsrParam(kVerticalActiveRow) : nullptr;
    QV_usr_param *offsetRow = module ? module->GetUsrParam(kVerticalOffsetRow) : nullptr;
    if (totalRow == nullptr || activeRow == nullptr || offsetRow == nullptr)
        return QV_choice_usr_param::SetIndex(index);

    auto total = totalRow->GetValue().GetShort();
    auto active = activeRow->GetValue().GetShort();
    auto offset = offsetRow->GetValue().GetShort();
    const int previous = GetIndex();
    if (QV_choice_usr_param::SetIndex(index) < 0) return -1;
    if (index == previous) return kRedrawRow;

    // A frame has twice the lines of a field, plus the half line between them.
    if (index == 0) {
        total = static_cast<std::int16_t>(total * 2 + 1);
        active = static_cast<std::int16_t>(active * 2);
        offset = static_cast<std::int16_t>(offset * 2);
    } else {
        total = static_cast<std::int16_t>((total - 1) / 2);
        active = static_cast<std::int16_t>(active / 2);
        offset = static_cast<std::int16_t>(offset / 2);
    }
    totalRow->SetValue(QV_param_val::S16(total));
    activeRow->SetValue(QV_param_val::S16(active));
    offsetRow->SetValue(QV_param_val::S16(offset));
    return kRedrawRows;
}

}  // namespace qvi
