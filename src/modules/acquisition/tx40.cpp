// The TX-40 digital camera module: parameters, rows, pages, rows that drive two settings.
#include "modules/acquisition/tx40.h"

#include <array>
#include <bit>
#include <iterator>
#include <memory>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/acquisition/pair_row.h"
#include "modules/label_table.h"
#include "params/number_text.h"
#include "platform/ui.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kNameHandle = 2;
constexpr int kClockBaseHandle = 10;
constexpr int kClockDividerHandle = 11;
constexpr int kExSyncClockHandle = 23;
constexpr int kExSyncCounterHandle = 25;
constexpr int kPriEnableHandle = 28;
constexpr int kPriPolarityHandle = 29;
constexpr int kExSyncPresetHandle = 30;
constexpr int kPixelSizeHandle = 31;
constexpr int kInterleaveHandle = 32;
constexpr int kHorizontalOffsetHandle = 36;
constexpr int kHorizontalActiveHandle = 37;
constexpr int kVerticalActiveHandle = 39;
constexpr int kTriggerGeneratorHandle = 40;
constexpr int kTriggerSourceHandle = 41;
// A row that edits no parameter.
constexpr int kNoParam = -1;

// The "Interleaved_Pixels" value.
constexpr std::int16_t kInterleaved = 1;
// Pixel-size values.
constexpr int kPixelSize8 = 0;
constexpr int kPixelSize10 = 1;
constexpr int kPixelSize12 = 2;
constexpr int kPixelSize16 = 3;

// Reads 2 on hardware that packs 16-bit pixels as 24-bit ones.
constexpr int kPixelModeRegister = 3;
constexpr std::int16_t kPackedPixelMode = 2;
constexpr int kTriggerEnableRegister = 41;
constexpr int kTriggerSourceRegister = 42;  // 1 software, 0 external
constexpr int kSoftwareTriggerRegister = 47;

// The rows with behaviour of their own.
constexpr int kVerticalActiveRow = 1;
constexpr int kAcqTriggerRow = 17;
constexpr int kModeControlRows[] = {18, 19, 20};
constexpr int kPixelSizeRow = 21;
constexpr int kProgIntRow = 22;
constexpr int kClockCoarseRow = 23;
constexpr int kClockFineRow = 24;
constexpr int kExSyncWidthRow = 26;
constexpr int kExSyncFineRow = 27;
constexpr int kInterleaveRow = 31;
constexpr int kHorizontalOffsetRow = 32;
constexpr int kHorizontalActiveRow = 33;

// The rows that set two parameters. The trigger generator, then the source.
constexpr PairRow kTriggerPair{
    .firstHandle = kTriggerGeneratorHandle,
    .secondHandle = kTriggerSourceHandle,
    .choices = kTriggerChoices,
    .badIndexText = "Invalid index passed to TX40_trig_usr_param::SetIndex() ",
};
// The programmable interrupt's enable, then its polarity: always low, always
// high (disabled, the line rests opposite its polarity), an active-low or an
// active-high pulse.
constexpr ChoicePair kProgIntChoices[] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
constexpr PairRow kProgIntPair{
    .firstHandle = kPriEnableHandle,
    .secondHandle = kPriPolarityHandle,
    .choices = kProgIntChoices,
    .badIndexText = "Invalid index passed to TX40_prog_int_usr_param::SetIndex() ",
};

// The base camera-clock frequencies in MHz, in the order of handle 10's
// choices, and the EXSYNC counter-clock periods in microseconds, in the order
// of handle 23's.
constexpr float kClockBases[] = {14.32f, 16.26f, 24.00f, 25.18f, 28.32f,
                                 32.51f, 36.00f, 40.00f, 44.90f, 50.00f};
constexpr float kExSyncPeriods[] = {0.14f, 0.5586f, 2.23f, 8.93f, 35.7f, 143.0f};
constexpr int kClockDividers = 8;  // divide by 1 to 128
// The EXSYNC counter runs three counts longer than its preset.
constexpr int kExSyncExtraCounts = 3;

// ---- the parameters with behaviour of their own -------------------------------------

