// The DQ-500 image-manager board: frame memories, display, its parameters, rows and pages.
#include "modules/boards/dq500.h"

#include <bit>
#include <ostream>
#include <span>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "params/mod_param.h"
#include "params/param_group.h"
#include "platform/ui.h"
#include "quar/quar_modules.h"
#include "system/module_types.h"
#include "system/table_params.h"

namespace qvi {

namespace {

// The board's library parameter that is 0 once a triggered snap is taken.
constexpr int kTriggerStatusParam = 168;

// The frame-size registers and the memory models that lack a frame.
constexpr int kFrameA0SizeRegister = 185;
constexpr int kFrameA1SizeRegister = 216;
constexpr int kFrameB1SizeRegister = 246;
constexpr int kOnlyA0Model = 0;
constexpr int kNoB1Models[] = {0, 1, 3};

constexpr int kRegisterParts = 4;

const keys::ModelTable &Table() {
    return keys::kDq500Table;
}

// ---- the DAC choices -----------------------------------------------------

using Fn = DQP_plat_mod::Fn;

struct DacRow {
    int handle;
    Fn entry;
    std::string_view error;
};

// clang-format off
constexpr DacRow kDacRows[] = {
    {40, Fn::DacSyncOnGreen, "Error: dqp_dac_sync_on_green()"},
    {41, Fn::DacPedestal,    "Error: dqp_dac_pedestal()"},
    {43, Fn::DacPseudo,      "Error: dqp_dac_spseudo()"},
    {42, Fn::DacGammaRom,    "Error: dqp_dac_gamma_rom()"},
};
// clang-format on

const DacRow *FindDacRow(int handle) {
    for (const DacRow &row : kDacRows)
        if (row.handle == handle) return &row;
    return nullptr;
}

// A DAC choice: its value goes to its library entry with the board's handle,
// not to its register; a failure is reported by the entry's name.
class QV_dac_choice_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override {
        auto *board = dynamic_cast<DQP_plat_mod *>(OwnerBoardOf(*this));
        const DacRow *dac = FindDacRow(GetHandle());
        if (board == nullptr || dac == nullptr || !HardwareEnabled()) return 0;
        DQP_plat_mod::Entry apply = board->EntryOf(dac->entry);
        if (apply == nullptr) return 0;
        const int result = apply(board->Handle(), static_cast<int>(GetRawValue().GetShort()));
        if (result != 0) ReportError(dac->error);
        return result;
    }
};

// ---- the user rows -------------------------------------------------------

enum class RowKind { Choice, Range, FrameConfig };

struct UsrRow {
    int id;
    int handle;
    std::string_view label;
    RowKind kind;
    std::span<const std::string_view> labels;  // choices; for a frame row its frame name
};

// clang-format off
constexpr std::string_view kDisplays[] = {
    "RS512", "RS640", "CC512", "CC768", "NI 1024 x 768 60HZ", "NI 1024 x 768 70HZ",
    "NI 800 x 600 60HZ", "NI 800 x 600 72HZ", "NI 640 x 480 72HZ", "I 1024 x 1024 43HZ",
    "NI 1024 x 768 72HZ", "NI 1280 x 1024", "NI 1024 x 1024",
};
constexpr std::string_view kFrameA0[] = {"A0"};
constexpr std::string_view kFrameA1[] = {"A1"};
constexpr std::string_view kFrameB1[] = {"B1"};
constexpr std::string_view kZooms[] = {"No Zoom", "Zoom X2", "Zoom X4"};
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kFonts[] = {"8 x 14", "8 x 16", "16 x 16", "16 x 32"};
constexpr std::string_view kVideoBusRoles[] = {"Video Bus Master", "Video Bus Slave"};
constexpr std::string_view kClocks[] = {"over 100MHz", "under 100MHz"};
constexpr std::string_view kColourModes[] = {"Pseudo Color", "True Color"};

using enum RowKind;

// In the order the rows are added; all on the "Basic" page.
constexpr UsrRow kUsrRows[] = {
    {0,  7,  "Display",              Choice,      kDisplays},
    {1,  1,  "Frame A0 config",      FrameConfig, kFrameA0},
    {2,  2,  "Frame A1 config",      FrameConfig, kFrameA1},
    {3,  3,  "Frame B1 config",      FrameConfig, kFrameB1},
    {4,  37, "Frame A0 Disp X Zoom", Choice,      kZooms},
    {5,  38, "Frame A1 Disp X Zoom", Choice,      kZooms},
    {6,  39, "Frame B1 Disp X Zoom", Choice,      kZooms},
    {7,  55, "Overlay Disp X Zoom",  Choice,      kZooms},
    {8,  40, "Sync On Green",        Choice,      kEnabledDisabled},
    {9,  6,  "Overlay font",         Choice,      kFonts},
    {10, 49, "VBus Type",            Choice,      kVideoBusRoles},
    {11, 54, "Latency Timer",        Range,       {}},
    {12, 53, "DAC Sleep Mode",       Choice,      kEnabledDisabled},
    {13, 51, "Display clock freq",   Choice,      kClocks},
    {14, 41, "Blank Pedestal",       Choice,      kEnabledDisabled},
    {15, 42, "Gamma Correction",     Choice,      kEnabledDisabled},
    {16, 43, "Color Mode",           Choice,      kColourModes},
};
// clang-format on

constexpr std::int16_t kLatencyMin = 0;
constexpr std::int16_t kLatencyMax = 255;
constexpr std::int16_t kLatencyStep = 1;
constexpr std::string_view kBasicGroup = "Basic";

std::vector<std::string> ToStrings(std::span<const std::string_view> labels) {
    return {labels.begin(), labels.end()};
}

// The first word of each distinct value of a frame-size parameter, in choice order.
std::vector<std::string> FrameSizeLabels(const ParamList &params, int handle) {
    std::vector<std::string> labels;
    const auto *choice = dynamic_cast<const QV_choice_param *>(FindParam(params, handle));
    if (choice == nullptr) return labels;
    for (int i = 0; i < choice->GetChoiceCount(); ++i) {
        bool seen = false;
        for (int j = 0; j < i && !seen; ++j)
            seen = choice->GetChoiceValue(j).Equals(choice->GetChoiceValue(i));
        if (!seen) labels.push_back(choice->GetChoiceName(i));
    }
    return labels;
}

std::unique_ptr<QV_usr_param> MakeRow(const UsrRow &row, const ParamList &params) {
    const std::string label(row.label);
    switch (row.kind) {
        case Choice:
            return std::make_unique<QV_choice_usr_param>(label, row.id, params, row.handle,
                                                         ToStrings(row.labels));
        case FrameConfig:
            return std::make_unique<QV_frame_config_usr_param>(label, row.id, params, row.handle,
                                                               std::string(row.labels.front()));
        case Range:
            break;
    }
    return std::make_unique<QV_range_usr_param>(
        label, row.id, params, row.handle, QV_param_val::S16(kLatencyMin),
        QV_param_val::S16(kLatencyMax), QV_param_val::S16(kLatencyStep));
}

}  // namespace

