// The RX-20 memory module: the memory catalogue, its rows and its section.
#include "modules/computational/rx20.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string_view>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/computational/rx10.h"
#include "params/mod_param.h"
#include "platform/ui.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kMemorySizeId = 0;

void ReportBad(std::string_view what, int value) {
    std::ostringstream text;
    text << what << value << " passed to RX-20 FPGA File Manager";
    ReportError(text);
}

// clang-format off
constexpr std::string_view kLoadFlags[] = {"Force Load", "No Load", "Check And Load"};

// The memory-size number of each memory type, by type.
constexpr int kSizeOfType[] = {16, 16, 12, 12, 64, 64};

// "Memory Size" is made by its own class.
constexpr RxUsrRow kRows[] = {
    {1, "Load Flag", RxRowKind::Choice, QV_rx20_mod::kLoadFlagHandle, kLoadFlags},
};
// clang-format on

// A memory file's "mem_size" text is its size number, an underscore and the
// memory layout the library names: "12_8K_1K_12" is the 8K x 1K 12-bit layout
// of the 12 list. A text of another form names itself.
std::string MemorySizeName(const std::string &memSize) {
    std::size_t digits = 0;
    while (digits < memSize.size() && memSize[digits] >= '0' && memSize[digits] <= '9') ++digits;
    if (digits == 0 || digits + 1 >= memSize.size() || memSize[digits] != '_') return memSize;
    return memSize.substr(digits + 1);
}

}  // namespace

// ---- the memory catalogue --------------------------------------------------------

Rx20MemoryCatalogue::Rx20MemoryCatalogue(const MemFileGroups &groups) : groups_(&groups) {}

const std::vector<MemFileEntry> &Rx20MemoryCatalogue::ListFor(int sizeNumber) const {
    if (const std::vector<MemFileEntry> *list = groups_->For(sizeNumber)) return *list;
    ReportBad("Invalid MemSizeNum: ", sizeNumber);
    return groups_->size16;
}

const MemFileEntry *Rx20MemoryCatalogue::EntryAt(int index, int sizeNumber) const {
    const std::vector<MemFileEntry> &list = ListFor(sizeNumber);
    if (index >= 0 && static_cast<std::size_t>(index) < list.size())
        return &list[static_cast<std::size_t>(index)];
    ReportBad("Invalid index: ", index);
    return nullptr;
}

std::string Rx20MemoryCatalogue::FileName(int index, int sizeNumber) const {
    const MemFileEntry *entry = EntryAt(index, sizeNumber);
    return entry ? entry->name : kError;
}

std::string Rx20MemoryCatalogue::SizeName(int index, int sizeNumber) const {
    const MemFileEntry *entry = EntryAt(index, sizeNumber);
    return entry ? MemorySizeName(entry->mem_size) : kError;
}

std::vector<std::string> Rx20MemoryCatalogue::FileNames(int sizeNumber) const {
    std::vector<std::string> names;
    for (const MemFileEntry &entry : ListFor(sizeNumber)) names.push_back(entry.name);
    return names;
}

std::vector<std::string> Rx20MemoryCatalogue::SizeNames(int sizeNumber) const {
    std::vector<std::string> names;
    for (const MemFileEntry &entry : ListFor(sizeNumber))
        names.push_back(MemorySizeName(entry.mem_size));
    return names;
}

int Rx20MemoryCatalogue::SizeNumberOf(int memoryType) {
    if (memoryType >= 0 && memoryType < static_cast<int>(std::size(kSizeOfType)))
        return kSizeOfType[memoryType];
    ReportBad("Invalid memory_type: ", memoryType);
    return QV_rx20_mod::kDefaultMemorySize;
}

int Rx20MemoryCatalogue::Normalised(int sizeNumber) {
    return sizeNumber == 12 || sizeNumber == 64 ? sizeNumber : QV_rx20_mod::kDefaultMemorySize;
}

// ---- the platform object ---------------------------------------------------------

QV_rx20_plat_mod::QV_rx20_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_table_plat_mod(&keys::kRx20Table, binding, handle, "RX-20 plat_mod") {
    if (binding != nullptr) dumpEntry_ = binding->LookupAs<DumpEntry>("rx20_dregs");
}

