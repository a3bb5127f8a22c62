// One camera channel of the SXA board: its parameters, rows, pages and triggers.
#include "modules/acquisition/sxa_port.h"

#include <bit>
#include <cstring>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "params/camera_list.h"
#include "params/mod_param.h"
#include "params/param_group.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kNameHandle = 3;
constexpr int kTimingModeHandle = 36;
constexpr int kBoardRevisionHandle = 69;
constexpr int kDualTapHandle = 70;
// The Timing_Mode value of the dual-tap slave.
constexpr std::int32_t kDualTapTiming = 1;

// The library parameters the trigger preparations set, with the values the
// trigger waiter of the SXA board uses as well: 5 is the trigger source
// (1 external, 2 software), 4 set to 2 arms triggered acquisition.
constexpr int kTriggerSourceParam = 5;
constexpr int kTriggerArmParam = 4;
constexpr double kExternalSource = 1.0;
constexpr double kSoftwareSource = 2.0;
constexpr double kTriggerArmed = 2.0;

const keys::ModelTable &Table() {
    return keys::kSxaPortTable;
}

// ---- the user label table ------------------------------------------------

enum class RowKind { Camera, Choice, Range, RangeS16, TimingMode };
enum RowFlags { kPlain = 0, kNotify = 1, kGreyed = 2 };

struct Bounds {
    std::int32_t min;
    std::int32_t max;
    std::int32_t step;
};

using Labels = std::span<const std::string_view>;

// One row of the dialog: its number (the handle it shows), label, kind, the
// choice labels or the bounds, and whether it notifies the owner board or is
// shown greyed.
struct UsrRow {
    int id;
    std::string_view label;
    RowKind kind;
    Labels labels;
    Bounds bounds;
    int flags;
};

// clang-format off
constexpr std::string_view kInterlace[] = {"Non_Interlaced", "Interlaced"};
constexpr std::string_view kStartField[] = {"Next_Field", "Nex_Even_Field", "Next_Odd_Field"};
constexpr std::string_view kLowHigh[] = {"Low", "High"};
constexpr std::string_view kCSyncOut[] = {"HSync_Output", "CSync_Output"};
constexpr std::string_view kTriggerSource[] = {"Software", "External"};
constexpr std::string_view kActiveLowHighWord[] = {"Active_Low", "Active_High"};
constexpr std::string_view kDisableEnable[] = {"Disable", "Enable"};
constexpr std::string_view kEnableDisable[] = {"Enable", "Disable"};
constexpr std::string_view kStrobeMode[] = {"Fast Strobe", "Slow Strobe"};
constexpr std::string_view kActiveLowHigh[] = {"Active Low", "Active High"};
constexpr std::string_view kFrameResetSize[] = {"Whole Frame Reset Offset Period", "One Line"};
constexpr std::string_view kFrameResetOut[] = {"Normal", "Frame Reset on Vsync pin"};
constexpr std::string_view kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kNormalInverted[] = {"Normal", "Inverted"};
constexpr std::string_view kEdges[] = {"Falling Edge", "Rising Edge"};
constexpr std::string_view kEdgeWords[] = {"Falling_Edge", "Rising_Edge"};
constexpr std::string_view kFieldSelect[] = {"Sync Stripper Field", "Disabled"};
constexpr std::string_view kScanMode[] = {"Non-Interlaced", "Interlaced"};
constexpr std::string_view kGains[] = {"Gain_1_0", "Gain_1_2", "Gain_1_3", "Gain_1_5"};
constexpr std::string_view kClampSource[] = {"Sync Stripper", "Programmable"};
constexpr std::string_view kVcoGain[] = {
    "0 -10MHz/V", "1 -15MHz/V", "2 -20MHz/V", "3 -25MHz/V",
    "4 -45 MHz/V", "5 -60MHz/V", "6 -75MHz/V", "7 -90MHz/V",
};
constexpr std::string_view kPfdGain[] = {
    "0 -.2344", "1 -.9375", "2 -3.750", "3 -15.00", "4 -1.875", "5 -7.500", "6 -30.00", "7 -120",
};
constexpr std::string_view kExternalInternal[] = {"External", "Internal"};
constexpr std::string_view kFeedbackClock[] = {"VCO clock(XTAL mode)", "OUT1 clock(PLL mode)"};
constexpr std::string_view kEdgePolarity[] = {"Positive Edge", "Negative Edge"};
constexpr std::string_view kPostScalar[] = {
    "Divide by 8", "Divide by 4", "Divide by 2", "Divide 1",
};
constexpr std::string_view kFeedbackPostScalar[] = {
    "Divide by 8", "Divide by 4", "Divide by 2", "Devide 1",
};
constexpr std::string_view kLagLead[] = {"Lag", "Lead"};
constexpr std::string_view kLoadCounter[] = {
    "3(1-pos,0-neg)", "4(pos edge)", "4(neg edge)", "5(1-neg,0-pos)",
    "6(pos edge)", "8(pos edge)", "8(neg edge)", "10(neg edge)",
};