// ---- the platform object ---------------------------------------------------

// clang-format off
const std::array<const char *, static_cast<std::size_t>(DQP_plat_mod::Fn::Count)>
    DQP_plat_mod::kEntryNames = {
        "dqp_clr_frame",     "dqp_text_out",          "dqp_change_disp",   "dqp_disp_enable",
        "dqp_set_cpspath",   "dqp_memory_model",      "dqp_dac_pseudo",    "dqp_dac_sync_on_green",
        "dqp_dac_gamma_rom", "dqp_dac_pedestal",      "dqp_display_area",  "dqp_dregs",
        "dqp_get_hw_revision", "dqp_acqbits",
};
// clang-format on

DQP_plat_mod::DQP_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_board_plat_mod(&keys::kDq500Table, binding, handle, "DQP plat_mod") {
    if (binding == nullptr) return;
    for (std::size_t i = 0; i < entries_.size(); ++i) entries_[i] = binding->Lookup(kEntryNames[i]);
}

DQP_plat_mod::Entry DQP_plat_mod::EntryOf(Fn fn) const {
    return std::bit_cast<Entry>(AddressOf(fn));
}

void DQP_plat_mod::DumpRegisters() {
    auto dump = std::bit_cast<decltype(&::dqp_dregs)>(AddressOf(Fn::DumpRegisters));
    if (dump == nullptr || !HardwareEnabled()) return;
    for (int part = 0; part < kRegisterParts; ++part) dump(Handle(), part);
}

