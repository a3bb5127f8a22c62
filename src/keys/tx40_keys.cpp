// The TX-40 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kInterlace[] = {{"NonInterlaced", 0}, {"Interlaced", 1}};
constexpr Word kInterleave[] = {{"NonInterleaved_Pixels", 0}, {"Interleaved_Pixels", 1}};
constexpr Word kScanMode[] = {{"Area_Scan", 0}, {"Line_Scan", 1}};
constexpr Word kLenWidth[] = {{"LEN_Wide", 0}, {"LEN_Small", 1}};
constexpr Word kLineMiss[] = {{"LineMiss_Mode", 1}, {"No_LineMiss_Mode", 0}};
constexpr Word kFifoMode[] = {{"Normal_FIFO_Mode", 0}, {"FIFO_Reset_Mode", 1}};
constexpr Word kPixelSize[] = {
    {"Pixel_Size_8", 0}, {"Pixel_Size_10", 1}, {"Pixel_Size_12", 2}, {"Pixel_Size_16", 3},
};
// The base frequencies in the order the clock labels list them; the values
// are the clock chip's codes.
constexpr Word kClockBase[] = {
    {"CCLK_14.32MHz", 0},  {"CCLK_16.26MHz", 1}, {"CCLK_24.00MHz", 6}, {"CCLK_25.18MHz", 4},
    {"CCLK_28.32MHz", 5},  {"CCLK_32.51MHz", 3}, {"CCLK_36.00MHz", 10}, {"CCLK_40.00MHz", 7},
    {"CCLK_44.90MHz", 12}, {"CCLK_50.00MHz", 13},
};
constexpr Word kClockDivider[] = {
    {"CCLK_Div1", 0},  {"CCLK_Div2", 1},  {"CCLK_Div4", 2},  {"CCLK_Div8", 3},
    {"CCLK_Div16", 4}, {"CCLK_Div32", 5}, {"CCLK_Div64", 6}, {"CCLK_Div128", 7},
};
constexpr Word kExtSyncMode[] = {
    {"FreeRun", 0}, {"Ext_Trigger", 1}, {"SW_Trigger", 2}, {"FEN_Trigger", 3},
};
constexpr Word kExSyncClock[] = {
    {"EXSCLK_14.32_Div2", 0},   {"EXSCLK_14.32_Div8", 1},   {"EXSCLK_14.32_Div32", 2},
    {"EXSCLK_14.32_Div128", 3}, {"EXSCLK_14.32_Div512", 4}, {"EXSCLK_14.32_Div2048", 5},
};
constexpr Word kExSyncCounter[] = {{"EXSync_Counter_Disable", 0}, {"EXSync_Counter_Enable", 1}};
constexpr Word kTriggerGenerator[] = {{"Trigger_Gen_Enable", 1}, {"Trigger_Gen_Disable", 0}};
constexpr Word kTriggerSource[] = {{"External", 0}, {"Software", 1}};
constexpr Word kXillixMode[] = {{"Xillix_Mode_Enable", 1}, {"Xillix_Mode_Disable", 0}};
// Disabled, the programmable interrupt writes no line at all.
constexpr Word kPriEnable[] = {{"", 0}, {"PRI_Enable", 1}};
constexpr Word kPriPolarity[] = {{"PRI_Active_Low", 0}, {"PRI_Active_High", 1}};
constexpr Word kOutputByte[] = {{"High_Byte", 1}, {"Low_Byte", 0}};
constexpr Word kPclkPolarity[] = {{"PCLK_Invert", 1}, {"PCLK_NoInvert", 0}};
constexpr Word kLenPolarity[] = {{"LEN_Invert", 1}, {"LEN_NoInvert", 0}};
constexpr Word kFenPolarity[] = {{"FEN_Invert", 0}, {"FEN_NoInvert", 1}};
constexpr Word kFieldPolarity[] = {{"FLD_Invert", 0}, {"FLD_NoInvert", 1}};
constexpr Word kExSyncPolarity[] = {
    {"EXSYNC_Pulse_Active_Low", 0}, {"EXSYNC_Pulse_Active_High", 1},
};

