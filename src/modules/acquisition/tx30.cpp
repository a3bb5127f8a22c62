// The TX-30 colour module: FPGA loading, colour-space coefficients, look-up tables, rows and pages.
#include "modules/acquisition/tx30.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/acquisition/csc_matrices.h"
#include "modules/label_table.h"
#include "params/mod.h"
#include "params/number_text.h"
#include "platform/ui.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kStartupPortHandle = 0;
constexpr int kNameHandle = 3;
constexpr int kLoadNameHandle = 5;
constexpr int kMatrixNameHandle = 8;
constexpr int kBypassHandle = 9;
constexpr int kOutputLutTypeHandle = 13;
constexpr int kInputFormatHandle = 14;
constexpr int kOutputFormatHandle = 15;
constexpr int kScalingHandle = 16;
constexpr int kColorModeHandle = 28;
constexpr int kFirstCoefficient = TX30_coefficient_param::kFirstHandle;
constexpr int kLastCoefficient = kFirstCoefficient + TX30_coefficient_param::kCount - 1;

// "Pseudo_Color_8" of "ADC_Color_Mode": the module then delivers 8-bit pixels.
constexpr int kPseudoColor8 = 3;

constexpr int kTriggerRegister0 = 16;
constexpr int kTriggerRegister1 = 17;
constexpr int kTriggerBusyRegister = 87;
// The colour-space converter: the format register, the bypass and scaling
// register, and the coefficient port with its two set-up registers.
constexpr int kFormatRegister = 63;
constexpr int kBypassScalingRegister = 64;
constexpr int kCoefficientSetupRegister = 24;
constexpr int kCoefficientModeRegister = 25;
constexpr int kCoefficientPortRegister = 26;
constexpr int kInputFormatKeptBits = 31;       // the output format's and the rest
constexpr int kOutputFormatKeptBits = 0x00E3;  // the input format's and the rest

// The camera-structure fields the fill sets before reading: both look-up
// tables are loaded whatever the camera says.
constexpr std::size_t kInputLutLoadOffset = 0x24;
constexpr std::size_t kOutputLutLoadOffset = 0x28;

// The order in which a port's keys are filled: the camera's, then the
// matrix's formats and scaling, the bypass, and the matrix name; the nine
// coefficients come last.
// clang-format off
constexpr int kPortFillOrder[] = {
    kNameHandle, 10, 11, 12, kOutputLutTypeHandle,
    18, 19, 20, 21, 22, 23, 24, 25, 26, 27, kColorModeHandle, 29,
    31, 32, 33, 34, 35, 36,
    kInputFormatHandle, kOutputFormatHandle, kScalingHandle, kBypassHandle, kMatrixNameHandle,
};
// clang-format on

// The rows that edit a matrix: formats, scaling and the nine coefficients.
constexpr int kMatrixRows[] = {28, 29, 31, 33, 34, 35, 36, 37, 38, 39, 40, 41};
// The parameters a matrix sets.
// clang-format off
constexpr int kMatrixHandles[] = {
    kMatrixNameHandle, kInputFormatHandle, kOutputFormatHandle, kScalingHandle,
    37, 38, 39, 40, 41, 42, 43, 44, 45,
};
// clang-format on

// The program-wide FPGA state: the first selection after start-up never
// loads, and a file is loaded again only when the path changes.
std::string gLastFpgaPath;
bool gFirstFpgaSelection = true;

int Whole(const QV_param_val &value) {
    return static_cast<int>(value.ToDouble());
}

QV_param_val S16Value(int value) {
    return QV_param_val::S16(static_cast<std::int16_t>(value));
}

