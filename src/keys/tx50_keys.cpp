// The TX-50 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// The gain and the offset level are kept in hundredths and written as the
// number they stand for ("1.280" for 128).
constexpr KeyRow Hundredths(KeyRow row) {
    row.conversion = Conversion::Hundredths;
    return row;
}

// clang-format off
constexpr Word kCameraSelect[] = {
    {"Camera_0A", 0}, {"Camera_0B", 1}, {"Camera_0C", 2}, {"Camera_1A", 3},
    {"Camera_1B", 4}, {"Camera_1C", 5}, {"Camera_2", 7},  {"Camera_3", 6},
};
constexpr Word kClockSource[] = {{"XTAL_Mode", 0}, {"PLL_Mode", 1}};
constexpr Word kVScanMode[] = {{"VScan_Area", 0}, {"VScan_Line", 1}};
constexpr Word kInterlace[] = {{"Interlaced", 1}, {"NonInterlaced", 0}};
constexpr Word kOversampling[] = {{"Oversample", 1}, {"No_oversample", 0}};
constexpr Word kPclkPolarity[] = {{"PCLK_Falling", 0}, {"PCLK_Rising", 1}};
constexpr Word kLenPolarity[] = {{"LEN_Falling", 0}, {"LEN_Rising", 1}};
constexpr Word kFieldPolarity[] = {{"FLD_LO_Even", 0}, {"FLD_HI_Even", 1}};
constexpr Word kFenPolarity[] = {{"FEN_Falling", 0}, {"FEN_Rising", 1}};
constexpr Word kDrive[] = {{"Enable", 0}, {"Disable", 1}};
// The library keeps the stripper source as the code of its input, not as the
// position of the word: these values are the codes (the module turns them
// back into the word's position when it reads the camera structure). The
// default is the code of the module's default, "Camera_mux".
constexpr Word kStripperSourceCodes[] = {
    {"Camera_mux", 1}, {"Camera_0A", 0}, {"Camera_1A", 3},
    {"Camera_0_hsync", 8}, {"Camera_1_hsync", 9},
};
constexpr Word kIrqSource[] = {{"Strobe", 0}, {"Vert_blank", 1}};
constexpr Word kWindowVertSource[] = {
    {"Standard_tmg_gen", 0}, {"Sync_stripper", 1}, {"Camera_0", 8}, {"Camera_1", 9},
};
constexpr Word kWindowFieldSource[] = {{"Standard_tmg_gen", 0}, {"Sync_stripper", 1}};
constexpr Word kTimingMode[] = {{"Standard_timing", 0}, {"VSCAN_timing", 1}};
constexpr Word kClampSource[] = {{"Auto_Clamp", 0}, {"Prog_Clamp", 1}};
constexpr Word kClampStart[] = {{"LEN_Falling", 0}, {"LEN_Rising", 1}};
constexpr Word kFilterType[] = {{"LPF_7_5", 0}, {"LPF_12", 1}, {"LPF_20", 2}, {"No_Filter", 3}};
constexpr Word kEnabledDisabled[] = {{"Enabled", 0}, {"Disabled", 1}};
constexpr Word kStrobeMode[] = {{"Early", 0}, {"Late", 1}};
constexpr Word kStrobePolarity[] = {{"Active_LO", 0}, {"Active_HI", 1}};
constexpr Word kStrobeSelect[] = {{"Strobe_1", 0}, {"Strobe_2", 1}};
constexpr Word kTriggerSource[] = {{"External", 0}, {"Software", 1}};
constexpr Word kVertHalt[] = {{"Enabled", 0}, {"Halted", 1}};
constexpr Word kCustOption[] = {{"0", 0}, {"1", 1}};
constexpr Word kPllReference[] = {{"PLL_Ref_HSYNC", 0}, {"PLL_Ref_CSYNC", 1}};
constexpr Word kN1[] = {{"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}, {"8", 8}, {"10", 10}};
constexpr Word kVcoGain[] = {{"4", 4}, {"5", 5}, {"6", 6}, {"7", 7}};
constexpr Word kPhaseDetectorGain[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}};
constexpr Word kPostScaler[] = {{"1", 1}, {"2", 2}, {"4", 4}};
constexpr Word kPdrsten[] = {{"0", 0}, {"1", 1}};
constexpr Word kP2[] = {{"1", 1}, {"0", 0}};

// The seven times and the pixel frequency are floats the library turns into
// PLL and timing-generator settings; they have no register. The ten rows
// after "Cust_option" are the custom PLL options, read and written only for
// a port whose "Cust_option" is 1. The library needs a word for every
// default: the three custom choices without a 0 take the setting a port
// without custom options runs with.
constexpr KeyRow kRows[] = {
    Range(0, "Startup_Port", S16, kDec, 0, kNoReg, Spec(0, F::S16)),
    String(2, "Name", "Undefined", kNoReg, Cam(8, F::InlineText)),
    Choice(30, "Camera_select", S16, kCameraSelect, 0, kNamed, 18, Cam(0x34, F::S16)),
    Choice(5, "Clock_Source", S16, kClockSource, 0, kNamed, 23, Cam(0x3e, F::S16)),
    Choice(19, "VSCAN_Mode", S16, kVScanMode, 0, kNamed, 9, Cam(0x24, F::S16)),
    Choice(20, "Camera_interlace", S16, kInterlace, 1, kNamed, 10, Cam(0x26, F::S16)),
    Choice(21, "Oversampling", S16, kOversampling, 0, kNamed, 11, Cam(0x28, F::S16)),
    Choice(13, "Pix_clk_polarity", S16, kPclkPolarity, 1, kNamed, 5, Cam(0x1c, F::S16)),
    Choice(10, "LEN_polarity", S16, kLenPolarity, 0, kNamed, 6, Cam(0x1e, F::S16)),
    Choice(11, "Field_polarity", S16, kFieldPolarity, 0, kNamed, 8, Cam(0x22, F::S16)),
    Choice(12, "FEN_polarity", S16, kFenPolarity, 0, kNamed, 7, Cam(0x20, F::S16)),
    Choice(26, "H_drive_cams_01", S16, kDrive, 0, kNamed, 13, Cam(0x2c, F::S16)),
    Choice(27, "H_drive_cams_23", S16, kDrive, 0, kNamed, 14, Cam(0x2e, F::S16)),
    Choice(28, "V_drive_cams_01", S16, kDrive, 0, kNamed, 15, Cam(0x30, F::S16)),
    Choice(29, "V_drive_cams_23", S16, kDrive, 0, kNamed, 16, Cam(0x32, F::S16)),
    Choice(31, "Sync_stripper_src", S16, kStripperSourceCodes, 1, kNamed, 19, Cam(0x36, F::S16)),
    Choice(33, "IRQ_src_select", S16, kIrqSource, 0, kNamed, 21, Cam(0x3a, F::S16)),
    Choice(32, "Window_gen_vert_src", S16, kWindowVertSource, 0, kNamed, 20, Cam(0x38, F::S16)),
    Choice(35, "Window_gen_fld_src", S16, kWindowFieldSource, 0, kNamed, 22, Cam(0x3c, F::S16)),
    Choice(36, "Timing_Mode", S16, kTimingMode, 0, kNamed, 24, Cam(0x40, F::S16)),
    Range(37, "Clamp_delay", S16, kDec, 0, 26, Cam(0x42, F::S16)),
    Choice(38, "Clamp_source", S16, kClampSource, 0, kNamed, 27, Cam(0x44, F::S16)),
    Choice(39, "Clamp_start", S16, kClampStart, 0, kNamed, 28, Cam(0x46, F::S16)),
    Choice(6, "Filter_Type", S16, kFilterType, 0, kNamed, 29, Cam(0x48, F::S16)),
    Choice(41, "Frame_Reset_Mode", S16, kEnabledDisabled, 0, kNamed, 32, Cam(0x4c, F::S16)),
    Choice(42, "Strobe_Mode", S16, kStrobeMode, 0, kNamed, 33, Cam(0x4e, F::S16)),
    Choice(43, "Strobe_polarity", S16, kStrobePolarity, 0, kNamed, 34, Cam(0x50, F::S16)),
    Choice(44, "Strobe_select", S16, kStrobeSelect, 0, kNamed, 35, Cam(0x52, F::S16)),
    Choice(45, "Trigger_enable", S16, kEnabledDisabled, 0, kNamed, 37, Cam(0x54, F::S16)),
    Choice(40, "Trigger_Source", S16, kTriggerSource, 0, kNamed, 31, Cam(0x4a, F::S16)),
    Range(56, "Frame_reset_delay", S16, kDec, 0, 36, Cam(0x56, F::S16)),
    Range(46, "LUT_Page", S16, kDec, 0, 41, Cam(0x58, F::S16)),
    Range(24, "Vertical_Offset", S16, kDec, 0, 52, Cam(0x6a, F::S16)),
    Range(25, "Vertical_Active", S16, kDec, 0, 53, Cam(0x6c, F::S16)),
    Range(50, "Horizontal_Offset", S16, kDec, 0, 54, Cam(0x6e, F::S16)),
    Range(23, "Horizontal_Active", S16, kDec, 0, 55, Cam(0x70, F::S16)),
    Hundredths(Range(51, "Video_input_Gain", S16, kDec, 0, 56, Cam(0x72, F::S16))),
    Hundredths(Range(52, "Video_input_level", S16, kDec, 0, 58, Cam(0x74, F::S16))),
    Range(9, "Pixel_frequency", Float, kDec, 0.0, kNoReg, Cam(0xfa, F::F32)),
    Range(34, "PLL_Accuracy", Float, kDec, 0.0, kNoReg, Cam(0x112, F::F32)),
    Range(14, "Line_time", Float, kDec, 0.0, kNoReg, Cam(0xfe, F::F32)),
    Range(15, "Hsync_low_width", Float, kDec, 0.0, kNoReg, Cam(0x102, F::F32)),
    Range(16, "Frame_time", Float, kDec, 0.0, kNoReg, Cam(0x106, F::F32)),
    Range(17, "Vsync_low_width", Float, kDec, 0.0, kNoReg, Cam(0x10a, F::F32)),
    Range(18, "Vert_interval", Float, kDec, 0.0, kNoReg, Cam(0x10e, F::F32)),
    Choice(47, "Tmg_gen_reset", S16, kEnabledDisabled, 0, kNamed, 47, Cam(0x62, F::S16)),
    Choice(48, "Tmg_gen_vert_halt", S16, kVertHalt, 0, kNamed, 49, Cam(0x66, F::S16)),
    Range(49, "Tmg_gen_halt_ovride", S16, kDec, 0, 50, Cam(0x68, F::S16)),
    Choice(7, "Tmg_gen_ilace", S16, kInterlace, 0, kNamed, 48, Cam(0x64, F::S16)),
    Choice(57, "Cust_option", S16, kCustOption, 0, kNamed, kNoReg, Cam(0x116, F::S16)),
    Choice(22, "PLL_Reference", S16, kPllReference, 0, kNamed, 12, Cam(0x12a, F::S16)),
    Range(53, "Stripper", S16, kDec, 0, 57, Cam(0x124, F::S16)),
    Range(54, "Vgate_start", S16, kDec, 0, 60, Cam(0x126, F::S16)),
    Range(55, "Vgate_dur", S16, kDec, 0, 61, Cam(0x128, F::S16)),
    Choice(58, "Cust_N1", S16, kN1, 10, kNamed, kNoReg, Cam(0x118, F::S16)),
    Choice(59, "Cust_VCO_Gain", S16, kVcoGain, 6, kNamed, kNoReg, Cam(0x11a, F::S16)),
    Choice(60, "Cust_Ph_det_gain", S16, kPhaseDetectorGain, 0, kNamed, kNoReg, Cam(0x11c, F::S16)),
    Choice(61, "Cust_Post_Scaler", S16, kPostScaler, 2, kNamed, kNoReg, Cam(0x11e, F::S16)),
    Choice(62, "Cust_PDRSTEN", S16, kPdrsten, 0, kNamed, kNoReg, Cam(0x120, F::S16)),
    Choice(63, "Cust_P2", S16, kP2, 0, kNamed, kNoReg, Cam(0x122, F::S16)),
};
// clang-format on

// Every key but the start-up port has one value per camera port.
constexpr auto kTx50Keys = PortsFrom(1, kRows);

}  // namespace

// Specification: the active port (16-bit, byte 0) and the four camera
// references at bytes 2 to 17. Camera structure: 75 32-bit words, 300 bytes;
// the library keeps its PLL and timing-generator results in the bytes no key
// uses.
constinit const ModelTable kTx50Table{
    .model = "TX-50",
    .section = "TX-50",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 18,
            .cameraSize = 300,
            .cameraPorts = 4,
            .cameraRefOffset = 2,
            .activePortOffset = 0,
        },
    .keys = kTx50Keys,
};

}  // namespace qvi::keys
