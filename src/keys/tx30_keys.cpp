// The TX-30 (library model "TX-31"), the RGB colour module: four camera
// ports, each with a camera structure and a colour-space matrix structure.

#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// A field of the port's colour-space matrix structure.
constexpr Location Mat(std::uint16_t offset, Field field) {
    return {Record::Matrix, offset, field};
}

// clang-format off
constexpr Word kOutputLut[] = {{"Output_LUT_Enable", 0}, {"Output_LUT_Bypass", 1}};
constexpr Word kColorFormat[] = {{"NTSC_PAL", 0}, {"SVHS", 1}};
constexpr Word kStrobe1[] = {{"Strobe1_Low", 0}, {"Strobe1_High", 1}};
constexpr Word kStrobe2[] = {{"Strobe2_Low", 0}, {"Strobe2_High", 1}};
constexpr Word kLowPass[] = {{"LowPass_Filter_Disable", 0}, {"LowPass_Filter_Enable", 1}};
constexpr Word kTrigger0[] = {{"Trigger0_Disable", 0}, {"Trigger0_Enable", 1}};
constexpr Word kTrigger1[] = {{"Trigger1_Disable", 0}, {"Trigger1_Enable", 1}};
constexpr Word kSyncType[] = {
    {"CV_In", 13},    {"CS_In", 12},     {"SS_In", 14},     {"CS_Out", 8},     {"SS_Out", 10},
    {"SS_Out_PI", 3}, {"CS_Out_PI", 1},  {"SS_Out_PO", 11}, {"CS_Out_PO", 9},  {"SS_In_PI", 2},
};
constexpr Word kSyncStripSource[] = {
    {"CSYNC_On_Red", 0}, {"CSYNC_On_Green", 2}, {"CSYNC_On_Blue", 4},
    {"Ext_Sync_0_Input", 6}, {"Ext_Sync_1_Input", 7},
};
constexpr Word kSyncStripLevel[] = {{"Level_125MV", 0}, {"Level_50MV", 1}};
constexpr Word kAdcColorMode[] = {
    {"True_Color_24", 0}, {"True_Color_15", 1}, {"True_Color_8", 2}, {"Pseudo_Color_8", 3},
};
constexpr Word kPclkPolarity[] = {{"PCLK_Invert", 1}, {"PCLK_NoInvert", 0}};
constexpr Word kXtrigPolarity[] = {{"XTRIG_Invert", 1}, {"XTRIG_NoInvert", 0}};
constexpr Word kInputLutLoad[] = {{"Input_LUT_Load", 1}, {"Input_LUT_NoLoad", 0}};
constexpr Word kOutputLutLoad[] = {{"Output_LUT_Load", 1}, {"Output_LUT_NoLoad", 0}};
constexpr Word kMatrixLoad[] = {{"Matrix_Load", 1}, {"Matrix_NoLoad", 0}};
constexpr Word kOutputLutType[] = {{"Linear", 0}, {"HSI", 1}};
constexpr Word kCscInputFormat[] = {
    {"Unsigned_Magnitude", 0}, {"Analog_Signed_Magnitude", 32},
    {"Twos_Complement_Signed", 128}, {"Pseudo_Color", 224},
};
constexpr Word kCscOutputFormat[] = {
    {"Unsigned_Magnitude", 0}, {"Analog_Signed_Magnitude", 4}, {"Twos_Complement_Signed", 16},
};
constexpr Word kCscBypass[] = {{"CSC_Bypass_Mode", 224}, {"CSC_No_Bypass_Mode", 0}};
constexpr Word kCscScaling[] = {
    {"Scale_By_1", 0}, {"Scale_By_2", 32}, {"Scale_By_4", 64}, {"Scale_By_8", 96},
    {"Scale_By_16", 128},
};