TX30_plat_mod *Tx30Board(QV_plat_mod *board) {
    return dynamic_cast<TX30_plat_mod *>(board);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// ---- the parameters built with their own classes ------------------------------------

std::unique_ptr<QV_mod_param> MakeOwnParam(const keys::KeyRow &row, int ports) {
    switch (row.handle) {
        case kInputFormatHandle:
            return MakeChoice<TX30_input_format_param>(row, ports);
        case kOutputFormatHandle:
            return MakeChoice<TX30_output_format_param>(row, ports);
        case kBypassHandle:
            return MakeChoice<TX30_bypass_param>(row, ports);
        case kScalingHandle:
            return MakeChoice<TX30_scaling_param>(row, ports);
        case kOutputLutTypeHandle:
            return MakeChoice<TX30_output_lut_param>(row, ports);
        default:
            break;
    }
    if (row.handle < kFirstCoefficient || row.handle > kLastCoefficient) return nullptr;
    return MakeRange<TX30_coefficient_param>(row, ports);
}

// ---- the user label table ------------------------------------------------

using namespace labels;
using enum Kind;

// clang-format off
constexpr std::string_view kCameras[] = {"Camera 0", "Camera 1", "Camera 2", "Camera 3"};
constexpr std::string_view kEnabledBypassed[] = {"Enabled", "Bypassed"};
constexpr std::string_view kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kLowHigh[] = {"Low", "High"};
constexpr std::string_view kSyncModes[] = {
    "comp video in", "comp sync in", "sep sync in", "comp sync out", "sep sync out",
    "sep sync out/Pclk in", "comp sync out/Pclk in", "sep sync out/Pclk out",
    "comp sync out/Pclk out", "sep sync in/Pclk in",
};
constexpr std::string_view kSyncSources[] = {
    "sync on red", "sync on green", "sync on blue", "sync on ext sync 0", "sync on ext sync 1",
};
constexpr std::string_view kSyncStripLevels[] = {"125 mV threshold", "50 mV threshold"};
constexpr std::string_view kColorModes[] = {
    "24-bit true color", "15-bit true color", "8-bit true color", "8-bit pseudo color",
};
constexpr std::string_view kEdges[] = {"Invert (falling edge)", "NoInvert (rising edge)"};
constexpr std::string_view kConverter[] = {"Disabled (bypassed)", "Enabled"};
constexpr std::string_view kOutputLutTransforms[] = {"Linear", "HSI"};
constexpr std::string_view kInputFormats[] = {
    "Unsigned Magnitude", "Analog Signed Magnitude", "2's Complement Signed", "Pseudo Color",
};
constexpr std::string_view kOutputFormats[] = {
    "Unsigned Magnitude", "Analog Signed Magnitude", "2's Complement Signed",
};
constexpr std::string_view kScalings[] = {"1x", "2x", "4x", "8x", "16x"};

constexpr Bounds kReference{0, 255, 4};
constexpr Bounds kCoefficient{-4.0, 3.99, 0.01};

constexpr int kFpgaFileRow = 27;
constexpr int kMatrixRow = 42;

// In the order the rows are added: number, handle, label, kind, choice
// labels or bounds, flags (and a camera selector's port).
constexpr LabelRow kUsrRows[] = {
    {0,  3,  "Camera 0",                Camera,  {},                   kNoBounds,    kNotify, 0},
    {1,  3,  "Camera 1",                Camera,  {},                   kNoBounds,    kNotify, 1},
    {2,  3,  "Camera 2",                Camera,  {},                   kNoBounds,    kNotify, 2},
    {3,  3,  "Camera 3",                Camera,  {},                   kNoBounds,    kNotify, 3},
    {4,  0,  "Active Camera",           Port,    kCameras,             kNoBounds,    kNotify},
    {27, 5,  "H x V (fpga file)",       Special, {},                   kNoBounds,    kNotify},
    {5,  6,  "Output LUT",              Choice,  kEnabledBypassed,     kNoBounds,    kPlain},
    {6,  18, "Cam 2 SVHS",              Choice,  kDisabledEnabled,     kNoBounds,    kPlain},
    {7,  24, "Strobe 1 polarity",       Choice,  kLowHigh,             kNoBounds,    kPlain},
    {8,  25, "Strobe 2 polarity",       Choice,  kLowHigh,             kNoBounds,    kPlain},
    {9,  26, "Low Pass Filter",         Choice,  kDisabledEnabled,     kNoBounds,    kPlain},
    {10, 19, "Trigger 0",               Choice,  kDisabledEnabled,     kNoBounds,    kPlain},
    {11, 20, "Trigger 1",               Choice,  kDisabledEnabled,     kNoBounds,    kPlain},
    {12, 22, "Sync Mode",               Choice,  kSyncModes,           kNoBounds,    kPlain},
    {13, 29, "Sync Source",             Choice,  kSyncSources,         kNoBounds,    kPlain},
    {14, 27, "Sync Strip Level",        Choice,  kSyncStripLevels,     kNoBounds,    kPlain},
    {15, 28, "Color Mode",              Choice,  kColorModes,          kNoBounds,    kPlain},
    {16, 23, "PCLK Polarity",           Choice,  kEdges,               kNoBounds,    kPlain},
    {17, 21, "Trigger Polarity",        Choice,  kEdges,               kNoBounds,    kPlain},
    {18, 10, "Matrix Load",             Choice,  kEnabledDisabled,     kNoBounds,    kPlain},
    {19, 11, "Input LUT Load",          Choice,  kEnabledDisabled,     kNoBounds,    kPlain},
    {20, 12, "Output LUT Load",         Choice,  kEnabledDisabled,     kNoBounds,    kPlain},
    {21, 32, "Red pos ref",             Range,   {},                   kReference,   kPlain},
    {22, 34, "Green pos ref",           Range,   {},                   kReference,   kPlain},
    {23, 36, "Blue pos ref",            Range,   {},                   kReference,   kPlain},
    {24, 31, "Red neg ref",             Range,   {},                   kReference,   kPlain},
    {25, 33, "Green neg ref",           Range,   {},                   kReference,   kPlain},
    {26, 35, "Blue neg ref",            Range,   {},                   kReference,   kPlain},
    {30, 9,  "Color Space Converter",   Choice,  kConverter,           kNoBounds,    kPlain},
    {32, 13, "Output LUT xform",        Choice,  kOutputLutTransforms, kNoBounds,    kPlain},
    {42, 8,  "CSC matricies (pre-def)", Special, {},                   kNoBounds,    kPlain},
    {28, 14, "CSC input format",        Choice,  kInputFormats,        kNoBounds,    kPlain},
    {29, 15, "CSC output format",       Choice,  kOutputFormats,       kNoBounds,    kPlain},
    {31, 16, "CSC Scaling",             Choice,  kScalings,            kNoBounds,    kPlain},
    {33, 37, "CSC matrix coef 1",       Range,   {},                   kCoefficient, kPlain},
    {34, 38, "CSC matrix coef 2",       Range,   {},                   kCoefficient, kPlain},
    {35, 39, "CSC matrix coef 3",       Range,   {},                   kCoefficient, kPlain},
    {36, 40, "CSC matrix coef 4",       Range,   {},                   kCoefficient, kPlain},
    {37, 41, "CSC matrix coef 5",       Range,   {},                   kCoefficient, kPlain},
    {38, 42, "CSC matrix coef 6",       Range,   {},                   kCoefficient, kPlain},
    {39, 43, "CSC matrix coef 7",       Range,   {},                   kCoefficient, kPlain},
    {40, 44, "CSC matrix coef 8",       Range,   {},                   kCoefficient, kPlain},
    {41, 45, "CSC matrix coef 9",       Range,   {},                   kCoefficient, kPlain},
};

// ---- the group table -----------------------------------------------------

constexpr IdRange kBasicPage[] = {{0, 4}, {27, 27}};
constexpr IdRange kAllPage[] = {
    {0, 5},   {32, 32}, {27, 27}, {6, 21},  {24, 24}, {22, 22}, {25, 25}, {23, 23},
    {26, 26}, {30, 30}, {42, 42}, {28, 29}, {31, 31}, {33, 41},
};

constexpr GroupRow kGroups[] = {
    {"Basic", kBasicPage},
    {"All",   kAllPage},
};
// clang-format on

// clang-format off
constexpr SpecialRow kSpecialRows[] = {
    {kMatrixRow, MakePlainRow<TX30_matrix_usr_param>},
};
// clang-format on

}  // namespace