std::unique_ptr<QV_mod_param> MakeOwnParam(const keys::KeyRow &row, int ports) {
    switch (row.handle) {
        case kHorizontalActiveHandle:
            return MakeRange<TX40_horizontal_active_param>(row, ports);
        case kVerticalActiveHandle:
            // Kept as the line count less one, shown as the line count.
            return MakeRange(row, ports, {.toUi = MakeOffset(1.0f), .fromUi = MakeOffset(-1.0f)});
        case kPixelSizeHandle:
            return MakeChoice<TX40_pixel_size_param>(row, ports);
        default:
            return nullptr;
    }
}

// ---- the user label table ------------------------------------------------

using namespace labels;
using enum Kind;

// clang-format off
constexpr std::string_view kInterlaceModes[] = {"Non-interlaced", "Interlaced"};
constexpr std::string_view kScanModes[] = {"Area Scan", "Line Scan"};
constexpr std::string_view kLenWidths[] = {"Wide", "Small"};
constexpr std::string_view kLineMissModes[] = {
    "Enabled(2 lines inserted)", "Disabled(no line inserted)",
};
constexpr std::string_view kFifoModes[] = {"Normal", "Reset every FEN"};
constexpr std::string_view kEnableDisable[] = {"Enable", "Disable"};
constexpr std::string_view kOutputBytes[] = {"High Byte of ILUT", "Low Byte of ILUT"};
constexpr std::string_view kPixelClockPolarity[] = {
    "Invert (falling edge)", "NoInvert (rising edge)",
};
constexpr std::string_view kEnablePolarity[] = {"Invert (act low)", "NoInvert (act high)"};
constexpr std::string_view kExSyncPolarity[] = {"active low", "active high"};
constexpr std::string_view kAcqTriggers[] = {"Disabled", "S/W trig enabled", "Ext trig enabled"};
constexpr std::string_view kLowHigh[] = {"low", "high"};
constexpr std::string_view kPixelSizes[] = {"8-bit", "10-bit", "12-bit", "16-bit"};
constexpr std::string_view kProgIntOutputs[] = {
    "always low", "always high", "act low pulse", "act high pulse",
};
constexpr std::string_view kExtSyncModes[] = {
    "Free Running", "Ext Triggered", "SW Triggered", "FEN Triggered",
};
constexpr std::string_view kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr std::string_view kExSyncClocks[] = {
    "7.16 MHz/140 ns", "1.79 MHz/558.6 ns", "447.5 KHz/2.23 us",
    "112 KHz/8.93 us", "28 KHz/35.7 us",    "7 KHz/143 us",
};
constexpr std::string_view kInterleaveModes[] = {"Non-interleaved", "Interleaved"};