// The three module keys, then the keys of each camera port in file order.
// The nine coefficients share one key and one line, c1 to c9, row by row.
constexpr KeyRow kRows[] = {
    Range(0, "Startup_Port", S16, kDec, 0, 13, Spec(8, F::S16)),
    String(5, "Load_Name", "tx30def.mcs", kNoReg, Spec(0, F::TextRef)),
    Choice(6, "", S16, kOutputLut, 0, kBare, 40, Spec(6, F::S16)),

    String(3, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    Choice(18, "Color_Format", S16, kColorFormat, 0, kNamed, 14, Cam(0x2c, F::S16)),
    Choice(24, "", S16, kStrobe1, 0, kBare, 21, Cam(0x38, F::S16)),
    Choice(25, "", S16, kStrobe2, 0, kBare, 22, Cam(0x3a, F::S16)),
    Choice(26, "", S16, kLowPass, 0, kBare, 23, Cam(0x3c, F::S16)),
    Choice(19, "", S16, kTrigger0, 0, kBare, 15, Cam(0x2e, F::S16)),
    Choice(20, "", S16, kTrigger1, 0, kBare, 16, Cam(0x30, F::S16)),
    Choice(22, "Sync_Type", S16, kSyncType, 13, kNamed, 19, Cam(0x34, F::S16)),
    Choice(29, "Sync_Strip_Source", S16, kSyncStripSource, 0, kNamed, 30, Cam(0x42, F::S16)),
    Choice(27, "Sync_Strip_Level", S16, kSyncStripLevel, 0, kNamed, 28, Cam(0x3e, F::S16)),
    Choice(28, "ADC_Color_Mode", S16, kAdcColorMode, 0, kNamed, 29, Cam(0x40, F::S16)),
    Range(32, "Red_Video_P_Ref", S16, kDec, 160, 33, Cam(0x48, F::S16)),
    Range(34, "Green_Video_P_Ref", S16, kDec, 160, 35, Cam(0x4c, F::S16)),
    Range(36, "Blue_Video_P_Ref", S16, kDec, 160, 37, Cam(0x50, F::S16)),
    Range(31, "Red_Video_N_Ref", S16, kDec, 0, 32, Cam(0x46, F::S16)),
    Range(33, "Green_Video_N_Ref", S16, kDec, 0, 34, Cam(0x4a, F::S16)),
    Range(35, "Blue_Video_N_Ref", S16, kDec, 0, 36, Cam(0x4e, F::S16)),
    Choice(23, "", S16, kPclkPolarity, 1, kBare, 20, Cam(0x36, F::S16)),
    Choice(21, "", S16, kXtrigPolarity, 1, kBare, 17, Cam(0x32, F::S16)),
    Choice(11, "", S16, kInputLutLoad, 1, kBare, kNoReg, Cam(0x24, F::S16)),
    Choice(12, "", S16, kOutputLutLoad, 1, kBare, kNoReg, Cam(0x28, F::S16)),
    Choice(10, "", S16, kMatrixLoad, 1, kBare, kNoReg, Cam(0x22, F::S16)),
    Choice(13, "Output_LUT_Type", S16, kOutputLutType, 0, kNamed, kNoReg, Cam(0x2a, F::S16)),
    String(8, "Matrix_Name", "DEF_RGB_RGB", kNoReg, Mat(8, F::InlineText)),
    Choice(14, "CSC_Input_Format", S16, kCscInputFormat, 0, kNamed, 63, Mat(0x1c, F::S16)),
    Choice(15, "CSC_Output_Format", S16, kCscOutputFormat, 0, kNamed, 63, Mat(0x1e, F::S16)),
    Choice(9, "", S16, kCscBypass, 224, kBare, 64, Cam(0x1c, F::S16)),
    Choice(16, "CSC_Scaling", S16, kCscScaling, 0, kNamed, 64, Mat(0x20, F::S16)),
    Range(37, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x22, F::F32)),
    Range(38, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x26, F::F32)),
    Range(39, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x2a, F::F32)),
    Range(40, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x2e, F::F32)),
    Range(41, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x32, F::F32)),
    Range(42, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x36, F::F32)),
    Range(43, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x3a, F::F32)),
    Range(44, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x3e, F::F32)),
    Range(45, "CSC_Coefficient_Matrix", Float, kDec, 0, kNoReg, Mat(0x42, F::F32)),
};
// clang-format on

// Every key after the three module keys has one value per camera port.
constexpr auto kTx31Keys = PortsFrom(3, kRows);

}  // namespace

// Specification: the FPGA file name reference (byte 0), the output-LUT bypass
// (byte 6), the start-up port (byte 8), then the four camera references at
// bytes 10 to 25. Camera structure: 82 bytes, its matrix reference at 0x1e.
// Matrix structure: the name at byte 8 and nine 32-bit coefficients from 0x22
// to 0x45, so 70 bytes.
constinit const ModelTable kTx31Table{
    .model = "TX-31",
    .section = "TX-30",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 26,
            .cameraSize = 82,
            .matrixSize = 70,
            .cameraPorts = 4,
            .cameraRefOffset = 10,
            .matrixRefOffset = 0x1e,
            .activePortOffset = 8,
        },
    .keys = kTx31Keys,
};

}  // namespace qvi::keys
