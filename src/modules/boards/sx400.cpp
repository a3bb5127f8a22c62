// The SX-400 board: its library entries, frame operations, parameters, rows and pages.
#include "modules/boards/sx400.h"

#include <bit>
#include <ostream>
#include <span>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "params/converters.h"
#include "params/mod_param.h"
#include "params/param_group.h"
#include "quar/quar_modules.h"
#include "system/module_types.h"
#include "system/table_params.h"

namespace qvi {

namespace {

using VariadicEntry = int (*)(QRX_HANDLE, ...);

// The library parameters of the board: the pixel size override, the trigger
// enable, the start field, the trigger's pending flag and the output port.
constexpr int kPixelSizeParam = 77;
constexpr int kTriggerEnableParam = 84;
constexpr int kStartFieldParam = 86;
constexpr int kTriggerPendingParam = 87;

// The acquisition modules whose presence changes the section.
constexpr std::string_view kTx10 = "TX-10";
constexpr std::string_view kTx60 = "TX-60";
// The TX-60's camera type, and the cameras that need 16-bit pixels forced.
constexpr int kCameraTypeHandle = 2;
constexpr std::string_view kSixteenBitCameras[] = {"Dalsa CA-D4", "SMD_1M60"};

const keys::ModelTable &Table() {
    return keys::kSx400Table;
}

// clang-format off
// In the order of SXP_plat_mod::SxpEntry.
constexpr const char *kEntryNames[] = {
    "sxp_display_area", "sxp_clr_frame", "sxp_dregs", "sxp_acqbits", "sxp_create_frame",
    "sxp_delete_frame", "sxp_set_cur_dim", "sxp_get_acq_dim", "sxp_scanmd_status",
    "sxp_set_frame_ilace", "sxp_start_field", "sxp_get_cam_frame", "sxp_wait_trig",
    "sxp_get_hw_revision", "sxp_trig_snap",
};
// clang-format on
static_assert(std::size(kEntryNames) == SXP_plat_mod::kEntryCount);

// ---- the user label table ------------------------------------------------

enum class RowKind { Range, Choice };
enum RowFlags { kPlain = 0, kNotify = 1, kGreyed = 2 };

struct Bounds {
    double min;
    double max;
    double step;
};

// One row of the dialog: its number, the handle it edits, its label, kind,
// bounds (in the parameter's type) or choice labels, and its flags.
struct UsrRow {
    int id;
    int handle;
    std::string_view label;
    RowKind kind;
    Bounds bounds;
    std::span<const std::string_view> labels;
    int flags;
};

// clang-format off
constexpr std::string_view kEnabledDisabled[] = {"Enabled", "Disabled"};
constexpr std::string_view kDisabledEnabled[] = {"Disabled", "Enabled"};
constexpr std::string_view kPixelSizes[] = {
    "0 to 8-bit pixels", "9 to 16-bit pixels", "17 to 24-bit pixels",
};
constexpr std::string_view kStartFields[] = {"Next", "Even", "Odd"};

using enum RowKind;
constexpr Bounds kNone{};
// The 32-bit mailboxes take every bit pattern: all bits set is -1.
constexpr Bounds kMailbox{0, -1, 65536};

// In dialog order.
constexpr UsrRow kUsrRows[] = {
    {0,  0,   "Latency Timer",       Range,  {0, 255, 1}, {},               kPlain},
    {1,  1,   "IRQ Line",            Range,  {0, 15, 1},  {},               kPlain},
    {2,  5,   "Mailbox 1",           Range,  kMailbox,    {},               kPlain},
    {3,  6,   "Mailbox 2",           Range,  kMailbox,    {},               kPlain},
    {4,  7,   "Mailbox 3",           Range,  kMailbox,    {},               kPlain},
    {5,  8,   "Mailbox 4",           Range,  kMailbox,    {},               kPlain},
    {6,  3,   "Frame count",         Range,  {1, 8, 1},   {},               kPlain},
    {7,  2,   "TX trigger",          Choice, kNone,       kEnabledDisabled, kPlain},
    {11, 22,  "Pixel Size Override", Choice, kNone,       kPixelSizes,      kPlain},
    {8,  4,   "Starting field",      Choice, kNone,       kStartFields,     kNotify},
    {9,  24,  "YCRCB Mono",          Choice, kNone,       kDisabledEnabled, kPlain},
    {10, 999, "Rev ID",              Range,  {0, 255, 1}, {},               kGreyed},
};
// clang-format on

constexpr std::string_view kGroupTitle = "Misc.";

// ---- parameters that apply themselves through the library ------------------

// A choice key of the board whose value goes to the hardware through a
// library call rather than a register. Without hardware nothing is sent.
class QV_library_choice_param : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override {
        const QV_plat_mod *board = OwnerBoardOf(*this);
        if (board == nullptr || board->Binding() == nullptr || !HardwareEnabled()) return 0;
        return Send(*board, GetRawValue().GetLong());
    }

protected:
    virtual int Send(const QV_plat_mod &board, std::int32_t value) = 0;
};

// "Pixsz_Override": 16 and 24 select the library's pixel sizes 1 and 2.
class QV_pixel_size_param final : public QV_library_choice_param {
public:
    using QV_library_choice_param::QV_library_choice_param;

protected:
    int Send(const QV_plat_mod &board, std::int32_t value) override {
        auto setParam = board.Binding()->Entry<&::qrx_set_param>();
        if (setParam == nullptr) return 0;
        const double size = value == 16 ? 1.0 : value == 24 ? 2.0 : 0.0;
        return setParam(board.Handle(), kPixelSizeParam, size);
    }
};

// The YCrCb-mono choice, sent with the board's handle and the value.
class QV_ycrcb_mono_param final : public QV_library_choice_param {
public:
    using QV_library_choice_param::QV_library_choice_param;

protected:
    int Send(const QV_plat_mod &board, std::int32_t value) override {
        auto setMono = std::bit_cast<VariadicEntry>(board.Binding()->Address("qrx_set_ycrcbmono"));
        return setMono ? setMono(board.Handle(), value) : 0;
    }
};

std::vector<std::string> ToStrings(std::span<const std::string_view> labels) {
    return {labels.begin(), labels.end()};
}

// A row's bound in the type of the key it edits.
QV_param_val BoundOf(int handle, double number) {
    const keys::KeyRow *row = keys::FindHandle(Table(), handle);
    return ValueOfType(row ? row->type : keys::ValueType::S16, number);
}

std::unique_ptr<QV_usr_param> MakeRow(const UsrRow &row, const ParamList &params) {
    if (row.kind == Choice)
        return std::make_unique<QV_choice_usr_param>(std::string(row.label), row.id, params,
                                                     row.handle, ToStrings(row.labels));
    return std::make_unique<QV_range_usr_param>(
        std::string(row.label), row.id, params, row.handle, BoundOf(row.handle, row.bounds.min),
        BoundOf(row.handle, row.bounds.max), BoundOf(row.handle, row.bounds.step));
}

// A platform object is a model when its class text or its library name says so.
bool IsModel(const QV_plat_mod *module, std::string_view model) {
    if (module == nullptr) return false;
    return module->ClassName() == std::string(model) + " plat_mod" || module->GetName() == model;
}

// A parameter as the dialog shows it: a choice as its word, anything else as
// its text.
std::string ShownText(QV_mod_param &param) {
    if (auto *choice = dynamic_cast<QV_choice_param *>(&param)) {
        const QV_param_val raw = param.GetRawValue();
        for (int i = 0; i < choice->GetChoiceCount(); ++i)
            if (choice->GetChoiceValue(i).Equals(raw)) return choice->GetChoiceName(i);
        return {};
    }
    const QV_param_val shown = param.GetUIValue();
    return shown.GetKind() == ValKind::Text ? shown.GetText() : shown.ToString();
}

// A TX-60 with one of the cameras that deliver 16-bit pixels.
bool NeedsSixteenBitPixels(const QV_plat_mod *module) {
    if (!IsModel(module, kTx60) || module->Module() == nullptr) return false;
    QV_mod_param *cameraType = module->Module()->GetModParam(kCameraTypeHandle);
    if (cameraType == nullptr) return false;
    const std::string camera = ShownText(*cameraType);
    for (std::string_view name : kSixteenBitCameras)
        if (camera == name) return true;
    return false;
}

}  // namespace

