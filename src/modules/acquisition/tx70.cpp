// The TX-70 module: board type, multiplexers, colour matrix, look-up tables, rows and pages.
#include "modules/acquisition/tx70.h"

#include <bit>
#include <cstring>
#include <memory>
#include <ostream>
#include <span>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/acquisition/csc_matrices.h"
#include "modules/label_table.h"
#include "params/mod.h"
#include "platform/ui.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kStartupPortHandle = 0;
constexpr int kNameHandle = 3;
constexpr int kLoadNameHandle = 5;
constexpr int kInputTypeHandle = 7;
constexpr int kOutputLutHandle = 10;
constexpr int kMatrixNameHandle = 13;
constexpr int kMatrixStructureHandle = 14;
constexpr int kMuxModeHandle = 21;
constexpr int kMuxHandles[] = {18, 19, 20};
constexpr int kRgbHOffsetHandle = 39;
constexpr int kRgbVOffsetHandle = 40;
constexpr int kRgbHActiveHandle = 41;
constexpr int kRgbVActiveHandle = 42;
constexpr int kRgbInterlaceHandle = 76;
constexpr int kDecoderHActiveHandle = 153;
constexpr int kDecoderVActiveHandle = 154;
constexpr int kLumaRangeHandle = 163;
constexpr int kFrameTypeHandle = 176;
constexpr int kFirstCoefficientHandle = 179;
constexpr int kCoefficients = 9;

// Spare words the library fills; no parameter takes them.
constexpr int kSpareHandles[] = {94, 95};
constexpr std::uint16_t kSpareOffsets[] = {0xb4, 0xb6};

// Specification and camera structure.
constexpr std::size_t kLoadNameOffset = 0;
constexpr std::size_t kActivePortOffset = 6;
constexpr std::size_t kBoardTypeOffset = 8;
constexpr std::size_t kCameraNameOffset = 8;
constexpr std::size_t kMatrixRefOffset = 0x20;
constexpr std::size_t kMuxModeOffset = 0x28;
constexpr std::size_t kMuxOffsets[] = {0x2a, 0x2c, 0x2e};
constexpr std::size_t kMatrixNameOffset = 8;
constexpr std::size_t kFirstCoefficientOffset = 0x22;

// Registers.
constexpr int kHardwareRevisionRegister = 1;
constexpr int kBoardTypeRegister = 2;
constexpr int kDecoderAcquireRegister = 15;
constexpr int kDecoderTriggerSourceRegister = 16;
constexpr int kDecoderFrameDoneRegister = 18;
constexpr int kDecoderTriggerRegister = 21;
constexpr int kRgbAcquireRegister = 62;
constexpr int kRgbTriggerSourceRegister = 71;
constexpr int kRgbTriggerRegister = 77;

// A parent board from this revision on names the decoder's default cameras
// after the RS170 and CCIR standards.
constexpr int kStandardNamesRevision = 36;

// "Matrix_Structure" at position 0 of its words: the port uses a default structure.
constexpr int kDefaultStructurePosition = 0;
constexpr int kDefaultStructureValue = 1;
// Matrix selector entries from here on stand for the port's own matrix.
constexpr int kFirstOwnMatrixIndex = 8;

// The rows with behaviour of their own.
constexpr int kBoardTypeRow = 8;
constexpr int kDecoderHActiveRow = 16;
constexpr int kDecoderVActiveRow = 17;
constexpr int kInputMuxRow = 37;
constexpr int kMatrixRow = 100;
constexpr int kMatrixStructureRow = 101;
constexpr int kFirstCoefficientRow = 102;
constexpr int kFrameTypeRow = 111;

TX70_plat_mod *Tx70Board(const QV_plat_mod *platform) {
    return dynamic_cast<TX70_plat_mod *>(const_cast<QV_plat_mod *>(platform));
}

std::string InlineText(const std::uint8_t *record, std::size_t offset) {
    const char *text = reinterpret_cast<const char *>(record + offset);
    return {text, strnlen(text, keys::kInlineTextSize)};
}

// ---- the parameters ----------------------------------------------------------------

// The keys with classes of their own. The board type is kept per port
// although the library keeps one.
std::unique_ptr<QV_mod_param> MakeOwnParam(const keys::KeyRow &row, int ports) {
    if (row.handle == kInputTypeHandle)
        return MakeChoice<TX70_board_type_param>(row, QV_four_port_plat_mod::kPorts);
    if (row.handle == kFrameTypeHandle) return MakeChoice<TX70_frame_type_param>(row, ports);
    if (row.handle == kOutputLutHandle) return MakeChoice<TX70_output_lut_param>(row, ports);
    if (row.handle >= kFirstCoefficientHandle &&
        row.handle < kFirstCoefficientHandle + kCoefficients)
        return MakeRange<TX70_csc_coefficient_param>(row, ports);
    return nullptr;
}

// ---- the user label table ------------------------------------------------

using namespace labels;
using enum Kind;

