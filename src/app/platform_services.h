#pragma once

#include <memory>

#include "app/app_settings.h"
#include "modules/model_registry.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/posix/posix_processes.h"

namespace qvi {

class QV_camera_db;
class QV_mod_factory;
class QV_pci_platform;
class SystemTree;

// The objects start-up creates for the selected platform, owned for the whole
// run: the platform object with the bound library, the module factory, the
// camera database, and the system tree of the open configuration. Both
// front ends (desktop and command line) start through it.
class PlatformServices : public PlatformHooks {
public:
    PlatformServices();
    ~PlatformServices() override;

    bool PlatformObjectExists() const override { return platform_ != nullptr; }
    void DeletePlatform() override;
    bool CreatePlatformObject(const AppSettings &settings) override;
    bool CreateFactoryAndDatabase(const AppSettings &settings) override;
    int DetectHardware() override;

    // The library's console text goes to `sink` from the moment the library
    // is bound, so not even the first load message escapes it; null gives the
    // library back its own console.
    using ConsoleSink = void (*)(const char *text, void *user);
    void SetConsoleSink(ConsoleSink sink, void *user);

    QV_pci_platform *Platform() const { return platform_.get(); }
    QV_mod_factory *Factory() const { return factory_.get(); }
    QV_camera_db *CameraDatabase() const { return cameraDatabase_.get(); }
    // A new, empty database with the platform's camera builder, not installed
    // for the camera rows; null without a platform object.
    std::unique_ptr<QV_camera_db> NewCameraDatabase(const AppSettings &settings);
    // Built on first use, once the platform and factory exist.
    SystemTree *Tree(const AppSettings &settings);
    Processes &ProcessRunner() { return processes_; }

private:
    void InstallConsoleSink();

    ConsoleSink consoleSink_ = nullptr;
    void *consoleUser_ = nullptr;
    DlLibraryLoader loader_;
    PosixProcesses processes_;
    // The models the factory and the camera database build, with the
    // program's settings; both outlive every object built from them.
    AppModuleSettings moduleSettings_{GlobalAppSettings()};
    ModelRegistry models_{moduleSettings_};
    std::unique_ptr<QV_pci_platform> platform_;
    std::unique_ptr<QV_mod_factory> factory_;
    std::unique_ptr<QV_camera_db> cameraDatabase_;
    std::unique_ptr<SystemTree> tree_;
};

}  // namespace qvi