// The keys in the order of the section. Every value is a signed 16-bit field
// of the camera structure, which is the module specification itself. With
// interleaved pixels the library keeps the horizontal active width as the
// module writes it (the stored value doubled, plus four).
constexpr KeyRow kTx40Keys[] = {
    String(2, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    Range(37, "Horizontal_Active", S16, kDec, 0, 37, Cam(0x5e, F::S16)),
    Range(36, "Horizontal_Offset", S16, kDec, 0, 36, Cam(0x5c, F::S16)),
    Range(39, "Vertical_Active", S16, kDec, 0, 39, Cam(0x62, F::S16)),
    Range(38, "Vertical_Offset", S16, kDec, 0, 38, Cam(0x60, F::S16)),
    Choice(19, "", S16, kInterlace, 0, kBare, 15, Cam(0x38, F::S16)),
    Choice(32, "", S16, kInterleave, 0, kBare, 29, Cam(0x50, F::S16)),
    Choice(18, "", S16, kScanMode, 0, kBare, 14, Cam(0x36, F::S16)),
    Choice(20, "", S16, kLenWidth, 0, kBare, 16, Cam(0x3a, F::S16)),
    Choice(21, "", S16, kLineMiss, 0, kBare, 17, Cam(0x3c, F::S16)),
    Choice(22, "", S16, kFifoMode, 0, kBare, 18, Cam(0x3e, F::S16)),
    Choice(31, "", S16, kPixelSize, 0, kBare, 28, Cam(0x4e, F::S16)),
    Choice(10, "", S16, kClockBase, 0, kBare, 5, Cam(0x26, F::S16)),
    Choice(11, "", S16, kClockDivider, 0, kBare, 6, Cam(0x28, F::S16)),
    Choice(24, "ExtSync_Mode", S16, kExtSyncMode, 0, kNamed, 21, Cam(0x42, F::S16)),
    Choice(23, "", S16, kExSyncClock, 0, kBare, 20, Cam(0x40, F::S16)),
    Choice(25, "", S16, kExSyncCounter, 0, kBare, 22, Cam(0x44, F::S16)),
    Range(30, "EXSCLK_CounterPreset", S16, kDec, 0, 26, Cam(0x4c, F::S16)),
    Choice(40, "", S16, kTriggerGenerator, 0, kBare, 41, Cam(0x64, F::S16)),
    Choice(41, "Trigger_Source", S16, kTriggerSource, 0, kNamed, 42, Cam(0x66, F::S16)),
    Choice(12, "", S16, kXillixMode, 0, kBare, 7, Cam(0x2a, F::S16)),
    Range(13, "Camera_Mode", S16, kDec, 0, 8, Cam(0x2c, F::S16)),
    Choice(28, "", S16, kPriEnable, 0, kBare, 24, Cam(0x48, F::S16)),
    Choice(29, "", S16, kPriPolarity, 0, kBare, 25, Cam(0x4a, F::S16)),
    Choice(33, "TX_OutputA", S16, kOutputByte, 0, kNamed, 30, Cam(0x52, F::S16)),
    Choice(34, "TX_OutputB", S16, kOutputByte, 0, kNamed, 31, Cam(0x54, F::S16)),
    Choice(35, "TX_OutputC", S16, kOutputByte, 0, kNamed, 32, Cam(0x56, F::S16)),
    Choice(14, "", S16, kPclkPolarity, 0, kBare, 10, Cam(0x2e, F::S16)),
    Choice(15, "", S16, kLenPolarity, 0, kBare, 11, Cam(0x30, F::S16)),
    Choice(16, "", S16, kFenPolarity, 0, kBare, 12, Cam(0x32, F::S16)),
    Choice(17, "", S16, kFieldPolarity, 0, kBare, 13, Cam(0x34, F::S16)),
    Choice(27, "", S16, kExSyncPolarity, 0, kBare, 23, Cam(0x46, F::S16)),
};
// clang-format on

}  // namespace

// The specification is the one camera structure itself: 106 bytes (0x6a).
// Right behind it, the library's record of the module references the
// module's current camera structure.
constinit const ModelTable kTx40Table{
    .model = "TX-40",
    .section = "TX-40",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 106,
            .cameraSize = 106,
            .cameraPorts = 1,
            .cameraRefOffset = -1,
            .currentCameraRefOffset = 0x6a,
        },
    .keys = kTx40Keys,
};

}  // namespace qvi::keys