// clang-format off
constexpr std::string_view kCameras[] = {"Camera 0", "Camera 1", "Camera 2", "Camera 3"};
constexpr std::string_view kRgbCameras[] = {"Camera 0", "Camera 1"};
constexpr std::string_view kBoardTypes[] = {"RGB Board", "NTSC/PAL Board"};
constexpr std::string_view kInputFormats[] = {
    "Auto Detect", "NTSC (M)", "PAL (BDGHI)", "PAL (M)", "PAL (N)", "SECAM",
};
constexpr std::string_view kCrystals[] = {"Automatic", "NTSC Freq", "PAL/SECAM Freq"};
constexpr std::string_view kDecoderMuxes[] = {"NP_MUX0", "NP_MUX1", "NP_MUX2", "NP_MUX3"};
constexpr std::string_view kEnableDisable[] = {"Enable", "Disable"};
constexpr std::string_view kVideoTypes[] = {"Composite Video", "Y/C Component"};
constexpr std::string_view kCbCrOrders[] = {"Normal CbCr", "Invert CbCr"};
constexpr std::string_view kFifos[] = {"Output FIFO_0", "Output FIFO_1", "Output FIFO_2"};
constexpr std::string_view kDecoderInterlace[] = {"Non-Interlace", "Interlace"};
constexpr std::string_view kLumaRanges[] = {"Normal 16-253", "Full 0-255"};
constexpr std::string_view kChromaAdc[] = {"Normal C ADC", "Sleep C ADC"};
constexpr std::string_view kMuxModes[] = {"Static Mux", "Dynamic Mux"};
constexpr std::string_view kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr std::string_view kFrameResetPolarity[] = {"Active High", "Active Low"};
constexpr std::string_view kFrameResetSize[] = {"Entire FROFF", "One Line"};
constexpr std::string_view kDisableEnable[] = {"Disable", "Enable"};
constexpr std::string_view kEdges[] = {"Falling", "Rising"};
constexpr std::string_view kFieldPolarity[] = {"High (not used)", "Low(default)"};
constexpr std::string_view kFieldSelect[] = {"Low(default)", "High(not used)"};
constexpr std::string_view kVScan[] = {"VScan Enable", "VScan Disable"};
constexpr std::string_view kTimingModes[] = {
    "Stripped Hsync", "Stripped Csync", "Separate Hsync", "Ref XTAL Input",
};
constexpr std::string_view kVsyncOutput[] = {"Disable(PLL mode)", "Enable(XTAL mode)"};
constexpr std::string_view kSyncOutput[] = {"Composite Sync", "Horizontal Sync"};
constexpr std::string_view kHighLow[] = {"High", "Low"};
constexpr std::string_view kRgbInterlace[] = {"NonInterlace", "Interlace"};
constexpr std::string_view kVclk[] = {"VCLK ClkInvert", "VCLK NoInvert"};
constexpr std::string_view kLowPass[] = {"6MHz_Cutoff_LPF", "Bypass_LPF"};
constexpr std::string_view kLutOutput[] = {"LUT0_FIFO1", "LUT1_FIFO1"};
constexpr std::string_view kVideoInputs[] = {"RGB_CAM0_Input", "RGB_CAM1_Input"};
constexpr std::string_view kCscPath[] = {"CSC Selected", "CSC Bypassed"};
constexpr std::string_view kInterrupts[] = {
    "Interrupt By Strobe", "Interrupt By VB", "Interrupt by EOT",
};
constexpr std::string_view kStripSources[] = {"Select Green Video", "Select CAM0 Hdrive"};
constexpr std::string_view kOutputLuts[] = {"Linear", "HSI"};
constexpr std::string_view kTriggerSources[] = {"Software Trigger", "External Trigger"};
constexpr std::string_view kActiveLowHigh[] = {"Active Low", "Active High"};
constexpr std::string_view kTriggerInterlace[] = {"Interlaced", "Non-Interlaced"};
constexpr std::string_view kStrobeModes[] = {
    "Fast Strobe", "Slow Strobe", "3x Fast Strobe", "3x Slow Strobe",
};
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kClampSources[] = {"Sync Strip", "Programmable"};
constexpr std::string_view kClampEdges[] = {"LEN Falling edge", "LEN Rising Edge"};
constexpr std::string_view kGains[] = {"2.80_Gain", "3.36_Gain", "2.50_Gain", "3.00_Gain"};
constexpr std::string_view kMatrixStructures[] = {"Default Structure", "Create Structure"};
constexpr std::string_view kPolarities[] = {"Positive Edge", "Negative Edge"};
constexpr std::string_view kVcoGains[] = {
    "10MHz/Volt", "15MHz/Volt", "20MHz/Volt", "25MHz/Volt",
    "45MHz/Volt", "60MHz/Volt", "75MHz/Volt", "90MHz/Volt",
};
constexpr std::string_view kClockSelect[] = {"CLKSEL Low", "CLKSEL High"};
constexpr std::string_view kFeedbackPolarity[] = {"Negative Edge", "Positive Edge"};
constexpr std::string_view kPostScalers[] = {
    "Divide by 8", "Divide by 4", "Divide by 2", "Divide by 1",
};
constexpr std::string_view kFinePhase[] = {"FBK lead REF", "FBK lag REF"};
constexpr std::string_view kFrameTypes[] = {"16-bit YCrCb", "8 bit Mono"};

constexpr Bounds kCoefficient{-4, 3.99, 0.01};