// In the order the rows are added: number, handle, label, kind, choice labels
// or bounds, flags. The computed drop-downs make their own labels.
constexpr LabelRow kUsrRows[] = {
    {0,  2,        "Camera",               Camera,  {},                   kNoBounds,       kNotify},
    {1,  39,       "Vertical Active",      Special, {},                   {1, 4096, 1},    kNotify},
    {2,  38,       "Vertical Offset",      Range,   {},                   {0, 511, 1},     kPlain},
    {3,  19,       "Interlace Mode",       Choice,  kInterlaceModes,      kNoBounds,       kNotify},
    {4,  18,       "Scan Mode",            Choice,  kScanModes,           kNoBounds,       kPlain},
    {5,  20,       "LEN width",            Choice,  kLenWidths,           kNoBounds,       kPlain},
    {6,  21,       "No-Line-Miss Mode",    Choice,  kLineMissModes,       kNoBounds,       kPlain},
    {7,  22,       "LineVar (fifo reset)", Choice,  kFifoModes,           kNoBounds,       kPlain},
    {8,  12,       "Xillix Mode",          Choice,  kEnableDisable,       kNoBounds,       kPlain},
    {9,  33,       "Output A",             Choice,  kOutputBytes,         kNoBounds,       kPlain},
    {10, 34,       "Output B",             Choice,  kOutputBytes,         kNoBounds,       kPlain},
    {11, 35,       "Output C",             Choice,  kOutputBytes,         kNoBounds,       kPlain},
    {12, 14,       "PCLK Polarity",        Choice,  kPixelClockPolarity,  kNoBounds,       kPlain},
    {13, 15,       "LEN Polarity",         Choice,  kEnablePolarity,      kNoBounds,       kPlain},
    {14, 16,       "FEN Polarity",         Choice,  kEnablePolarity,      kNoBounds,       kPlain},
    {15, 17,       "Field Polarity",       Choice,  kEnablePolarity,      kNoBounds,       kPlain},
    {16, 27,       "Ext Sync Polarity",    Choice,  kExSyncPolarity,      kNoBounds,       kPlain},
    {17, 40,       "Acq Trigger",          Special, kAcqTriggers,         kNoBounds,       kPlain},
    {18, 13,       "Mode Control 0",       Special, kLowHigh,             kNoBounds,       kPlain},
    {19, 13,       "Mode Control 1",       Special, kLowHigh,             kNoBounds,       kPlain},
    {20, 13,       "Mode Control 2",       Special, kLowHigh,             kNoBounds,       kPlain},
    {21, 31,       "Pixel Size",           Special, kPixelSizes,          kNoBounds,       kNotify},
    {22, 28,       "Prog Int output",      Special, kProgIntOutputs,      kNoBounds,       kPlain},
    {23, 10,       "Cam Clk coarse",       Special, {},                   kNoBounds,       kPlain},
    {24, 10,       "Cam Clk fine",         Special, {},                   kNoBounds,       kPlain},
    {25, 24,       "Ext Sync Mode",        Choice,  kExtSyncModes,        kNoBounds,       kPlain},
    {26, 25,       "EXSync coarse width",  Special, {},                   kNoBounds,       kPlain},
    {27, kNoParam, "EXSync fine width",    Special, {},                   {3, 4098, 1},    kPlain},
    {29, 25,       "Ext Sync Counter",     Choice,  kDisabledEnabled,     kNoBounds,       kPlain},
    {30, 23,       "Ext Sync Cntr Freq",   Choice,  kExSyncClocks,        kNoBounds,       kPlain},
    {28, 30,       "Ext Sync Cntr Preset", Range,   {},                   {0, 4095, 1},    kPlain},
    {32, 36,       "Horizontal Offset",    Special, {},                   {0, 1022, 1},    kPlain},
    {33, 37,       "Horizontal Active",    Special, {},                   {4, 8192, 1},    kNotify},
    {31, 32,       "Interleave Pixels",    Special, kInterleaveModes,     kNoBounds,       kNotify},
};

// ---- the group table -----------------------------------------------------

constexpr IdRange kCameraPage[] = {{0, 0}};
constexpr IdRange kAllPage[] = {
    {0, 0},   {31, 33}, {1, 4},   {9, 11},  {17, 17}, {21, 21}, {23, 24}, {16, 16},
    {25, 25}, {28, 30}, {12, 15}, {8, 8},   {22, 22}, {5, 7},   {18, 20},
};

constexpr GroupRow kGroups[] = {
    {"Camera", kCameraPage},
    {"All",    kAllPage},
};
// clang-format on

// clang-format off
constexpr SpecialRow kSpecialRows[] = {
    {kVerticalActiveRow,   MakeRangeRow<TX40_vertical_active_usr_param>},
    {kAcqTriggerRow,       MakePairRow<kTriggerPair>},
    {kModeControlRows[0],  MakeChoiceRow<TX40_cam_mode_usr_param>},
    {kModeControlRows[1],  MakeChoiceRow<TX40_cam_mode_usr_param>},
    {kModeControlRows[2],  MakeChoiceRow<TX40_cam_mode_usr_param>},
    {kPixelSizeRow,        MakeChoiceRow<TX40_pixel_size_usr_param>},
    {kProgIntRow,          MakePairRow<kProgIntPair>},
    {kClockCoarseRow,      MakePlainRow<TX40_clock_coarse_usr_param>},
    {kClockFineRow,        MakePlainRow<TX40_clock_fine_usr_param>},
    {kExSyncWidthRow,      MakePlainRow<TX40_exsync_width_usr_param>},
    {kExSyncFineRow,       MakeRangeRow<TX40_exsync_fine_usr_param>},
    {kInterleaveRow,       MakeChoiceRow<TX40_interleave_usr_param>},
    {kHorizontalOffsetRow, MakeRangeRow<TX40_horizontal_offset_usr_param>},
    {kHorizontalActiveRow, MakeRangeRow<TX40_horizontal_active_usr_param>},
};
// clang-format on

