#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/app_settings.h"
#include "app/system_tree.h"
#include "modules/model_registry.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/posix/posix_processes.h"
#include "support/core_scratch_dir.h"
#include "support/test_env.h"
#include "system/mod_factory.h"
#include "system/pci_platform.h"

namespace qvi::testing {

// One of every model the stand-in knows, as the factory's defaults come from.
inline const std::string kDefaultConfiguration = [] {
    std::string text = R"([SYSTEM:0]
[SX-400:0]
[TX-10:0]
      Slot_Number = 0
[SXA:0]
[CameraPort:0]
      Name = "Default"
[DQ-500:0]
[TX-30:0]
      Slot_Number = 0
[RX-20:0]
      Slot_Number = 1
      Memory_Size = 4K_4K_8
[SYSTEM:1]
)";
    // A board section, then its modules in slots 0 up.
    const auto add = [&text](const std::string &board,
                             std::initializer_list<const char *> modules) {
        text += "[" + board + "]\n";
        int slot = 0;
        for (const char *module : modules)
            text += "[" + std::string(module) +
                    ":0]\n      Slot_Number = " + std::to_string(slot++) + "\n";
    };
    int sx400 = 1;
    for (const char *module : {"TX-20", "TX-40", "TX-50", "TX-60", "TX-70"})
        add("SX-400:" + std::to_string(sx400++), {module});
    text += "[SYSTEM:2]\n";
    add("RX-600:0", {"RX-10", "RX-30", "RX-40"});
    add("RX-600:1", {"RX-50", "RX-51", "RX-52"});
    add("RX-600:2", {"RX-53", "RX-54", "RX-55"});
    add("RX-600:3", {"RX-56", "RX-57"});
    return text + "[BZ-700]\n      Reg_Access_Mode\n";
}();

// The bound stand-in, its factory and a system tree, in a scratch directory
// that holds the default configuration; hardware is enabled and every
// message is recorded.
class StandInTest : public UiTest {
protected:
    StandInTest() {
        ::unsetenv("QUAR_RACK");
        ::unsetenv("CNF27310");
        Write("default.txt", kDefaultConfiguration);
    }
    ~StandInTest() override {
        tree.reset();
        factory.reset();
        platform.reset();
    }

    // Binds the libraries and builds the factory and the tree.
    // Starting again ends the previous start first, in the program's order:
    // the model, then the factory's defaults, then the library binding.
    void Start() {
        tree.reset();
        factory.reset();
        platform = std::make_unique<QV_pci_platform>(
            loader, LibraryFiles{QUAR_CORE_PATH, QUAR_RX_PATH, QUAR_PX_PATH},
            BindingEnvironment{LibraryFileExists, {}});
        ASSERT_TRUE(platform->IsValid());
        auto quiet = platform->Binding().Entry<&::qrx_set_console_sink>();
        quiet([](const char *, void *) {}, nullptr);
        factory = std::make_unique<QV_mod_factory>(models, &platform->Binding(),
                                                   dir_ / "default.txt", "PCI");
        tree = std::make_unique<SystemTree>(*platform, *factory, processes, dir_ / "scratch.txt");
    }

    std::filesystem::path Write(const std::string &name, const std::string &text) {
        return scratch_.Write(name, text);
    }
    static std::string Read(const std::filesystem::path &path) { return ScratchDir::Read(path); }

    void UseRack(const std::string &text) {
        ::setenv("QUAR_RACK", Write("rack.ini", text).c_str(), 1);
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < tree->System().Size(); ++i)
            texts.push_back(tree->System().GetElementText(i));
        return texts;
    }

    ScratchDir scratch_;
    std::filesystem::path dir_ = scratch_.Path();
    DlLibraryLoader loader;
    PosixProcesses processes;
    std::unique_ptr<QV_pci_platform> platform;
    // The models read the program's settings, as in the program.
    AppModuleSettings moduleSettings{GlobalAppSettings()};
    ModelRegistry models{moduleSettings};
    std::unique_ptr<QV_mod_factory> factory;
    std::unique_ptr<SystemTree> tree;
};

}  // namespace qvi::testing
