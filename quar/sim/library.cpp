// The simulated library: loaded systems, stand-alone modules, bus translator, rack.
#include "sim/library.h"

#include "sim/fpga_design.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "config/binary_format.h"
#include "config/input_file.h"
#include "sim/board_frames.h"
#include "sim/console.h"
#include "sim/fpga_design.h"
#include "sim/records.h"
#include "sim/register_effects.h"
#include "sim/register_table.h"
#include "sim/trigger_setup.h"
#include "sim/triggers.h"

namespace quar {

namespace {

using qvi::keys::ModelCategory;

struct ModuleType {
    std::string_view model;
    int number;
};

// The module type numbers a board reports for its slots.
constexpr ModuleType kModuleTypes[] = {
    {"TX-31", 2}, {"TX-20", 3},  {"TX-40", 4},  {"TX-50", 5},  {"TX-60", 6},
    {"TX-70", 7}, {"TX-10", 16}, {"RX-57", 1},  {"RX-54", 2},  {"RX-30", 3},
    {"RX-56", 4}, {"RX-55", 5},  {"RX-20", 6},  {"RX-40", 7},  {"RX-22", 8},
    {"RX-53", 9}, {"RX-51", 10}, {"RX-10", 11}, {"RX-50", 12}, {"RX-52", 100},
};

// Board type numbers when the rack names none. An SX-400 carrying a TX-70
// is the Lumo Comp variant, whose type numbers start at 36.
int DefaultTypeNumber(const BoardConfig &board) {
    std::string_view kind = board.board.table->model;
    if (kind == "SXP") {
        for (const ModuleConfig &module : board.modules)
            if (module.table->model == "TX-70") return 36;
        return 32;
    }
    if (kind == "SXA") return 40;
    if (kind == "DQP") return 48;
    return 56;
}

// An SXA in the rack describes the channels it has, whatever the file lists:
// a new configuration learns its camera channels from here. A board that is
// not plugged in has the channels its file gives it.
int ChannelCount(const BoardConfig &board, const RackBoard *present) {
    if (present != nullptr && present->kind == "SXA") return present->channels;
    int channels = 0;
    for (const ModuleConfig &module : board.modules)
        if (module.table->category == ModelCategory::CameraChannel)
            channels = std::max(channels, module.slot + 1);
    return channels;
}

int CategoryOf(const qvi::keys::ModelTable &table) {
    switch (table.category) {
        case ModelCategory::Board:
            return QRX_CATEGORY_BOARD;
        case ModelCategory::SlotModule:
            return QRX_CATEGORY_SLOT_MODULE;
        case ModelCategory::BusTranslator:
            return QRX_CATEGORY_BUS_TRANSLATOR;
        case ModelCategory::CameraChannel:
            return QRX_CATEGORY_CAMERA_CHANNEL;
    }
    return QRX_CATEGORY_SLOT_MODULE;
}

std::size_t BoardCount(const Configuration &config) {
    std::size_t boards = 0;
    for (const SystemConfig &system : config.systems) boards += system.boards.size();
    return boards;
}

bool HasMagic(const std::vector<std::uint8_t> &bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "QBCF", 4) == 0;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const std::filesystem::path &path) {
    std::string why;
    const std::optional<std::string> content = ReadInputFile(path, why);
    if (!content) return std::nullopt;
    return std::vector<std::uint8_t>(content->begin(), content->end());
}

}  // namespace

int ModuleTypeNumber(std::string_view model) {
    if (model == "TX-30") model = "TX-31";
    for (const ModuleType &type : kModuleTypes)
        if (type.model == model) return type.number;
    return 0;
}

Library &Library::Instance() {
    static Library library;
    return library;
}

Element *Library::Find(QRX_HANDLE handle) {
    auto found = elements_.find(handle);
    return found == elements_.end() ? nullptr : found->second.get();
}

const Element *Library::Find(QRX_HANDLE handle) const {
    auto found = elements_.find(handle);
    return found == elements_.end() ? nullptr : found->second.get();
}

void *Library::Spec(QRX_HANDLE handle) const {
    const Element *element = Find(handle);
    return element ? arena_.Resolve(element->spec) : nullptr;
}

Element &Library::AddElement(const ModuleConfig &config, int category, int system,
                             QRX_HANDLE parent) {
    auto element = std::make_unique<Element>();
    element->handle = nextHandle_++;
    element->table = config.table;
    element->category = category;
    element->libraryName = category == QRX_CATEGORY_CAMERA_CHANNEL
                               ? std::string("SXA")
                               : std::string(config.table->model);
    element->system = system;
    element->instance = config.instance;
    element->slot = config.slot;
    element->parent = parent;
    element->registerTable = BuildRegisterTable(*config.table);
    BuildRecords(arena_, config, *element);
    Element &added = *element;
    elements_.emplace(added.handle, std::move(element));
    return added;
}

