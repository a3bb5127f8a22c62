// The TX-50 module: timing-generator programming, custom options, rows and pages.
#include "modules/acquisition/tx50.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/acquisition/pair_row.h"
#include "modules/label_table.h"
#include "params/mod.h"
#include "platform/ui.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kStartupPortHandle = 0;
constexpr int kNameHandle = 2;
constexpr int kClockSourceHandle = 5;
constexpr int kTmgGenIlaceHandle = 7;
constexpr int kPixelFrequencyHandle = 9;
constexpr int kLineTimeHandle = 14;
constexpr int kHsyncLowHandle = 15;
constexpr int kFrameTimeHandle = 16;
constexpr int kVsyncLowHandle = 17;
constexpr int kVertIntervalHandle = 18;
constexpr int kCameraInterlaceHandle = 20;
constexpr int kHorizontalActiveHandle = 23;
constexpr int kVerticalActiveHandle = 25;
constexpr int kStripperSourceHandle = 31;
constexpr int kPllAccuracyHandle = 34;
constexpr int kTriggerSourceHandle = 40;
constexpr int kStrobePolarityHandle = 43;
constexpr int kStrobeSelectHandle = 44;
constexpr int kTriggerEnableHandle = 45;
constexpr int kCustOptionHandle = 57;

// Camera_interlace's values.
constexpr int kInterlaced = 1;
constexpr int kNonInterlaced = 0;

constexpr int kTriggerSourceRegister = 31;  // 1 software, 0 external
constexpr int kTriggerEnableRegister = 37;
constexpr int kSoftwareTriggerRegister = 42;

constexpr std::uint16_t kCustOptionOffset = 0x116;

// The custom PLL options: where each sits in the camera structure, and the
// setting a port without custom options runs with.
struct CustomOption {
    int handle;
    std::uint16_t offset;
    std::int16_t withoutOptions;
};
constexpr CustomOption kCustomOptions[] = {
    {22, 0x12a, 0},    // PLL_Reference
    {53, 0x124, 252},  // Stripper
    {54, 0x126, 6},    // Vgate_start
    {55, 0x128, 18},   // Vgate_dur
    {58, 0x118, 10},   // Cust_N1
    {59, 0x11a, 6},    // Cust_VCO_Gain
    {60, 0x11c, 2},    // Cust_Ph_det_gain
    {61, 0x11e, 2},    // Cust_Post_Scaler
    {62, 0x120, 0},    // Cust_PDRSTEN
    {63, 0x122, 1},    // Cust_P2
};

bool IsCustomOption(int handle) {
    for (const CustomOption &option : kCustomOptions)
        if (option.handle == handle) return true;
    return false;
}

// What the timing entry finds in the camera structure besides the times: the
// custom options as the dialog shows them (a choice's position, a range's
// number) or as they are stored. Only Cust_P2's position differs from its
// value.
enum class Form { Shown, Stored };
struct StructureWord {
    std::uint16_t offset;
    int handle;
    Form form;
};
constexpr StructureWord kTimingWords[] = {
    {kCustOptionOffset, kCustOptionHandle, Form::Shown},
    {0x118, 58, Form::Stored},
    {0x11a, 59, Form::Stored},
    {0x11c, 60, Form::Shown},
    {0x11e, 61, Form::Stored},
    {0x120, 62, Form::Shown},
    {0x122, 63, Form::Shown},
    {0x12a, 22, Form::Shown},
    {0x124, 53, Form::Stored},
    {0x126, 54, Form::Shown},
    {0x128, 55, Form::Shown},
};

// The ten rows of the dialog that edit the custom options.
constexpr int kCustomOptionRows[] = {14, 44, 45, 43, 48, 49, 50, 51, 52, 53};

// The library keeps the stripper source as its input's code, the value the
// key table gives each word; the parameter holds the word's position.
std::optional<std::int16_t> StripperPosition(std::int32_t code) {
    const keys::KeyRow &row = *keys::FindHandle(keys::kTx50Table, kStripperSourceHandle);
    const std::optional<std::size_t> position = WordPosition(row, code);
    if (!position) return std::nullopt;
    return static_cast<std::int16_t>(*position);
}

