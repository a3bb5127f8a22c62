// The TX-60 digital camera module: its parameters, rows and pages.
#include "modules/acquisition/tx60.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>

#include "keys/model_tables.h"
#include "modules/label_table.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kNameHandle = 2;
constexpr int kCameraModeHandle = 7;
constexpr int kCameraIdHandle = 8;
constexpr int kAcqDxHandle = 39;
constexpr int kAcqDyHandle = 40;

// Camera mode "4" and camera id "2" both sit at this place in their lists:
// that camera delivers 12-bit pixels.
constexpr int kTwelveBitChoice = 2;

// The row with behaviour of its own.
constexpr int kHorizontalActiveRow = 24;

// ---- the user label table ------------------------------------------------

using namespace labels;
using enum Kind;

// clang-format off
constexpr std::string_view kCameraIds[] = {"0", "1", "2"};
constexpr std::string_view kCameraModes[] = {"0", "1", "4", "5", "7"};
constexpr std::string_view kWindowModes[] = {"HACT only", "HOFF & HACT"};
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kTriggerSources[] = {"External", "Software"};
constexpr std::string_view kClockBases[] = {
    "CCLK_14.32MHz", "CCLK_16.26MHz", "CCLK_24.00MHz", "CCLK_25.18MHz", "CCLK_28.32MHz",
    "CCLK_32.51MHz", "CCLK_36.00MHz", "CCLK_40.00MHz", "CCLK_44.90MHz", "CCLK_50.00MHz",
};
constexpr std::string_view kClockDividers[] = {
    "CCLK_Div1", "CCLK_Div2", "CCLK_Div4", "CCLK_Div8",
    "CCLK_Div16", "CCLK_Div32", "CCLK_Div64", "CCLK_Div128",
};
constexpr std::string_view kEdges[] = {"Rising", "Falling"};
constexpr std::string_view kScanModes[] = {"Area Scan", "Line Scan"};
constexpr std::string_view kExSyncClocks[] = {
    "14.32_Div16", "14.32_Div256", "14.32_Div4K", "14.32_Div64K",
};
constexpr std::string_view kExtSyncModes[] = {
    "Free Running", "Ext Triggered", "SW Triggered", "FEN Triggered",
};
constexpr std::string_view kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr std::string_view kActiveLowHigh[] = {"Active Low", "Active High"};
constexpr std::string_view kPriEnable[] = {"", "PRI_Enable"};

// In the order the rows are added: number, handle, label, kind, choice labels
// or bounds, flags.
constexpr LabelRow kUsrRows[] = {
    {0,  2,  "Camera",               Camera,  {},                kNoBounds,       kNotify},
    {1,  8,  "Camera ID",            Choice,  kCameraIds,        kNoBounds,       kPlain},
    {2,  7,  "Camera Mode",          Choice,  kCameraModes,      kNoBounds,       kNotify},
    {3,  21, "Window Gen Mode",      Choice,  kWindowModes,      kNoBounds,       kPlain},
    {4,  37, "Trigger_Gen Mode",     Choice,  kEnabledDisabled,  kNoBounds,       kPlain},
    {5,  38, "Trigger Source",       Choice,  kTriggerSources,   kNoBounds,       kPlain},
    {6,  12, "Camera Ctrl Mode",     Choice,  kEnabledDisabled,  kNoBounds,       kPlain},
    {7,  13, "Camera Ctrl Data",     Range,   {},                {0, 511, 1},     kPlain},
    {8,  11, "CCLK Freq",            Choice,  kClockBases,       kNoBounds,       kPlain},
    {9,  14, "CCLK Divisor",         Choice,  kClockDividers,    kNoBounds,       kPlain},
    {10, 15, "PCLK Polarity",        Choice,  kEdges,            kNoBounds,       kPlain},
    {13, 18, "CCLK Polarity",        Choice,  kEdges,            kNoBounds,       kPlain},
    {11, 16, "LEN Polarity",         Choice,  kEdges,            kNoBounds,       kPlain},
    {12, 17, "FEN Polarity",         Choice,  kEdges,            kNoBounds,       kPlain},
    {14, 19, "Scan Mode",            Choice,  kScanModes,        kNoBounds,       kPlain},
    {15, 20, "No-Line-Miss Mode",    Choice,  kEnabledDisabled,  kNoBounds,       kPlain},
    {16, 22, "EXSCLK Freq",          Choice,  kExSyncClocks,     kNoBounds,       kPlain},
    {17, 23, "Ext Sync Mode",        Choice,  kExtSyncModes,     kNoBounds,       kPlain},
    {18, 24, "Ext Sync Counter",     Choice,  kDisabledEnabled,  kNoBounds,       kPlain},
    {19, 26, "Ext Sync Pol",         Choice,  kActiveLowHigh,    kNoBounds,       kPlain},
    {20, 27, "PRI Enable",           Choice,  kPriEnable,        kNoBounds,       kPlain},
    {21, 28, "PRI Pol",              Choice,  kActiveLowHigh,    kNoBounds,       kPlain},
    {22, 29, "Ext Sync Cntr Preset", Range,   {},                {0, 4095, 1},    kPlain},
    {24, 34, "Horizontal Active",    Special, {},                {8, 1024, 4},    kNotify},
    {23, 33, "Horizontal Offset",    Range,   {},                {0, 511, 1},     kNotify},
    {26, 36, "Vertical Active",      Range,   {},                {0, 4096, 1},    kNotify},
    {25, 35, "Vertical Offset",      Range,   {},                {0, 511, 1},     kNotify},
    {27, 41, "PRIN Count",           Range,   {},                {0, 1020, 1},    kPlain},
    {28, 39, "Acq DX",               Range,   {},                {0, 32767, 1},   kNotify},
    {29, 40, "Acq DY",               Range,   {},                {0, 4095, 1},    kNotify},
};