// ---- helpers of the rows ----------------------------------------------------------

// An entered number as a signed 16-bit value; one that does not fit keeps its
// low 16 bits.
std::int16_t ToShort(const QV_param_val &value) {
    QV_param_val copy = value;
    if (copy.GetKind() != ValKind::Index && copy.ConvertTo(ValKind::S16) == 0)
        return copy.GetShort();
    return value.GetShort();
}

// The stored value of a window key, with its sign.
int Stored(const QV_mod_param &param) {
    return param.GetRawValue().GetShort();
}

QV_param_val Short(int value) {
    return QV_param_val::S16(static_cast<std::int16_t>(value));
}

// Puts what the user entered into the module's current camera structure, so
// that the library follows the window at once.
void StoreInCamera(const QV_usr_param &row, std::size_t field, std::int16_t value) {
    QV_mod *module = row.GetModule();
    const auto *platform =
        module ? dynamic_cast<const QV_single_camera_plat_mod *>(OwnerBoardOf(*module)) : nullptr;
    if (platform != nullptr) platform->StoreInCurrentCamera(field, value);
}

// A frequency in MHz as the clock labels show it.
std::string FrequencyText(float megahertz) {
    if (megahertz >= 1.0f) return FormatFixed(megahertz, 0, 2) + " MHz";
    return FormatFixed(megahertz * 1000.0f, 0, 2) + " KHz";
}

// A pulse width in microseconds as the EXSYNC labels show it.
std::string WidthText(float microseconds) {
    if (microseconds < 1.0f) return FormatFixed(microseconds * 1000.0f, 0, 2) + " ns";
    if (microseconds <= 1000.0f) return FormatFixed(microseconds, 0, 2) + " us";
    return FormatFixed(microseconds * 0.001, 0, 2) + " ms";
}

float ClockBase(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kClockBases))) return 0.0f;
    return kClockBases[index];
}

float DividedClock(float base, int divider) {
    return base / static_cast<float>(1 << divider);
}

}  // namespace

// ---- the platform object -------------------------------------------------------

// The look-up-table entry is looked up first, as the library lists it.
TX40_plat_mod::TX40_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : TX40_plat_mod(binding ? binding->LookupAs<LinearLutEntry>("tx40_lin_lut") : nullptr, binding,
                    handle) {}

TX40_plat_mod::TX40_plat_mod(LinearLutEntry linearLut, LibraryBinding *binding,
                             std::uint32_t handle)
    : QV_single_camera_plat_mod("TX-40 plat_mod", keys::kTx40Table, binding, handle, "tx40"),
      linearLut_(linearLut) {
    UseTriggerGenerator({.sourceRegister = kTriggerSourceRegister,
                         .enableRegister = kTriggerEnableRegister,
                         .fireRegister = kSoftwareTriggerRegister});
}

QV_param_val TX40_plat_mod::ValueOf(const keys::KeyRow &row) const {
    QV_param_val value = QV_single_camera_plat_mod::ValueOf(row);
    if (row.handle != kHorizontalActiveHandle) return value;
    const keys::KeyRow *interleave = keys::FindHandle(Table(), kInterleaveHandle);
    if (interleave == nullptr ||
        ReadKeyValue(*this, Table(), *interleave, 0).GetShort() != kInterleaved)
        return value;
    return Short(value.GetShort() / 2 - 2);
}

int TX40_plat_mod::GetImageWidth() {
    if (Module() == nullptr) return 0;
    const int active = StoredValue(kHorizontalActiveHandle);
    return StoredValue(kInterleaveHandle) == kInterleaved ? active * 2 + 8 : active + 4;
}