// The rows with behaviour of their own.
constexpr int kCameraModeRow = 12;
constexpr int kVerticalActiveRow = 36;
constexpr int kStrobeOutputRow = 39;
constexpr int kAcqTriggerRow = 40;
constexpr int kInputGainRow = 41;
constexpr int kOffsetLevelRow = 42;
constexpr int kInputMuxRow = 46;
constexpr int kCustomOptionsRow = 47;

// The rows that set two parameters, read as the values they store. The strobe
// select, then its polarity.
constexpr PairRow kStrobePair{
    .firstHandle = kStrobeSelectHandle,
    .secondHandle = kStrobePolarityHandle,
    .choices = kBinaryChoices,
    .readsStored = true,
    .badIndexText = "Invalid passed to TX50_strobe_output_usr_param::SetIndex()",
    .badIndexSetsFirst = true,
};
// The trigger enable (1 disables), then the source. A bad index is reported
// under the TX-20 row's name.
constexpr PairRow kTriggerPair{
    .firstHandle = kTriggerEnableHandle,
    .secondHandle = kTriggerSourceHandle,
    .choices = kTriggerChoices,
    .readsStored = true,
    .badIndexText = "Invalid passed to TX20_trig_usr_param::SetIndex()",
};

TX50_plat_mod *Tx50Board(const QV_mod_param &param) {
    return dynamic_cast<TX50_plat_mod *>(OwnerBoardOf(param));
}

// ---- the parameters built with their own converters or classes ----------------------

std::unique_ptr<QV_mod_param> MakeOwnParam(const keys::KeyRow &row, int ports) {
    switch (row.handle) {
        // Enabled/disabled and crystal/PLL reach the hardware the other way round.
        case kClockSourceHandle:
        case 41:  // Frame_Reset_Mode
        case kTriggerEnableHandle:
        case 47:  // Tmg_gen_reset
            return MakeChoice(row, ports, {.inverted = true});
        case kStripperSourceHandle:
            return MakeChoice(row, ports, {.byPosition = true});
        case kCustOptionHandle:
            return MakeChoice<TX50_custom_option_param>(row, ports);
        case 58:
        case 59:
        case 60:
        case 61:
        case 62:
        case 63:
            return MakeChoice<TX50_custom_pll_param>(row, ports,
                                                     {.defaultValue = QV_param_val::S16(0)});
        case 37:  // Clamp_delay: the hardware counts quarter steps from -1.75
            return MakeRange(row, ports,
                             {.toHardware = MakeScaleOffset(0.25f, -1.75f),
                              .spare = MakeScaleOffset(4.0f, 7.0f)});
        case kHorizontalActiveHandle:
        case kVerticalActiveHandle:
        case 49:  // Tmg_gen_halt_ovride
            return MakeRange(row, ports,
                             {.toHardware = MakeOffset(-1.0f), .spare = MakeOffset(1.0f)});
        case 51:  // Video_input_Gain
            return MakeRange<TX50_hundredths_param>(
                row, ports, {.toHardware = MakeScaleOffset(0.31875f, 0.5f)});
        case 52:  // Video_input_level
            return MakeRange<TX50_hundredths_param>(row, ports,
                                                    {.toHardware = MakeScaleOffset(0.85f, 0.5f)});
        case 53:  // Stripper: shown as the line rate in kHz
            return MakeRange(
                row, ports,
                {.toUi = MakeScaleOffset(-0.2f, 66.5f), .fromUi = MakeScaleOffset(-5.0f, 330.0f)});
        case kPixelFrequencyHandle:
        case kLineTimeHandle:
        case kHsyncLowHandle:
        case kFrameTimeHandle:
        case kVsyncLowHandle:
        case kVertIntervalHandle:
        case kPllAccuracyHandle:
            return MakeRange<TX50_timing_param>(row, ports);
        default:
            return nullptr;
    }
}

// ---- the user label table ------------------------------------------------

using namespace labels;
using enum Kind;