using enum RowKind;
constexpr Bounds kNone{};

// In the order the rows are added.
constexpr UsrRow kUsrRows[] = {
    {3,  "Camera",               Camera,     {},                 kNone,          kNotify},
    {6,  "Interlace mode",       Choice,     kInterlace,         kNone,          kPlain},
    {7,  "Start Field",          Choice,     kStartField,        kNone,          kPlain},
    {8,  "Horizontal Total",     Range,      {},                 {0, 1023, 1},   kPlain},
    {9,  "Hor Sync End",         Range,      {},                 {0, 255, 1},    kPlain},
    {10, "Hsync Polarity",       Choice,     kLowHigh,           kNone,          kPlain},
    {11, "Composite Sync Out",   Choice,     kCSyncOut,          kNone,          kPlain},
    {12, "Serration Pulse",      Range,      {},                 {0, 1023, 1},   kPlain},
    {13, "Hor Equal End",        Range,      {},                 {0, 255, 1},    kPlain},
    {14, "Vertical Total",       Range,      {},                 {0, 2047, 1},   kPlain},
    {15, "Ver Sync End",         Range,      {},                 {0, 33, 1},     kPlain},
    {16, "Vertical Sync Pol",    Choice,     kLowHigh,           kNone,          kPlain},
    {17, "Ver Gate Start",       Range,      {},                 {0, 2047, 1},   kPlain},
    {18, "Ver Gate End",         Range,      {},                 {0, 127, 1},    kPlain},
    {19, "Horizontal Offset",    Range,      {},                 {0, 1023, 1},   kNotify},
    {20, "Horizontal Active",    Range,      {},                 {0, 4095, 1},   kNotify},
    {21, "Vertical Offset",      Range,      {},                 {0, 1023, 1},   kNotify},
    {22, "Vertical Active",      Range,      {},                 {0, 1023, 1},   kNotify},
    {23, "Trigger Source",       Choice,     kTriggerSource,     kNone,          kPlain},
    {24, "Trigger Input",        Range,      {},                 {0, 3, 1},      kPlain},
    {25, "Trigger Polarity",     Choice,     kActiveLowHighWord, kNone,          kPlain},
    {26, "Skip Field Mode",      Choice,     kDisableEnable,     kNone,          kPlain},
    {27, "Strobe Output",        Choice,     kEnableDisable,     kNone,          kPlain},
    {28, "Strobe Mode",          Choice,     kStrobeMode,        kNone,          kPlain},
    {29, "Strobe Polarity",      Choice,     kActiveLowHigh,     kNone,          kPlain},
    {30, "Strobe Delay",         Range,      {},                 {0, 63, 1},     kPlain},
    {35, "Frame Reset Offset",   Range,      {},                 {0, 255, 1},    kPlain},
    {31, "Frame Reset",          Choice,     kDisableEnable,     kNone,          kPlain},
    {32, "Frame Reset Pol",      Choice,     kActiveLowHigh,     kNone,          kPlain},
    {33, "Frame Reset Size",     Choice,     kFrameResetSize,    kNone,          kPlain},
    {34, "Frame Reset Output",   Choice,     kFrameResetOut,     kNone,          kPlain},
    {36, "Timing Mode",          TimingMode, {},                 kNone,          kPlain},
    {37, "Variable Scan Mode",   Choice,     kDisabledEnabled,   kNone,          kPlain},
    {38, "VScan Clock Pol",      Choice,     kNormalInverted,    kNone,          kPlain},
    {39, "Line Enable Pol",      Choice,     kEdges,             kNone,          kPlain},
    {40, "Frame Enable Pol",     Choice,     kEdges,             kNone,          kPlain},
    {41, "Field Enable Pol",     Choice,     kEdges,             kNone,          kPlain},
    {42, "Field Select",         Choice,     kFieldSelect,       kNone,          kPlain},
    {43, "Field Shift Select",   Choice,     kEnabledDisabled,   kNone,          kPlain},
    {44, "VSync Output",         Choice,     kEnabledDisabled,   kNone,          kPlain},
    {45, "TX Scan Mode",         Choice,     kScanMode,          kNone,          kNotify},
    {46, "Gain Factor Select",   Choice,     kGains,             kNone,          kPlain},
    {47, "Misc Interrupt Pol",   Choice,     kEdgeWords,         kNone,          kPlain},
    {48, "Negative Ref",         Range,      {},                 {0, 255, 4},    kPlain},
    {49, "Positive Ref",         Range,      {},                 {0, 255, 4},    kPlain},
    {50, "Clamp Delay",          Range,      {},                 {0, 15, 1},     kPlain},
    {51, "Clamp Polarity",       Choice,     kEdges,             kNone,          kPlain},
    {52, "Clamp Pulse Source",   Choice,     kClampSource,       kNone,          kPlain},
    {53, "Feedback Divider",     RangeS16,   {},                 {0, 2047, 1},   kPlain},
    {55, "Feedback Sync High",   RangeS16,   {},                 {0, 255, 1},    kPlain},
    {54, "Feedback Sync Low",    RangeS16,   {},                 {0, 255, 1},    kPlain},
    {56, "Reference Divider",    RangeS16,   {},                 {0, 1023, 1},   kPlain},
    {57, "VCO Gain",             Choice,     kVcoGain,           kNone,          kPlain},
    {58, "Phase Freq Det Gain",  Choice,     kPfdGain,           kNone,          kPlain},
    {59, "Phase Freq Det Mode",  Choice,     kDisabledEnabled,   kNone,          kPlain},
    {60, "Loop Filter",          Choice,     kExternalInternal,  kNone,          kPlain},
    {61, "VCO Operation",        Choice,     kExternalInternal,  kNone,          kPlain},
    {62, "Feedback Clock",       Choice,     kFeedbackClock,     kNone,          kPlain},
    {63, "Feedback Pol",         Choice,     kEdgePolarity,      kNone,          kPlain},
    {64, "Post Scalar",          Choice,     kPostScalar,        kNone,          kPlain},
    {65, "Feedback Post Scalar", Choice,     kFeedbackPostScalar, kNone,         kPlain},
    {66, "Fine Phase Adj Ref",   Choice,     kLagLead,           kNone,          kPlain},
    {67, "Fine Phase Adj mode",  Choice,     kDisableEnable,     kNone,          kPlain},
    {68, "Load Counter",         Choice,     kLoadCounter,       kNone,          kPlain},
    {69, "Board Revision",       RangeS16,   {},                 {-1, 255, 1},   kGreyed},
    {70, "Dual Tap Mode",        Choice,     kDisableEnable,     kNone,          kNotify},
};

