#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "config/binary_format.h"
#include "config/text_parser.h"
#include "library/library_binding.h"
#include "modules/module_settings.h"
#include "params/mod.h"
#include "params/mod_param.h"
#include "params/usr_param.h"
#include "platform/posix/dl_library_loader.h"
#include "support/test_env.h"

namespace qvi::testing {

// A console sink that appends to a std::string.
inline void Collect(const char *text, void *user) {
    static_cast<std::string *>(user)->append(text);
}

// A module's platform object and container as OpenModule attaches them; a
// test's own module type derives from it for what only that model needs.
template <typename Platform, typename Container>
struct OpenedModule {
    std::unique_ptr<Platform> platform;
    std::unique_ptr<Container> container;

    QV_usr_param &Row(int id) const { return *container->GetUsrParam(id); }
    QV_mod_param &Param(int handle) const { return *container->GetModParam(handle); }
    // A parameter's stored value on `port`, the current port when -1.
    QV_param_val Value(int handle, int port = -1) const {
        return port < 0 ? Param(handle).GetRawValue() : Param(handle).GetRawValue(port);
    }
    double Raw(int handle, int port = -1) const { return Value(handle, port).ToDouble(); }
};

// The real imaging library stand-in bound as the program binds it, with a
// rack of the test's boards and a configuration loaded from text (converted
// in-process), for the tests of board and module classes.
class BoundStandInTest : public UiTest {
protected:
    // Binds the three libraries, puts the boards of `rack` in the simulated
    // rack and loads `configuration`; messages so far are cleared.
    void BindAndLoad(const std::string &rack, const std::string &configuration) {
        std::ofstream(rackPath_) << rack;
        ::setenv("QUAR_RACK", rackPath_.c_str(), 1);
        int error = -1;
        binding_ = std::make_unique<LibraryBinding>(
            loader_, LibraryFiles{QUAR_CORE_PATH, QUAR_RX_PATH, QUAR_PX_PATH}, error,
            BindingEnvironment{LibraryFileExists, {}});
        ASSERT_EQ(error, 0) << binding_->LoadError();
        ASSERT_EQ(Load(configuration), QRX_LOAD_OK);
        ui.Clear();
    }

    void TearDown() override {
        ::unsetenv("QUAR_RACK");
        std::error_code ignored;
        std::filesystem::remove(rackPath_, ignored);
        std::filesystem::remove(binaryPath_, ignored);
        SetRxLibraryStubbed(1);
        SetPxLibraryStubbed(1);
    }