// The library declares the size entry without its argument list: it is called
// with the board's handle and the addresses of two 16-bit numbers.
int TX40_plat_mod::GetImageHeight() {
    using AcquisitionSize = int (*)(QRX_HANDLE, ...);
    LibraryBinding *binding = Binding();
    auto parentOf = binding ? binding->Entry<&::qrx_get_parent>() : nullptr;
    auto size =
        binding ? std::bit_cast<AcquisitionSize>(binding->Address("qrx_get_acq_dim")) : nullptr;
    if (parentOf == nullptr || size == nullptr) return 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    size(parentOf(Handle()), &width, &height);
    return height;
}

int TX40_plat_mod::GetBitsPerPixel() {
    if (Module() == nullptr) return QV_single_camera_plat_mod::GetBitsPerPixel();
    const int pixelSize = StoredValue(kPixelSizeHandle);
    const auto mode = static_cast<std::int16_t>(read_reg(kPixelModeRegister).ToDouble());
    if (mode == kPackedPixelMode && pixelSize == kPixelSize16) return 24;
    switch (pixelSize) {
        case kPixelSize8:
            return 8;
        case kPixelSize10:
            return 10;
        case kPixelSize12:
            return 12;
        case kPixelSize16:
            // Interleaved 16-bit pixels arrive as pairs of bytes.
            return StoredValue(kInterleaveHandle) > 0 ? 8 : 16;
        default:
            return 0;
    }
}

void TX40_plat_mod::LoadLinearLut() {
    if (HardwareEnabled() && linearLut_ != nullptr) linearLut_(Handle());
}

// ---- the container -------------------------------------------------------------