// clang-format off
constexpr std::string_view kCameras[] = {"Camera 0", "Camera 1", "Camera 2", "Camera 3"};
constexpr std::string_view kClockSources[] = {"TX-50 (XTAL)", "Camera (PLL)"};
constexpr std::string_view kTgenModes[] = {"Interlaced", "Non-interlaced"};
constexpr std::string_view kEdges[] = {"Falling edge", "Rising edge"};
constexpr std::string_view kFieldPolarity[] = {"Field Low", "Field High"};
constexpr std::string_view kScanModes[] = {"Area Scan", "Line Scan"};
constexpr std::string_view kCameraModes[] = {"Interlaced", "NonInterlaced"};
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kPllReference[] = {"HSync", "CSync (LRate>33KHz)"};
constexpr std::string_view kEnableDisable[] = {"Enable", "Disable"};
constexpr std::string_view kStripperSourceLabels[] = {
    "Camera mux", "Camera 0A", "Camera 1A", "Camera 0 hsync", "Camera 1 hsync",
};
constexpr std::string_view kWindowVertSource[] = {
    "Standard tmg gen", "Sync strip Vsync", "Cam0 VSync", "Cam1 Vsync",
};
constexpr std::string_view kInterruptSource[] = {"Strobe", "Vert blank"};
constexpr std::string_view kWindowFieldSource[] = {"Standard tmg gen", "Sync stripper"};
constexpr std::string_view kTimingModes[] = {"Standard timing", "Variable Scan"};
constexpr std::string_view kClampSource[] = {"Auto Clamp", "Prog Clamp"};
constexpr std::string_view kClampStart[] = {"LEN Falling", "LEN Rising"};
constexpr std::string_view kLowPassFilters[] = {"7.5 MHz", "12.0 MHz", "20.0 MHz", "None"};
constexpr std::string_view kStrobeModes[] = {"Early", "Late"};
constexpr std::string_view kTimingGenerator[] = {"Enabled", "Halted"};
constexpr std::string_view kStrobeOutputs[] = {
    "Strobe 1 Active Low", "Strobe 1 Active High", "Strobe 2 Active Low", "Strobe 2 Active High",
};
constexpr std::string_view kAcqTriggers[] = {"Disabled", "S/W trig enabled", "Ext trig enabled"};
constexpr std::string_view kCustomOptionStates[] = {"Disabled", "Enabled"};
constexpr std::string_view kN1Ratios[] = {"3", "4", "5", "6", "8", "10"};
constexpr std::string_view kVcoGains[] = {
    "4 = 30 MHz/Volt", "5 = 45 MHz/Volt", "6 = 60 MHz/Volt", "7 = 80 MHz/Volt",
};
constexpr std::string_view kPhaseDetectorGains[] = {
    "0 = .05 uA/radian", "1 = .15 uA/radian", "2 = .5 uA/radian", "3 = 1.5 uA/radian",
};
constexpr std::string_view kPostScalers[] = {
    "Divide VCO by 1", "Divide VCO by 2", "Divide VCO by 4",
};
constexpr std::string_view kPdrsten[] = {"0 = normal", "1 = unsteady PLL ref"};
constexpr std::string_view kP2[] = {"1 = normal"};

// A minimum above the maximum: the value entry shows no limits and takes any number.
constexpr Bounds kAnyTime{1.0, 0.0, 1.0};