// The camera selectors of the TX-70 and of the TX-71, the same module
// reporting its variant name; then every other row, in the order added:
// number, handle, label, kind, choice labels or bounds, flags (and a camera
// selector's port).
constexpr LabelRow kTx70CameraRows[] = {
    {0,   3,   "Camera 0",            Camera,  {},                  kNoBounds,      kPlain, 0},
    {1,   3,   "Camera 1",            Camera,  {},                  kNoBounds,      kPlain, 1},
    {2,   3,   "Camera 2",            Camera,  {},                  kNoBounds,      kPlain, 2},
    {3,   3,   "Camera 3",            Camera,  {},                  kNoBounds,      kPlain, 3},
};
constexpr LabelRow kTx71CameraRows[] = {
    {4,   3,   "Camera 0",            Camera,  {},                  kNoBounds,      kPlain, 0},
    {5,   3,   "Camera 1",            Camera,  {},                  kNoBounds,      kPlain, 1},
    {6,   3,   "Camera 2",            Camera,  {},                  kNoBounds,      kPlain, 2},
    {7,   3,   "Camera 3",            Camera,  {},                  kNoBounds,      kPlain, 3},
};
constexpr LabelRow kUsrRows[] = {
    {9,   0,   "Active Camera",       Port,    kCameras,            kNoBounds,      kPlain},
    {10,  0,   "Active Camera",       Port,    kRgbCameras,         kNoBounds,      kPlain},
    {11,  0,   "Active Camera",       Port,    kCameras,            kNoBounds,      kPlain},
    {8,   7,   "Board Type",          Special, kBoardTypes,         kNoBounds,      kPlain},
    {35,  121, "Input Format",        Choice,  kInputFormats,       kNoBounds,      kPlain},
    {36,  122, "Crystal Select",      Choice,  kCrystals,           kNoBounds,      kPlain},
    {37,  123, "Input Mux",           Choice,  kDecoderMuxes,       kNoBounds,      kPlain},
    {16,  153, "Horizontal Active",   Special, {},                  {0, 1016, 8},   kPlain},
    {17,  154, "Vertical Active",     Special, {},                  {0, 1023, 1},   kPlain},
    {18,  155, "Horizontal Delay",    Range,   {},                  {0, 1023, 1},   kPlain},
    {19,  156, "Vertical Delay",      Range,   {},                  {0, 1023, 1},   kPlain},
    {20,  151, "Horizontal Scale",    Range,   {},                  {0, 65535, 1},  kPlain},
    {21,  152, "Vertical Scale",      Range,   {},                  {0, 8191, 1},   kPlain},
    {22,  143, "Brightness",          Range,   {},                  {-128, 127, 1}, kPlain},
    {23,  144, "Contrast",            Range,   {},                  {0, 511, 1},    kPlain},
    {24,  145, "Chroma U Gain",       Range,   {},                  {0, 511, 1},    kPlain},
    {25,  146, "Chroma V Gain",       Range,   {},                  {0, 511, 1},    kPlain},
    {26,  142, "Hue",                 Range,   {},                  {0, 255, 1},    kPlain},
    {27,  136, "AGC Delay",           Range,   {},                  {0, 255, 1},    kPlain},
    {28,  135, "Burst Delay",         Range,   {},                  {0, 255, 1},    kPlain},
    {29,  128, "Luma Notch Filter",   Choice,  kEnableDisable,      kNoBounds,      kPlain},
    {30,  130, "Video type",          Choice,  kVideoTypes,         kNoBounds,      kPlain},
    {31,  131, "Luma Decimation",     Choice,  kEnableDisable,      kNoBounds,      kPlain},
    {32,  132, "CbCr Order",          Choice,  kCbCrOrders,         kNoBounds,      kPlain},
    {34,  159, "Decimation Rate",     Range,   {},                  {0, 60, 1},     kPlain},
    {12,  18,  "TX0 MUX",             Choice,  kFifos,              kNoBounds,      kPlain},
    {13,  19,  "TX1 MUX",             Choice,  kFifos,              kNoBounds,      kPlain},
    {14,  20,  "TX2 MUX",             Choice,  kFifos,              kNoBounds,      kPlain},
    {38,  133, "Interlace",           Choice,  kDecoderInterlace,   kNoBounds,      kPlain},
    {40,  148, "Chroma Comb",         Choice,  kEnableDisable,      kNoBounds,      kPlain},
    {39,  147, "Luma Comb",           Choice,  kEnableDisable,      kNoBounds,      kPlain},
    {33,  163, "Luma Range",          Choice,  kLumaRanges,         kNoBounds,      kPlain},
    {41,  141, "Chroma ADC Mode",     Choice,  kChromaAdc,          kNoBounds,      kPlain},
    {42,  29,  "Horizontal Total",    Range,   {},                  {0, 1023, 1},   kPlain},
    {15,  21,  "Mux Mode",            Choice,  kMuxModes,           kNoBounds,      kPlain},
    {43,  30,  "H Sync End",          Range,   {},                  {0, 255, 1},    kPlain},
    {44,  31,  "H Equal End",         Range,   {},                  {0, 255, 1},    kPlain},
    {45,  32,  "Serration Pulse",     Range,   {},                  {0, 1023, 1},   kPlain},
    {46,  33,  "Vertical Total",      Range,   {},                  {0, 2047, 1},   kPlain},
    {47,  34,  "Vertical Sync End",   Range,   {},                  {0, 32, 1},     kPlain},
    {48,  37,  "Vertical Gate Start", Range,   {},                  {0, 2047, 1},   kPlain},
    {49,  38,  "Vertical Gate End",   Range,   {},                  {0, 127, 1},    kPlain},
    {50,  39,  "Horizontal Offset",   Range,   {},                  {0, 1023, 1},   kPlain},
    {51,  41,  "Horizontal Active",   Range,   {},                  {0, 4095, 1},   kPlain},
    {52,  40,  "Vertical Offset",     Range,   {},                  {0, 1023, 1},   kPlain},
    {53,  42,  "Vertical Active",     Range,   {},                  {0, 1023, 1},   kPlain},
    {54,  43,  "Strobe Delay",        Range,   {},                  {0, 63, 1},     kPlain},
    {55,  44,  "FRST Offset",         Range,   {},                  {0, 63, 1},     kPlain},
    {56,  45,  "Frame Reset Mode",    Choice,  kDisabledEnabled,    kNoBounds,      kPlain},
    {57,  46,  "Frame Reset Pol",     Choice,  kFrameResetPolarity, kNoBounds,      kPlain},
    {58,  47,  "Frame Reset Size",    Choice,  kFrameResetSize,     kNoBounds,      kPlain},
    {59,  177, "Skip VB Mode",        Choice,  kDisableEnable,      kNoBounds,      kPlain},
    {60,  178, "Frm Reset Vsync",     Choice,  kDisableEnable,      kNoBounds,      kPlain},
    {61,  56,  "FEN Polarity",        Choice,  kEdges,              kNoBounds,      kPlain},
    {62,  57,  "LEN Polarity",        Choice,  kEdges,              kNoBounds,      kPlain},
    {63,  58,  "Field Polarity",      Choice,  kFieldPolarity,      kNoBounds,      kPlain},
    {64,  59,  "Field Select",        Choice,  kFieldSelect,        kNoBounds,      kPlain},
    {65,  60,  "VSCAN Mode",          Choice,  kVScan,              kNoBounds,      kPlain},
    {66,  61,  "Timing Mode",         Choice,  kTimingModes,        kNoBounds,      kPlain},
    {67,  62,  "VSync Output",        Choice,  kVsyncOutput,        kNoBounds,      kPlain},
    {68,  63,  "Sync Output Type",    Choice,  kSyncOutput,         kNoBounds,      kPlain},
    {69,  64,  "FLDSHFT Select",      Choice,  kHighLow,            kNoBounds,      kPlain},
    {70,  76,  "Interlace Mode",      Choice,  kRgbInterlace,       kNoBounds,      kPlain},
    {71,  77,  "VCLK Pol",            Choice,  kVclk,               kNoBounds,      kPlain},
    {73,  79,  "Low Pass Filter",     Choice,  kLowPass,            kNoBounds,      kPlain},
    {74,  80,  "LUT Output",          Choice,  kLutOutput,          kNoBounds,      kPlain},
    {75,  81,  "Video Input",         Choice,  kVideoInputs,        kNoBounds,      kPlain},
    {76,  82,  "CSC Path",            Choice,  kCscPath,            kNoBounds,      kPlain},
    {77,  83,  "Interrupt Source",    Choice,  kInterrupts,         kNoBounds,      kPlain},
    {78,  84,  "Sync Strip Source",   Choice,  kStripSources,       kNoBounds,      kPlain},
    {79,  10,  "Output LUT",          Choice,  kOutputLuts,         kNoBounds,      kPlain},
    {80,  70,  "Trigger Source",      Choice,  kTriggerSources,     kNoBounds,      kPlain},
    {81,  71,  "Trigger Pol",         Choice,  kActiveLowHigh,      kNoBounds,      kPlain},
    {82,  72,  "Trigger Interlace",   Choice,  kTriggerInterlace,   kNoBounds,      kPlain},
    {83,  73,  "Strobe Mode",         Choice,  kStrobeModes,        kNoBounds,      kPlain},
    {84,  74,  "Strobe POL",          Choice,  kActiveLowHigh,      kNoBounds,      kPlain},
    {85,  75,  "Skip Field",          Choice,  kEnabledDisabled,    kNoBounds,      kPlain},
    {86,  25,  "Clamp Source",        Choice,  kClampSources,       kNoBounds,      kPlain},
    {87,  24,  "Clamp Polarity",      Choice,  kClampEdges,         kNoBounds,      kPlain},
    {88,  23,  "Clamp Delay",         Range,   {},                  {0, 15, 1},     kPlain},
    {89,  26,  "Red Gain Factor",     Choice,  kGains,              kNoBounds,      kPlain},
    {90,  27,  "Green Gain Factor",   Choice,  kGains,              kNoBounds,      kPlain},
    {91,  28,  "Blue Gain Factor",    Choice,  kGains,              kNoBounds,      kPlain},
    {92,  48,  "Red PREF",            Range,   {},                  {0, 255, 1},    kPlain},
    {93,  49,  "Green PREF",          Range,   {},                  {0, 255, 1},    kPlain},
    {94,  50,  "Blue PREF",           Range,   {},                  {0, 255, 1},    kPlain},
    {95,  51,  "Red NREF",            Range,   {},                  {0, 255, 1},    kPlain},
    {96,  52,  "Green NREF",          Range,   {},                  {0, 255, 1},    kPlain},
    {97,  53,  "Blue NREF",           Range,   {},                  {0, 255, 1},    kPlain},
    {98,  54,  "Sync Strip Rate",     Range,   {},                  {0, 255, 1},    kPlain},
    {99,  55,  "Clamp Voltage",       Range,   {},                  {0, 255, 1},    kPlain},
    {100, 13,  "CSC Matrix Name",     Special, {},                  kNoBounds,      kPlain},
    {101, 14,  "Matrix Struct",       Special, kMatrixStructures,   kNoBounds,      kPlain},
    {102, 179, "CSC coef 1",          Range,   {},                  kCoefficient,   kPlain},
    {103, 180, "CSC coef 2",          Range,   {},                  kCoefficient,   kPlain},
    {104, 181, "CSC coef 3",          Range,   {},                  kCoefficient,   kPlain},
    {105, 182, "CSC coef 4",          Range,   {},                  kCoefficient,   kPlain},
    {106, 183, "CSC coef 5",          Range,   {},                  kCoefficient,   kPlain},
    {107, 184, "CSC coef 6",          Range,   {},                  kCoefficient,   kPlain},
    {108, 185, "CSC coef 7",          Range,   {},                  kCoefficient,   kPlain},
    {109, 186, "CSC coef 7",          Range,   {},                  kCoefficient,   kPlain},
    {110, 187, "CSC coef 9",          Range,   {},                  kCoefficient,   kPlain},
    {112, 93,  "Feeback Divider",     Range,   {},                  {63, 2047, 1},  kPlain},
    {115, 96,  "Ref Divider",         Range,   {},                  {0, 1023, 1},   kPlain},
    {116, 97,  "Ref Polarity",        Choice,  kPolarities,         kNoBounds,      kPlain},
    {126, 112, "Load Counter",        Range,   {},                  {0, 7, 1},      kPlain},
    {117, 98,  "VCO Gain",            Choice,  kVcoGains,           kNoBounds,      kPlain},
    {118, 99,  "PFD Gain",            Range,   {},                  {0, 7, 1},      kPlain},
    {119, 103, "FBK Clock Select",    Choice,  kClockSelect,        kNoBounds,      kPlain},
    {120, 105, "Feedback Pol",        Choice,  kFeedbackPolarity,   kNoBounds,      kPlain},
    {121, 106, "ADD bit",             Choice,  kHighLow,            kNoBounds,      kPlain},
    {122, 107, "SWLW bit",            Choice,  kHighLow,            kNoBounds,      kPlain},
    {123, 108, "Output Post Scalar",  Choice,  kPostScalers,        kNoBounds,      kPlain},
    {124, 109, "FBK Post Scalar",     Choice,  kPostScalers,        kNoBounds,      kPlain},
    {125, 110, "Fine Phase Adj",      Choice,  kFinePhase,          kNoBounds,      kPlain},
    {126, 112, "Load Counter",        Range,   {},                  {0, 7, 1},      kPlain},
    {111, 176, "Disp Frame Type",     Special, kFrameTypes,         kNoBounds,      kPlain},
};