QV_tx40_mod::QV_tx40_mod(QV_plat_mod *platform)
    : QV_single_camera_mod(platform, keys::kTx40Table, kNameHandle) {
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_tx40_mod::CreateModParams() {
    AddParamsFromTable(*this, Table(), MakeOwnParam);
}

void QV_tx40_mod::CreateUsrParams() {
    AddLabelRows(*this, kUsrRows, {.cameraKey = "TX-40", .special = SpecialRowsFrom(kSpecialRows)});
}

void QV_tx40_mod::CreateParamGroups() {
    AddGroups(*this, kGroups);
}

// ---- the parameters with behaviour of their own -------------------------------------

std::string TX40_horizontal_active_param::GetCFGString(int port) {
    const QV_mod *module = GetModule();
    const QV_mod_param *interleave = module ? module->GetModParam(kInterleaveHandle) : nullptr;
    if (!IsEnabled() || !IsValidPort(port) || interleave == nullptr ||
        interleave->GetRawValue(port).GetShort() != kInterleaved)
        return QV_range_param::GetCFGString(port);
    const int pixels = GetRawValue(port).GetShort() * 2 + 4;
    return GetName() + " = " + Short(pixels).Format(GetRadix());
}

int TX40_pixel_size_param::ApplyToHardware() {
    const int result = QV_choice_param::ApplyToHardware();
    if (auto *platform = dynamic_cast<TX40_plat_mod *>(OwnerBoardOf(*this)))
        platform->LoadLinearLut();
    return result;
}

// ---- the window rows ----------------------------------------------------------------

int TX40_vertical_active_usr_param::SetValue(const QV_param_val &value) {
    if (!HasParam("SetValue")) return -1;
    const std::int16_t lines = ToShort(value);
    StoreInCamera(*this, TX40_plat_mod::kVerticalActiveField, lines);
    return QV_range_usr_param::SetValue(Short(lines));
}

TX40_window_usr_param::TX40_window_usr_param(std::string label, int id, const ParamList &params,
                                             int handle, QV_param_val min, QV_param_val max,
                                             QV_param_val step)
    : QV_range_usr_param(std::move(label), id, params, handle, std::move(min), std::move(max),
                         std::move(step)),
      interleave_(FindParam(params, kInterleaveHandle)) {}

bool TX40_window_usr_param::Interleaved() const {
    return interleave_ != nullptr && interleave_->GetRawValue().GetShort() == kInterleaved;
}

QV_param_val TX40_horizontal_offset_usr_param::GetValue() {
    if (GetParam() == nullptr) return QV_param_val::Index(-1);
    const int offset = Stored(*GetParam());
    return Short(Interleaved() ? offset * 2 : offset);
}

int TX40_horizontal_offset_usr_param::SetValue(const QV_param_val &value) {
    if (!HasParam("SetValue")) return -1;
    const std::int16_t pixels = ToShort(value);
    StoreInCamera(*this, TX40_plat_mod::kHorizontalOffsetField, pixels);
    return GetParam()->SetUIValue(Short(Interleaved() ? pixels / 2 : pixels));
}

QV_param_val TX40_horizontal_active_usr_param::GetValue() {
    if (GetParam() == nullptr) return QV_param_val::Index(-1);
    const int active = Stored(*GetParam());
    return Short(Interleaved() ? active * 2 + 8 : active + 4);
}

int TX40_horizontal_active_usr_param::SetValue(const QV_param_val &value) {
    if (!HasParam("SetValue")) return -1;
    const std::int16_t pixels = ToShort(value);
    StoreInCamera(*this, TX40_plat_mod::kHorizontalActiveField, pixels);
    return GetParam()->SetUIValue(Short((Interleaved() ? pixels / 2 : pixels) - 4));
}

TX40_interleave_usr_param::TX40_interleave_usr_param(std::string label, int id,
                                                     const ParamList &params, int handle,
                                                     std::vector<std::string> labels)
    : QV_choice_usr_param(std::move(label), id, params, handle, std::move(labels)),
      active_(FindParam(params, kHorizontalActiveHandle)),
      offset_(FindParam(params, kHorizontalOffsetHandle)) {}

int TX40_interleave_usr_param::SetIndex(int index) {
    if (active_ == nullptr || offset_ == nullptr) return QV_choice_usr_param::SetIndex(index);
    if (!HasParam("SetIndex") || !IsValidIndex(index, "SetIndex")) return -1;
    // The window in pixels before the switch ...
    const bool interleaved = Stored(*GetParam()) == kInterleaved;
    int width = interleaved ? Stored(*active_) * 2 + 8 : Stored(*active_) + 4;
    int offset = interleaved ? Stored(*offset_) * 2 : Stored(*offset_);
    GetParam()->SetUIValue(QV_param_val::Index(index));
    // ... counted in pixel pairs from now on when interleaved.
    if (index == kInterleaved) {
        width /= 2;
        offset /= 2;
    }
    active_->SetUIValue(Short(width - 4));
    offset_->SetUIValue(Short(offset));
    return kRedrawRow;
}

// ---- the mode-control lines and the pixel size ----------------------------------------

int TX40_cam_mode_usr_param::Bit(const char *operation) const {
    const std::string &label = GetLabel();
    for (char digit : {'0', '1', '2'})
        if (label.find(digit) != std::string::npos) return digit - '0';
    ReportError(MessageText("unknown mode control bit name: ", label,
                            " in TX40_cam_mode_usr_param::", operation, " ",
                            " must have a 0, 1 or 2"));
    return -1;
}

int TX40_cam_mode_usr_param::GetIndex() {
    if (GetParam() == nullptr) return -1;
    const int bit = Bit("GetIndex");
    if (bit < 0) return 0;
    return (GetParam()->GetUIValue().GetLong() >> bit) & 1;
}

int TX40_cam_mode_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex")) return -1;
    const int bit = Bit("SetIndex");
    if (bit < 0) return -1;
    if (index != 0 && index != 1) {
        ReportError(MessageText("invalid index: ", index,
                                " passed to TX40_cam_mode_usr_param::SetIndex for ", GetLabel()));
        return -1;
    }
    int mode = GetParam()->GetUIValue().GetLong();
    mode = index == 1 ? mode | (1 << bit) : mode & ~(1 << bit);
    GetParam()->SetUIValue(Short(mode));
    return kRedrawRow;
}

int TX40_pixel_size_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex") || !IsValidIndex(index, "SetIndex")) return -1;
    StoreInCamera(*this, TX40_plat_mod::kPixelSizeField, static_cast<std::int16_t>(index));
    return QV_choice_usr_param::SetIndex(index);
}

// ---- the computed drop-downs -----------------------------------------------------------

TX40_computed_usr_param::TX40_computed_usr_param(std::string label, int id, const ParamList &params,
                                                 int handle)
    : QV_choice_usr_param(std::move(label), id, params, handle, {"tbd"}) {}