// ---- the FPGA file catalogue ----------------------------------------------------

QV_fpga_file_catalogue::QV_fpga_file_catalogue(const std::vector<FpgaFileEntry> &entries)
    : entries_(&entries) {}

const FpgaFileEntry *QV_fpga_file_catalogue::EntryAt(int index) const {
    if (index >= 0 && index < Count()) return &(*entries_)[static_cast<std::size_t>(index)];
    ReportError(MessageText("Invalid index: ", index, " passed to TX-30 FPGA File Manager"));
    return nullptr;
}

std::string QV_fpga_file_catalogue::Name(int index) const {
    const FpgaFileEntry *entry = EntryAt(index);
    return entry ? entry->name : kError;
}

std::string QV_fpga_file_catalogue::Description(int index) const {
    const FpgaFileEntry *entry = EntryAt(index);
    return entry ? entry->desc : kError;
}

int QV_fpga_file_catalogue::XSize(int index) const {
    const FpgaFileEntry *entry = EntryAt(index);
    return entry ? entry->x_size : 0;
}

int QV_fpga_file_catalogue::YSize(int index) const {
    const FpgaFileEntry *entry = EntryAt(index);
    return entry ? entry->y_size : 0;
}

std::vector<std::string> QV_fpga_file_catalogue::Descriptions() const {
    std::vector<std::string> descriptions;
    for (const FpgaFileEntry &entry : *entries_) descriptions.push_back(entry.desc);
    return descriptions;
}