// The rows whose every change is followed by a refresh call to the board.
constexpr IdRange kNotifyRows[] = {
    {41, 41}, {0, 7}, {9, 11}, {16, 28}, {34, 36}, {12, 14}, {33, 33}, {42, 42}, {50, 53},
    {70, 70}, {111, 111},
};

// ---- the group tables ----------------------------------------------------

constexpr IdRange kAdvancedPage[] = {{4, 7}, {11, 11}, {111, 111}, {16, 35}, {38, 41}};
constexpr IdRange kRgbAllPage[] = {
    {0, 1}, {10, 10}, {12, 15}, {42, 58}, {60, 60}, {59, 59}, {61, 71}, {73, 99},
};
constexpr IdRange kCscPage[] = {{100, 110}};
constexpr IdRange kPllPage[] = {{112, 112}, {115, 126}};

// With hardware and a decoder board.
constexpr IdRange kDecoderCameraPage[] = {{4, 7}, {11, 11}, {8, 8}};
constexpr GroupRow kDecoderGroups[] = {
    {"Camera",        kDecoderCameraPage},
    {"Advanced",      kAdvancedPage},
};
// With hardware and an RGB board.
constexpr IdRange kRgbCameraPage[] = {{0, 1}, {10, 10}, {8, 8}};
constexpr GroupRow kRgbGroups[] = {
    {"Camera",        kRgbCameraPage},
    {"RGB All",       kRgbAllPage},
    {"RGB CSC Coef",  kCscPage},
    {"PLL registers", kPllPage},
};
// Without hardware every page.
constexpr IdRange kAnyCameraPage[] = {{0, 3}, {9, 9}, {8, 8}};
constexpr GroupRow kAllGroups[] = {
    {"Camera",        kAnyCameraPage},
    {"Advanced",      kAdvancedPage},
    {"RGB All",       kRgbAllPage},
    {"PLL registers", kPllPage},
    {"RGB CSC Coef",  kCscPage},
};
// clang-format on