// ---- the platform object -------------------------------------------------------

SXP_plat_mod::SXP_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_board_plat_mod(&keys::kSx400Table, binding, handle, "SXP plat_mod") {
    if (binding == nullptr) return;
    for (std::size_t i = 0; i < kEntryCount; ++i) entries_[i] = binding->Lookup(kEntryNames[i]);
}

std::vector<std::string> SXP_plat_mod::DetectModules() {
    auto detect = Binding() ? Binding()->Entry<&::M_detect_dmod>() : nullptr;
    return {AcquisitionModuleName(detect ? detect(Handle(), 0) : 0)};
}

void SXP_plat_mod::DumpRegisters() {
    auto dump = std::bit_cast<decltype(&::sxp_dregs)>(EntryAddress(SxpEntry::DumpRegisters));
    if (dump && HardwareEnabled()) dump(Handle());
}

void SXP_plat_mod::SetTriggerMode(int on) {
    if (on) {
        savedStartField_ = LibraryParam(kStartFieldParam);
        SetLibraryParam(kStartFieldParam, 0.0);
        SetLibraryParam(kTriggerEnableParam, 1.0);
    } else {
        SetLibraryParam(kStartFieldParam, savedStartField_);
        SetLibraryParam(kTriggerEnableParam, 0.0);
    }
}

