// The TX-20 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
// Seven time bases and no value 5. Each value has two words; the writer uses
// the first that stands for it, the "Alternate_" words are read as the same.
constexpr Word kTimingOption[] = {
    {"RS170_10.00", 0}, {"MC1000P_20.00", 1}, {"RS170_12.28", 2}, {"RS170_14.32", 3},
    {"CCIR_10.00", 4},  {"CCIR_15.00", 6},    {"CCIR_14.18", 7},
    {"Alternate_0", 0}, {"Alternate_1", 1},   {"Alternate_2", 2}, {"Alternate_3", 3},
    {"Alternate_4", 4}, {"Alternate_6", 6},   {"Alternate_7", 7},
};
constexpr Word kClockSource[] = {{"XTAL_Mode", 0}, {"PLL_Mode", 1}};
constexpr Word kFilterType[] = {{"LPF_3.0", 0}, {"LPF_4.3", 1}, {"LPF_6.5", 2}, {"LPF_12.0", 3}};
constexpr Word kPrescale[] = {
    {"Scale_1", 0}, {"Scale_1.5", 1}, {"Scale_0.5", 2}, {"Scale_0.75", 3},
};
constexpr Word kInterlace[] = {{"Interlaced", 1}, {"NonInterlaced", 0}};
constexpr Word kWindowTiming[] = {
    {"Standard_Timing_Generator", 0}, {"External_Timing_Port_0", 1},
    {"External_Timing_Port_1", 2},    {"External_Timing_Port_0_1", 3},
};
constexpr Word kLenPolarity[] = {{"LEN_Invert", 0}, {"LEN_NoInvert", 1}};
constexpr Word kFieldPolarity[] = {{"FLD_Invert", 0}, {"FLD_NoInvert", 1}};
constexpr Word kFenPolarity[] = {{"FEN_Invert", 0}, {"FEN_NoInvert", 1}};
constexpr Word kPclkPolarity[] = {{"PCLK_Invert", 0}, {"PCLK_NoInvert", 1}};
constexpr Word kPixelClock[] = {
    {"External_Pixel_Clock_Enable", 1}, {"External_Pixel_Clock_Disable", 0},
};
constexpr Word kFieldSync[] = {{"Field_Sync_Enable", 1}, {"Field_Sync_Disable", 0}};
constexpr Word kVerticalSync[] = {{"Vertical_Sync_Enable", 1}, {"Vertical_Sync_Disable", 0}};
constexpr Word kTriggerGenerator[] = {{"Trigger_Gen_Enable", 1}, {"Trigger_Gen_Disable", 0}};
constexpr Word kTriggerSource[] = {{"External", 0}, {"Software", 1}};
constexpr Word kFrameResetMode[] = {{"Low_Line", 0}, {"Low_VB", 1}};
constexpr Word kTriggerMode[] = {
    {"Trigger_On_Slow_Strobe", 0}, {"Frame_Reset", 1},
    {"Line_Scan", 2},              {"Trigger_On_Frame_Fast_Strobe", 3},
};
// The enable word is listed twice; reading takes either, writing the first.
constexpr Word kClamping[] = {
    {"Clamping_Disable", 0}, {"Clamping_Enable", 1}, {"Clamping_Enable", 1},
};
constexpr Word kClampingSource[] = {{"Auto_Clamp", 0}, {"Program_Clamp", 1}};
constexpr Word kStrobeSource[] = {{"Strobe_1", 0}, {"Strobe_2", 1}};
constexpr Word kStrobePolarity[] = {{"Strobe_Polarity_Low", 0}, {"Strobe_Polarity_High", 1}};