// clang-format off
constexpr SpecialRow kSpecialRows[] = {
    {kBoardTypeRow,       MakeChoiceRow<TX70_board_type_usr_param>},
    {kDecoderHActiveRow,  MakeRangeRow<TX70_decoder_active_usr_param>},
    {kDecoderVActiveRow,  MakeRangeRow<TX70_decoder_active_usr_param>},
    {kMatrixRow,          MakePlainRow<TX70_matrix_usr_param>},
    {kMatrixStructureRow, MakeChoiceRow<TX70_matrix_structure_usr_param>},
    {kFrameTypeRow,       MakeChoiceRow<TX70_frame_type_usr_param>},
};
// clang-format on

// Enables or greys the nine coefficient rows.
void EnableCoefficientRows(QV_mod *module, bool enabled) {
    if (module == nullptr) return;
    for (int i = 0; i < kCoefficients; ++i)
        if (QV_usr_param *row = module->GetUsrParam(kFirstCoefficientRow + i))
            row->SetEnabled(enabled);
}

// Whether "Matrix_Structure" of the port is "Default_Structure".
bool UsesDefaultStructure(const QV_mod &module, int port) {
    const QV_mod_param *structure = module.GetModParam(kMatrixStructureHandle);
    return structure && structure->GetRawValue(port).GetLong() == kDefaultStructureValue;
}

}  // namespace

// ---- the platform object -------------------------------------------------------

tx70::EarlyEntries::EarlyEntries(LibraryBinding *binding) {
    if (binding == nullptr) return;
    loadEntry = binding->Lookup("tx70_load");
    inputLutEntry = binding->LookupAs<LutEntry>("tx70_iluts");
    hueSaturationEntry = binding->LookupAs<LutEntry>("tx70_hue_and_saturation");
}

TX70_plat_mod::TX70_plat_mod(LibraryBinding *binding, std::uint32_t handle,
                             const ModuleSettings &settings)
    : tx70::EarlyEntries(binding),
      QV_four_port_plat_mod("TX-70 plat_mod", keys::kTx70Table, binding, handle, "tx70"),
      settings_(settings) {
    if (binding == nullptr) return;
    matrixShortLoadEntry_ = binding->Lookup("tx70_load_mx");
    floatMatrixEntry_ = binding->Lookup("tx70_float_matrix");
    matrixLoadEntry_ = binding->LookupAs<MatrixLoadEntry>("tx70_load_matrix");
    matrixCopyEntry_ = binding->LookupAs<CameraCopyEntry>("tx70_cp_matrix");
}

void TX70_plat_mod::FillParams(QV_mod &container) {
    std::uint8_t *spec = MutableSpec();
    if (spec == nullptr) return;
    const std::int16_t activePort = RecordS16(spec, kActivePortOffset);
    container.SetParamFromCNF(kStartupPortHandle, QV_param_val::S16(activePort));
    const std::uint8_t *loadName = Deref(RecordU32(spec, kLoadNameOffset));
    container.SetParamFromCNF(
        kLoadNameHandle,
        QV_param_val::Text(loadName ? reinterpret_cast<const char *>(loadName) : ""));
    if (HardwareEnabled()) WriteRecordS16(spec, kBoardTypeOffset, GetBoardType());
    container.SetPort(activePort);
    for (int port = 0; port < kPorts; ++port) FillPortParams(container, port);
}