const FpgaFileEntry *QV_fpga_file_catalogue::Find(const std::string &name) const {
    for (const FpgaFileEntry &entry : *entries_)
        if (entry.name == name) return &entry;
    return nullptr;
}

int QV_fpga_file_catalogue::FindIgnoringCase(const std::string &name) const {
    const std::string wanted = Lower(name);
    for (int i = 0; i < Count(); ++i)
        if (Lower((*entries_)[static_cast<std::size_t>(i)].name) == wanted) return i;
    return -1;
}

// ---- the platform object -------------------------------------------------------

tx30::ModuleEntryLookup::ModuleEntryLookup(LibraryBinding *binding) {
    if (binding == nullptr) return;
    loadEntry = binding->LookupAs<LoadEntry>("tx30_load");
    outputLutEntry = binding->LookupAs<OutputLutEntry>("tx30_set_oluts");
}

TX30_plat_mod::TX30_plat_mod(LibraryBinding *binding, std::uint32_t handle,
                             const ModuleSettings &settings)
    : tx30::ModuleEntryLookup(binding),
      QV_four_port_plat_mod("TX-30 plat_mod", keys::kTx31Table, binding, handle, "tx30"),
      settings_(settings) {}

void TX30_plat_mod::FillKey(QV_mod &container, int handle, int port) const {
    const keys::KeyRow *row = keys::FindHandle(Table(), handle);
    if (row == nullptr) return;
    const QV_param_val value = ReadKeyValue(*this, Table(), *row, port);
    if (value.GetKind() == ValKind::Index) return;  // the library has no record for it
    if (row->perPort)
        container.SetParamFromCNF(port, handle, value);
    else
        container.SetParamFromCNF(handle, value);
}

void TX30_plat_mod::FillParams(QV_mod &container) {
    if (Spec() == nullptr) return;
    FillKey(container, kStartupPortHandle, 0);
    FillKey(container, kLoadNameHandle, 0);
    FillKey(container, 6, 0);  // the output-LUT bypass
    container.SetPort(SpecS16(kStartupPortOffset));
    for (int port = 0; port < kPorts; ++port) FillPortParams(container, port);
}

void TX30_plat_mod::FillPortParams(QV_mod &container, int port) {
    std::uint8_t *camera = PortCamera(port);
    if (camera == nullptr) return;
    CopyPortCameraTo(container, port, kCameraSize);
    WriteRecordS16(camera, kInputLutLoadOffset, 1);
    WriteRecordS16(camera, kOutputLutLoadOffset, 1);
    for (int handle : kPortFillOrder) FillKey(container, handle, port);
    for (int handle = kFirstCoefficient; handle <= kLastCoefficient; ++handle) {
        std::optional<HardwareWritesSuppressed> quiet;
        if (handle < kLastCoefficient) quiet.emplace();
        FillKey(container, handle, port);
    }
}

void TX30_plat_mod::CopyCameraConfig() {
    const std::uint8_t *spec = Spec();
    if (spec != nullptr) {
        const std::uint8_t *name = Deref(RecordU32(spec, kFpgaNameOffset));
        fpgaFileName_ = name ? reinterpret_cast<const char *>(name) : "";
    }
    QV_four_port_plat_mod::CopyCameraConfig();
}