// The timing modes in Timing_Mode's choice order; the last only on a slave channel.
constexpr std::string_view kTimingModes[] = {
    "Normal PLL", "Separate Sync PLL", "Crystal", "Dual Tap(Slave)",
};

// ---- the group table -----------------------------------------------------

struct IdRange {
    int first;
    int last;
};

struct GroupRow {
    std::string_view title;
    std::span<const IdRange> members;  // in page order
};

constexpr IdRange kCameraPage[] = {{3, 3}};
constexpr IdRange kTimingPage[] = {{6, 22}, {36, 45}};
constexpr IdRange kTriggerPage[] = {{23, 35}, {46, 52}};
constexpr IdRange kAllPage[] = {{3, 3}, {6, 52}, {70, 70}, {69, 69}};
constexpr IdRange kPllPage[] = {{53, 53}, {55, 55}, {54, 54}, {56, 68}};

constexpr GroupRow kGroups[] = {
    {"Camera",                kCameraPage},
    {"Timing Control",        kTimingPage},
    {"Trigger/Strobe/FReset", kTriggerPage},
    {"All",                   kAllPage},
    {"Phase-Locked Loop",     kPllPage},
};

// ---- help topics -----------------------------------------------------------

struct HelpRow {
    int id;
    int topic;
};

constexpr int kDefaultHelpTopic = 13;

constexpr HelpRow kHelpTopics[] = {
    {3, 84},  {6, 85},  {7, 86},
    {8, 16},  {11, 16}, {9, 17},  {10, 22},
    {12, 19}, {13, 18}, {14, 20},
    {15, 21}, {16, 23}, {17, 24},
    {18, 25}, {19, 26}, {20, 27},
    {21, 28}, {22, 29}, {23, 46},
    {24, 88}, {25, 47}, {26, 51},
    {27, 48}, {28, 49}, {29, 50},
    {30, 30}, {31, 33}, {32, 34},
    {33, 35}, {34, 32}, {35, 31},
    {36, 87}, {37, 73}, {38, 76},
    {39, 74}, {40, 75}, {41, 89},
    {42, 90}, {43, 44}, {44, 38},
    {45, 42}, {46, 41}, {47, 91},
    {48, 14}, {49, 15}, {50, 52},
    {51, 53}, {52, 54}, {53, 61},
    {54, 62}, {55, 63}, {56, 64},
    {57, 66}, {58, 67}, {59, 68},
    {60, 60}, {61, 60}, {62, 60}, {65, 60}, {66, 60}, {67, 60}, {63, 69}, {64, 70},
    {68, 71},
};
// clang-format on