void TX70_plat_mod::FillPortParams(QV_mod &container, int port) {
    std::uint8_t *camera = PortCamera(port);
    const std::uint8_t *spec = Spec();
    if (camera == nullptr || spec == nullptr) return;
    CopyPortCameraTo(container, port, kCameraSize);
    auto parentOf = Binding() ? Binding()->Entry<&::qrx_get_parent>() : nullptr;
    const std::uint32_t parent = parentOf ? parentOf(Handle()) : 0;

    const std::int16_t boardType = RecordS16(spec, kBoardTypeOffset);
    container.SetParamFromCNF(port, kInputTypeHandle, QV_param_val::S16(boardType));
    container.SetParamFromCNF(port, kMuxModeHandle,
                              QV_param_val::S16(RecordS16(camera, kMuxModeOffset)));
    container.SetParamFromCNF(port, kNameHandle,
                              QV_param_val::Text(CameraName(camera, port, boardType, parent)));

    SetMultiplexerDefaults(container, camera, port, boardType, parent);
    bool allZero = true;
    for (std::size_t i = 0; i < std::size(kMuxHandles); ++i) {
        const std::int16_t select = RecordS16(camera, kMuxOffsets[i]);
        allZero = allZero && select == 0;
        container.SetParamFromCNF(port, kMuxHandles[i], QV_param_val::S16(select));
    }
    container.SetParamFromCNF(port, kFrameTypeHandle, QV_param_val::S16(allZero ? 1 : 0));

    for (const keys::KeyRow &row : Table().keys) {
        if (!row.perPort || row.location.record != keys::Record::Camera) continue;
        if (row.handle == kNameHandle || row.handle == kMuxModeHandle) continue;
        if (row.handle == kMuxHandles[0] || row.handle == kMuxHandles[1] ||
            row.handle == kMuxHandles[2])
            continue;
        container.SetParamFromCNF(port, row.handle, ReadKeyValue(*this, Table(), row, port));
    }
    for (std::size_t i = 0; i < std::size(kSpareHandles); ++i)
        container.SetParamFromCNF(port, kSpareHandles[i],
                                  QV_param_val::S16(RecordS16(camera, kSpareOffsets[i])));

    const std::uint8_t *matrix = Deref(RecordU32(camera, kMatrixRefOffset));
    if (matrix != nullptr)
        container.SetParamFromCNF(port, kMatrixNameHandle,
                                  QV_param_val::Text(InlineText(matrix, kMatrixNameOffset)));
    container.SetParamFromCNF(port, kMatrixStructureHandle, QV_param_val::S16(0));
    if (!loadFileName_.empty())
        container.SetParamFromCNF(kLoadNameHandle, QV_param_val::Text(loadFileName_));

    // Each coefficient would load the whole converter: none of them reaches
    // the hardware while they arrive. Without hardware they are still taken,
    // so a custom matrix survives a load and save.
    if (matrix != nullptr) {
        HardwareWritesSuppressed quiet;
        for (int i = 0; i < kCoefficients; ++i) {
            const auto offset = kFirstCoefficientOffset + 4 * static_cast<std::size_t>(i);
            container.SetParamFromCNF(
                port, kFirstCoefficientHandle + i,
                QV_param_val::Float(std::bit_cast<float>(RecordU32(matrix, offset))));
        }
    }
}

std::string TX70_plat_mod::CameraName(const std::uint8_t *camera, int port, std::int16_t boardType,
                                      std::uint32_t parent) const {
    const std::string stored = InlineText(camera, kCameraNameOffset);
    if (!settings_.BuildsNewConfiguration()) return stored;
    if (boardType == kDecoderBoard) {
        if (parent != 0 && ParentRevision(parent) >= kStandardNamesRevision) {
            switch (port) {
                case 0:
                    return "DEF0 RS170 640x480";
                case 1:
                    return "DEF1 CCIR 720x576";
                case 2:
                    return "DEF2 RS170 640x480";
                default:
                    return "DEF3 CCIR 720x576";
            }
        }
        return port == 0 ? "DEF0 NTSC 640x480" : "DEF1 PAL 720x576";
    }
    if (boardType == kRgbBoard && (stored == "DEF0 STD" || stored == "DEF1 STD"))
        return port == 0 ? "DEF0 RS170 512x480 PLL" : "DEF1 CCIR 512x512 PLL";
    return stored;
}

// The output multiplexers a new configuration starts with, written into the
// camera structure before the selects are read from it.
void TX70_plat_mod::SetMultiplexerDefaults(QV_mod &container, std::uint8_t *camera, int port,
                                           std::int16_t boardType, std::uint32_t parent) const {
    auto setWords = [&](std::int16_t first, std::int16_t second, std::int16_t third) {
        WriteRecordS16(camera, kMuxOffsets[0], first);
        WriteRecordS16(camera, kMuxOffsets[1], second);
        WriteRecordS16(camera, kMuxOffsets[2], third);
    };
    const bool newConfiguration = settings_.BuildsNewConfiguration();
    if (HardwareEnabled() && parent != 0) {
        auto nameOf = Binding() ? Binding()->Entry<&::qrx_get_modname>() : nullptr;
        const char *name = nameOf ? nameOf(parent) : nullptr;
        if (name != nullptr && std::string_view(name) == "DQP") setWords(0, 1, 2);
    }
    if (HardwareEnabled() && parent == 0 && boardType == kRgbBoard && newConfiguration) {
        bool straight = true;
        for (std::size_t i = 0; i < std::size(kMuxHandles); ++i) {
            const QV_mod_param *select = container.GetModParam(kMuxHandles[i]);
            straight = straight && select &&
                       select->GetRawValue(port).GetLong() == static_cast<std::int32_t>(i);
        }
        if (straight) setWords(0, 1, 2);
    }
    if (boardType == kDecoderBoard && newConfiguration) {
        const bool standardNames = parent != 0 && ParentRevision(parent) >= kStandardNamesRevision;
        setWords(0, standardNames ? 0 : 1, 0);
    }
}

int TX70_plat_mod::ParentRevision(std::uint32_t parent) const {
    auto revision = Binding() ? Binding()->Entry<&::qrx_get_hw_revision>() : nullptr;
    return revision ? revision(parent) : 0;
}

void TX70_plat_mod::CopyCameraConfig() {
    std::uint8_t *spec = MutableSpec();
    if (spec == nullptr) return;
    const std::uint8_t *loadName = Deref(RecordU32(spec, kLoadNameOffset));
    loadFileName_ = loadName ? reinterpret_cast<const char *>(loadName) : "";
    for (int port = 0; port < kPorts; ++port) {
        const auto referenceOffset =
            static_cast<std::size_t>(Table().layout.cameraRefOffset + port * 4);
        const std::uint32_t cameraRef = RecordU32(spec, referenceOffset);
        std::uint8_t *camera = Deref(cameraRef);
        if (camera == nullptr) continue;
        if (matrixCopyEntry_ != nullptr) {
            const std::uint32_t matrixRef = RecordU32(camera, kMatrixRefOffset);
            std::uint32_t copy = matrixRef;
            matrixCopyEntry_(Handle(), matrixRef, &copy, matrixRef + 8);
            WriteRecordU32(camera, kMatrixRefOffset, copy);
        }
        CopyCameraInto(cameraRef, referenceOffset);
    }
}

int TX70_plat_mod::StoredBoardType() const {
    QV_mod *container = Module();
    const QV_mod_param *input = container ? container->GetModParam(kInputTypeHandle) : nullptr;
    return input ? static_cast<int>(input->GetRawValue().ToDouble()) : 0;
}