// Horizontal geometry is kept in units of four pixels and the vertical active
// count less one; the module's own converters show them in pixels and lines.
constexpr KeyRow kRows[] = {
    Range(0, "Startup_Port", S16, kDec, 0, 10, Spec(0, F::S16)),
    String(2, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    Choice(5, "Timing_Option", S16, kTimingOption, 0, kNamed, 5, Cam(0x1c, F::S16)),
    Choice(6, "", S16, kClockSource, 0, kBare, 6, Cam(0x1e, F::S16)),
    Choice(7, "Filter_Type", S16, kFilterType, 0, kNamed, 7, Cam(0x20, F::S16)),
    Choice(8, "Video_Prescale", S16, kPrescale, 0, kNamed, 8, Cam(0x22, F::S16)),
    Choice(9, "", S16, kInterlace, 0, kBare, 9, Cam(0x24, F::S16)),
    Choice(10, "Window_Timing_Source", S16, kWindowTiming, 0, kNamed, 12, Cam(0x26, F::S16)),
    Choice(11, "", S16, kLenPolarity, 0, kBare, 13, Cam(0x28, F::S16)),
    Choice(12, "", S16, kFieldPolarity, 0, kBare, 14, Cam(0x2a, F::S16)),
    Choice(13, "", S16, kFenPolarity, 0, kBare, 15, Cam(0x2c, F::S16)),
    Choice(14, "", S16, kPclkPolarity, 0, kBare, 16, Cam(0x2e, F::S16)),
    Choice(15, "", S16, kPixelClock, 0, kBare, 17, Cam(0x30, F::S16)),
    Choice(16, "", S16, kFieldSync, 0, kBare, 19, Cam(0x32, F::S16)),
    Choice(17, "", S16, kVerticalSync, 0, kBare, 20, Cam(0x34, F::S16)),
    Choice(18, "", S16, kTriggerGenerator, 0, kBare, 22, Cam(0x36, F::S16)),
    Choice(19, "Trigger_Source", S16, kTriggerSource, 0, kNamed, 23, Cam(0x38, F::S16)),
    Choice(20, "Frame_Reset_Mode", S16, kFrameResetMode, 0, kNamed, 24, Cam(0x3a, F::S16)),
    Choice(21, "Trigger_Mode", S16, kTriggerMode, 0, kNamed, 25, Cam(0x3c, F::S16)),
    Range(22, "Strobe_Delay", S16, kDec, 0, 27, Cam(0x3e, F::S16)),
    Range(23, "Horizontal_Offset", S16, kDec, 0, 28, Cam(0x40, F::S16)),
    Range(24, "Horizontal_Active", S16, kDec, 0, 29, Cam(0x42, F::S16)),
    Range(25, "Vertical_Offset", S16, kDec, 0, 30, Cam(0x44, F::S16)),
    Range(26, "Vertical_Active", S16, kDec, 0, 31, Cam(0x46, F::S16)),
    Range(27, "FRESET_Duration", S16, kDec, 0, 32, Cam(0x48, F::S16)),
    Range(28, "Clamping_Offset", S16, kDec, 0, 34, Cam(0x4a, F::S16)),
    Choice(29, "", S16, kClamping, 0, kBare, 35, Cam(0x4c, F::S16)),
    Choice(30, "Clamping_Source", S16, kClampingSource, 0, kNamed, 36, Cam(0x4e, F::S16)),
    Choice(31, "Strobe_Source", S16, kStrobeSource, 0, kNamed, 38, Cam(0x50, F::S16)),
    Choice(32, "", S16, kStrobePolarity, 0, kBare, 39, Cam(0x52, F::S16)),
    Range(33, "Video_N_Ref", S16, kDec, 0, 45, Cam(0x56, F::S16)),
    Range(34, "Video_P_Ref", S16, kDec, 0, 46, Cam(0x58, F::S16)),
};
// clang-format on

// Every key but the start-up port has one value per camera port.
constexpr auto kTx20Keys = PortsFrom(1, kRows);

}  // namespace

// Specification: the start-up port (16-bit, byte 0), then one 32-bit reference
// per camera port at bytes 2 to 17. Camera structure: its fields run from byte
// 0x1c to 0x59, so it is taken as 90 bytes (0x5a).
constinit const ModelTable kTx20Table{
    .model = "TX-20",
    .section = "TX-20",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 18,
            .cameraSize = 90,
            .cameraPorts = 4,
            .cameraRefOffset = 2,
            .activePortOffset = 0,
        },
    .keys = kTx20Keys,
};

}  // namespace qvi::keys
