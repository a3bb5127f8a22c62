// The TX-10 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kVideoStandard[] = {{"RS170", 0}, {"CCIR", 1}};
constexpr Word kHSyncPolarity[] = {{"HSync_Pol_Lo", 0}, {"HSync_Pol_Hi", 1}};
constexpr Word kVSyncPolarity[] = {{"VSync_Pol_Lo", 0}, {"VSync_Pol_Hi", 1}};
constexpr Word kLenPolarity[] = {{"LEN_Polarity_Lo", 0}, {"LEN_Polarity_Hi", 1}};
constexpr Word kFenPolarity[] = {{"FEN_Polarity_Lo", 0}, {"FEN_Polarity_Hi", 1}};
constexpr Word kFrameReset[] = {{"FRST_Disable", 0}, {"FRST_Enable", 1}};
constexpr Word kFrameResetActive[] = {{"FRST_Active_Hi", 0}, {"FRST_Active_Lo", 1}};
constexpr Word kFrameResetSize[] = {{"FRST_FROFF_Period", 0}, {"FRST_One_Line", 1}};
constexpr Word kFrameResetVSync[] = {{"FRST_Vsync_Disable", 0}, {"FRST_Vsync_Enable", 1}};
constexpr Word kSyncSelect[] = {{"PTG_HSYNC_Select", 0}, {"PTG_CSYNC_Select", 1}};
constexpr Word kCHSyncOutput[] = {{"CHSYNCEN_Enable", 0}, {"CHSYNCEN_Disable", 1}};
constexpr Word kVSyncOutput[] = {{"VSYNCEN_Enable", 0}, {"VSYNCEN_Disable", 1}};
constexpr Word kSyncMode[] = {{"PLL_Mode", 0}, {"XTAL_Mode", 1}};
constexpr Word kLowPass[] = {{"LPF_Disable", 0}, {"LPF_Enable", 1}};
constexpr Word kVScan[] = {{"VSCAN_Disable", 0}, {"VSCAN_Enable", 1}};
constexpr Word kScale[] = {{"Scale_1", 0}, {"Scale_1.5", 1}};
constexpr Word kVClock[] = {{"VClk_Normal", 0}, {"VClk_Inverted", 1}};
constexpr Word kInterlace[] = {{"NonInterlaced", 0}, {"Interlaced", 1}};
constexpr Word kFieldShift[] = {{"FLDSHFT_Enable", 0}, {"FLDSHFT_Disable", 1}};
constexpr Word kTrigger[] = {{"Trig_Disable", 0}, {"Trig_Enable", 1}};
constexpr Word kTriggerSource[] = {{"SW_Trigger", 1}, {"Ext_Trigger", 0}};
constexpr Word kTriggerActive[] = {{"Trigger_Active_Lo", 0}, {"Trigger_Active_Hi", 1}};
// The strobe-mode key also knows "RGB_Strobe_Fast_Triple", which no row
// offers; it takes the value the TX-70 gives the same word.
constexpr Word kStrobeMode[] = {
    {"Strobe_Fast", 0}, {"Strobe_Slow", 1}, {"RGB_Strobe_Fast_Triple", 2}};
constexpr Word kStrobeOutput[] = {{"Strobe_Enable", 0}, {"Strobe_Disable", 1}};
constexpr Word kStrobeActive[] = {{"Strobe_Active_Lo", 1}, {"Strobe_Active_Hi", 0}};
constexpr Word kSkipField[] = {{"Skip_Field_Enable", 1}, {"Skip_Field_Disable", 0}};
constexpr Word kClampSource[] = {{"Clamp_Src_Sync_Strip", 0}, {"Clamp_Src_Prog", 1}};
constexpr Word kClampEdge[] = {{"Clamp_On_LEN_Fall", 0}, {"Clamp_On_LEN_Rise", 1}};
constexpr Word kRefPolarity[] = {{"PLL_REFPOL_Lo", 0}, {"PLL_REFPOL_Hi", 1}};
constexpr Word kZeroToSeven[] = {
    {"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7},
};
constexpr Word kPden[] = {{"PLL_PDEN_Lo", 0}, {"PLL_PDEN_Hi", 1}};
constexpr Word kIntFilter[] = {{"PLL_INTFLT_Lo", 0}, {"PLL_INTFLT_Hi", 1}};
constexpr Word kIntVco[] = {{"PLL_INTVCO_Lo", 0}, {"PLL_INTVCO_Hi", 1}};
constexpr Word kClockSelect[] = {{"PLL_CLKSEL_Lo", 0}, {"PLL_CLKSEL_Hi", 1}};
constexpr Word kFeedbackSelect[] = {{"PLL_External_Feedback", 0}, {"PLL_Internal_Feedback", 1}};
constexpr Word kFeedbackPolarity[] = {{"PLL_FBKPOL_Hi", 1}, {"PLL_FBKPOL_Lo", 0}};
constexpr Word kAdd[] = {{"PLL_ADD_Lo", 0}, {"PLL_ADD_Hi", 1}};
constexpr Word kSwlw[] = {{"PLL_SWLW_Lo", 0}, {"PLL_SWLW_Hi", 1}};
constexpr Word kZeroToThree[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}};
constexpr Word kLeadLag[] = {{"PLL_LDLG_Lo", 0}, {"PLL_LDLG_Hi", 1}};
constexpr Word kFineEnable[] = {{"PLL_FINEEN_Lo", 0}, {"PLL_FINEEN_Hi", 1}};
constexpr Word kOutputMux[] = {{"PLL_OMUX1_Lo", 0}, {"PLL_OMUX1_Hi", 1}};
constexpr Word kReference[] = {{"PLL_Xtal_Mode", 0}, {"PLL_Ext_Ref_Mode", 1}};