int TX70_plat_mod::GetImageWidth() {
    QV_mod *container = Module();
    if (container == nullptr) return 0;
    const auto stored = [&](int handle) {
        const QV_mod_param *param = container->GetModParam(handle);
        return param ? static_cast<int>(param->GetRawValue().ToDouble()) : 0;
    };
    if (StoredBoardType() == kDecoderBoard) return stored(kDecoderHActiveHandle);
    return (stored(kRgbHActiveHandle) - stored(kRgbHOffsetHandle) + 5) & ~3;
}

int TX70_plat_mod::GetImageHeight() {
    QV_mod *container = Module();
    if (container == nullptr) return 0;
    const auto stored = [&](int handle) {
        const QV_mod_param *param = container->GetModParam(handle);
        return param ? static_cast<int>(param->GetRawValue().ToDouble()) : 0;
    };
    if (StoredBoardType() == kDecoderBoard) return stored(kDecoderVActiveHandle);
    const int lines = stored(kRgbVActiveHandle) - stored(kRgbVOffsetHandle);
    return stored(kRgbInterlaceHandle) == 1 ? 2 * lines : lines;
}

// Without hardware the board is the one the current port's "Input Type" names.
int TX70_plat_mod::GetBitsPerPixel() {
    const int boardType = HardwareEnabled() ? GetBoardType() : StoredBoardType();
    if (boardType != kDecoderBoard) return 24;
    QV_mod *container = Module();
    const QV_mod_param *frameType = container ? container->GetModParam(kFrameTypeHandle) : nullptr;
    return frameType && frameType->GetRawValue().ToDouble() == 1 ? 8 : 16;
}

std::int16_t TX70_plat_mod::Register(int reg) {
    return static_cast<std::int16_t>(read_reg(reg).ToDouble());
}

bool TX70_plat_mod::OnRgbBoard() {
    return GetBoardType() == kRgbBoard;
}

void TX70_plat_mod::SoftwareTrigger() {
    WriteRegister(OnRgbBoard() ? kRgbTriggerRegister : kDecoderTriggerRegister, 1);
}

void TX70_plat_mod::PrepareSoftwareTrigger() {
    const bool rgb = OnRgbBoard();
    ArmTriggerGenerator(rgb ? kRgbTriggerSourceRegister : kDecoderTriggerSourceRegister, true,
                        rgb ? kRgbAcquireRegister : kDecoderAcquireRegister);
}

void TX70_plat_mod::PrepareExternalTrigger() {
    const bool rgb = OnRgbBoard();
    ArmTriggerGenerator(rgb ? kRgbTriggerSourceRegister : kDecoderTriggerSourceRegister, false,
                        rgb ? kRgbAcquireRegister : kDecoderAcquireRegister);
}

int TX70_plat_mod::TriggerDone() {
    if (OnRgbBoard()) return Register(kRgbAcquireRegister) == 0 ? 1 : 0;
    return Register(kDecoderFrameDoneRegister) == 1 ? 1 : 0;
}

std::int16_t TX70_plat_mod::GetBoardType() {
    return Register(kBoardTypeRegister);
}

std::int16_t TX70_plat_mod::GetHardwareRevision() {
    return Register(kHardwareRevisionRegister);
}

int TX70_plat_mod::LoadMatrix(const std::array<float, 9> &coefficients) {
    if (!HardwareEnabled() || matrixLoadEntry_ == nullptr) return 0;
    return matrixLoadEntry_(Handle(), coefficients.data());
}

int TX70_plat_mod::LoadOutputLut(int type) {
    if (!HardwareEnabled()) return 0;
    const LutEntry entry = type == 0 ? inputLutEntry : hueSaturationEntry;
    return entry ? entry(Handle()) : 0;
}

// ---- the container -------------------------------------------------------------

QV_tx70_mod::QV_tx70_mod(QV_plat_mod *platform)
    : QV_four_port_mod(platform, keys::kTx70Table, kNameHandle) {
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_tx70_mod::CreateModParams() {
    AddParamsFromTable(*this, Table(), MakeOwnParam);
}

void QV_tx70_mod::CreateUsrParams() {
    const bool hardware = HardwareEnabled();
    const SpecialMaker special = SpecialRowsFrom(kSpecialRows);
    AddLabelRows(*this, kTx70CameraRows, {.cameraKey = "TX-70", .special = special});
    AddLabelRows(*this, kTx71CameraRows, {.cameraKey = "TX-71", .special = special});
    AddLabelRows(*this, kUsrRows, {.cameraKey = "TX-70", .special = special});
    for (int id : Expand(kNotifyRows))
        if (QV_usr_param *row = GetUsrParam(id)) row->SetNotifyOwner(true);
    if (hardware) {
        // On real hardware the decoder's input and the board are what they are.
        for (int id : {kInputMuxRow, kBoardTypeRow})
            if (QV_usr_param *row = GetUsrParam(id)) row->SetEnabled(false);
    }
}

void QV_tx70_mod::CreateParamGroups() {
    if (!HardwareEnabled()) {
        AddGroups(*this, kAllGroups);
        return;
    }
    TX70_plat_mod *board = Tx70Board(OwnerBoardOf(*this));
    const bool decoder = board && board->GetBoardType() == TX70_plat_mod::kDecoderBoard;
    AddGroups(*this, decoder ? std::span<const GroupRow>(kDecoderGroups)
                             : std::span<const GroupRow>(kRgbGroups));
}

// ---- the parameters with behaviour of their own -------------------------------------

int TX70_board_type_param::ApplyToHardware() {
    QV_plat_mod *board = OwnerBoardOf(*this);
    if (!HardwareEnabled() || board == nullptr) return 0;
    const auto type = static_cast<std::int16_t>(board->read_reg(kBoardTypeRegister).ToDouble());
    return SetRawValue(QV_param_val::S16(type));
}

int TX70_output_lut_param::ApplyToHardware() {
    TX70_plat_mod *board = Tx70Board(OwnerBoardOf(*this));
    return board ? board->LoadOutputLut(GetRawValue().GetLong()) : 0;
}

std::string TX70_csc_coefficient_param::GetCFGString(int port) {
    if (GetHandle() != kFirstCoefficientHandle || !IsEnabled()) return {};
    if (!IsValidPort(port)) {
        ReportBadPort(port, "GetCFGString");
        return {};
    }
    QV_mod *module = GetModule();
    if (module == nullptr || UsesDefaultStructure(*module, port)) return {};
    std::string line = "CSC_Coefficient_Matrix = ";
    for (int i = 0; i < kCoefficients; ++i) {
        const QV_mod_param *coefficient = module->GetModParam(kFirstCoefficientHandle + i);
        const float value =
            coefficient ? static_cast<float>(coefficient->GetRawValue(port).ToDouble()) : 0.0f;
        if (i > 0) line += ",";
        line += QV_param_val::Float(value).Format(10);
    }
    return line;
}

int TX70_csc_coefficient_param::ApplyToHardware() {
    TX70_plat_mod *board = Tx70Board(OwnerBoardOf(*this));
    QV_mod *module = GetModule();
    if (board == nullptr || module == nullptr) return 0;
    std::array<float, 9> coefficients{};
    for (int i = 0; i < kCoefficients; ++i) {
        const QV_mod_param *coefficient = module->GetModParam(kFirstCoefficientHandle + i);
        coefficients[static_cast<std::size_t>(i)] =
            coefficient ? static_cast<float>(coefficient->GetRawValue().ToDouble()) : 0.0f;
    }
    return board->LoadMatrix(coefficients);
}

// ---- the rows with behaviour of their own -------------------------------------------

int TX70_board_type_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex") || !IsValidIndex(index, "SetIndex")) return -1;
    GetParam()->SetUIValue(QV_param_val::Index(index));
    return kRedrawRows;
}