const FpgaFileEntry *TX30_plat_mod::CurrentFpgaFile() const {
    QV_mod *container = Module();
    const QV_mod_param *loadName = container ? container->GetModParam(kLoadNameHandle) : nullptr;
    if (loadName == nullptr) return nullptr;
    return QV_fpga_file_catalogue(settings_.Tx30FpgaFiles())
        .Find(loadName->GetRawValue().GetText());
}

int TX30_plat_mod::GetImageWidth() {
    const FpgaFileEntry *file = CurrentFpgaFile();
    return file ? file->x_size : kDefaultWidth;
}

int TX30_plat_mod::GetImageHeight() {
    const FpgaFileEntry *file = CurrentFpgaFile();
    return file ? file->y_size : kDefaultHeight;
}

int TX30_plat_mod::GetBitsPerPixel() {
    QV_mod *container = Module();
    const QV_mod_param *mode = container ? container->GetModParam(kColorModeHandle) : nullptr;
    return mode && Whole(mode->GetRawValue()) == kPseudoColor8 ? 8 : 24;
}

void TX30_plat_mod::PrepareExternalTrigger() {
    write_reg(kTriggerRegister1, S16Value(1));
    write_reg(kTriggerRegister0, S16Value(1));
}

int TX30_plat_mod::TriggerDone() {
    return Whole(read_reg(kTriggerBusyRegister)) == 0 ? 1 : 0;
}

std::int16_t TX30_plat_mod::LoadFpgaFile(const std::string &path) {
    if (!HardwareEnabled()) return 0;
    return loadEntry ? loadEntry(Handle(), path.c_str()) : std::int16_t{-1};
}

std::int16_t TX30_plat_mod::SetOutputLuts(int kind) {
    if (!HardwareEnabled()) return 0;
    return outputLutEntry ? outputLutEntry(Handle(), kind) : std::int16_t{-1};
}

// ---- the container -------------------------------------------------------------

