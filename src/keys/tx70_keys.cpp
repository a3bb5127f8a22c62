// The TX-70: an RGB input board or an NTSC/PAL decoder board behind four
// camera ports. The RGB keys come first, then the colour matrix and the PLL,
// then the decoder's keys; which half means something depends on the board.

#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// Port defaults: the three RGB ports take the RGB board's values; port 3
// (which the RGB board does not have) mostly index values.
constexpr PortDefault Num(double number) {
    return {number, false};
}
constexpr PortDefault Idx(double position) {
    return {position, true};
}

template <std::size_t N>
constexpr KeyRow WithPorts(KeyRow row, const PortDefault (&defaults)[N]) {
    row.defaultNumber = defaults[0].number;
    row.portDefaults = defaults;
    return row;
}

// A 16-bit word of the camera structure shared by several PLL fields.
constexpr Location Bits(std::uint16_t offset, std::uint8_t shift, std::uint8_t count) {
    return CamBits(offset, F::U16, shift, count);
}

constexpr Location Matrix(std::uint16_t offset, Field field) {
    return {Record::Matrix, offset, field};
}

// clang-format off
constexpr Word kInputType[] = {{"RGB_Input_Board", 8}, {"NTSC_PAL_Input_Board", 7}};
constexpr Word kMuxMode[] = {{"Static_Mux_Mode", 0}, {"Dynamic_Mux_Mode", 1}};
constexpr Word kFifo[] = {{"Output_FIFO_0", 0}, {"Output_FIFO_1", 1}, {"Output_FIFO_2", 2}};
constexpr Word kCameraInput[] = {{"RGB_CAM0_Input", 0}, {"RGB_CAM1_Input", 1}};
constexpr Word kFrstMode[] = {{"RGB_FRST_Disable", 0}, {"RGB_FRST_Enable", 1}};
constexpr Word kFrstPolarity[] = {{"RGB_FRST_Active_Hi", 0}, {"RGB_FRST_Active_Lo", 1}};
constexpr Word kFrstSize[] = {{"RGB_FRST_FROFF_Period", 0}, {"RGB_FRST_One_Line", 1}};
constexpr Word kSkipVb[] = {{"RGB_Skip_VB_Disable", 0}, {"RGB_Skip_VB_Enable", 1}};
constexpr Word kFrstVsync[] = {{"RGB_FRST_VSync_Disable", 0}, {"RGB_FRST_VSync_Enable", 1}};
constexpr Word kFenPolarity[] = {{"RGB_FEN_Pol_Falling", 0}, {"RGB_FEN_Pol_Rising", 1}};
constexpr Word kLenPolarity[] = {{"RGB_LEN_Pol_Falling", 0}, {"RGB_LEN_Pol_Rising", 1}};
constexpr Word kFieldPolarity[] = {{"RGB_FLDPOL_Hi", 1}, {"RGB_FLDPOL_Lo", 0}};
constexpr Word kFieldSelect[] = {{"RGB_FLDSEL_Lo", 0}, {"RGB_FLDSEL_Hi", 1}};
constexpr Word kVScan[] = {{"VScan_Enable", 1}, {"VScan_Disable", 0}};
constexpr Word kPllReference[] = {
    {"Stripped_Hsync", 0}, {"Stripped_Csync", 1}, {"Separate_Hsync", 2}, {"Ref_XTAL_Input", 3},
};
constexpr Word kVsyncOutput[] = {{"VSYNCEN_Disable", 0}, {"VSYNCEN_Enable", 1}};
constexpr Word kSyncOutput[] = {{"PTG_CSYNC_Select", 1}, {"PTG_HSYNC_Select", 0}};
constexpr Word kFieldShift[] = {{"FLDSHFT_Enable", 1}, {"FLDSHFT_Disable", 0}};
constexpr Word kRgbInterlace[] = {{"RGB_NonInterlace", 0}, {"RGB_Interlace", 1}};
constexpr Word kVclk[] = {{"VCLK_ClkInvert", 1}, {"VCLK_NoInvert", 0}};
constexpr Word kLowPass[] = {{"6MHz_Cutoff_LPF", 0}, {"10MHz_Cutoff_LPF", 1}};
constexpr Word kLutOutput[] = {{"LUT0_FIFO1", 0}, {"LUT1_FIFO1", 1}};
constexpr Word kCscPath[] = {{"CSC_Selected_Mode", 0}, {"CSC_Bypassed_Mode", 1}};
// The third word repeats the second: "Interrupt by EOT" is written as by VB.
constexpr Word kInterrupt[] = {
    {"Interrupt_By_Strobe", 0}, {"Interrupt_By_VB", 1}, {"Interrupt_By_VB", 1},
};
constexpr Word kStripSource[] = {{"Grn_Video_StrpSrc", 1}, {"CAM0_Hdrive_StrpSrc", 0}};
constexpr Word kTriggerSource[] = {{"RGB_SW_Trigger", 1}, {"RGB_Ext_Trigger", 0}};
constexpr Word kTriggerPolarity[] = {{"RGB_Trigger_Active_Lo", 0}, {"RGB_Trigger_Active_Hi", 1}};
constexpr Word kTriggerInterlace[] = {
    {"RGB_Interlaced_Trigger", 0}, {"RGB_Noninterlaced_Trigger", 1},
};
constexpr Word kStrobeMode[] = {
    {"RGB_Strobe_Fast", 0}, {"RGB_Strobe_Slow", 1},
    {"RGB_Strobe_Fast_Triple", 2}, {"RGB_Strobe_Slow_Triple", 3},
};
constexpr Word kStrobePolarity[] = {{"RGB_Strobe_Active_Lo", 1}, {"RGB_Strobe_Active_Hi", 0}};
constexpr Word kSkipField[] = {{"RGB_Skip_Field_Enable", 1}, {"RGB_Skip_Field_Disable", 0}};
constexpr Word kClampSource[] = {{"Clamp_Src_Sync_Strip", 0}, {"Clamp_Src_Prog", 1}};
constexpr Word kClampEdge[] = {{"RGB_Clamp_On_LEN_Fall", 0}, {"RGB_Clamp_On_LEN_Rise", 1}};
constexpr Word kMatrixStructure[] = {{"Default_Structure", 1}, {"Create_Structure", 0}};
constexpr Word kOutputLut[] = {{"Linear", 0}, {"HSI", 1}};
constexpr Word kGain[] = {
    {"RGB_280_Gain", 0}, {"RGB_336_Gain", 1}, {"RGB_250_Gain", 2}, {"RGB_300_Gain", 3},
};
constexpr Word kRefPolarity[] = {{"PLL_REFPOL_Lo", 0}, {"PLL_REFPOL_Hi", 1}};
constexpr Word kEight[] = {
    {"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"7", 7},
};
constexpr Word kFour[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}};
constexpr Word kPden[] = {{"PLL_PDEN_Lo", 0}, {"PLL_PDEN_Hi", 1}};
constexpr Word kIntflt[] = {{"PLL_INTFLT_Lo", 0}, {"PLL_INTFLT_Hi", 1}};
constexpr Word kIntvco[] = {{"PLL_INTVCO_Lo", 0}, {"PLL_INTVCO_Hi", 1}};
constexpr Word kClksel[] = {{"PLL_CLKSEL_Lo", 0}, {"PLL_CLKSEL_Hi", 1}};
constexpr Word kFeedback[] = {{"PLL_External_Feedback", 0}, {"PLL_Internal_Feedback", 1}};
constexpr Word kFbkpol[] = {{"PLL_FBKPOL_Hi", 1}, {"PLL_FBKPOL_Lo", 0}};
constexpr Word kAdd[] = {{"PLL_ADD_Hi", 1}, {"PLL_ADD_Lo", 0}};
constexpr Word kSwlw[] = {{"PLL_SWLW_Hi", 1}, {"PLL_SWLW_Lo", 0}};
constexpr Word kLdlg[] = {{"PLL_LDLG_Hi", 1}, {"PLL_LDLG_Lo", 0}};
constexpr Word kFineen[] = {{"PLL_FINEEN_Hi", 1}, {"PLL_FINEEN_Lo", 0}};
constexpr Word kOmux1[] = {{"PLL_OMUX1_Hi", 1}, {"PLL_OMUX1_Lo", 0}};
constexpr Word kExtref[] = {{"PLL_Ext_Ref_Mode", 1}, {"PLL_Xtal_Mode", 0}};
constexpr Word kFrameType[] = {{"SXP_YCRCB", 0}, {"SXP_MONO", 1}};
constexpr Word kInputFormat[] = {
    {"Auto_Format_Detect", 0}, {"NTSC_M_Input", 1}, {"PAL_BDGHI_Input", 3},
    {"PAL_M_Input", 4}, {"PAL_N_Input", 5}, {"SECAM_Input", 6},
};
constexpr Word kCrystal[] = {{"NP_XT_Auto", 3}, {"NP_XT0", 1}, {"NP_XT1", 2}};
constexpr Word kHactReset[] = {{"NP_Reset_HACT_w_HRESET", 0}, {"Extend_Reset_HACT_b_HRESET", 1}};
constexpr Word kDecoderMux[] = {{"NP_MUX0", 2}, {"NP_MUX1", 3}, {"NP_MUX2", 1}, {"NP_MUX3", 0}};
constexpr Word kDecStart[] = {{"NP_Dec_Start_O_Field", 0}, {"NP_Dec_Start_E_Field", 1}};
constexpr Word kDecField[] = {{"NP_Tempo_Dec_by_Field", 1}, {"NP_Tempo_Dec_by_Frame", 0}};
constexpr Word kLumaNotch[] = {
    {"NP_Luma_Notch_Filter_Enable", 0}, {"NP_Luma_Notch_Filter_Disable", 1},
};
constexpr Word kVideoType[] = {{"NP_Composite_Video", 0}, {"NP_YC_Component_Video", 1}};
constexpr Word kLumaDecimation[] = {
    {"NP_Luma_Decimation_Enable", 0}, {"NP_Luma_Decimation_Disable", 1},
};
constexpr Word kCbCrOrder[] = {{"NP_Normal_CbCr_Order", 0}, {"NP_Invert_CbCr_Order", 1}};
constexpr Word kOutputState[] = {
    {"Time_and_Data", 0}, {"Data", 1}, {"Time_and_Data_Clock", 2}, {"Clock_and_Data", 3},
};
constexpr Word kLenWidth[] = {{"NP_LEN_8Bit_Out", 0}, {"NP_LEN_16Bit_Out", 1}};
constexpr Word kCtrlCode[] = {
    {"NP_Ctrl_Code_insert_Enable", 1}, {"NP_Ctrl_Code_insert_Disable", 0},
};
constexpr Word kCoring[] = {{"No_Coring", 0}, {"8_Coring", 1}, {"16_Coring", 2}, {"32_Coring", 3}};
constexpr Word kLumaRange[] = {{"NP_Normal_Luma_Out", 0}, {"NP_Full_Luma_Out", 1}};
constexpr Word kNpInterlace[] = {{"NP_NonInterlace", 0}, {"NP_Interlace", 1}};
constexpr Word kChromaComb[] = {{"NP_Chroma_Comb_Enable", 1}, {"NP_Chroma_Comb_Disable", 0}};
constexpr Word kLumaComb[] = {{"NP_Luma_Comb_Enable", 1}, {"NP_Luma_Comb_Disable", 0}};
constexpr Word kChromaAdc[] = {{"NP_Normal_Chroma_ADC", 0}, {"NP_Sleep_Chroma_ADC", 1}};
constexpr Word kVScaleFilter[] = {{"NP_2_Tap", 0}, {"NP_3_Tap", 1}, {"NP_4_Tap", 2}, {"NP_5_Tap", 3}};
constexpr Word kActive[] = {{"NP_ACTIVE_Comp_Active", 0}, {"NP_ACTIVE_hor_Active", 1}};
constexpr Word kHResetWidth[] = {{"NP_HReset_64CLKx1_Wide", 0}, {"NP_HReset_1Pixel_Wide", 1}};