void TX40_computed_usr_param::Refresh() {
    SetLabels(ComputeLabels());
    refreshed_ = true;
}

std::vector<std::string> TX40_computed_usr_param::GetChoices() const {
    return refreshed_ ? ComputeLabels() : QV_choice_usr_param::GetChoices();
}

bool TX40_computed_usr_param::IsValidSelection(int index) {
    Refresh();
    return IsValidIndex(index, "SetIndex");
}

int TX40_computed_usr_param::IndexOf(QV_mod_param *param) {
    return param ? param->GetUIValue().GetLong() : -1;
}

void TX40_computed_usr_param::SetIndexOf(QV_mod_param *param, int index) {
    param->SetUIValue(QV_param_val::Index(index));
}

TX40_clock_usr_param::TX40_clock_usr_param(std::string label, int id, const ParamList &params,
                                           int handle)
    : TX40_computed_usr_param(std::move(label), id, params, handle),
      base_(FindParam(params, kClockBaseHandle)),
      divider_(FindParam(params, kClockDividerHandle)) {}

std::vector<std::string> TX40_clock_coarse_usr_param::ComputeLabels() const {
    const float base = ClockBase(BaseIndex());
    std::vector<std::string> labels;
    for (int divider = kClockDividers - 1; divider >= 0; --divider)
        labels.push_back(FrequencyText(DividedClock(base, divider)));
    return labels;
}

int TX40_clock_coarse_usr_param::GetIndex() {
    if (Divider() == nullptr) return -1;
    return kClockDividers - 1 - DividerIndex();
}

int TX40_clock_coarse_usr_param::SetIndex(int index) {
    if (Base() == nullptr || Divider() == nullptr || !IsValidSelection(index)) return -1;
    SetIndexOf(Divider(), kClockDividers - 1 - index);
    return kRedrawRows;
}

std::vector<std::string> TX40_clock_fine_usr_param::ComputeLabels() const {
    const int divider = DividerIndex();
    std::vector<std::string> labels;
    for (float base : kClockBases) labels.push_back(FrequencyText(DividedClock(base, divider)));
    return labels;
}

int TX40_clock_fine_usr_param::GetIndex() {
    return Base() ? BaseIndex() : -1;
}

int TX40_clock_fine_usr_param::SetIndex(int index) {
    if (Base() == nullptr || Divider() == nullptr || !IsValidSelection(index)) return -1;
    SetIndexOf(Base(), index);
    return kRedrawRows;
}

TX40_exsync_width_usr_param::TX40_exsync_width_usr_param(std::string label, int id,
                                                         const ParamList &params, int handle)
    : TX40_computed_usr_param(std::move(label), id, params, handle),
      counter_(FindParam(params, kExSyncCounterHandle)),
      clock_(FindParam(params, kExSyncClockHandle)),
      preset_(FindParam(params, kExSyncPresetHandle)) {}

std::vector<std::string> TX40_exsync_width_usr_param::ComputeLabels() const {
    const int counts = (preset_ ? Stored(*preset_) : 0) + kExSyncExtraCounts;
    std::vector<std::string> labels{"disabled"};
    for (float period : kExSyncPeriods)
        labels.push_back(WidthText(static_cast<float>(counts) * period));
    return labels;
}

int TX40_exsync_width_usr_param::GetIndex() {
    if (counter_ == nullptr || clock_ == nullptr) return -1;
    if (IndexOf(counter_) == 0) return 0;
    return IndexOf(clock_) + 1;
}

// Choosing "disabled" changes no label; any width changes the counter's.
int TX40_exsync_width_usr_param::SetIndex(int index) {
    if (counter_ == nullptr || clock_ == nullptr || !IsValidSelection(index)) return -1;
    if (index == 0) {
        SetIndexOf(counter_, 0);
        return 0;
    }
    SetIndexOf(counter_, 1);
    SetIndexOf(clock_, index - 1);
    return kRedrawRows;
}

QV_param_val TX40_exsync_fine_usr_param::GetValue() {
    return QV_param_val::S16(0);
}

int TX40_exsync_fine_usr_param::SetValue(const QV_param_val &) {
    return 0;
}

}  // namespace qvi