// In the order the rows are added: number, handle, label, kind, choice
// labels or bounds, flags (and a camera selector's port).
constexpr LabelRow kUsrRows[] = {
    {0,  2,  "Camera 0",                      Camera,  {},                    kNoBounds,           kNotify, 0},
    {1,  2,  "Camera 1",                      Camera,  {},                    kNoBounds,           kNotify, 1},
    {2,  2,  "Camera 2",                      Camera,  {},                    kNoBounds,           kNotify, 2},
    {3,  2,  "Camera 3",                      Camera,  {},                    kNoBounds,           kNotify, 3},
    {4,  0,  "Active Camera",                 Port,    kCameras,              kNoBounds,           kNotify},
    {5,  5,  "Clock Source",                  Choice,  kClockSources,         kNoBounds,           kPlain},
    {6,  7,  "TGen Mode",                     Choice,  kTgenModes,            kNoBounds,           kPlain},
    {7,  13, "Pixel Clock Pol",               Choice,  kEdges,                kNoBounds,           kPlain},
    {8,  10, "Line Enable Pol",               Choice,  kEdges,                kNoBounds,           kPlain},
    {9,  11, "Field Pol",                     Choice,  kFieldPolarity,        kNoBounds,           kPlain},
    {10, 12, "Frame Enable Pol",              Choice,  kEdges,                kNoBounds,           kPlain},
    {11, 19, "Scan Mode",                     Choice,  kScanModes,            kNoBounds,           kPlain},
    {12, 20, "Camera mode",                   Special, kCameraModes,          kNoBounds,           kNotify},
    {13, 21, "Oversample",                    Choice,  kEnabledDisabled,      kNoBounds,           kPlain},
    {14, 22, "PLL Hor Reference",             Choice,  kPllReference,         kNoBounds,           kPlain},
    {15, 26, "HSync 0 & 1 Output",            Choice,  kEnableDisable,        kNoBounds,           kPlain},
    {16, 27, "HSync 2 & 3 Output",            Choice,  kEnableDisable,        kNoBounds,           kPlain},
    {17, 28, "VSync 0 & 1 Output",            Choice,  kEnableDisable,        kNoBounds,           kPlain},
    {18, 29, "VSync 2 & 3 Output",            Choice,  kEnableDisable,        kNoBounds,           kPlain},
    {19, 31, "Sync stripper src",             Choice,  kStripperSourceLabels, kNoBounds,           kPlain},
    {20, 32, "Window Gen Vert Src",           Choice,  kWindowVertSource,     kNoBounds,           kPlain},
    {21, 33, "Interrupt Source",              Choice,  kInterruptSource,      kNoBounds,           kPlain},
    {22, 35, "Window gen field src",          Choice,  kWindowFieldSource,    kNoBounds,           kPlain},
    {23, 36, "Timing Mode",                   Choice,  kTimingModes,          kNoBounds,           kPlain},
    {24, 37, "Clamp Delay",                   Range,   {},                    {0, 63, 1},          kPlain},
    {25, 38, "Clamp source",                  Choice,  kClampSource,          kNoBounds,           kPlain},
    {26, 39, "Clamp start",                   Choice,  kClampStart,           kNoBounds,           kPlain},
    {27, 6,  "Low Pass Filter",               Choice,  kLowPassFilters,       kNoBounds,           kPlain},
    {28, 41, "Frame Reset Mode",              Choice,  kEnabledDisabled,      kNoBounds,           kPlain},
    {29, 42, "Strobe Mode",                   Choice,  kStrobeModes,          kNoBounds,           kPlain},
    {30, 56, "Frame Reset Delay",             Range,   {},                    {0, 3, 1},           kPlain},
    {31, 46, "LUT Page Select",               Range,   {},                    {0, 255, 1},         kPlain},
    {32, 47, "Timing Gen Reset",              Choice,  kEnabledDisabled,      kNoBounds,           kPlain},
    {33, 48, "Timing Generator",              Choice,  kTimingGenerator,      kNoBounds,           kPlain},
    {34, 49, "TGen Halt Overide",             Range,   {},                    {0, 3, 1},           kPlain},
    {35, 24, "Vertical Offset",               Range,   {},                    {0, 511, 1},         kPlain},
    {36, 25, "Vertical Active",               Special, {},                    {1, 4096, 1},        kNotify},
    {37, 50, "Horizontal Offset",             Range,   {},                    {0, 4095, 1},        kPlain},
    {38, 23, "Horizontal Active",             Range,   {},                    {4, 4096, 4},        kNotify},
    {39, 43, "Strobe Output",                 Special, kStrobeOutputs,        kNoBounds,           kPlain},
    {40, 45, "Acq Trigger Enable",            Special, kAcqTriggers,          kNoBounds,           kPlain},
    {41, 51, "Input Gain",                    Special, {},                    {0.0, 8.0, 0.32},    kPlain},
    {42, 52, "Offset Level",                  Special, {},                    {0.0, 3.0, 0.012},   kPlain},
    {43, 53, "sync stripper line rate (KHz)", Range,   {},                    {15, 66, 1},         kPlain},
    {44, 54, "Vert gate start",               Range,   {},                    {1, 7, 1},           kPlain},
    {45, 55, "Vert gate duration",            Range,   {},                    {1, 32, 1},          kPlain},
    {46, 30, "Input mux",                     Special, {},                    kNoBounds,           kPlain},
    {47, 57, "Custom PLL options",            Special, kCustomOptionStates,   kNoBounds,           kPlain},
    {48, 58, "Cust N1 Ratio",                 Choice,  kN1Ratios,             kNoBounds,           kPlain},
    {49, 59, "Cust VCO Gain",                 Choice,  kVcoGains,             kNoBounds,           kPlain},
    {50, 60, "Cust Phase det gain",           Choice,  kPhaseDetectorGains,   kNoBounds,           kPlain},
    {51, 61, "Cust Post Scaler",              Choice,  kPostScalers,          kNoBounds,           kPlain},
    {52, 62, "Cust PDRSTEN",                  Choice,  kPdrsten,              kNoBounds,           kPlain},
    {53, 63, "Cust P2",                       Choice,  kP2,                   kNoBounds,           kPlain},
    {54, 34, "PLL Accuracy - %",              Range,   {},                    {0.01, 0.5, 0.01},   kPlain},
    {55, 9,  "Pixel freq - MHz",              Range,   {},                    kAnyTime,            kPlain},
    {56, 14, "Line time - usec",              Range,   {},                    kAnyTime,            kPlain},
    {57, 15, "Hsync lo time - usec",          Range,   {},                    kAnyTime,            kPlain},
    {58, 16, "Frame time - usec",             Range,   {},                    kAnyTime,            kPlain},
    {59, 17, "Vsync lo time - usec",          Range,   {},                    kAnyTime,            kPlain},
    {60, 18, "Vsync interval - usec",         Range,   {},                    kAnyTime,            kPlain},
};