QV_tx30_mod::QV_tx30_mod(QV_plat_mod *platform, const ModuleSettings &settings)
    : QV_four_port_mod(platform, keys::kTx31Table, kNameHandle), settings_(settings) {
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_tx30_mod::CreateModParams() {
    AddTableParams(MakeOwnParam);
}

void QV_tx30_mod::CreateUsrParams() {
    // The FPGA file row reads the program's FPGA files; the others are listed.
    auto special = [this, listed = SpecialRowsFrom(kSpecialRows)](
                       const LabelRow &row,
                       const ParamList &params) -> std::unique_ptr<QV_usr_param> {
        if (row.id != kFpgaFileRow) return listed(row, params);
        return std::make_unique<TX30_fpga_file_usr_param>(std::string(row.label), row.id, params,
                                                          row.handle, settings_);
    };
    AddLabelRows(*this, kUsrRows, {.cameraKey = "TX-31", .special = special});
}

void QV_tx30_mod::CreateParamGroups() {
    AddGroups(*this, kGroups);
}

void QV_tx30_mod::WriteAfterPortLine(std::ostream &out, const QV_mod_param &param) {
    if (param.GetHandle() == kMatrixNameHandle)
        out << kIndent << "Matrix_Structure = Create_Structure\n";
}

// ---- the parameters that share registers ---------------------------------------------

int TX30_input_format_param::ApplyToHardware() {
    QV_plat_mod *board = OwnerBoardOf(*this);
    if (board == nullptr) return -1;
    const int kept = Whole(board->read_reg(kFormatRegister)) & kInputFormatKeptBits;
    return board->write_reg(kFormatRegister, S16Value(kept | Whole(GetRawValue())));
}

int TX30_output_format_param::ApplyToHardware() {
    QV_plat_mod *board = OwnerBoardOf(*this);
    if (board == nullptr) return -1;
    const int kept = Whole(board->read_reg(kFormatRegister)) & kOutputFormatKeptBits;
    return board->write_reg(kFormatRegister, S16Value(kept | Whole(GetRawValue())));
}

int TX30_bypass_param::ApplyToHardware() {
    QV_plat_mod *board = OwnerBoardOf(*this);
    if (board == nullptr) return -1;
    const QV_param_val value = GetRawValue();
    if (Whole(value) != 0)
        return board->write_reg(kBypassScalingRegister, ToHardware().Convert(value));
    QV_mod *module = GetModule();
    const QV_mod_param *scaling = module ? module->GetModParam(kScalingHandle) : nullptr;
    if (scaling == nullptr) return -1;
    return board->write_reg(kBypassScalingRegister, scaling->GetRawValue());
}

int TX30_scaling_param::ApplyToHardware() {
    QV_plat_mod *board = OwnerBoardOf(*this);
    QV_mod *module = GetModule();
    const QV_mod_param *bypass = module ? module->GetModParam(kBypassHandle) : nullptr;
    if (board == nullptr || bypass == nullptr) return -1;
    if (Whole(bypass->GetRawValue()) != 0) return 0;
    return board->write_reg(kBypassScalingRegister, ToHardware().Convert(GetRawValue()));
}

int TX30_output_lut_param::ApplyToHardware() {
    TX30_plat_mod *board = Tx30Board(OwnerBoardOf(*this));
    return board ? board->SetOutputLuts(Whole(GetRawValue())) : -1;
}

// A quarter of the coefficient in 1/1024ths, toward zero; the low 16 bits of
// that as a signed number, clamped to what 11 bits hold.
std::int16_t TX30_coefficient_param::LowWord(float coefficient) {
    const double scaled = std::trunc(static_cast<double>(coefficient) * 1024.0 * 0.25);
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    const auto whole =
        static_cast<std::int32_t>(std::isnan(scaled) ? 0.0 : std::clamp(scaled, kLow, kHigh));
    const auto low16 = static_cast<std::int16_t>(static_cast<std::uint16_t>(whole & 0xFFFF));
    const int clamped = std::clamp<int>(low16, -1024, 1023);
    return static_cast<std::int16_t>(clamped & 0x7FF);
}

std::int16_t TX30_coefficient_param::HighWord(float coefficient) {
    return static_cast<std::int16_t>((LowWord(coefficient) >> 8) & 7);
}

int TX30_coefficient_param::ApplyToHardware() {
    QV_plat_mod *board = OwnerBoardOf(*this);
    QV_mod *module = GetModule();
    if (board == nullptr || module == nullptr) return -1;
    std::array<float, kCount> coefficients{};
    for (int i = 0; i < kCount; ++i) {
        const QV_mod_param *param = module->GetModParam(kFirstHandle + i);
        if (param == nullptr) return -1;
        coefficients[static_cast<std::size_t>(i)] = param->GetRawValue().GetFloat();
    }
    board->write_reg(kCoefficientModeRegister, S16Value(3));
    board->write_reg(kCoefficientSetupRegister, S16Value(0x300));
    for (float coefficient : coefficients) {
        board->write_reg(kCoefficientPortRegister, QV_param_val::S16(LowWord(coefficient)));
        board->write_reg(kCoefficientPortRegister, QV_param_val::S16(HighWord(coefficient)));
    }
    return 0;
}

std::string TX30_coefficient_param::GetCFGString(int port) {
    QV_mod *module = GetModule();
    if (GetHandle() != kFirstHandle || !IsEnabled() || module == nullptr) return {};
    std::string line = GetName() + " = ";
    for (int i = 0; i < kCount; ++i) {
        const QV_mod_param *param = module->GetModParam(kFirstHandle + i);
        if (param == nullptr) return {};
        if (i > 0) line += ",";
        line += FormatFixed(param->GetRawValue(port).GetFloat(), 0, 3);
    }
    return line;
}

// ---- the FPGA file row ------------------------------------------------------------

TX30_fpga_file_usr_param::TX30_fpga_file_usr_param(std::string label, int id,
                                                   const ParamList &params, int handle,
                                                   const ModuleSettings &settings)
    : QV_choice_usr_param(std::move(label), id, params, handle, {}), settings_(settings) {}

void TX30_fpga_file_usr_param::ForgetLoads() {
    gLastFpgaPath.clear();
    gFirstFpgaSelection = true;
}

void TX30_fpga_file_usr_param::Refresh() {
    if (!HasParam("Refresh")) return;
    const std::string current = GetParam()->GetRawValue().GetText();
    const QV_fpga_file_catalogue catalogue(settings_.Tx30FpgaFiles());
    std::vector<std::string> labels = catalogue.Descriptions();
    current_ = catalogue.FindIgnoringCase(current);
    extra_ = -1;
    if (current_ < 0) {
        labels.push_back(current);
        current_ = extra_ = static_cast<int>(labels.size()) - 1;
    }
    SetLabels(std::move(labels));
}

int TX30_fpga_file_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex")) return -1;
    QV_mod_param &loadName = *GetParam();
    const bool own = extra_ >= 0 && index == extra_;
    const std::string file = own ? loadName.GetRawValue().GetText()
                                 : QV_fpga_file_catalogue(settings_.Tx30FpgaFiles()).Name(index);
    const std::string path =
        (std::filesystem::path(settings_.ConfigurationFolder()) / file).string();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        ReportError(MessageText("Can't find TX-30 FPGA file:", path));
        return kRedrawRows;
    }
    WaitCursor wait;
    if (path != gLastFpgaPath && !gFirstFpgaSelection) {
        QV_mod *module = GetModule();
        if (TX30_plat_mod *board = Tx30Board(OwnerBoardOf(loadName))) board->LoadFpgaFile(path);
        gLastFpgaPath = path;
        if (module != nullptr) module->RefreshUsrParams();
    }
    current_ = index;
    loadName.SetUIValue(QV_param_val::Text(file));
    gFirstFpgaSelection = false;
    return kRedrawRow;
}