int SXP_plat_mod::TriggerDone() {
    return LibraryParam(kTriggerPendingParam) == 0.0 ? 1 : 0;
}

std::int16_t SXP_plat_mod::SetOutputBit(int bit, int state) {
    return OutputPortBit(bit, state);
}

// ---- the container -------------------------------------------------------------

QV_sx400_mod::QV_sx400_mod(QV_plat_mod *platform) : QV_mod(std::string(Table().model), platform) {
    SetEditable(true);
    CreateModParams();
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_sx400_mod::CreateModParams() {
    for (const keys::KeyRow &row : Table().keys) {
        if (row.handle == kPixelSizeOverrideHandle)
            AddModParam(MakeChoice<QV_pixel_size_param>(row, 1));
        else if (row.handle == kYcrcbMonoHandle)
            AddModParam(MakeChoice<QV_ycrcb_mono_param>(row, 1));
        else
            AddModParam(MakeParam(row, 1));
    }
}

void QV_sx400_mod::CreateUsrParams() {
    for (const UsrRow &row : kUsrRows) {
        AddUsrParam(MakeRow(row, GetModParams()));
        QV_usr_param *added = GetUsrParam(row.id);
        if (added == nullptr) continue;
        if (row.flags & kNotify) added->SetNotifyOwner(true);
        if (row.flags & kGreyed) added->SetEnabled(false);
    }
}

void QV_sx400_mod::CreateParamGroups() {
    std::vector<int> ids;
    for (const UsrRow &row : kUsrRows) ids.push_back(row.id);
    AddParamGroup(std::make_unique<QV_param_group>(std::string(kGroupTitle), ids, GetUsrParams()));
}

std::string QV_sx400_mod::SectionName() const {
    const QV_plat_mod *board = OwnerBoardOf(*this);
    const bool lumo = board && IsModel(board->AcquisitionModule(), kTx10);
    return lumo ? "Lumo" : std::string(Table().section);
}

void QV_sx400_mod::WriteCFGSection(std::ostream &out) {
    out << "[" << SectionName() << ":" << GetInstance() << "]\n";
    for (const auto &param : GetModParams()) {
        WriteParamLine(out, param->GetCFGString(0));
    }
    const QV_plat_mod *board = OwnerBoardOf(*this);
    if (board && NeedsSixteenBitPixels(board->AcquisitionModule()))
        out << kIndent << "PIXSZ_Override=16\n";
}

}  // namespace qvi