// ---- the group table -----------------------------------------------------

constexpr IdRange kCameraPage[] = {{0, 4}};
constexpr IdRange kAllPage[] = {
    {0, 4},   {38, 38}, {36, 36}, {37, 37}, {35, 35}, {11, 13}, {46, 46}, {41, 42},
    {5, 5},   {7, 10},  {15, 20}, {22, 22}, {21, 21}, {23, 31}, {39, 40}, {54, 60},
    {32, 34}, {6, 6},   {47, 47}, {14, 14}, {43, 45}, {48, 53},
};

constexpr GroupRow kGroups[] = {
    {"Camera", kCameraPage},
    {"All",    kAllPage},
};
// clang-format on

// clang-format off
constexpr SpecialRow kSpecialRows[] = {
    {kCameraModeRow,     MakeChoiceRow<TX50_camera_mode_usr_param>},
    {kVerticalActiveRow, MakeRangeRow<TX50_vertical_active_usr_param>},
    {kStrobeOutputRow,   MakePairRow<kStrobePair>},
    {kAcqTriggerRow,     MakePairRow<kTriggerPair>},
    {kInputGainRow,      MakeRangeRow<TX50_hundredths_usr_param, FloatBound>},
    {kOffsetLevelRow,    MakeRangeRow<TX50_hundredths_usr_param, FloatBound>},
    {kInputMuxRow,       MakePlainRow<TX50_input_mux_usr_param>},
    {kCustomOptionsRow,  MakeChoiceRow<TX50_custom_options_usr_param>},
};
// clang-format on

// A stored whole number, 0 for a parameter that is not there.
int Stored(const QV_mod_param *param) {
    return param ? static_cast<int>(param->GetRawValue().ToDouble()) : 0;
}

}  // namespace

// ---- the platform object -------------------------------------------------------

tx50::TimingEntryLookup::TimingEntryLookup(LibraryBinding *binding) {
    if (binding != nullptr) timingEntry = binding->LookupAs<TimingEntry>("tx50_prog_user_tgen");
}

TX50_plat_mod::TX50_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : tx50::TimingEntryLookup(binding),
      QV_four_port_plat_mod("TX-50 plat_mod", keys::kTx50Table, binding, handle, "tx50") {
    UseTriggerGenerator({.sourceRegister = kTriggerSourceRegister,
                         .enableRegister = kTriggerEnableRegister,
                         .fireRegister = kSoftwareTriggerRegister});
    if (binding == nullptr) return;
    cameraPllDumpEntry_ = binding->LookupAs<DumpEntry>("tx50_camera_dpll");
    pllDumpEntry_ = binding->LookupAs<DumpEntry>("tx50_dpll");
}