std::vector<std::string> DQP_plat_mod::DetectModules() {
    auto detect = Binding() ? Binding()->Entry<&::M_detect_dmod>() : nullptr;
    auto typeIn = [&](int slot) { return detect ? detect(Handle(), slot) : 0; };
    return {AcquisitionModuleName(typeIn(0)), ComputationalModuleName(typeIn(1))};
}

int DQP_plat_mod::TriggerDone() {
    auto getParam = Binding() ? Binding()->Entry<&::qrx_get_param>() : nullptr;
    return getParam && getParam(Handle(), kTriggerStatusParam) == 0.0 ? 1 : 0;
}

int DQP_plat_mod::SetDisplayType(int index) {
    if (!HardwareEnabled()) return 0;
    if (index > kLastDisplayType) {
        ReportError(MessageText("Invalid display index: ", index));
        return -1;
    }
    Entry change = EntryOf(Fn::ChangeDisplay);
    return change ? change(Handle(), index) : 0;
}

int DQP_plat_mod::MemoryModel() const {
    auto model = std::bit_cast<decltype(&::dqp_memory_model)>(AddressOf(Fn::MemoryModel));
    return model ? model(Handle()) : -1;
}

bool DQP_plat_mod::HasFrameA1() const {
    return MemoryModel() != kOnlyA0Model;
}

bool DQP_plat_mod::HasFrameB1() const {
    const int model = MemoryModel();
    for (int lacking : kNoB1Models)
        if (model == lacking) return false;
    return true;
}

int DQP_plat_mod::GetFrameSize(const std::string &frame) {
    int reg = -1;
    if (frame == "A0") {
        reg = kFrameA0SizeRegister;
    } else if (frame == "A1") {
        if (HasFrameA1()) reg = kFrameA1SizeRegister;
    } else if (frame == "B1") {
        if (HasFrameB1()) reg = kFrameB1SizeRegister;
    } else {
        ReportError(MessageText("Invalid frame: ", frame, " passed to DQP_plat_mod::GetFrameSize"));
        return -1;
    }
    auto read = Binding() ? Binding()->Entry<&::read_reg>() : nullptr;
    if (reg < 0 || read == nullptr || !HardwareEnabled()) return -1;
    return read(Handle(), reg);
}

// ---- the container -----------------------------------------------------------

QV_dq500_mod::QV_dq500_mod(QV_plat_mod *ownerBoard)
    : QV_mod(ownerBoard ? ownerBoard->GetName() : std::string(Table().model), ownerBoard) {
    SetEditable(true);
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_dq500_mod::CreateModParams() {
    for (const keys::KeyRow &row : Table().keys) {
        const bool dac = FindDacRow(row.handle) != nullptr && row.kind == keys::KeyKind::Choice;
        AddModParam(dac ? MakeChoice<QV_dac_choice_param>(row, 1) : MakeParam(row, 1));
    }
}

void QV_dq500_mod::CreateUsrParams() {
    for (const UsrRow &row : kUsrRows) AddUsrParam(MakeRow(row, GetModParams()));
}

void QV_dq500_mod::CreateParamGroups() {
    std::vector<int> ids;
    for (const UsrRow &row : kUsrRows) ids.push_back(row.id);
    AddParamGroup(
        std::make_unique<QV_param_group>(std::string(kBasicGroup), std::move(ids), GetUsrParams()));
}

void QV_dq500_mod::WriteCFGSection(std::ostream &out) {
    out << "[" << Table().section << ":" << GetInstance() << "]\n";
    for (const auto &param : GetModParams()) {
        WriteParamLine(out, param->GetCFGString());
    }
}

// ---- the frame-size row --------------------------------------------------------

QV_frame_config_usr_param::QV_frame_config_usr_param(std::string label, int id,
                                                     const ParamList &params, int handle,
                                                     std::string frame)
    : QV_choice_usr_param(std::move(label), id, params, handle, FrameSizeLabels(params, handle)),
      frame_(std::move(frame)) {}

}  // namespace qvi