// The PLL chip's settings are packed into the words at 0x96 to 0xa2 of the
// camera structure; most share a word and take only their bits of it.
constexpr KeyRow kRows[] = {
    Range(0, "Startup_Port", S16, kDec, 0, 36, Spec(0, F::S16)),
    String(2, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    Choice(5, "", S16, kVideoStandard, 0, kBare, kNoReg, Cam(0x1c, F::S16)),
    Range(6, "HTotal", S16, kDec, 160, 6, Cam(0x20, F::S16)),
    Range(7, "HSync_Low", S16, kDec, 160, 7, Cam(0x22, F::S16)),
    Range(8, "HEqual_End", S16, kDec, 160, 8, Cam(0x24, F::S16)),
    Range(9, "Serration_Total", S16, kDec, 160, 9, Cam(0x26, F::S16)),
    Range(10, "VTotal", S16, kDec, 160, 10, Cam(0x28, F::S16)),
    Range(11, "VSync_Low", S16, kDec, 31, 12, Cam(0x2a, F::S16)),
    Choice(12, "", S16, kHSyncPolarity, 0, kBare, 13, Cam(0x2c, F::S16)),
    Choice(13, "", S16, kVSyncPolarity, 0, kBare, 14, Cam(0x30, F::S16)),
    Range(14, "VGate_Start", S16, kDec, 160, 15, Cam(0x34, F::S16)),
    Range(15, "VGate_End", S16, kDec, 127, 16, Cam(0x36, F::S16)),
    Range(16, "HOffset", S16, kDec, 0, 17, Cam(0x38, F::S16)),
    Range(17, "HActive", S16, kDec, 512, 18, Cam(0x3a, F::S16)),
    Range(18, "VOffset", S16, kDec, 0, 19, Cam(0x3c, F::S16)),
    Range(19, "VActive", S16, kDec, 512, 20, Cam(0x3e, F::S16)),
    Range(20, "Strobe_Delay", S16, kDec, 0, 21, Cam(0x40, F::S16)),
    Choice(82, "", S16, kLenPolarity, 0, kBare, 109, Cam(0xae, F::S16)),
    Choice(83, "", S16, kFenPolarity, 0, kBare, 110, Cam(0xb0, F::S16)),
    Range(21, "FRST_Offset_Delay", S16, kDec, 0, 23, Cam(0x42, F::S16)),
    Choice(23, "", S16, kFrameReset, 0, kBare, 25, Cam(0x48, F::S16)),
    Choice(24, "", S16, kFrameResetActive, 0, kBare, 26, Cam(0x4c, F::S16)),
    Choice(25, "", S16, kFrameResetSize, 0, kBare, 27, Cam(0x50, F::S16)),
    Choice(22, "", S16, kFrameResetVSync, 0, kBare, 24, Cam(0x44, F::S16)),
    Choice(26, "", S16, kSyncSelect, 1, kBare, 29, Cam(0x54, F::S16)),
    Choice(27, "", S16, kCHSyncOutput, 0, kBare, 30, Cam(0x58, F::S16)),
    Choice(28, "", S16, kVSyncOutput, 0, kBare, 31, Cam(0x5c, F::S16)),
    Choice(29, "", S16, kSyncMode, 0, kBare, 32, Cam(0x60, F::S16)),
    Choice(30, "", S16, kLowPass, 0, kBare, 33, Cam(0x64, F::S16)),
    Choice(81, "", S16, kVScan, 0, kBare, 111, Cam(0xaa, F::S16)),
    Choice(31, "", S16, kScale, 0, kBare, 34, Cam(0x68, F::S16)),
    Choice(84, "", S16, kVClock, 0, kBare, 112, Cam(0xb2, F::S16)),
    Choice(32, "", S16, kInterlace, 0, kBare, 35, Cam(0x6c, F::S16)),
    Choice(33, "", S16, kFieldShift, 0, kBare, 37, Cam(0x70, F::S16)),
    Choice(34, "", S16, kTrigger, 0, kBare, 52, Cam(0x74, F::S16)),
    Choice(35, "", S16, kTriggerSource, 0, kBare, 57, Cam(0x78, F::S16)),
    Choice(36, "", S16, kTriggerActive, 0, kBare, 58, Cam(0x7c, F::S16)),
    Choice(37, "", S16, kStrobeMode, 0, kBare, 59, Cam(0x80, F::S16)),
    Choice(85, "", S16, kStrobeOutput, 0, kBare, 113, Cam(0xb6, F::S16)),
    Choice(38, "", S16, kStrobeActive, 0, kBare, 60, Cam(0x84, F::S16)),
    Choice(39, "", S16, kSkipField, 0, kBare, 61, Cam(0x88, F::S16)),
    Range(40, "Clamp_Delay", S16, kDec, 0, 64, Cam(0x8c, F::S16)),
    Choice(42, "", S16, kClampSource, 0, kBare, 66, Cam(0x92, F::S16)),
    Choice(41, "", S16, kClampEdge, 0, kBare, 65, Cam(0x8e, F::S16)),
    Range(80, "PRef", S16, kDec, 0, 72, Cam(0xa8, F::S16)),
    Range(79, "NRef", S16, kDec, 0, 71, Cam(0xa6, F::S16)),
    Range(51, "PLL_FDIV", S16, kDec, 79, 80, Cam(0x96, F::S16)),
    Range(52, "PLL_LO", S16, kDec, 0, 81, Cam(0x98, F::S16)),
    Range(53, "PLL_HI", S16, kDec, 0, 82, Cam(0x9a, F::S16)),
    Range(54, "PLL_RDIV", S16, kDec, 19, 83, CamBits(0x9c, F::S16, 0, 10)),
    Choice(55, "PLL_REFPOL", S16, kRefPolarity, 0, kBare, 84, CamBits(0x9c, F::S16, 10, 6)),
    Choice(56, "PLL_VCO", S16, kZeroToSeven, 4, kNamed, 85, CamBits(0x9e, F::S16, 0, 3)),
    Range(57, "PLL_PFD", S16, kDec, 3, 86, CamBits(0x9e, F::S16, 3, 3)),
    Choice(58, "PLL_PDEN", S16, kPden, 1, kBare, 87, CamBits(0x9e, F::S16, 6, 1)),
    Choice(59, "PLL_INTFLT", S16, kIntFilter, 1, kBare, 88, CamBits(0x9e, F::S16, 7, 1)),
    Choice(60, "PLLINTVCO", S16, kIntVco, 1, kBare, 89, CamBits(0x9e, F::S16, 8, 1)),
    Choice(61, "PLLCLKSEL", S16, kClockSelect, 1, kBare, 90, CamBits(0x9e, F::S16, 9, 1)),
    Choice(62, "PLLFBKSEL", S16, kFeedbackSelect, 1, kBare, 91, CamBits(0xa0, F::S16, 0, 1)),
    Choice(63, "PLLFBKPOL", S16, kFeedbackPolarity, 1, kBare, 92, CamBits(0xa0, F::S16, 1, 1)),
    Choice(64, "PLLADD", S16, kAdd, 0, kBare, 93, CamBits(0xa0, F::S16, 2, 1)),
    Choice(65, "PLLSWLW", S16, kSwlw, 0, kBare, 94, CamBits(0xa0, F::S16, 3, 1)),
    Choice(66, "PLL_PDA", S16, kZeroToThree, 0, kNamed, 95, CamBits(0xa0, F::S16, 4, 2)),
    Choice(67, "PLL_PDB", S16, kZeroToThree, 0, kNamed, 96, CamBits(0xa0, F::S16, 6, 2)),
    Choice(68, "PLLLDLG", S16, kLeadLag, 1, kBare, 97, CamBits(0xa0, F::S16, 8, 1)),
    Choice(69, "PLLFINEEN", S16, kFineEnable, 0, kBare, 98, CamBits(0xa0, F::S16, 9, 1)),
    Range(70, "PLL_LCOUNT", S16, kDec, 0, 99, CamBits(0xa2, F::S16, 0, 3)),
    Choice(71, "PLLOMUX1", S16, kOutputMux, 0, kBare, 100, CamBits(0xa2, F::S16, 3, 1)),
    Choice(78, "PLLEXTREF", S16, kReference, 1, kBare, 107, CamBits(0xa2, F::S16, 10, 1)),
    Range(86, "", S16, kDec, 0, kNoReg, kNotKept),
};
// clang-format on

// Every key but the start-up port has one value per camera port.
constexpr auto kTx10Keys = PortsFrom(1, kRows);

}  // namespace

// Specification: the start-up port (16-bit, byte 0), then one 32-bit reference
// per camera port at bytes 2 to 17. Camera structure: 186 bytes.
constinit const ModelTable kTx10Table{
    .model = "TX-10",
    .section = "TX-10",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 18,
            .cameraSize = 186,
            .cameraPorts = 4,
            .cameraRefOffset = 2,
            .activePortOffset = 0,
        },
    .keys = kTx10Keys,
};

}  // namespace qvi::keys