void TX50_plat_mod::FillParams(QV_mod &container) {
    {
        HardwareWritesSuppressed quiet;
        const std::int16_t activePort = SpecS16(kActivePortOffset);
        container.SetParamFromCNF(kStartupPortHandle, QV_param_val::S16(activePort));
        for (int port = 0; port < kPorts; ++port) FillPortParams(container, port);
        container.SetPort(activePort);
    }
    container.ApplyAll();
}

void TX50_plat_mod::FillPortParams(QV_mod &container, int port) {
    const std::uint8_t *camera = PortCamera(port);
    if (camera == nullptr) return;
    CopyPortCameraTo(container, port, kCameraSize);
    for (const keys::KeyRow &row : Table().keys) {
        if (!row.perPort || row.handle == kStripperSourceHandle ||
            row.handle == kCustOptionHandle || IsCustomOption(row.handle))
            continue;
        container.SetParamFromCNF(port, row.handle, ReadKeyValue(*this, Table(), row, port));
    }

    const auto custOption = RecordS16(camera, kCustOptionOffset);
    container.SetParamFromCNF(port, kCustOptionHandle, QV_param_val::S16(custOption));
    FillCustomOptions(container, port, custOption != 0);

    // A code without a word leaves the setting as it is.
    const auto code = static_cast<std::int16_t>(
        RecordU16(camera, keys::FindHandle(Table(), kStripperSourceHandle)->location.offset));
    if (const auto position = StripperPosition(code))
        container.SetParamFromCNF(port, kStripperSourceHandle, QV_param_val::S16(*position));
}

void TX50_plat_mod::FillCustomOptions(QV_mod &container, int port, bool fromStructure) const {
    const std::uint8_t *camera = PortCamera(port);
    for (const CustomOption &option : kCustomOptions) {
        const std::int16_t value =
            fromStructure ? RecordS16(camera, option.offset) : option.withoutOptions;
        container.SetParamFromCNF(port, option.handle, QV_param_val::S16(value));
    }
}

void TX50_plat_mod::DumpRegisters() {
    QV_acq_plat_mod::DumpRegisters();
    if (HardwareEnabled() && pllDumpEntry_ != nullptr) pllDumpEntry_(Handle());
}

std::int16_t TX50_plat_mod::ProgramTimingGenerator() {
    if (!HardwareEnabled()) return 0;
    QV_mod *container = Module();
    if (container == nullptr) return -1;
    const auto time = [&](int handle) {
        return static_cast<float>(container->GetUIValue(handle).ToDouble());
    };
    const auto stored = [&](int handle) { return Stored(container->GetModParam(handle)); };
    const float pixelMHz = time(kPixelFrequencyHandle);
    const float lineUs = time(kLineTimeHandle);
    const float hsyncLowUs = time(kHsyncLowHandle);
    const float frameUs = time(kFrameTimeHandle);
    const float vsyncLowUs = time(kVsyncLowHandle);
    const float vertIntervalUs = time(kVertIntervalHandle);
    const float accuracy = time(kPllAccuracyHandle);
    const int interlace = stored(kTmgGenIlaceHandle);
    const int clockSource = stored(kClockSourceHandle);
    const std::int16_t port = container->GetUIValue(kStartupPortHandle).GetShort();

    std::uint8_t *spec = MutableSpec();
    std::uint8_t *camera = PortCamera(port);
    if (spec == nullptr || camera == nullptr) return -1;
    for (const StructureWord &word : kTimingWords) {
        const int value = word.form == Form::Shown
                              ? static_cast<int>(container->GetUIValue(word.handle).GetLong())
                              : stored(word.handle);
        WriteRecordS16(camera, word.offset, static_cast<std::int16_t>(value));
    }
    WriteRecordS16(spec, kActivePortOffset, port);

    if (timingEntry == nullptr) return -1;
    const std::uint32_t reference =
        RecordU32(spec, static_cast<std::size_t>(Table().layout.cameraRefOffset +
                                                 port * Table().layout.cameraRefStride));
    return timingEntry(Handle(), reference, pixelMHz, lineUs, hsyncLowUs, frameUs, vsyncLowUs,
                       vertIntervalUs, interlace, clockSource, accuracy);
}