// ---- the predefined-matrix row -----------------------------------------------------

TX30_matrix_usr_param::TX30_matrix_usr_param(std::string label, int id, const ParamList &params,
                                             int handle)
    : QV_choice_usr_param(std::move(label), id, params, handle, {}) {}

void TX30_matrix_usr_param::Refresh() {
    if (!HasParam("Refresh")) return;
    const std::string current = GetParam()->GetRawValue().GetText();
    const QV_csc_matrix_catalogue &catalogue = QV_csc_matrix_catalogue::Instance();
    std::vector<std::string> labels = catalogue.Names();
    current_ = catalogue.Find(current);
    extra_ = -1;
    if (current_ < 0 || current == catalogue.Names()[QV_csc_matrix_catalogue::kCustomIndex]) {
        labels.push_back(current);
        current_ = extra_ = static_cast<int>(labels.size()) - 1;
    }
    SetLabels(std::move(labels));
    SetIndex(current_);
}

void TX30_matrix_usr_param::RevertMatrix() const {
    for (int handle : kMatrixHandles)
        if (QV_mod_param *param = GetModule()->GetModParam(handle))
            param->Revert(param->GetCurrentPort());
}

void TX30_matrix_usr_param::ApplyCatalogueMatrix(int index) const {
    const QV_csc_matrix *matrix = QV_csc_matrix_catalogue::Instance().Get(index);
    QV_mod &module = *GetModule();
    if (matrix == nullptr) return;
    const auto set = [&](int handle, const QV_param_val &value) {
        if (QV_mod_param *param = module.GetModParam(handle)) param->SetRawValue(value);
    };
    set(kMatrixNameHandle, QV_param_val::Text(matrix->name));
    set(kInputFormatHandle, QV_param_val::S16(matrix->inputFormat));
    set(kOutputFormatHandle, QV_param_val::S16(matrix->outputFormat));
    set(kScalingHandle, QV_param_val::S16(matrix->scaling));
    for (int i = 0; i < TX30_coefficient_param::kCount; ++i)
        set(kFirstCoefficient + i,
            QV_param_val::Float(matrix->coefficients[static_cast<std::size_t>(i)]));
    for (int handle : {kMatrixNameHandle, kInputFormatHandle, kOutputFormatHandle, kScalingHandle,
                       kFirstCoefficient})
        if (QV_mod_param *param = module.GetModParam(handle)) param->ApplyToHardware();
}

int TX30_matrix_usr_param::SetIndex(int index) {
    QV_mod *module = GetModule();
    if (module == nullptr) return -1;
    module->MarkSaved();
    const auto enableRows = [&](bool enabled) {
        for (int id : kMatrixRows)
            if (QV_usr_param *row = module->GetUsrParam(id)) row->SetEnabled(enabled);
    };
    enableRows(false);
    if (index >= QV_csc_matrix_catalogue::kCustomIndex) {
        enableRows(true);
        RevertMatrix();
    }
    if (extra_ >= 0 && index == extra_)
        RevertMatrix();
    else
        ApplyCatalogueMatrix(index);
    current_ = index;
    return kRedrawRows;
}

}  // namespace qvi
