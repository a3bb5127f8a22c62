// The objects start-up creates for the platform: factory, camera database, system tree.
#include "app/platform_services.h"

#include "app/system_tree.h"
#include "camdb/camera_db.h"
#include "modules/model_registry.h"
#include "params/camera_list.h"
#include "system/mod_factory.h"
#include "system/pci_platform.h"
#include "system/plat_mod.h"

namespace qvi {

PlatformServices::PlatformServices() = default;

PlatformServices::~PlatformServices() {
    DeletePlatform();
}

void PlatformServices::DeletePlatform() {
    tree_.reset();
    factory_.reset();
    cameraDatabase_.reset();
    platform_.reset();
}

bool PlatformServices::CreatePlatformObject(const AppSettings &settings) {
    auto platform = std::make_unique<QV_pci_platform>(
        loader_, LibraryFiles{settings.pciCoreDll, settings.pciRxDll, settings.pciPxDll});
    if (!platform->IsValid()) return false;
    platform_ = std::move(platform);
    if (consoleSink_) InstallConsoleSink();
    return true;
}

void PlatformServices::SetConsoleSink(ConsoleSink sink, void *user) {
    consoleSink_ = sink;
    consoleUser_ = user;
    InstallConsoleSink();
}

void PlatformServices::InstallConsoleSink() {
    if (!platform_) return;
    if (auto install = platform_->Binding().Entry<&::qrx_set_console_sink>())
        install(consoleSink_, consoleUser_);
}

bool PlatformServices::CreateFactoryAndDatabase(const AppSettings &settings) {
    if (!platform_) return false;
    factory_ = std::make_unique<QV_mod_factory>(models_, &platform_->Binding(),
                                                settings.defaultCnfFile, settings.platform);
    cameraDatabase_ = NewCameraDatabase(settings);
    InstallCameraList(cameraDatabase_.get());
    return cameraDatabase_->Load(settings.dbaseFile) == 0;
}

std::unique_ptr<QV_camera_db> PlatformServices::NewCameraDatabase(const AppSettings &settings) {
    if (!platform_) return nullptr;
    LibraryBinding *binding = &platform_->Binding();
    // A camera's platform object is built from its configuration file for the
    // module the camera suits.
    auto builder = [this, binding](const std::filesystem::path &file,
                                   const std::string &model) -> std::unique_ptr<QV_plat_mod> {
        auto load = binding->Entry<&::qrx_load_modcnf>();
        std::uint32_t handle = load ? load(file.c_str(), model.c_str()) : 0;
        if (handle == 0) return nullptr;
        return models_.MakePlatform(PlatformNameOf(model), binding, handle);
    };
    return std::make_unique<QV_camera_db>(settings.cnfDir, settings.dbaseSubDir, builder);
}

int PlatformServices::DetectHardware() {
    return platform_ ? platform_->DetectHardware() : 0;
}

SystemTree *PlatformServices::Tree(const AppSettings &settings) {
    if (!tree_ && platform_ && factory_)
        tree_ = std::make_unique<SystemTree>(*platform_, *factory_, processes_,
                                             settings.scratchTextFile);
    return tree_.get();
}

}  // namespace qvi