double TX50_plat_mod::NominalFrameRate() {
    QV_mod *container = Module();
    const double frameUs = container ? container->GetUIValue(kFrameTimeHandle).ToDouble() : 0.0;
    return frameUs > 0.0 ? 1e6 / frameUs : 0.0;
}

int TX50_plat_mod::GetImageWidth() {
    QV_mod *container = Module();
    if (container == nullptr) return 0;
    return static_cast<int>(container->GetUIValue(kHorizontalActiveHandle).ToDouble());
}

int TX50_plat_mod::GetImageHeight() {
    QV_mod *container = Module();
    const QV_mod_param *interlace =
        container ? container->GetModParam(kCameraInterlaceHandle) : nullptr;
    if (interlace == nullptr) return 0;
    const auto lines = static_cast<int>(container->GetUIValue(kVerticalActiveHandle).ToDouble());
    return Stored(interlace) != kNonInterlaced ? lines : 2 * lines;
}

// ---- the container -------------------------------------------------------------

QV_tx50_mod::QV_tx50_mod(QV_plat_mod *platform)
    : QV_four_port_mod(platform, keys::kTx50Table, kNameHandle) {
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_tx50_mod::CreateModParams() {
    AddTableParams(MakeOwnParam);
}

void QV_tx50_mod::CreateUsrParams() {
    AddLabelRows(*this, kUsrRows, {.cameraKey = "TX-50", .special = SpecialRowsFrom(kSpecialRows)});
}

void QV_tx50_mod::CreateParamGroups() {
    AddGroups(*this, kGroups);
}

// A port writes its custom options only when it has them.
void QV_tx50_mod::PreparePortLines(int port) {
    const QV_mod_param *custOption = GetModParam(kCustOptionHandle);
    const bool hasOptions = custOption && custOption->GetRawValue(port).ToDouble() != 0;
    for (const CustomOption &option : kCustomOptions)
        if (QV_mod_param *param = GetModParam(option.handle)) param->SetEnabled(hasOptions);
}

// ---- the parameters with behaviour of their own -------------------------------------

std::string TX50_hundredths_param::GetCFGString(int port) {
    if (!IsEnabled()) return {};
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetCFGString");
        return {};
    }
    const double hundredths = GetRawValue(port).ToDouble();
    return GetName() + " = \"" +
           QV_param_val::Float(static_cast<float>(hundredths * 0.01)).ToString() + "\"";
}

int TX50_timing_param::ApplyToHardware() {
    TX50_plat_mod *board = Tx50Board(*this);
    return board ? board->ProgramTimingGenerator() : 0;
}

int TX50_custom_pll_param::ApplyToHardware() {
    TX50_plat_mod *board = Tx50Board(*this);
    return board ? board->ProgramTimingGenerator() : 0;
}

int TX50_custom_option_param::ApplyToHardware() {
    const bool on = GetRawValue().GetShort() != 0;
    if (QV_mod *module = GetModule())
        for (int id : kCustomOptionRows)
            if (QV_usr_param *row = module->GetUsrParam(id)) row->SetEnabled(on);
    TX50_plat_mod *board = Tx50Board(*this);
    return board ? board->ProgramTimingGenerator() : 0;
}

// ---- the number rows ----------------------------------------------------------------

QV_param_val TX50_hundredths_usr_param::GetValue() {
    if (GetParam() == nullptr) return QV_param_val::Index(-1);
    return QV_param_val::Float(static_cast<float>(GetParam()->GetRawValue().ToDouble() * 0.01));
}

int TX50_hundredths_usr_param::SetValue(const QV_param_val &value) {
    if (!HasParam("SetValue")) return -1;
    QV_param_val hundredths =
        QV_param_val::Float(static_cast<float>(std::round(value.ToDouble() * 100.0)));
    if (hundredths.ConvertTo(ValKind::S16) != 0) {
        ReportError(MessageText("value out of range: ", value.ToString(),
                                " passed to SetValue() for user param: ", GetLabel()));
        return -1;
    }
    return GetParam()->SetUIValue(hundredths);
}

