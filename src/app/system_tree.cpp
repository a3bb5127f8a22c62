// Loading a configuration file into the library and the system model, and writing it back.
#include "app/system_tree.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "app/converter.h"
#include "app/image_target.h"
#include "library/hardware.h"
#include "modules/boards/video_bus.h"
#include "params/mod.h"
#include "platform/input_file.h"
#include "platform/processes.h"
#include "platform/replace_file.h"
#include "platform/ui.h"
#include "system/board_plat_mod.h"
#include "system/config_state.h"
#include "system/config_writer.h"
#include "system/mod_factory.h"
#include "system/pci_platform.h"

namespace qvi {

namespace {

constexpr int kSystems = 8;

bool configLoaded = false;

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::filesystem::path WithExtension(const std::string &name, const char *extension) {
    std::filesystem::path path = name;
    return path.replace_extension(extension);
}

bool Accepted(std::int16_t result) {
    for (int accepted : {0, -4, -5, -6, -11, -29})
        if (result == accepted) return true;
    return false;
}

}  // namespace

bool ConfigLoaded() {
    return configLoaded;
}

SystemTree::SystemTree(QV_pci_platform &platform, QV_mod_factory &factory, Processes &processes,
                       std::filesystem::path scratchTextFile)
    : platform_(platform),
      factory_(factory),
      processes_(processes),
      scratchTextFile_(std::move(scratchTextFile)) {}

int SystemTree::ConvertToBinary(const std::string &name) {
    std::filesystem::path source = TextFileFor(name);
    // A binary name keeps its own spelling: file names are case-sensitive here.
    std::filesystem::path destination =
        Upper(std::filesystem::path(name).extension().string()) == ".CNF"
            ? std::filesystem::path(name)
            : WithExtension(name, ".CNF");
    const ConverterOutcome outcome = RunConverter(processes_, source, destination);
    converterRefusedText_ = outcome == ConverterOutcome::RefusedText;
    switch (outcome) {
        case ConverterOutcome::Converted:
            return 0;
        case ConverterOutcome::Missing:
            return -1;
        case ConverterOutcome::NotStarted:
            return -2;
        default:
            return -3;
    }
}

int SystemTree::LoadSystems(const std::string &name) {
    LibraryBinding &binding = platform_.Binding();
    auto systop = binding.Entry<&::qrx_systop>();
    auto next = binding.Entry<&::qrx_get_next_mod>();
    auto init = binding.Entry<&::qrx_init_sys>();
    for (int number = 0; number < kSystems; ++number) {
        std::uint32_t board = systop(number);
        if (board == 0) continue;
        if (HardwareEnabled() && init(number) != 0) {
            ReportError("qrx_init_sys() failed for config file: " + name);
            return -3;
        }
        system_.AddElement(std::make_unique<QV_sys_element>(number));
        for (; board != 0; board = next(board)) platform_.AddMbSysElement(system_, factory_, board);
    }
    return 0;
}

int SystemTree::LibraryLoad(const std::string &name) {
    if (const std::string refusal = InputFileRefusal(name); !refusal.empty()) {
        ReportError("Can't read config file: " + name + "\n" + refusal);
        return -1;
    }
    std::string binary = name;
    if (Upper(std::filesystem::path(name).extension().string()) != ".CNF") {
        if (ConvertToBinary(name) != 0) return -1;
        binary = WithExtension(name, ".CNF").string();
    }
    LibraryBinding &binding = platform_.Binding();
    // A usable binding has every one of these; a missing one is a refused
    // load, never a call through null.
    if (std::string_view missing =
            binding.FirstMissing({"qrx_err_level", "qrx_remove_sys", "qrx_load_cnf", "qrx_systop",
                                  "qrx_get_next_mod", "qrx_init_sys", "qrx_get_transmod"});
        !missing.empty()) {
        ReportError(MessageText("QUAR Function not found: ", missing));
        return -2;
    }
    auto errLevel = binding.Entry<&::qrx_err_level>();
    errLevel(3);
    // The library outlives a tree: what any load left there goes first.
    if (loaded_ || configLoaded)
        for (int number = 0; number < kSystems; ++number)
            binding.Entry<&::qrx_remove_sys>()(number);
    std::int16_t result = binding.Entry<&::qrx_load_cnf>()(binary.c_str());
    if (!Accepted(result)) {
        ReportError("Can't load config file: " + name + "\nCheck hardware connection");
        return -2;
    }
    loaded_ = true;
    errLevel(2);
    if (int failed = LoadSystems(name); failed != 0) return failed;
    errLevel(1);
    if (std::uint32_t bus = binding.Entry<&::qrx_get_transmod>()(); bus != 0)
        platform_.AddBusTransSysElement(system_, factory_, bus);
    system_.AddElement(std::make_unique<QV_sys_element>(0, -1));
    return 0;
}

int SystemTree::LoadFile(std::string name) {
    if (name == "Untitled") name = scratchTextFile_.string();
    WaitCursor wait;
    system_.Clear();
    if (LibraryLoad(name) != 0) {
        system_.Clear();
        boardNames_.clear();
        boardElements_.clear();
        ReportError("Can't load config file");
        return -1;
    }
    configLoaded = true;
    RebuildBoardNames();
    CheckVideoBusMasters(system_, dq500Boards_);
    return 0;
}

void SystemTree::RebuildBoardNames() {
    boardNames_.clear();
    boardElements_.clear();
    dq500Boards_.clear();
    for (int i = 0; i < system_.Size(); ++i) {
        if (system_.GetElement(i)->GetName() == "DQP") dq500Boards_.push_back(i);
        if (std::optional<std::string> name = BoardListName(system_, i)) {
            boardNames_.push_back(*name);
            boardElements_.push_back(i);
        }
    }
}

int SystemTree::WriteTextFile(std::string name, std::string *why) {
    std::optional<HardwareTemporarilyEnabled> fullSettings;
    if (name == "Untitled")
        name = scratchTextFile_.string();
    else if (!HardwareEnabled())
        fullSettings.emplace();
    const std::filesystem::path target = TextFileFor(name);
    std::ostringstream text;
    WriteConfiguration(text, system_, target.string(), CurrentLocalTime());
    const int result = ReplaceFileContent(target, text.str(), why) ? 0 : -1;
    SetConfigModified(false);
    return result;
}

int SystemTree::Reload() {
    const bool modified = ConfigModified();
    const std::string scratch = scratchTextFile_.string();
    const int written = WriteTextFile(scratch);
    SetConfigModified(modified);
    if (written != 0) {
        ReportError("Can't write config file: " + scratch);
        return -1;
    }
    return LoadFile(scratch);
}

int SystemTree::AddDetectedModules() {
    for (int i = 0; i < system_.Size(); ++i) {
        if (!system_.IsMboard(i)) continue;
        auto *board = dynamic_cast<QV_board_plat_mod *>(system_.GetElement(i)->GetPlatMod());
        if (board == nullptr) continue;
        std::vector<std::string> names = board->DetectModules();
        for (std::size_t slot = 0; slot < names.size(); ++slot) {
            std::unique_ptr<QV_mod> module = factory_.CreateModByName(names[slot]);
            if (!module) continue;
            module->SetSlot(static_cast<int>(slot));
            for (int j = i + 1; j < system_.Size() && !system_.IsMboard(j); ++j) {
                QV_sys_element *element = system_.GetElement(j);
                if (element->GetType() == "EMPTY" && element->GetSlot() == static_cast<int>(slot)) {
                    element->Rebind(std::move(module));
                    break;
                }
            }
        }
    }
    return 0;
}

int SystemTree::NewSystem(bool detect) {
    system_.Clear();
    system_.AddElement(std::make_unique<QV_sys_element>(0));
    factory_.ResetCounters();
    if (!HardwareEnabled() || !detect)
        return platform_.BuildDefaultSystem(system_, factory_) ? 0 : -1;
    if (platform_.DetectBoards(system_, factory_) == 0) {
        ReportError("Mother board detection failed");
        return -1;
    }
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) AddDetectedModules();
        if (WriteTextFile("Untitled") != 0 || LoadFile("Untitled") != 0) {
            ReportError("File open error");
            return -1;
        }
    }
    return 0;
}

}  // namespace qvi