std::vector<std::string> ToStrings(Labels labels) {
    return {labels.begin(), labels.end()};
}

std::unique_ptr<QV_usr_param> MakeRow(const UsrRow &row, const ParamList &params, int slot) {
    switch (row.kind) {
        case Camera:
            return std::make_unique<QV_camera_usr_param>(std::string(row.label), row.id, params,
                                                         row.id, "SXA", 0);
        case Choice:
            return std::make_unique<QV_choice_usr_param>(std::string(row.label), row.id, params,
                                                         row.id, ToStrings(row.labels));
        case TimingMode:
            return std::make_unique<QV_timing_mode_usr_param>(std::string(row.label), row.id,
                                                              params, row.id, slot);
        case RangeS16: {
            auto value = [](std::int32_t v) {
                return QV_param_val::S16(static_cast<std::int16_t>(v));
            };
            return std::make_unique<QV_range_usr_param>(
                std::string(row.label), row.id, params, row.id, value(row.bounds.min),
                value(row.bounds.max), value(row.bounds.step));
        }
        case Range:
            break;
    }
    auto value = [](std::int32_t v) { return QV_param_val::U32(static_cast<std::uint32_t>(v)); };
    return std::make_unique<QV_range_usr_param>(std::string(row.label), row.id, params, row.id,
                                                value(row.bounds.min), value(row.bounds.max),
                                                value(row.bounds.step));
}

std::vector<int> Expand(std::span<const IdRange> ranges) {
    std::vector<int> ids;
    for (const IdRange &range : ranges)
        for (int id = range.first; id <= range.last; ++id) ids.push_back(id);
    return ids;
}

// The camera's name with the channel number appended, unless the name
// already ends in it (a name saved from this channel has it already).
std::string WithChannelNumber(std::string name, int channel) {
    const std::string number = std::to_string(channel);
    if (name.empty() || std::string_view(name).substr(name.size() - 1) != number) name += number;
    return name;
}

// Channels 0 and 2 lead the dual-tap pairs and cannot be a slave.
std::vector<std::string> TimingModeLabels(int slot) {
    std::span<const std::string_view> labels = kTimingModes;
    if (slot == 0 || slot == 2) labels = labels.first(QV_timing_mode_usr_param::kDualTapIndex);
    return ToStrings(labels);
}

}  // namespace

// ---- the platform object -------------------------------------------------------

TX0_plat_mod::TX0_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_acq_plat_mod("TX0_plat_mod", binding, handle, "sxa") {
    channel_ = RecordS16(Spec(), kChannelOffset);
}

std::uint8_t *TX0_plat_mod::CameraStructure() const {
    const std::uint8_t *spec = Spec();
    return spec ? Deref(RecordU32(spec, kCameraRefOffset)) : nullptr;
}

void TX0_plat_mod::FillParams(QV_mod &container) {
    if (CameraStructure() == nullptr) return;
    CopyCameraTo(container);
    for (const keys::KeyRow &row : Table().keys)
        container.SetParamFromCNF(0, row.handle, ValueOf(row));
}

void TX0_plat_mod::FillPortParams(QV_mod &container, int) {
    FillParams(container);
}

// Only a container of another SXA channel takes the copy: another model's
// specification has no camera reference at the same byte.
void TX0_plat_mod::CopyCameraTo(const QV_mod &container) const {
    const QV_plat_mod *owner = OwnerBoardOf(container);
    if (owner == nullptr || owner == this || owner->GetName() != Table().model) return;
    const std::uint8_t *ownerSpec = owner->Spec();
    if (ownerSpec == nullptr) return;
    std::uint8_t *target = owner->Deref(RecordU32(ownerSpec, kCameraRefOffset));
    const std::uint8_t *source = CameraStructure();
    if (target != nullptr && target != source) std::memcpy(target, source, kCameraSize);
}

QV_param_val TX0_plat_mod::ValueOf(const keys::KeyRow &row) const {
    switch (row.handle) {
        case kNameHandle:
            return QV_param_val::Text(
                WithChannelNumber(ReadKeyValue(*this, Table(), row, 0).GetText(), channel_));
        case kBoardRevisionHandle:
            return QV_param_val::S16(BoardRevision());
        case kDualTapHandle:
            return QV_param_val::S16(IsDualTap() ? 1 : 0);
        default:
            return ReadKeyValue(*this, Table(), row, 0);
    }
}