    // The library's result for a configuration text; -100 when it does not parse.
    int Load(const std::string &text) {
        quar::ConfigError error;
        auto config = quar::ParseConfigText(text, "test.txt", error);
        if (!config) return -100;
        const std::vector<std::uint8_t> bytes = quar::EncodeConfiguration(*config);
        std::ofstream(binaryPath_, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return binding_->Entry<&::qrx_load_cnf>()(binaryPath_.c_str());
    }

private:
    // Declared before the binding, so it outlives it: the binding frees its
    // libraries through it.
    DlLibraryLoader loader_;

protected:
    std::unique_ptr<LibraryBinding> binding_;
    // What the models built here read of the program's settings.
    FixedModuleSettings moduleSettings;

    // A board of system 0, counted from the first, and the module in its slot 0.
    QRX_HANDLE BoardHandle(int board = 0) const {
        QRX_HANDLE handle = binding_->Entry<&::qrx_systop>()(0);
        for (int i = 0; i < board; ++i) handle = binding_->Entry<&::qrx_get_next_mod>()(handle);
        return handle;
    }
    QRX_HANDLE ModuleHandle(int board) const {
        return binding_->Entry<&::qrx_get_modcnf>()(BoardHandle(board), 0);
    }

    // That module's platform object and container (the `platform` and
    // `container` members of Opened), attached and filled as the system does.
    template <typename Opened>
    Opened OpenModule(int board) const {
        Opened opened;
        using Platform = typename decltype(opened.platform)::element_type;
        using Container = typename decltype(opened.container)::element_type;
        if constexpr (std::is_constructible_v<Platform, LibraryBinding *, QRX_HANDLE,
                                              const ModuleSettings &>)
            opened.platform =
                std::make_unique<Platform>(binding_.get(), ModuleHandle(board), moduleSettings);
        else
            opened.platform = std::make_unique<Platform>(binding_.get(), ModuleHandle(board));
        if constexpr (std::is_constructible_v<Container, Platform *, const ModuleSettings &>)
            opened.container = std::make_unique<Container>(opened.platform.get(), moduleSettings);
        else
            opened.container = std::make_unique<Container>(opened.platform.get());
        opened.platform->SetModule(opened.container.get());
        opened.platform->FillParams(*opened.container);
        return opened;
    }

    // A register of the simulated module, read and written behind the
    // program's back.
    std::int16_t Register(QRX_HANDLE module, int reg) const {
        return binding_->Entry<&::read_reg>()(module, reg);
    }
    template <typename Opened>
    std::int16_t Register(const Opened &opened, int reg) const {
        return Register(opened.platform->Handle(), reg);
    }
    void SetRegister(QRX_HANDLE module, int reg, int value) const {
        binding_->Entry<&::write_reg>()(module, reg, static_cast<std::uint16_t>(value));
    }
    template <typename Opened>
    void SetRegister(const Opened &opened, int reg, int value) const {
        SetRegister(opened.platform->Handle(), reg, value);
    }

    // What the library prints while `action` runs.
    template <typename Action>
    std::string Console(Action action) const {
        std::string printed;
        auto sink = binding_->Entry<&::qrx_set_console_sink>();
        sink(Collect, &printed);
        action();
        sink(nullptr, nullptr);
        return printed;
    }
    // The first line printed while `action` runs that starts with `start`.
    template <typename Action>
    std::string PrintedLine(Action action, const std::string &start) const {
        std::istringstream printed(Console(action));
        for (std::string line; std::getline(printed, line);)
            if (line.starts_with(start)) return line;
        return "(no " + start + ")";
    }

private:
    std::string Unique(const char *what) const {
        return "qvi-" + std::string(what) + "-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    const std::filesystem::path rackPath_ =
        std::filesystem::temp_directory_path() / (Unique("rack") + ".ini");
    const std::filesystem::path binaryPath_ =
        std::filesystem::temp_directory_path() / (Unique("config") + ".cnf");
};

// The lines of a text.
inline std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// What a container writes as its section of the text configuration.
inline std::string Section(QV_mod &container) {
    std::ostringstream out;
    container.WriteCFGSection(out);
    return out.str();
}

// The lines of one camera-port block of a section, head included.
inline std::vector<std::string> PortLines(const std::string &section, int port) {
    std::vector<std::string> lines = Lines(section);
    auto begin = std::find(lines.begin(), lines.end(), "[CameraPort:" + std::to_string(port) + "]");
    auto end = std::find_if(begin + 1, lines.end(),
                            [](const std::string &line) { return line.starts_with("["); });
    return {begin, end};
}

// The lines of a section that set `key`, as "KEY = value" or as the bare word.
inline std::vector<std::string> KeyLines(const std::vector<std::string> &lines,
                                         std::string_view key) {
    std::vector<std::string> found;
    for (const std::string &line : lines) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos) continue;
        const std::string_view text = std::string_view(line).substr(start);
        if (text.starts_with(key) &&
            (text.size() == key.size() || text.substr(key.size()).starts_with(" = ")))
            found.push_back(line);
    }
    return found;
}
inline std::vector<std::string> KeyLines(const std::string &section, std::string_view key) {
    return KeyLines(Lines(section), key);
}

}  // namespace qvi::testing
