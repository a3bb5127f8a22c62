// The key table of an SXA camera channel.
#include "keys/model_names.h"
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kInterlace[] = {{"Non_Interlaced", 0}, {"Interlaced", 1}};
constexpr Word kStartField[] = {{"Next_Field", 0}, {"Nex_Even_Field", 2}, {"Next_Odd_Field", 3}};
constexpr Word kLowHigh[] = {{"Low", 0}, {"High", 1}};
constexpr Word kCSyncSelect[] = {{"HSync_Output", 0}, {"CSync_Output", 1}};
constexpr Word kTriggerSource[] = {{"Software", 1}, {"External", 0}};
constexpr Word kActiveLowHigh[] = {{"Active_Low", 0}, {"Active_High", 1}};
constexpr Word kSkipField[] = {{"Skip_Field_Mode_Disable", 0}, {"Skip_Field_Mode_Enable", 1}};
constexpr Word kStrobeOutput[] = {{"Strobe_Enable", 0}, {"Strobe_Disable", 1}};
constexpr Word kStrobeSpeed[] = {{"Fast_Strobe", 0}, {"Slow_Strobe", 1}};
constexpr Word kActiveLowHighInverted[] = {{"Active_Low", 1}, {"Active_High", 0}};
constexpr Word kFrameReset[] = {{"Frame_Reset_Mode_Disable", 0}, {"Frame_Reset_Mode_Enable", 1}};
constexpr Word kFrameResetSize[] = {{"Reset_Offset", 0}, {"One_Line", 1}};
constexpr Word kFrameResetOut[] = {{"Frame_Reset", 0}, {"VSync", 1}};
constexpr Word kTimingModes[] = {
    {"Normal_PLL", 0}, {"Separate_HSync", 2}, {"Normal_Crystal", 3}, {"Dual_Tap", 1},
};
constexpr Word kVScanMode[] = {{"VScan_Mode_Disable", 0}, {"VScan_Mode_Enable", 1}};
constexpr Word kVClockPolarity[] = {{"No_Invert", 0}, {"Invert", 1}};
constexpr Word kEdges[] = {{"Falling_Edge", 0}, {"Rising_Edge", 1}};
constexpr Word kFieldSelect[] = {
    {"Sync_Stripper_Field_Select", 0}, {"Field_Select_Mode_Disable", 1},
};
constexpr Word kFieldShift[] = {{"Field_Shift_Mode_Enable", 1}, {"Field_Shift_Mode_Disable", 0}};
constexpr Word kVSyncOutput[] = {
    {"VSync_Output_Mode_Enable", 1}, {"VSync_Output_Mode_Disable", 0},
};
constexpr Word kScanMode[] = {{"Scan_Mode_Disable", 0}, {"Scan_Mode_Enable", 1}};
constexpr Word kGains[] = {{"Gain_1_0", 0}, {"Gain_1_2", 1}, {"Gain_1_3", 2}, {"Gain_1_5", 3}};
constexpr Word kClampSource[] = {{"Sync_Stripper", 0}, {"Programmable", 1}};
constexpr Word kZeroToSeven[] = {
    {"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7},
};
constexpr Word kPfdMode[] = {{"PFD_Mode_Disable", 0}, {"PFD_Mode_Enable", 1}};
constexpr Word kExternalInternal[] = {{"External", 0}, {"Internal", 1}};
constexpr Word kFeedbackClock[] = {{"VCO", 0}, {"Out1", 1}};
constexpr Word kFeedbackPolarity[] = {{"Positive_Edge", 0}, {"Negative_Edge", 1}};
constexpr Word kZeroToThree[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}};
constexpr Word kFinePhaseReference[] = {{"Lag", 0}, {"Lead", 1}};
constexpr Word kFinePhaseMode[] = {
    {"Fine_Phase_Adjust_Mode_Disable", 0}, {"Fine_Phase_Adjust_Mode_Enable", 1},
};
constexpr Word kDualTap[] = {{"Disabled", 0}, {"Enabled", 1}};