std::int16_t TX0_plat_mod::BoardRevision() const {
    auto revision = Binding() ? Binding()->Entry<&::qrx_get_hw_revision>() : nullptr;
    return HardwareEnabled() && revision ? revision(Handle()) : std::int16_t{-1};
}

bool TX0_plat_mod::IsDualTap() const {
    const keys::KeyRow *timing = keys::FindHandle(Table(), kTimingModeHandle);
    return timing && ReadKeyValue(*this, Table(), *timing, 0).GetLong() == kDualTapTiming;
}

void TX0_plat_mod::CopyCameraConfig() {
    CopyCameraAt(kCameraRefOffset);
}

// The library declares the entry without its argument list: it is called
// with the channel's handle alone.
void TX0_plat_mod::SoftwareTrigger() {
    using SwTrigger = int (*)(QRX_HANDLE, ...);
    auto trigger =
        Binding() ? std::bit_cast<SwTrigger>(Binding()->Address("qrx_gen_swtrig")) : nullptr;
    if (trigger) trigger(Handle());
}

void TX0_plat_mod::PrepareSoftwareTrigger() {
    SetLibraryParam(kTriggerSourceParam, kSoftwareSource);
    SetLibraryParam(kTriggerArmParam, kTriggerArmed);
}

void TX0_plat_mod::PrepareExternalTrigger() {
    SetLibraryParam(kTriggerSourceParam, kExternalSource);
    SetLibraryParam(kTriggerArmParam, kTriggerArmed);
}

void TX0_plat_mod::SetLibraryParam(int param, double value) {
    auto setParam = Binding() ? Binding()->Entry<&::qrx_set_param>() : nullptr;
    if (setParam) setParam(Handle(), param, value);
}

// ---- the container -------------------------------------------------------------

QV_sxa_port_mod::QV_sxa_port_mod(QV_plat_mod *platform)
    : QV_mod(platform ? platform->GetName() : std::string(), platform) {
    SetSlot(platform ? platform->GetSlot() : 0);
    SetEditable(true);
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

// The board revision and "Dual tap" are the program's own: never written.
void QV_sxa_port_mod::CreateModParams() {
    AddParamsFromTable(*this, Table());
    DisableModParam(kBoardRevisionHandle);
    DisableModParam(kDualTapHandle);
}

void QV_sxa_port_mod::CreateUsrParams() {
    for (const UsrRow &row : kUsrRows) {
        AddUsrParam(MakeRow(row, GetModParams(), GetSlot()));
        QV_usr_param *added = GetUsrParam(row.id);
        if (added == nullptr) continue;
        if (row.flags & kNotify) added->SetNotifyOwner(true);
        if (row.flags & kGreyed) added->SetEnabled(false);
    }
}

void QV_sxa_port_mod::CreateParamGroups() {
    for (const GroupRow &group : kGroups)
        AddParamGroup(std::make_unique<QV_param_group>(std::string(group.title),
                                                       Expand(group.members), GetUsrParams()));
}

int QV_sxa_port_mod::GetHelpTopic(int usrParamId) {
    for (const HelpRow &row : kHelpTopics)
        if (row.id == usrParamId) return row.topic;
    return kDefaultHelpTopic;
}

void QV_sxa_port_mod::WriteCFGSection(std::ostream &out) {
    out << "[CameraPort:" << GetSlot() << "]\n";
    for (const auto &param : GetModParams()) {
        const std::string line = param->GetCFGString();
        const bool isName = param->GetHandle() == kNameHandle;
        if (line.empty() && !isName) continue;
        out << kIndent << line << "\n";
        if (isName) out << kIndent << "Camera_Structure = Create_Structure\n";
    }
}

// ---- the timing-mode row ---------------------------------------------------------

QV_timing_mode_usr_param::QV_timing_mode_usr_param(std::string label, int id,
                                                   const ParamList &params, int handle, int slot)
    : QV_choice_usr_param(std::move(label), id, params, handle, TimingModeLabels(slot)),
      dualTap_(FindParam(params, kDualTapHandle)) {}

int QV_timing_mode_usr_param::SetIndex(int index) {
    const int result = QV_choice_usr_param::SetIndex(index);
    if (result < 0) return result;
    if (dualTap_) dualTap_->SetRawValue(QV_param_val::S16(index == kDualTapIndex ? 1 : 0));
    return kRedrawRows;
}

}  // namespace qvi
