// The TX-60 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kCameraId[] = {{"0", 0}, {"1", 1}, {"2", 2}};
constexpr Word kCameraMode[] = {{"0", 0}, {"1", 1}, {"4", 4}, {"5", 5}, {"7", 7}};
constexpr Word kWindowFunction[] = {{"WFUNC_Hact", 1}, {"WFUNC_Hoff_Hact", 0}};
constexpr Word kTriggerGenerator[] = {{"Trigger_Gen_Enable", 1}, {"Trigger_Gen_Disable", 0}};
constexpr Word kTriggerSource[] = {{"External", 0}, {"Software", 1}};
constexpr Word kCameraControl[] = {{"Camera_Control_Enable", 1}, {"Camera_Control_Disable", 0}};
constexpr Word kClockBase[] = {
    {"CCLK_14.32MHz", 0},  {"CCLK_16.26MHz", 1}, {"CCLK_24.00MHz", 6}, {"CCLK_25.18MHz", 4},
    {"CCLK_28.32MHz", 5},  {"CCLK_32.51MHz", 3}, {"CCLK_36.00MHz", 10}, {"CCLK_40.00MHz", 7},
    {"CCLK_44.90MHz", 12}, {"CCLK_50.00MHz", 13},
};
constexpr Word kClockDivider[] = {
    {"CCLK_Div1", 0},  {"CCLK_Div2", 1},  {"CCLK_Div4", 2},  {"CCLK_Div8", 3},
    {"CCLK_Div16", 4}, {"CCLK_Div32", 5}, {"CCLK_Div64", 6}, {"CCLK_Div128", 7},
};
constexpr Word kPclkEdge[] = {{"PCLK_Rising", 0}, {"PCLK_Falling", 1}};
constexpr Word kCclkEdge[] = {{"CCLK_Rising", 1}, {"CCLK_Falling", 0}};
constexpr Word kLenEdge[] = {{"LEN_Rising", 0}, {"LEN_Falling", 1}};
constexpr Word kFenEdge[] = {{"FEN_Rising", 1}, {"FEN_Falling", 0}};
constexpr Word kScanMode[] = {{"Area_Scan", 0}, {"Line_Scan", 1}};
constexpr Word kLineMiss[] = {{"No_LineMiss_Mode", 1}, {"LineMiss_Mode", 0}};
constexpr Word kExSyncClock[] = {
    {"EXSCLK_14.32_Div16", 0}, {"EXSCLK_14.32_Div256", 1},
    {"EXSCLK_14.32_Div4K", 2}, {"EXSCLK_14.32_Div64K", 3},
};
constexpr Word kExtSyncMode[] = {
    {"FreeRun", 0}, {"Ext_Trigger", 1}, {"SW_Trigger", 2}, {"vblank_Trigger", 3},
};
constexpr Word kExSyncCounter[] = {{"EXSync_Counter_Disable", 0}, {"EXSync_Counter_Enable", 1}};
constexpr Word kExSyncPolarity[] = {
    {"EXSYNC_Pulse_Active_Low", 0}, {"EXSYNC_Pulse_Active_High", 1},
};
// Disabled, the programmable interrupt writes no line at all.
constexpr Word kPriEnable[] = {{"", 0}, {"PRI_Enable", 1}};
constexpr Word kPriPolarity[] = {{"PRI_Active_Low", 0}, {"PRI_Active_High", 1}};

// The keys in the order of the section. Every value is a signed 16-bit field
// of the camera structure, which is the module specification itself; the
// window is written in hexadecimal. The acquisition size has no register.
constexpr KeyRow kTx60Keys[] = {
    String(2, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    Choice(8, "Camera_ID", S16, kCameraId, 0, kNamed, kNoReg, Cam(0x1c, F::S16)),
    Choice(7, "Camera_Mode", S16, kCameraMode, 0, kNamed, 5, Cam(0x1e, F::S16)),
    Choice(21, "", S16, kWindowFunction, 0, kBare, 9, Cam(0x24, F::S16)),
    Choice(37, "", S16, kTriggerGenerator, 0, kBare, 7, Cam(0x20, F::S16)),
    Choice(38, "Trigger_Source", S16, kTriggerSource, 0, kNamed, 8, Cam(0x22, F::S16)),
    Choice(12, "", S16, kCameraControl, 0, kBare, 12, Cam(0x28, F::S16)),
    Range(13, "Camera_Control_Data", S16, kDec, 0, 14, Cam(0x2c, F::S16)),
    Choice(11, "", S16, kClockBase, 0, kBare, 11, Cam(0x26, F::S16)),
    Choice(14, "", S16, kClockDivider, 0, kBare, 13, Cam(0x2a, F::S16)),
    Choice(15, "", S16, kPclkEdge, 0, kBare, 16, Cam(0x2e, F::S16)),
    Choice(18, "", S16, kCclkEdge, 0, kBare, 19, Cam(0x34, F::S16)),
    Choice(16, "", S16, kLenEdge, 0, kBare, 17, Cam(0x30, F::S16)),
    Choice(17, "", S16, kFenEdge, 0, kBare, 18, Cam(0x32, F::S16)),
    Choice(19, "", S16, kScanMode, 0, kBare, 20, Cam(0x36, F::S16)),
    Choice(20, "", S16, kLineMiss, 0, kBare, 21, Cam(0x38, F::S16)),
    Choice(22, "", S16, kExSyncClock, 0, kBare, 23, Cam(0x3a, F::S16)),
    Choice(23, "ExtSync_Mode", S16, kExtSyncMode, 0, kNamed, 24, Cam(0x3c, F::S16)),
    Choice(24, "", S16, kExSyncCounter, 0, kBare, 25, Cam(0x3e, F::S16)),
    Choice(26, "", S16, kExSyncPolarity, 0, kBare, 26, Cam(0x40, F::S16)),
    Choice(27, "", S16, kPriEnable, 0, kBare, 27, Cam(0x42, F::S16)),
    Choice(28, "", S16, kPriPolarity, 0, kBare, 28, Cam(0x44, F::S16)),
    Range(29, "EXSCLK_CounterPreset", S16, kDec, 0, 29, Cam(0x46, F::S16)),
    Range(34, "Horizontal_Active", S16, kHex, 0, 31, Cam(0x4a, F::S16)),
    Range(33, "Horizontal_Offset", S16, kHex, 0, 30, Cam(0x48, F::S16)),
    Range(36, "Vertical_Active", S16, kHex, 0, 33, Cam(0x4e, F::S16)),
    Range(35, "Vertical_Offset", S16, kHex, 0, 32, Cam(0x4c, F::S16)),
    Range(41, "PRINCount", S16, kHex, 0, 34, Cam(0x50, F::S16)),
    Range(39, "Acq_DX", S16, kDec, 0, kNoReg, Cam(0x52, F::S16)),
    Range(40, "Acq_DY", S16, kDec, 0, kNoReg, Cam(0x54, F::S16)),
};
// clang-format on

}  // namespace

// The specification is the one camera structure itself: 86 bytes (fields up
// to 0x55). The library's record of the module references the module's
// current camera structure at 0x6a, past the structure.
constinit const ModelTable kTx60Table{
    .model = "TX-60",
    .section = "TX-60",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 86,
            .cameraSize = 86,
            .cameraPorts = 1,
            .cameraRefOffset = -1,
            .currentCameraRefOffset = 0x6a,
        },
    .keys = kTx60Keys,
};

}  // namespace qvi::keys