void Library::AddBoard(const BoardConfig &board, int system) {
    Element &element = AddElement(board.board, QRX_CATEGORY_BOARD, system, 0);
    systems_[static_cast<std::size_t>(system)].push_back(element.handle);
    element.kindIndexInSystem =
        kindCounts_[static_cast<std::size_t>(system)][element.libraryName]++;
    const RackBoard *present = RackBoardOf(element.handle);
    int typeNumber =
        present && present->typeNumber >= 0 ? present->typeNumber : DefaultTypeNumber(board);
    WriteBoardHeader(arena_, element, typeNumber, present ? present->revision : 0,
                     ChannelCount(board, present));
    for (const ModuleConfig &module : board.modules) {
        Element &child = AddElement(module, CategoryOf(*module.table), system, element.handle);
        element.children.push_back(child.handle);
        LoadNamedDesign(module, child);
    }
}

// A TX-30 comes up with the FPGA design its configuration names, read from
// the configuration's folder; one that is not there leaves the module
// without a design, as before any tx30_load.
void Library::LoadNamedDesign(const ModuleConfig &config, Element &module) const {
    constexpr int kLoadNameHandle = 5;
    if (std::string_view(config.table->model) != "TX-31" || config.ports.empty()) return;
    auto name = config.ports[0].find(kLoadNameHandle);
    if (name == config.ports[0].end() || !name->second.isText || name->second.text.empty() ||
        configFolder_.empty())
        return;
    const std::filesystem::path design = configFolder_ / name->second.text;
    LoadFpgaDesign(module, design.c_str(), false);
}

void Library::RemoveElement(QRX_HANDLE handle) {
    Element *element = Find(handle);
    if (element == nullptr) return;
    for (QRX_HANDLE child : element->children) RemoveElement(child);
    ForgetTriggerState(handle);
    {
        std::lock_guard lock(VideoStore::Instance().Mutex());
        VideoStore::Instance().Forget(handle);
    }
    FreeRecords(arena_, *element);
    elements_.erase(handle);
}

int Library::LoadBinary(const std::filesystem::path &path) {
    auto bytes = ReadFile(path);
    if (!bytes) return QRX_LOAD_NO_FILE;
    if (!HasMagic(*bytes)) return QRX_LOAD_NOT_A_CONFIGURATION;
    std::string error;
    std::optional<Configuration> config = DecodeConfiguration(*bytes, error);
    if (!config) {
        ConsolePrint("qrx_load_cnf: " + path.string() + ": " + error + "\n");
        return QRX_LOAD_CORRUPT;
    }
    if (std::size_t boards = BoardCount(*config); boards > kMaxBoards) {
        ConsolePrint("qrx_load_cnf: " + path.string() + ": " + std::to_string(boards) +
                     " boards, more than the library holds (" + std::to_string(kMaxBoards) + ")\n");
        return QRX_LOAD_BAD_CONTENT;
    }
    ReloadRack();
    configFolder_ = path.parent_path();
    bool allPresent = true;
    for (const SystemConfig &system : config->systems) {
        if (system.number < 0 || system.number >= kSystems) return QRX_LOAD_BAD_CONTENT;
        RemoveSystem(system.number);
        for (const BoardConfig &board : system.boards) AddBoard(board, system.number);
        allPresent = allPresent && SystemPresent(system.number);
    }
    if (config->busTranslator) {
        RemoveElement(busTranslator_);
        Element &bus = AddElement(*config->busTranslator, QRX_CATEGORY_BUS_TRANSLATOR, 0, 0);
        busTranslator_ = bus.handle;
        if (const qvi::keys::KeyRow *row = qvi::keys::FindHandle(*bus.table, 3))
            if (auto flag = ReadRawField(arena_, bus, *row, 0)) safeAccess_ = *flag != 0;
    }
    ConsolePrint("Configuration loaded: " + path.string() + "\n");
    return allPresent ? QRX_LOAD_OK : QRX_LOAD_HARDWARE_MISSING;
}

int Library::RemoveSystem(int system) {
    if (system < 0 || system >= kSystems) return -1;
    for (QRX_HANDLE board : systems_[static_cast<std::size_t>(system)]) RemoveElement(board);
    systems_[static_cast<std::size_t>(system)].clear();
    kindCounts_[static_cast<std::size_t>(system)].clear();
    return 0;
}

QRX_HANDLE Library::SystemTop(int system) const {
    if (system < 0 || system >= kSystems) return 0;
    const auto &boards = systems_[static_cast<std::size_t>(system)];
    return boards.empty() ? 0 : boards.front();
}