// The defaults that differ between ports.
constexpr PortDefault kBoards[] = {Num(8), Num(8), Num(7), Num(7)};
constexpr PortDefault kMuxModes[] = {Num(0), Num(1), Num(0), Num(0)};
constexpr PortDefault kTx1Mux[] = {Num(1), Num(1), Num(1), Num(0)};
constexpr PortDefault kTx2Mux[] = {Num(2), Num(2), Num(2), Idx(2)};
constexpr PortDefault k160[] = {Num(160), Num(160), Num(160), Idx(0)};
constexpr PortDefault k31[] = {Num(31), Num(31), Num(31), Idx(0)};
constexpr PortDefault k127[] = {Num(127), Num(127), Num(127), Idx(0)};
constexpr PortDefault k1298[] = {Num(1298), Num(1298), Num(1298), Idx(0)};
constexpr PortDefault k512[] = {Num(512), Num(512), Num(512), Idx(0)};
constexpr PortDefault k79[] = {Num(79), Num(79), Num(79), Idx(0)};
constexpr PortDefault k19[] = {Num(19), Num(19), Num(19), Idx(0)};
constexpr PortDefault k3[] = {Num(3), Num(3), Num(3), Idx(0)};
constexpr PortDefault k1[] = {Num(1), Num(1), Num(1), Idx(0)};
constexpr PortDefault k0[] = {Num(0), Num(0), Num(0), Idx(0)};
constexpr PortDefault k1Index1[] = {Num(1), Num(1), Num(1), Idx(1)};
constexpr PortDefault kLuts[] = {Num(0), Num(0), Idx(0), Idx(0)};
constexpr PortDefault kDecoderMuxes[] = {Num(2), Num(3), Num(1), Num(0)};
constexpr PortDefault kHActive[] = {Num(160), Num(160), Num(160), Num(720)};
constexpr PortDefault kVActive[] = {Num(160), Num(160), Num(160), Num(576)};