// ---- the group table -----------------------------------------------------

constexpr IdRange kCameraPage[] = {{0, 0}};
constexpr IdRange kAllPage[] = {{0, 29}};

constexpr GroupRow kGroups[] = {
    {"Camera", kCameraPage},
    {"All",    kAllPage},
};
// clang-format on

// clang-format off
constexpr SpecialRow kSpecialRows[] = {
    {kHorizontalActiveRow, MakeRangeRow<TX60_horizontal_active_usr_param>},
};
// clang-format on

}  // namespace

// ---- the platform object -------------------------------------------------------

TX60_plat_mod::TX60_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_single_camera_plat_mod("TX-60 plat_mod", keys::kTx60Table, binding, handle, "tx60") {}

int TX60_plat_mod::GetImageWidth() {
    return StoredValue(kAcqDxHandle);
}

int TX60_plat_mod::GetImageHeight() {
    return StoredValue(kAcqDyHandle);
}

int TX60_plat_mod::GetBitsPerPixel() {
    QV_mod *container = Module();
    QV_mod_param *mode = container ? container->GetModParam(kCameraModeHandle) : nullptr;
    QV_mod_param *id = container ? container->GetModParam(kCameraIdHandle) : nullptr;
    if (mode == nullptr || id == nullptr) return 8;
    const bool twelveBits = mode->GetUIValue().GetLong() == kTwelveBitChoice &&
                            id->GetUIValue().GetLong() == kTwelveBitChoice;
    return twelveBits ? 12 : 8;
}

// ---- the container -------------------------------------------------------------

QV_tx60_mod::QV_tx60_mod(QV_plat_mod *platform)
    : QV_single_camera_mod(platform, keys::kTx60Table, kNameHandle) {
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_tx60_mod::CreateModParams() {
    AddParamsFromTable(*this, Table());
}

void QV_tx60_mod::CreateUsrParams() {
    AddLabelRows(*this, kUsrRows, {.cameraKey = "TX-60", .special = SpecialRowsFrom(kSpecialRows)});
}

void QV_tx60_mod::CreateParamGroups() {
    AddGroups(*this, kGroups);
}

// ---- the horizontal-active row -----------------------------------------------------

int TX60_horizontal_active_usr_param::SetValue(const QV_param_val &value) {
    if (!HasParam("SetValue")) return -1;
    const double number = std::clamp(std::trunc(value.ToDouble()), -2147483648.0, 2147483647.0);
    const auto whole = static_cast<std::int64_t>(number);
    return GetParam()->SetUIValue(QV_param_val::S16(static_cast<std::int16_t>(whole)));
}

}  // namespace qvi
