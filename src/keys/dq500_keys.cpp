// The DQ-500 board's key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kFrameSizes[] = {
    {"Size_1K1K", 0}, {"Size_2K512", 1}, {"Size_4K256", 2}, {"Size_8K128", 3},
    {"Size_1K2K", 0}, {"Size_2K1K", 1}, {"Size_4K512", 2}, {"Size_8K256", 3},
};
constexpr Word kOverlayFonts[] = {
    {"Font_8X14", 0}, {"Font_8X16", 2}, {"Font_16X16", 1}, {"Font_16X32", 3},
};
constexpr Word kDisplayTypes[] = {
    {"RS512", 0}, {"RS640", 1}, {"CC512", 2}, {"CC768", 3}, {"NI1K768_60HZ", 4},
    {"NI1K768_70HZ", 5}, {"NI800_60HZ", 6}, {"NI800_72HZ", 7}, {"NI640_72HZ", 8},
    {"I1K1K_43HZ", 9}, {"NI1K768_72HZ", 10}, {"NI1280", 11}, {"NI1K1K", 12},
};
constexpr Word kVideoBus[] = {{"VideoBus_Master", 1}, {"VideoBus_Slave", 0}};
constexpr Word kDacSleep[] = {{"Dac_Sleep_Mode_Enabled", 1}, {"Dac_Sleep_Mode_Disabled", 0}};
constexpr Word kDisplayClock[] = {
    {"Display_Clock_Over_100MHz", 1}, {"Display_Clock_Under_100MHz", 0},
};
constexpr Word kInspectDregs[] = {{"Inspect_Dregs_Before_Iregs", 1}, {"", 0}};
constexpr Word kBlankPedestal[] = {{"Blank_Pedestal_Enabled", 1}, {"Blank_Pedestal_Disabled", 0}};
constexpr Word kGamma[] = {{"Gamma_Correction_Enabled", 1}, {"Gamma_Correction_Disabled", 0}};
constexpr Word kColourMode[] = {{"Pseudo_Color_Enabled", 1}, {"True_Color_Enabled", 0}};
constexpr Word kSyncOnGreen[] = {{"Sync_On_Green_Enabled", 1}, {"Sync_On_Green_Disabled", 0}};
constexpr Word kZoom[] = {{"Display_No_Zoom", 0}, {"Display_Zoom_X2", 1}, {"Display_Zoom_X4", 2}};

// The DQ-500 board's keys in the order of its section. Keys that share their
// words and differ in register and handle (the frame sizes, the zooms) are one
// row each, in order. The library keeps them in the board's specification
// behind the board header; the section names no offsets, so they are packed in
// table order as 16-bit fields (all its types are 16-bit).
constexpr KeyRow kDq500Keys[] = {
    Range(54, "Bus_Master_Latency_Timer", S16, kDec, 248, 24, Spec(8, F::S16)),
    Choice(1, "FrameA0_Size", S16, kFrameSizes, 0, kNamed, 188, Spec(10, F::S16)),
    Choice(2, "FrameA1_Size", S16, kFrameSizes, 0, kNamed, 218, Spec(12, F::S16)),
    Choice(3, "FrameB1_Size", S16, kFrameSizes, 0, kNamed, 248, Spec(14, F::S16)),
    Choice(6, "Overlay_Text_Font", S16, kOverlayFonts, 0, kNamed, kNoReg, Spec(16, F::S16)),
    Choice(7, "Display_Type", S16, kDisplayTypes, 0, kNamed, kNoReg, Spec(18, F::S16)),
    Choice(49, "", S16, kVideoBus, 0, kBare, 121, Spec(20, F::S16)),
    Choice(53, "", S16, kDacSleep, 0, kBare, 292, Spec(22, F::S16)),
    Choice(51, "", S16, kDisplayClock, 0, kBare, kNoReg, Spec(24, F::S16)),
    Choice(52, "", S16, kInspectDregs, 0, kBare, kNoReg, Spec(26, F::S16)),
    Choice(41, "", S16, kBlankPedestal, 0, kBare, 286, Spec(28, F::S16)),
    Choice(42, "", S16, kGamma, 0, kBare, 288, Spec(30, F::S16)),
    Choice(43, "", S16, kColourMode, 0, kBare, 289, Spec(32, F::S16)),
    Choice(40, "", S16, kSyncOnGreen, 0, kBare, 285, Spec(34, F::S16)),
    Choice(37, "FrameA0_Display_X_Zoom", S16, kZoom, 0, kNamed, 189, Spec(36, F::S16)),
    Choice(38, "FrameA1_Display_X_Zoom", S16, kZoom, 0, kNamed, 219, Spec(38, F::S16)),
    Choice(39, "FrameB1_Display_X_Zoom", S16, kZoom, 0, kNamed, 249, Spec(40, F::S16)),
    Choice(55, "Overlay_Display_X_Zoom", S16, kZoom, 0, kNamed, 308, Spec(42, F::S16)),
    Range(9, "Display_Line_Rate", U16, kDec, 0, 305, Spec(44, F::U16)),
    Range(10, "Display_Horz_Sync_Pulse_End", U16, kDec, 0, 306, Spec(46, F::U16)),
    Range(33, "Display_Eq_Pulse_End", U16, kDec, 0, 311, Spec(48, F::U16)),
    Range(34, "Display_Ser_Pulse_End", U16, kDec, 0, 315, Spec(50, F::U16)),
    Range(11, "Display_Horz_Blank_Start", U16, kDec, 0, 316, Spec(52, F::U16)),
    Range(12, "Display_Horz_Blank_End", U16, kDec, 0, 317, Spec(54, F::U16)),
    Range(13, "Display_Frame_Rate", U16, kDec, 0, 318, Spec(56, F::U16)),
    Range(30, "Display_Vert_Sync_End", U16, kDec, 0, 319, Spec(58, F::U16)),
    Range(35, "Display_Vert_Gate_Start", U16, kDec, 0, 320, Spec(60, F::U16)),
    Range(36, "Display_Vert_Gate_End", U16, kDec, 0, 321, Spec(62, F::U16)),
    Range(31, "Display_Vert_Blank_Start", U16, kDec, 0, 322, Spec(64, F::U16)),
    Range(32, "Display_Vert_Blank_End", U16, kDec, 0, 323, Spec(66, F::U16)),
    Range(44, "PLL_Feedback_Divider_Value", U16, kDec, 0, 298, Spec(68, F::U16)),
    Range(45, "PLL_Prescale_Divider_Value", U16, kDec, 0, 300, Spec(70, F::U16)),
    Range(46, "PLL_Postscale_Divider_Value", U16, kDec, 0, 301, Spec(72, F::U16)),
    Range(47, "PLL_Charge_Pump_Gain_Value", U16, kDec, 0, 303, Spec(74, F::U16)),
    Range(48, "PLL_Loop_Filter_Value", U16, kDec, 0, 304, Spec(76, F::U16)),
};
// clang-format on

// Slot 0 takes the acquisition module, slot 1 the computational module.
constexpr SlotKind kDq500Slots[] = {SlotKind::Acquisition, SlotKind::Computational};

}  // namespace

// The specification ends with the last key field (byte 78).
constinit const ModelTable kDq500Table{
    .model = "DQP",
    .section = "DQ-500",
    .category = ModelCategory::Board,
    .fits = SlotKind::Acquisition,  // not used: it takes no slot
    .slots = kDq500Slots,
    .layout = {.specSize = 78},
    .keys = kDq500Keys,
};

}  // namespace qvi::keys
