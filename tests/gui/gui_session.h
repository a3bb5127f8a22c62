#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "app/platform_services.h"
#include "app/startup.h"
#include "app/system_tree.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/program_files.h"
#include "support/recording_ui.h"
#include "system/config_state.h"
#include "library/hardware.h"

namespace qvi::testing {

// The program started as the desktop starts it, on a private copy of the
// sample configuration directory (settings, camera database, rack), with a
// recording Ui so that no message box blocks a test. The program-wide state
// (settings, hardware flag, changed flag) starts afresh with each session, so
// a test that makes its own session depends on no other test; one session at
// a time, since the settings object is the program's one global.
class GuiSession {
public:
    explicit GuiSession(bool withRack = true)
        : dir_(std::filesystem::temp_directory_path() /
               ("qvi-gui-" + std::to_string(::getpid()))),
          install_(ui) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::copy(QVI_SAMPLES_DIR, ConfigDir(),
                              std::filesystem::copy_options::recursive);
        if (!withRack) std::filesystem::remove(ConfigDir() / "rack.ini");
        ::unsetenv("QUAR_RACK");
        ::unsetenv("CNF27310");
        settings() = AppSettings();
        SetHardwareEnabled(true);
        SetConfigModified(false);
        settings().SetHooks(&services);
        const std::vector<std::string> arguments = {"-c", ConfigDir().string(), "-i",
                                                    (ConfigDir() / "qvi.ini").string()};
        started_ = StartUpSettings(settings(), arguments, RunningProgramPath()).ok;
    }
    ~GuiSession() {
        settings().SetHooks(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    GuiSession(const GuiSession &) = delete;
    GuiSession &operator=(const GuiSession &) = delete;

    bool Started() const { return started_; }
    static AppSettings &settings() { return GlobalAppSettings(); }
    std::filesystem::path ConfigDir() const { return dir_ / "config"; }
    std::string Demo() const { return (ConfigDir() / "demo.txt").string(); }
    SystemTree &Tree() { return *services.Tree(settings()); }

    // Loads a configuration into the tree; 0 on success.
    int Load(const std::string &file) {
        int result = Tree().LoadFile(file);
        if (result == 0) settings().currentConfigFile = file;
        return result;
    }

    RecordingUi ui;
    PlatformServices services;

private:
    std::filesystem::path dir_;
    ScopedUi install_;
    bool started_ = false;
};

}  // namespace qvi::testing