TX50_vertical_active_usr_param::TX50_vertical_active_usr_param(std::string label, int id,
                                                               const ParamList &params, int handle,
                                                               QV_param_val min, QV_param_val max,
                                                               QV_param_val step)
    : QV_range_usr_param(std::move(label), id, params, handle, std::move(min), std::move(max),
                         std::move(step)),
      interlace_(FindParam(params, kCameraInterlaceHandle)) {}

QV_param_val TX50_vertical_active_usr_param::GetValue() {
    const QV_param_val shown = QV_range_usr_param::GetValue();
    if (interlace_ == nullptr || Stored(interlace_) == kInterlaced) return shown;
    QV_param_val doubled = QV_param_val::S32(static_cast<std::int32_t>(2 * shown.ToDouble()));
    doubled.ConvertTo(shown.GetKind());
    return doubled;
}

int TX50_vertical_active_usr_param::SetValue(const QV_param_val &value) {
    if (interlace_ == nullptr || Stored(interlace_) != kNonInterlaced)
        return QV_range_usr_param::SetValue(value);
    const auto whole = static_cast<std::int32_t>(std::trunc(value.ToDouble()));
    QV_param_val halved = QV_param_val::S32(whole / 2);
    halved.ConvertTo(value.GetKind());
    return QV_range_usr_param::SetValue(halved);
}

// ---- the choice rows ----------------------------------------------------------------

int TX50_camera_mode_usr_param::SetIndex(int index) {
    QV_mod *module = GetModule();
    QV_usr_param *activeRow = module ? module->GetUsrParam(kVerticalActiveRow) : nullptr;
    if (activeRow == nullptr) return QV_choice_usr_param::SetIndex(index);
    const QV_param_val shown = activeRow->GetValue();
    if (QV_choice_usr_param::SetIndex(index) < 0) return -1;
    activeRow->SetValue(shown);
    return kRedrawRow;
}

TX50_input_mux_usr_param::TX50_input_mux_usr_param(std::string label, int id,
                                                   const ParamList &params, int handle)
    : QV_choice_usr_param(std::move(label), id, params, handle, {}) {}

int TX50_input_mux_usr_param::Port() const {
    return GetParam() ? GetParam()->GetCurrentPort() : 0;
}

std::vector<std::string> TX50_input_mux_usr_param::GetChoices() const {
    switch (Port()) {
        case 0:
            return {"Camera 0A", "Camera 0B", "Camera 0C"};
        case 1:
            return {"Camera 1A", "Camera 1B", "Camera 1C"};
        case 2:
            return {"Camera 2"};
        default:
            return {"Camera 3"};
    }
}

int TX50_input_mux_usr_param::GetIndex() {
    if (GetParam() == nullptr) return -1;
    const int value = Stored(GetParam());
    switch (Port()) {
        case 0:
            return value >= 0 && value <= 2 ? value : 0;
        case 1:
            return value >= 3 && value <= 5 ? value - 3 : 0;
        default:
            return 0;
    }
}

// The row stores the input number itself, not a position among the key's
// words: port 2 selects input 6 and port 3 input 7.
int TX50_input_mux_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex")) return -1;
    if (index < 0 || index >= static_cast<int>(GetChoices().size())) {
        ReportError(MessageText("invalid index: ", index,
                                " passed to SetIndex() for user param: ", GetLabel()));
        return -1;
    }
    constexpr int kFirstInput[] = {0, 3, 6, 7};
    const int input = kFirstInput[static_cast<std::size_t>(Port())] + index;
    QV_mod_param &param = *GetParam();
    param.SetRawValue(QV_param_val::S16(static_cast<std::int16_t>(input)));
    param.ApplyToHardware();
    return kRedrawRow;
}

int TX50_custom_options_usr_param::SetIndex(int index) {
    if (QV_choice_usr_param::SetIndex(index) < 0) return -1;
    return kRedrawRows;
}

}  // namespace qvi