QRX_HANDLE Library::NextBoard(QRX_HANDLE board) const {
    const Element *element = Find(board);
    if (element == nullptr || element->category != QRX_CATEGORY_BOARD || element->system < 0)
        return 0;
    const auto &boards = systems_[static_cast<std::size_t>(element->system)];
    for (std::size_t i = 0; i + 1 < boards.size(); ++i)
        if (boards[i] == board) return boards[i + 1];
    return 0;
}

int Library::SetBusTranslator(QRX_HANDLE handle) {
    const Element *element = Find(handle);
    if (handle != 0 && (element == nullptr || element->category != QRX_CATEGORY_BUS_TRANSLATOR))
        return -1;
    busTranslator_ = handle;
    return 0;
}

QRX_HANDLE Library::Channel(QRX_HANDLE board, int channel) const {
    const Element *element = Find(board);
    if (element == nullptr) return 0;
    for (QRX_HANDLE child : element->children) {
        const Element *module = Find(child);
        if (module && module->category == QRX_CATEGORY_CAMERA_CHANNEL && module->slot == channel)
            return child;
    }
    return 0;
}

QRX_HANDLE Library::SlotModule(QRX_HANDLE board, int slot) const {
    const Element *element = Find(board);
    if (element == nullptr) return 0;
    for (QRX_HANDLE child : element->children) {
        const Element *module = Find(child);
        if (module && module->category == QRX_CATEGORY_SLOT_MODULE && module->slot == slot)
            return child;
    }
    return 0;
}

QRX_HANDLE Library::FindByInstance(std::string_view model, int instance) const {
    for (const auto &[handle, element] : elements_)
        if (element->system >= 0 && element->table->model == model && element->instance == instance)
            return handle;
    return 0;
}

QRX_HANDLE Library::LoadModule(const std::filesystem::path &path, std::string_view model) {
    ConfigError error;
    std::optional<Configuration> config = LoadConfigurationFile(path, error);
    if (!config) {
        ConsolePrint("qrx_load_modcnf: " + error.Message() + "\n");
        return 0;
    }
    const ModuleConfig *found = nullptr;
    const BoardConfig *foundBoard = nullptr;
    for (const SystemConfig &system : config->systems) {
        for (const BoardConfig &board : system.boards) {
            if (!found && board.board.table->model == model) {
                found = &board.board;
                foundBoard = &board;
            }
            for (const ModuleConfig &module : board.modules)
                if (!found && module.table->model == model) found = &module;
        }
    }
    if (!found && config->busTranslator && config->busTranslator->table->model == model)
        found = &*config->busTranslator;
    if (!found) return 0;
    Element &element = AddElement(*found, CategoryOf(*found->table), -1, 0);
    if (foundBoard)
        WriteBoardHeader(arena_, element, DefaultTypeNumber(*foundBoard), 0,
                         ChannelCount(*foundBoard, nullptr));
    return element.handle;
}

int Library::DeleteModule(QRX_HANDLE handle) {
    const Element *element = Find(handle);
    if (element == nullptr || element->system >= 0) return -1;
    RemoveElement(handle);
    return 0;
}

// Counted, not searched: loading adds boards one by one and asks for each
// one's index, which must not cost a walk over every board already there.
int Library::KindIndex(QRX_HANDLE board) const {
    const Element *target = Find(board);
    if (target == nullptr || target->system < 0 || target->kindIndexInSystem < 0) return -1;
    int index = target->kindIndexInSystem;
    for (int system = 0; system < target->system; ++system) {
        const auto &counts = kindCounts_[static_cast<std::size_t>(system)];
        if (auto found = counts.find(target->libraryName); found != counts.end())
            index += found->second;
    }
    return index;
}

const RackBoard *Library::RackBoardOf(QRX_HANDLE board) const {
    const Element *element = Find(board);
    if (element == nullptr || element->category != QRX_CATEGORY_BOARD) return nullptr;
    int index = KindIndex(board);
    return index < 0 ? nullptr : rack_.Find(element->libraryName, index);
}

int Library::DqpMemoryModel(QRX_HANDLE board) const {
    const Element *element = Find(board);
    if (element == nullptr || element->category != QRX_CATEGORY_BOARD ||
        element->libraryName != "DQP")
        return -1;
    const RackBoard *present = RackBoardOf(board);
    return present ? present->memoryModel : RackBoard{}.memoryModel;
}

std::vector<int> Library::MemoriesOf(QRX_HANDLE board, int frame) const {
    const int model = DqpMemoryModel(board);
    if (model >= 0) return DqpMemories(frame, model);
    return frame >= 0 ? std::vector<int>{frame} : std::vector<int>{};
}