// The "Memory_Size" row carries the layout names of the memory types, so
// the table read gives the name, or "Undefined" for a type outside them.
void QV_rx20_plat_mod::FillParams(QV_mod &container) {
    const std::uint8_t *spec = Spec();
    if (spec == nullptr) return;
    for (const keys::KeyRow &row : keys::kRx20Table.keys)
        container.SetParamFromCNF(row.handle, ReadKeyValue(*this, keys::kRx20Table, row, 0));
    auto *memory = dynamic_cast<QV_rx20_mod *>(&container);
    if (ParentBoard() == nullptr || memory == nullptr) return;
    memory->SetMemorySize(Rx20MemoryCatalogue::SizeNumberOf(RecordU16(spec, kMemoryTypeOffset)));
}

void QV_rx20_plat_mod::DumpRegisters() {
    if (HardwareEnabled() && dumpEntry_ != nullptr) dumpEntry_(Handle());
}

// ---- the container ---------------------------------------------------------------

QV_rx20_mod::QV_rx20_mod(QV_plat_mod *ownerBoard, const ModuleSettings &settings)
    : QV_table_mod(keys::kRx20Table, ownerBoard), settings_(settings) {
    SetEditable(true);
    CreateUsrParams();
    CreateParamGroups();
    BuildPageList();
}

void QV_rx20_mod::CreateUsrParams() {
    AddUsrParam(std::make_unique<QV_rx20_memory_usr_param>(
        "Memory Size", kMemorySizeId, GetModParams(), kMemorySizeHandle, *this));
    AddRxRows(*this, kRows);
}

void QV_rx20_mod::CreateParamGroups() {
    AddRxBasicGroup(*this, 0, 1);
}

// In a board the memory size is written as the bare layout name. Outside
// one, the load file and memory size are the first of the module's
// memory-size number, whatever the parameters hold.
void QV_rx20_mod::WriteCFGSection(std::ostream &out) {
    WriteHead(out);
    const QV_plat_mod *platform = OwnerBoardOf(*this);
    const bool inBoard = platform != nullptr && platform->ParentBoard() != nullptr;
    std::string loadLine;
    std::string sizeLine;
    if (!inBoard) {
        const Rx20MemoryCatalogue catalogue = Catalogue();
        loadLine = "Load_Name = \"" + catalogue.FileName(0, memorySize_) + "\"";
        sizeLine = "Memory_Size = " + catalogue.SizeName(0, memorySize_);
    }
    for (const auto &param : GetModParams()) {
        std::string line = param->GetCFGString(0);
        if (inBoard && param->GetHandle() == kMemorySizeHandle && !line.empty())
            line = "Memory_Size = " + param->GetRawValue(0).GetText();
        if (!inBoard && param->GetHandle() == kLoadNameHandle) line = loadLine;
        if (!inBoard && param->GetHandle() == kMemorySizeHandle) line = sizeLine;
        WriteParamLine(out, line);
    }
}

// ---- the memory-size row ---------------------------------------------------------

QV_rx20_memory_usr_param::QV_rx20_memory_usr_param(std::string label, int id,
                                                   const ParamList &params, int handle,
                                                   const QV_rx20_mod &module)
    : QV_choice_usr_param(std::move(label), id, params, handle, {}),
      module_(module),
      loadName_(FindParam(params, QV_rx20_mod::kLoadNameHandle)) {}

std::vector<std::string> QV_rx20_memory_usr_param::GetChoices() const {
    return module_.Catalogue().SizeNames(Rx20MemoryCatalogue::Normalised(module_.GetMemorySize()));
}

int QV_rx20_memory_usr_param::GetIndex() {
    if (GetParam() == nullptr) return -1;
    const std::vector<std::string> choices = GetChoices();
    const auto found =
        std::find(choices.begin(), choices.end(), GetParam()->GetUIValue().GetText());
    return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
}

int QV_rx20_memory_usr_param::SetIndex(int index) {
    if (!HasParam("SetIndex")) return -1;
    const Rx20MemoryCatalogue catalogue = module_.Catalogue();
    const int sizeNumber = Rx20MemoryCatalogue::Normalised(module_.GetMemorySize());
    GetParam()->SetUIValue(QV_param_val::Text(catalogue.SizeName(index, sizeNumber)));
    if (loadName_ != nullptr)
        loadName_->SetUIValue(QV_param_val::Text(catalogue.FileName(index, sizeNumber)));
    return kRedrawRow;
}

}  // namespace qvi