// The keys of an SXA camera channel, in the order of its section (handle 55
// comes before 54). Values live in the channel's 228-byte camera structure;
// handles 6 to 52 are unsigned 32-bit values whatever their field width,
// handles 53 to 70 signed 16-bit. The last two are computed by the program
// and never written: the board revision, and "Dual tap", which follows
// Timing_Mode.
constexpr KeyRow kSxaPortKeys[] = {
    String(3, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    Choice(6, "", U32, kInterlace, 1, kBare, 81, Cam(0x20, F::S16)),
    Choice(7, "Start_Field", U32, kStartField, 0, kNamed, 83, Cam(0x22, F::U32)),
    Range(8, "HTotal", U32, kDec, 0, 123, Cam(0x26, F::U16)),
    Range(9, "HESync", U32, kDec, 0, 124, Cam(0x28, F::U16)),
    Choice(10, "HSync_Polarity", U32, kLowHigh, 0, kNamed, 125, Cam(0x2a, F::U32)),
    Choice(11, "CSync_Select", U32, kCSyncSelect, 0, kNamed, 126, Cam(0x2e, F::U32)),
    Range(12, "Serration_End", U32, kDec, 0, 128, Cam(0x32, F::U16)),
    Range(13, "HEQ_End", U32, kDec, 0, 129, Cam(0x34, F::U16)),
    Range(14, "VTotal", U32, kDec, 0, 131, Cam(0x36, F::U16)),
    Range(15, "VSEnd", U32, kDec, 0, 132, Cam(0x38, F::U16)),
    Choice(16, "VSync_Polarity", U32, kLowHigh, 0, kNamed, 133, Cam(0x3a, F::U32)),
    Range(17, "VGate_Start", U32, kDec, 0, 135, Cam(0x3e, F::U16)),
    Range(18, "VGate_End", U32, kDec, 0, 136, Cam(0x40, F::U16)),
    Range(19, "HOff", U32, kDec, 0, 138, Cam(0x42, F::U16)),
    Range(20, "HActive", U32, kDec, 0, 139, Cam(0x44, F::U16)),
    Range(21, "VOff", U32, kDec, 0, 141, Cam(0x46, F::U16)),
    Range(22, "VActive", U32, kDec, 0, 142, Cam(0x48, F::U16)),
    Choice(23, "Trigger_Source", U32, kTriggerSource, 1, kNamed, 145, Cam(0x4a, F::U32)),
    Range(24, "Trigger_Input_Select", U32, kDec, 0, 146, Cam(0x4e, F::U16)),
    Choice(25, "Trigger_Polarity", U32, kActiveLowHigh, 0, kNamed, 147, Cam(0x50, F::U32)),
    Choice(26, "", U32, kSkipField, 0, kBare, 149, Cam(0x54, F::U32)),
    Choice(27, "", U32, kStrobeOutput, 0, kBare, 154, Cam(0x58, F::U32)),
    Choice(28, "", U32, kStrobeSpeed, 0, kBare, 152, Cam(0x5c, F::U32)),
    Choice(29, "Strobe_Polarity", U32, kActiveLowHighInverted, 1, kNamed, 153, Cam(0x60, F::U32)),
    Range(30, "Strobe_Delay", U32, kDec, 0, 155, Cam(0x64, F::U16)),
    Choice(31, "", U32, kFrameReset, 0, kBare, 156, Cam(0x66, F::U32)),
    Choice(32, "Frame_Reset_Polarity", U32, kActiveLowHighInverted, 1, kNamed, 157,
           Cam(0x6a, F::U32)),
    Choice(33, "Frame_Reset_Size", U32, kFrameResetSize, 0, kNamed, 158, Cam(0x6e, F::U32)),
    Choice(34, "Frame_Reset_Out", U32, kFrameResetOut, 0, kNamed, 159, Cam(0x72, F::U32)),
    Range(35, "Frame_Reset_Offset", U32, kDec, 0, 160, Cam(0x76, F::U16)),
    Choice(36, "Timing_Mode", U32, kTimingModes, 0, kNamed, 164, Cam(0x78, F::U32)),
    Choice(37, "", U32, kVScanMode, 1, kBare, 165, Cam(0x7c, F::U32)),
    Choice(38, "VClock_Polarity", U32, kVClockPolarity, 0, kNamed, 166, Cam(0x80, F::U32)),
    Choice(39, "LEN_Polarity", U32, kEdges, 0, kNamed, 167, Cam(0x84, F::U32)),
    Choice(40, "FEN_Polarity", U32, kEdges, 0, kNamed, 168, Cam(0x88, F::U32)),
    Choice(41, "Field_Polarity", U32, kEdges, 0, kNamed, 169, Cam(0x8c, F::U32)),
    Choice(42, "", U32, kFieldSelect, 0, kBare, 170, Cam(0x90, F::U32)),
    Choice(43, "", U32, kFieldShift, 0, kBare, 171, Cam(0x94, F::U32)),
    Choice(44, "", U32, kVSyncOutput, 0, kBare, 172, Cam(0x98, F::U32)),
    Choice(45, "", U32, kScanMode, 0, kBare, 173, Cam(0x9c, F::U32)),
    Choice(46, "Gain_Select", U32, kGains, 0, kNamed, 174, Cam(0xa0, F::U32)),
    Choice(47, "Misc_Interrupt_Polarity", U32, kEdges, 0, kNamed, 176, Cam(0xa4, F::U32)),
    Range(48, "Negative_Ref", U32, kDec, 0, 186, Cam(0xa8, F::U16)),
    Range(49, "Positive_Ref", U32, kDec, 0, 187, Cam(0xaa, F::U16)),
    Range(50, "Clamp_Delay", U32, kDec, 0, 196, Cam(0xac, F::U16)),
    Choice(51, "Clamp_Polarity", U32, kEdges, 0, kNamed, 197, Cam(0xae, F::U32)),
    Choice(52, "Clamp_Source", U32, kClampSource, 0, kNamed, 198, Cam(0xb2, F::U32)),
    Range(53, "PLL_Feedback_Divider", S16, kDec, 79, 207, Cam(0xb6, F::U16)),
    Range(55, "PLL_Feedback_Sync_High", S16, kDec, 0, 209, Cam(0xba, F::U16)),
    Range(54, "PLL_Feedback_Sync_Low", S16, kDec, 0, 208, Cam(0xb8, F::U16)),
    Range(56, "PLL_Reference_Divider", S16, kDec, 19, 210, Cam(0xbc, F::U16)),
    Choice(57, "VCO_Gain", S16, kZeroToSeven, 4, kNamed, 212, Cam(0xbe, F::U16)),
    Choice(58, "PFD_Gain", S16, kZeroToSeven, 4, kNamed, 213, Cam(0xc0, F::U16)),
    Choice(59, "", S16, kPfdMode, 1, kBare, 214, Cam(0xc2, F::U16)),
    Choice(60, "LPF_Select", S16, kExternalInternal, 1, kNamed, 215, Cam(0xc6, F::U16)),
    Choice(61, "VCO_Select", S16, kExternalInternal, 1, kNamed, 216, Cam(0xca, F::U16)),
    Choice(62, "Feedback_Clock_Select", S16, kFeedbackClock, 1, kNamed, 218, Cam(0xce, F::U16)),
    Choice(63, "Feedback_Polarity", S16, kFeedbackPolarity, 0, kNamed, 219, Cam(0xd2, F::U16)),
    Choice(64, "PLL_Post_Scalar", S16, kZeroToThree, 0, kNamed, 222, Cam(0xd6, F::U16)),
    Choice(65, "Feedback_Post_Scalar", S16, kZeroToThree, 0, kNamed, 223, Cam(0xd8, F::U16)),
    Choice(66, "Fine_Phase_Adjust_Reference", S16, kFinePhaseReference, 0, kNamed, 224,
           Cam(0xda, F::U16)),
    Choice(67, "", S16, kFinePhaseMode, 0, kBare, 225, Cam(0xde, F::U16)),
    Choice(68, "PLL_Load_Counter", S16, kZeroToSeven, 0, kNamed, 226, Cam(0xe2, F::U16)),
    Range(69, "", S16, kDec, 0, kNoReg, kNotKept),
    Choice(70, "Dual tap", S16, kDualTap, 0, kNamed, kNoReg, kNotKept),
};
// clang-format on

}  // namespace

// The channel's specification holds the channel number (16-bit, byte 8) and
// the reference to its camera structure (byte 18); nothing the program uses
// lies beyond byte 22, which is where the specification ends.
constinit const ModelTable kSxaPortTable{
    .model = kSxaChannelModel,
    .section = "CameraPort",
    .category = ModelCategory::CameraChannel,
    .fits = SlotKind::CameraChannel,
    .slots = {},
    .layout =
        {
            .specSize = 22,
            .cameraSize = 228,
            .cameraPorts = 1,
            .cameraRefOffset = 18,
            .slotOffset = 8,
        },
    .keys = kSxaPortKeys,
};

}  // namespace qvi::keys