// A DQ-500 tells through library parameter 168 whether a triggered snap is
// still pending; a snap a trigger took meanwhile counts before the request.
// The frame's pixels follow the request.
int Library::FrameRequest(QRX_HANDLE handle, int code, int frame) {
    const std::optional<FrameName> name = NameFrame(*this, handle, frame);
    Element *element = name ? Find(name->board) : nullptr;
    const std::vector<int> memories =
        name ? MemoriesOf(name->board, name->frame) : std::vector<int>{};
    if (element == nullptr || memories.empty()) return -1;
    CollectTriggeredSnaps(*element);
    const int result = ApplyFrameRequest(element->frames, memories, code);
    if (DqpMemoryModel(name->board) >= 0) {
        element->params[kDqpTriggerPendingParam] = AnyArmed(element->frames) ? 1.0 : 0.0;
        if (!AnyArmed(element->frames)) TriggerHub::Instance().Disarm(name->board);
    }
    if (result == 0) {
        VideoStore &store = VideoStore::Instance();
        std::lock_guard lock(store.Mutex());
        for (int memory : memories) store.EndCompositesHolding(name->board, memory, name->frame);
        if (Frame *pixels = CurrentFrame(*this, *name)) VideoStore::Request(*pixels, code);
    }
    return result;
}

double Library::FrameRate(QRX_HANDLE board) const {
    const RackBoard *present = RackBoardOf(board);
    return present ? present->frameRate : RackBoard{}.frameRate;
}

bool Library::SystemPresent(int system) const {
    for (QRX_HANDLE board : systems_[static_cast<std::size_t>(system)])
        if (RackBoardOf(board) == nullptr) return false;
    return true;
}

int Library::InitSystem(int system) {
    if (system < 0 || system >= kSystems) return -1;
    const auto &boards = systems_[static_cast<std::size_t>(system)];
    if (boards.empty() || !SystemPresent(system)) return -1;
    for (QRX_HANDLE board : boards) {
        Element *element = Find(board);
        LoadRegistersFromRecords(*element);
        const RackBoard *present = RackBoardOf(board);
        for (QRX_HANDLE child : element->children) {
            Element &module = *Find(child);
            LoadRegistersFromRecords(module);
            LoadInputBoardType(module, present ? present->SlotType(module.slot) : -1);
        }
    }
    return 0;
}

// Initialising a system writes every key's value to its register; a module
// with camera ports starts on the port its specification names.
void Library::LoadRegistersFromRecords(Element &element) {
    const int port = ActivePort(arena_, element);
    for (const qvi::keys::KeyRow &row : element.table->keys) {
        if (row.reg < 0) continue;
        if (auto raw = ReadRawField(arena_, element, row, port)) element.registers[row.reg] = *raw;
    }
}

int Library::DetectModule(QRX_HANDLE board, int slot) const {
    const RackBoard *present = RackBoardOf(board);
    if (present == nullptr || slot < 0 || static_cast<std::size_t>(slot) >= present->slots.size())
        return 0;
    return ModuleTypeNumber(present->slots[static_cast<std::size_t>(slot)]);
}

int Library::HardwareRevision(QRX_HANDLE handle) const {
    const Element *element = Find(handle);
    if (element == nullptr) return 0;
    QRX_HANDLE board = element->category == QRX_CATEGORY_BOARD ? handle : element->parent;
    const RackBoard *present = RackBoardOf(board);
    return present ? present->revision : 0;
}

int Library::OpenDevice(std::string_view kind, int index) {
    ReloadRack();
    if (rack_.Find(kind, index) == nullptr) return -1;
    int device = nextDevice_++;
    openDevices_[device] = std::string(kind);
    return device;
}

int Library::CloseDevice(int deviceHandle) {
    return openDevices_.erase(deviceHandle) ? 0 : -1;
}

int Library::DumpRegisters(QRX_HANDLE handle, int part) const {
    const Element *element = Find(handle);
    if (element == nullptr) return -1;
    std::string text = std::string(element->table->section) + ":" +
                       std::to_string(element->instance) + " registers";
    if (part >= 0) text += " (part " + std::to_string(part) + ")";
    text += "\n";
    char line[48];
    for (const auto &[reg, value] : element->registers) {
        std::snprintf(line, sizeof line, "  reg %4d = 0x%08X\n", reg, value);
        text += line;
    }
    ConsolePrint(text);
    return 0;
}

// A copy of a record that references its module's current camera structure
// references itself: it is the current structure of whoever takes it.
int Library::CopyCamera(QRX_HANDLE handle, std::uint32_t camera, std::uint32_t *result) {
    const Element *element = Find(handle);
    std::size_t size = arena_.SizeOf(camera);
    if (element == nullptr || size == 0 || result == nullptr) return -1;
    std::uint32_t copy = arena_.Allocate(size);
    std::memcpy(arena_.Resolve(copy), arena_.Resolve(camera), size);
    const int current = element->table->layout.currentCameraRefOffset;
    if (current >= 0)
        WriteField(arena_.Resolve(copy), size, static_cast<std::size_t>(current), 4, copy);
    *result = copy;
    return 0;
}

}  // namespace quar