constexpr KeyRow kRows[] = {
    Range(0, "Startup_Port", S16, kDec, 0, kNoReg, Spec(6, F::S16)),
    String(5, "Load_Name", "tx70def.mcs", kNoReg, Spec(0, F::TextRef)),
    WithPorts(Choice(7, "Input Type", S16, kInputType, 8, kBare, 3, Spec(8, F::S16)), kBoards),
    String(3, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    WithPorts(Choice(21, "", S16, kMuxMode, 0, kBare, 5, Cam(0x28, F::S16)), kMuxModes),
    Choice(18, "TX0_Mux_Select", S16, kFifo, 0, kNamed, 4, Cam(0x2a, F::S16)),
    WithPorts(Choice(19, "TX1_Mux_Select", S16, kFifo, 1, kNamed, 4, Cam(0x2c, F::S16)), kTx1Mux),
    WithPorts(Choice(20, "TX2_Mux_Select", S16, kFifo, 2, kNamed, 4, Cam(0x2e, F::S16)), kTx2Mux),
    Choice(81, "", S16, kCameraInput, 0, kBare, 95, Cam(0x98, F::S16)),
    WithPorts(Range(29, "RGB_HTotal", S16, kDec, 160, 24, Cam(0x36, F::S16)), k160),
    WithPorts(Range(30, "RGB_HSync_Low", S16, kDec, 160, 25, Cam(0x38, F::S16)), k160),
    WithPorts(Range(31, "RGB_HEqual_End", S16, kDec, 160, 26, Cam(0x3a, F::S16)), k160),
    WithPorts(Range(32, "RGB_Serration_Total", S16, kDec, 160, 27, Cam(0x3c, F::S16)), k160),
    WithPorts(Range(33, "RGB_VTotal", S16, kDec, 160, 28, Cam(0x3e, F::S16)), k160),
    WithPorts(Range(34, "RGB_VSync_Low", S16, kDec, 31, 30, Cam(0x40, F::S16)), k31),
    WithPorts(Range(37, "RGB_VGate_Start", S16, kDec, 160, 34, Cam(0x4a, F::S16)), k160),
    WithPorts(Range(38, "RGB_VGate_End", S16, kDec, 127, 35, Cam(0x4c, F::S16)), k127),
    WithPorts(Range(39, "RGB_HOffset", S16, kDec, 0, 36, Cam(0x4e, F::S16)), k0),
    WithPorts(Range(41, "RGB_HActive", S16, kDec, 1298, 37, Cam(0x50, F::S16)), k1298),
    WithPorts(Range(40, "RGB_VOffset", S16, kDec, 0, 38, Cam(0x52, F::S16)), k0),
    WithPorts(Range(42, "RGB_VActive", S16, kDec, 512, 39, Cam(0x54, F::S16)), k512),
    WithPorts(Range(43, "RGB_Strobe_Delay", S16, kDec, 0, 40, Cam(0x56, F::S16)), k0),
    Range(44, "RGB_FRST_Offset_Delay", S16, kDec, 0, 43, Cam(0x58, F::S16)),
    Choice(45, "", S16, kFrstMode, 0, kBare, 46, Cam(0x5e, F::S16)),
    Choice(46, "", S16, kFrstPolarity, 0, kBare, 47, Cam(0x60, F::S16)),
    Choice(47, "", S16, kFrstSize, 0, kBare, 48, Cam(0x62, F::S16)),
    Choice(177, "", S16, kSkipVb, 0, kBare, 44, Cam(0x5c, F::S16)),
    Choice(178, "", S16, kFrstVsync, 0, kBare, 45, Cam(0x5a, F::S16)),
    WithPorts(Choice(56, "", S16, kFenPolarity, 0, kBare, 50, Cam(0x64, F::S16)), k0),
    WithPorts(Choice(57, "", S16, kLenPolarity, 0, kBare, 51, Cam(0x66, F::S16)), k0),
    WithPorts(Choice(58, "", S16, kFieldPolarity, 0, kBare, 52, Cam(0x68, F::S16)), k0),
    Choice(59, "", S16, kFieldSelect, 0, kBare, 53, Cam(0x6a, F::S16)),
    WithPorts(Choice(60, "", S16, kVScan, 0, kBare, 54, Cam(0x6c, F::S16)), k0),
    WithPorts(Choice(61, "PLL_Ref_Select", S16, kPllReference, 0, kNamed, 55, Cam(0x6e, F::S16)), k0),
    Choice(62, "", S16, kVsyncOutput, 0, kBare, 56, Cam(0x70, F::S16)),
    WithPorts(Choice(63, "", S16, kSyncOutput, 1, kBare, 57, Cam(0x72, F::S16)), k1),
    WithPorts(Choice(64, "", S16, kFieldShift, 0, kBare, 58, Cam(0x74, F::S16)), k0),
    WithPorts(Choice(76, "", S16, kRgbInterlace, 0, kBare, 87, Cam(0x8e, F::S16)), k0),
    WithPorts(Choice(77, "", S16, kVclk, 0, kBare, 88, Cam(0x90, F::S16)), k0),
    WithPorts(Choice(79, "", S16, kLowPass, 0, kBare, 93, Cam(0x94, F::S16)), k0),
    WithPorts(Choice(80, "", S16, kLutOutput, 0, kBare, 94, Cam(0x96, F::S16)), k0),
    WithPorts(Choice(82, "", S16, kCscPath, 1, kBare, 96, Cam(0x9a, F::S16)), k1),
    Choice(83, "", S16, kInterrupt, 0, kBare, 97, Cam(0x9c, F::S16)),
    Choice(84, "", S16, kStripSource, 0, kBare, 98, Cam(0x9e, F::S16)),
    Choice(70, "", S16, kTriggerSource, 0, kBare, 71, Cam(0x7c, F::S16)),
    Choice(71, "", S16, kTriggerPolarity, 0, kBare, 72, Cam(0x7e, F::S16)),
    Choice(72, "", S16, kTriggerInterlace, 0, kBare, 73, Cam(0x80, F::S16)),
    Choice(73, "", S16, kStrobeMode, 0, kBare, 74, Cam(0x82, F::S16)),
    Choice(74, "", S16, kStrobePolarity, 0, kBare, 75, Cam(0x84, F::S16)),
    Choice(75, "", S16, kSkipField, 0, kBare, 76, Cam(0x86, F::S16)),
    Choice(25, "", S16, kClampSource, 0, kBare, 81, Cam(0x8c, F::S16)),
    Choice(24, "", S16, kClampEdge, 0, kBare, 80, Cam(0x8a, F::S16)),
    Range(23, "RGB_Clamp_Delay", S16, kDec, 0, 79, Cam(0x88, F::S16)),
    WithPorts(Range(48, "RGB_RPRef", S16, kDec, 0, 249, Cam(0xac, F::S16)), k0),
    WithPorts(Range(49, "RGB_GPRef", S16, kDec, 0, 250, Cam(0xae, F::S16)), k0),
    WithPorts(Range(50, "RGB_BPRef", S16, kDec, 0, 251, Cam(0xb0, F::S16)), k0),
    WithPorts(Range(51, "RGB_RNRef", S16, kDec, 0, 253, Cam(0xa6, F::S16)), k0),
    WithPorts(Range(52, "RGB_GNRef", S16, kDec, 0, 254, Cam(0xa8, F::S16)), k0),
    WithPorts(Range(53, "RGB_BNRef", S16, kDec, 0, 255, Cam(0xaa, F::S16)), k0),
    WithPorts(Range(54, "RGB_Sync_Strip_Rate", S16, kDec, 0, 252, Cam(0xc2, F::S16)), k0),
    WithPorts(Range(55, "RGB_Clamp_Volt", S16, kDec, 0, 256, Cam(0xc0, F::S16)), k0),
    String(13, "Matrix_Name", "Undefined", kNoReg, Matrix(8, F::InlineText)),
    // Kept as 16-bit values: the choice converters cannot match index values.
    Choice(14, "Matrix_Structure", S16, kMatrixStructure, 0, kNamed, kNoReg, kNotKept),
    Range(179, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x22, F::F32)),
    Range(180, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x26, F::F32)),
    Range(181, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x2a, F::F32)),
    Range(182, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x2e, F::F32)),
    Range(183, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x32, F::F32)),
    Range(184, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x36, F::F32)),
    Range(185, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x3a, F::F32)),
    Range(186, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x3e, F::F32)),
    Range(187, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Matrix(0x42, F::F32)),
    WithPorts(Choice(10, "Output_LUT_Type", S16, kOutputLut, 0, kNamed, kNoReg, kNotKept), kLuts),
    Choice(26, "RGB_Red_Gain", S16, kGain, 0, kNamed, 104, Cam(0xa0, F::S16)),
    Choice(27, "RGB_Grn_Gain", S16, kGain, 0, kNamed, 105, Cam(0xa2, F::S16)),
    Choice(28, "RGB_Blu_Gain", S16, kGain, 0, kNamed, 106, Cam(0xa4, F::S16)),
    WithPorts(Range(93, "PLL_FDIV", S16, kDec, 79, 128, Cam(0xb2, F::S16)), k79),
    WithPorts(Range(96, "PLL_RDIV", S16, kDec, 19, 131, Bits(0xb8, 0, 10)), k19),
    WithPorts(Choice(97, "PLL_REFPOL", S16, kRefPolarity, 0, kBare, 132, Bits(0xb8, 10, 6)), k0),
    Choice(98, "PLL_VCO", S16, kEight, 4, kNamed, 133, Bits(0xba, 0, 3)),
    WithPorts(Range(99, "PLL_PFD", S16, kDec, 3, 134, Bits(0xba, 3, 3)), k3),
    WithPorts(Choice(100, "PLL_PDEN", S16, kPden, 1, kBare, 135, Bits(0xba, 6, 1)), k1),
    WithPorts(Choice(101, "PLL_INTFLT", S16, kIntflt, 1, kBare, 136, Bits(0xba, 7, 1)), k1),
    WithPorts(Choice(102, "PLLINTVCO", S16, kIntvco, 1, kBare, 137, Bits(0xba, 8, 1)), k1),
    WithPorts(Choice(103, "PLLCLKSEL", S16, kClksel, 1, kBare, 138, Bits(0xba, 9, 1)), k1),
    WithPorts(Choice(104, "PLLFBKSEL", S16, kFeedback, 1, kBare, 139, Bits(0xbc, 0, 1)), k1Index1),
    WithPorts(Choice(105, "PLLFBKPOL", S16, kFbkpol, 1, kBare, 140, Bits(0xbc, 1, 1)), k1Index1),
    WithPorts(Choice(106, "PLLADD", S16, kAdd, 0, kBare, 141, Bits(0xbc, 2, 1)), k0),
    WithPorts(Choice(107, "PLLSWLW", S16, kSwlw, 0, kBare, 142, Bits(0xbc, 3, 1)), k0),
    WithPorts(Choice(108, "PLL_PDA", S16, kFour, 0, kNamed, 143, Bits(0xbc, 4, 2)), k0),
    WithPorts(Choice(109, "PLL_PDB", S16, kFour, 0, kNamed, 144, Bits(0xbc, 6, 2)), k0),
    WithPorts(Choice(110, "PLLLDLG", S16, kLdlg, 1, kBare, 145, Bits(0xbc, 8, 1)), k1Index1),
    WithPorts(Choice(111, "PLLFINEEN", S16, kFineen, 0, kBare, 146, Bits(0xbc, 9, 1)), k0),
    WithPorts(Range(112, "PLL_LCOUNT", S16, kDec, 0, 147, Bits(0xbe, 0, 3)), k0),
    WithPorts(Choice(113, "PLLOMUX1", S16, kOmux1, 0, kBare, 148, Bits(0xbe, 3, 1)), k0),
    WithPorts(Choice(120, "PLLEXTREF", S16, kExtref, 1, kBare, 155, Bits(0xbe, 10, 1)), k1Index1),
    Choice(176, "TX70_Frame_Type", S16, kFrameType, 1, kNamed, 213, kNotKept),
    Choice(121, "NP_Input_Format", S16, kInputFormat, 0, kNamed, 166, Cam(0xc4, F::S16)),
    Choice(122, "NP_XT_Select", S16, kCrystal, 3, kNamed, 167, Cam(0xc6, F::S16)),
    Choice(124, "", S16, kHactReset, 0, kBare, 169, Cam(0xca, F::S16)),
    WithPorts(Choice(123, "NP_Mux_Select", S16, kDecoderMux, 2, kNamed, 168, Cam(0xc8, F::S16)), kDecoderMuxes),
    Range(159, "NP_Dec_Rate", S16, kDec, 0, 171, Cam(0xec, F::S16)),
    Choice(158, "", S16, kDecStart, 0, kBare, 172, Cam(0xee, F::S16)),
    Choice(157, "Dec_field", S16, kDecField, 0, kBare, 173, Cam(0xf0, F::S16)),
    WithPorts(Range(153, "NP_HActive", S16, kDec, 160, 182, Cam(0xce, F::S16)), kHActive),
    WithPorts(Range(154, "NP_VActive", S16, kDec, 160, 180, Cam(0xd2, F::S16)), kVActive),
    Range(155, "NP_HDelay", S16, kDec, 160, 181, Cam(0xcc, F::S16)),
    Range(156, "NP_VDelay", U16, kDec, 160, 179, Cam(0xd0, F::U16)),
    Range(151, "NP_HScale", U16, kDec, 160, 184, Cam(0xd6, F::U16)),
    Range(152, "NP_VScale", U16, kDec, 0, 214, Cam(0xd8, F::U16)),
    Range(143, "NP_Bright", S16, kDec, 160, 185, Cam(0xd4, F::S16)),
    Range(144, "NP_Contrast", S16, kDec, 216, 194, Cam(0xda, F::S16)),
    Range(136, "NP_AGC_Delay", S16, kDec, 160, 228, Cam(0xe2, F::S16)),
    Range(135, "NP_Burst_Delay", S16, kDec, 160, 229, Cam(0xe4, F::S16)),
    Choice(128, "", S16, kLumaNotch, 0, kBare, 193, Cam(0xf2, F::S16)),
    Choice(130, "", S16, kVideoType, 0, kBare, 192, Cam(0xf4, F::S16)),
    Choice(131, "", S16, kLumaDecimation, 1, kBare, 191, Cam(0xf6, F::S16)),
    Choice(132, "", S16, kCbCrOrder, 0, kBare, 190, Cam(0xf8, F::S16)),
    Range(145, "NP_UGain", S16, kDec, 254, 195, Cam(0xdc, F::S16)),
    Range(146, "NP_VGain", S16, kDec, 180, 196, Cam(0xde, F::S16)),
    Range(142, "NP_Hue", S16, kDec, 0, 197, Cam(0xe0, F::S16)),
    Choice(167, "NP_OES_Output_3_State", S16, kOutputState, 2, kNamed, 203, Cam(0x108, F::S16)),
    Choice(166, "", S16, kLenWidth, 1, kBare, 204, Cam(0x106, F::S16)),
    Choice(165, "", S16, kCtrlCode, 0, kBare, 205, Cam(0x104, F::S16)),
    Choice(164, "NP_Coring_Value", S16, kCoring, 0, kNamed, 207, Cam(0x102, F::S16)),
    Choice(163, "", S16, kLumaRange, 0, kBare, 208, Cam(0x100, F::S16)),
    Choice(133, "", S16, kNpInterlace, 1, kBare, 211, Cam(0xea, F::S16)),
    Choice(148, "", S16, kChromaComb, 0, kBare, 212, Cam(0xe8, F::S16)),
    Choice(147, "", S16, kLumaComb, 0, kBare, 213, Cam(0xe6, F::S16)),
    Choice(141, "", S16, kChromaAdc, 0, kBare, 231, Cam(0x122, F::S16)),
    Choice(134, "NP_VScale_F_Select", S16, kVScaleFilter, 0, kNamed, 237, Cam(0x12a, F::S16)),
    Choice(161, "", S16, kActive, 0, kBare, 241, Cam(0x126, F::S16)),
    Choice(160, "", S16, kHResetWidth, 1, kBare, 242, Cam(0x124, F::S16)),
};
// clang-format on

// The start-up port, the load file and the board type are the module's; the
// rest is kept per camera port.
constexpr auto kTx70Keys = PortsFrom(3, kRows);

}  // namespace

// Specification: the load-file name reference (byte 0), the active port
// (byte 6), the board type (byte 8), then the four camera references at bytes
// 10 to 25. Camera structure: 75 32-bit words, 300 bytes, its matrix reference
// at 0x20. The matrix record's size is not given: the name at byte 8 and nine
// 32-bit floats at 0x22 to 0x42 (the last ending at 0x46) make it 70 bytes.
constinit const ModelTable kTx70Table{
    .model = "TX-70",
    .section = "TX-70",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 26,
            .cameraSize = 300,
            .matrixSize = 70,
            .cameraPorts = 4,
            .cameraRefOffset = 10,
            .matrixRefOffset = 0x20,
            .activePortOffset = 6,
        },
    .keys = kTx70Keys,
};

}  // namespace qvi::keys