QV_param_val TX70_decoder_active_usr_param::GetValue() {
    if (GetParam() == nullptr) return QV_param_val::Index(-1);
    return QV_param_val::S16(GetParam()->GetRawValue().GetShort());
}

TX70_matrix_usr_param::TX70_matrix_usr_param(std::string label, int id, const ParamList &params,
                                             int handle)
    : QV_choice_usr_param(std::move(label), id, params, handle, {}) {}

int TX70_matrix_usr_param::Port() const {
    return GetParam() ? GetParam()->GetCurrentPort() : 0;
}

// A predefined matrix is its catalogue entry; a matrix of the port's own
// (named "custom", or by a name the catalogue lacks) is the extra "custom"
// after the whole catalogue.
int TX70_matrix_usr_param::IndexOf(const std::string &name) const {
    const QV_csc_matrix_catalogue &catalogue = QV_csc_matrix_catalogue::Instance();
    const int found = catalogue.Find(name);
    return found >= 0 && found < QV_csc_matrix_catalogue::kCustomIndex
               ? found
               : static_cast<int>(catalogue.Names().size());
}

std::vector<std::string> TX70_matrix_usr_param::GetChoices() const {
    std::vector<std::string> choices = QV_csc_matrix_catalogue::Instance().Names();
    const std::string current = GetParam() ? GetParam()->GetRawValue().GetText() : "";
    if (IndexOf(current) == static_cast<int>(choices.size())) choices.emplace_back("custom");
    return choices;
}

int TX70_matrix_usr_param::GetIndex() {
    if (GetParam() == nullptr) return -1;
    return IndexOf(GetParam()->GetRawValue().GetText());
}

int TX70_matrix_usr_param::SetIndex(int index) {
    QV_mod *module = GetModule();
    if (!HasParam("SetIndex") || module == nullptr) return -1;
    if (index < 0 || index >= static_cast<int>(GetChoices().size())) {
        ReportError(MessageText("invalid index: ", index,
                                " passed to SetIndex() for user param: ", GetLabel()));
        return -1;
    }
    const int port = Port();
    const bool defaultStructure = UsesDefaultStructure(*module, port);
    EnableCoefficientRows(module, !defaultStructure);
    const int savedIndex = IndexOf(GetParam()->GetSavedValue(port).GetText());
    if (index >= kFirstOwnMatrixIndex || index == savedIndex) {
        // The port's own matrix: its name and coefficients as last saved.
        if (index >= kFirstOwnMatrixIndex) EnableCoefficientRows(module, true);
        GetParam()->Revert(port);
        for (int i = 0; i < kCoefficients; ++i)
            if (QV_mod_param *coefficient = module->GetModParam(kFirstCoefficientHandle + i))
                coefficient->Revert(port);
        return kRedrawRows;
    }
    if (!defaultStructure) return kRedrawRows;
    const QV_csc_matrix *matrix = QV_csc_matrix_catalogue::Instance().Get(index);
    if (matrix == nullptr) return -1;
    GetParam()->SetUIValue(QV_param_val::Text(matrix->name));
    for (int i = 0; i < kCoefficients; ++i)
        if (QV_mod_param *coefficient = module->GetModParam(kFirstCoefficientHandle + i))
            coefficient->SetUIValue(
                QV_param_val::Float(matrix->coefficients[static_cast<std::size_t>(i)]));
    return kRedrawRows;
}

int TX70_matrix_structure_usr_param::SetIndex(int index) {
    if (QV_choice_usr_param::SetIndex(index) < 0) return -1;
    EnableCoefficientRows(GetModule(), index != kDefaultStructurePosition);
    return kRedrawRows;
}

int TX70_frame_type_usr_param::GetIndex() {
    QV_mod *module = GetModule();
    if (module == nullptr) return -1;
    for (int handle : kMuxHandles) {
        const QV_mod_param *select = module->GetModParam(handle);
        if (select == nullptr || select->GetRawValue().GetLong() != 0) return 0;
    }
    return 1;
}

int TX70_frame_type_usr_param::SetIndex(int index) {
    QV_mod *module = GetModule();
    if (!HasParam("SetIndex") || module == nullptr || !IsValidIndex(index, "SetIndex")) return -1;
    const bool mono = index == 1;
    const int positions[] = {0, mono ? 0 : 1, 0};
    for (std::size_t i = 0; i < std::size(kMuxHandles); ++i)
        if (QV_mod_param *select = module->GetModParam(kMuxHandles[i]))
            select->SetUIValue(QV_param_val::Index(positions[i]));
    if (QV_mod_param *lumaRange = module->GetModParam(kLumaRangeHandle))
        lumaRange->SetUIValue(QV_param_val::Index(mono ? 1 : 0));
    GetParam()->SetUIValue(QV_param_val::Index(index));
    Refresh();
    return kRedrawRow;
}

}  // namespace qvi
