// The module factory: objects by model name, shared defaults, instance counters.
#include "system/mod_factory.h"

#include "keys/model_names.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "params/mod.h"
#include "platform/ui.h"
#include "system/model_catalog.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {

// clang-format off
constexpr const char *kAcquisitionDefaults[] = {
    "TX-10", "TX-20", "TX-31", "TX-50", "TX-40", "TX-60", "TX-70", "SXA-VMOD"};
constexpr const char *kComputationalDefaults[] = {
    "RX-20", "RX-40", "RX-52", "RX-57", "RX-55", "RX-56", "RX-53", "RX-54", "RX-51", "RX-10",
    "RX-50"};
constexpr const char *kBoardDefaults[] = {"SXP", "SXA", "DQP", "RXP", "BZ700"};
// Names with a counter of their own; RX-10, RX-50 and RX-51 share one.
constexpr const char *kCountedNames[] = {
    "SXA-VMOD", "RX-20", "RX-30", "RX-40", "RX-52", "RX-53", "RX-54", "RX-55", "RX-56",
    "RX-57", "SXP", "SXA", "DQP", "RXP"};
// clang-format on

std::string Alias(const std::string &name) {
    if (name == "TX-30") return "TX-31";
    if (name == "RX-21" || name == "RX-22") return "RX-20";
    if (name == "Lumo") return "SXP";
    return name;
}

}  // namespace

QV_mod_factory::QV_mod_factory(const ModelCatalog &catalog, LibraryBinding *binding,
                               std::filesystem::path defaultCnfFile,
                               const std::string &platformName)
    : catalog_(catalog), binding_(binding), defaultCnfFile_(std::move(defaultCnfFile)) {
    for (const char *name : kAcquisitionDefaults) AddDefPlatMod(name);
    if (!RxLibraryStubbed())
        for (const char *name : kComputationalDefaults) AddDefPlatMod(name);
    if (!PxLibraryStubbed()) AddDefPlatMod("RX-30");
    if (platformName == "PCI")
        for (const char *name : kBoardDefaults) AddDefPlatMod(name);
}

QV_mod_factory::~QV_mod_factory() {
    for (auto &platform : defaults_) platform->CloseHandle();
}

bool QV_mod_factory::AddDefPlatMod(const std::string &name) {
    auto load = binding_ ? binding_->Entry<&::qrx_load_modcnf>() : nullptr;
    std::uint32_t handle = load ? load(defaultCnfFile_.c_str(), name.c_str()) : 0;
    std::unique_ptr<QV_plat_mod> platform;
    if (handle != 0) platform = catalog_.MakePlatform(PlatformNameOf(name), binding_, handle);
    if (!platform) {
        ReportError(
            MessageText("Function: QV_mod_factory::AddDefPlatMod Can't create a platmod "
                        "for mod: ",
                        name, " from file ", defaultCnfFile_.string()));
        return false;
    }
    platform->SetShared(true);
    defaults_.push_back(std::move(platform));
    return true;
}

QV_plat_mod *QV_mod_factory::FindDefPlatMod(const std::string &name) const {
    for (const auto &platform : defaults_)
        if (platform->GetName() == name) return platform.get();
    return nullptr;
}

bool QV_mod_factory::RefusedAsStubbed(const std::string &name, const char *what) const {
    if (name == "RX-30" && PxLibraryStubbed()) {
        ReportError(MessageText("Can't create a ", what, " for ", name,
                                " PX Library is stubbed or not installed properly"));
        return true;
    }
    if (name.rfind("RX-", 0) == 0 && name != "RX-30" && RxLibraryStubbed()) {
        ReportError(MessageText("Can't create a ", what, " for ", name,
                                " RX Library is stubbed or not installed properly"));
        return true;
    }
    return false;
}

std::unique_ptr<QV_plat_mod> QV_mod_factory::CreatePlatMod(std::uint32_t handle) {
    auto getName = binding_ ? binding_->Entry<&::qrx_get_modname>() : nullptr;
    auto getType = binding_ ? binding_->Entry<&::qrx_get_modtype>() : nullptr;
    if (getName == nullptr) return nullptr;
    std::string name = getName(handle) ? getName(handle) : "";
    if (name == "SXA" && getType && getType(handle) == QV_plat_mod::kCategoryCameraChannel)
        name = PlatformNameOf(keys::kSxaChannelModel);
    if (RefusedAsStubbed(name, "platmod")) return nullptr;
    return catalog_.MakePlatform(name, binding_, handle);
}

std::unique_ptr<QV_mod> QV_mod_factory::CreateMod(QV_plat_mod &platform) {
    std::string name = platform.GetName();
    std::unique_ptr<QV_mod> module = catalog_.MakeContainer(name, platform);
    module->SetSlot(platform.GetSlot());
    module->SetInstance(platform.GetInstance());
    platform.FillParams(*module);
    module->MarkSaved();
    return module;
}

std::unique_ptr<QV_mod> QV_mod_factory::CreateModByName(std::string name) {
    if (name == "EMPTY") return nullptr;
    if (RefusedAsStubbed(name, "mod")) return nullptr;  // by the name asked for
    const std::string model = Alias(name);
    QV_plat_mod *platform = FindDefPlatMod(model);
    if (platform == nullptr) return nullptr;
    std::unique_ptr<QV_mod> module;
    {
        HardwareWritesSuppressed quiet;
        module = CreateMod(*platform);
    }
    module->SetInstance(NextInstance(model));
    catalog_.ApplyVariant(name, *module);
    return module;
}

std::string QV_mod_factory::CounterOf(const std::string &name) {
    if (name == "RX-10" || name == "RX-50" || name == "RX-51") return "RX-10";
    for (const char *counted : kCountedNames)
        if (name == counted) return name;
    return {};
}

int QV_mod_factory::NextInstance(const std::string &name) {
    std::string counter = CounterOf(name);
    if (counter.empty()) return 0;
    return counters_[counter]++;
}

void QV_mod_factory::RemoveInstance(const std::string &name) {
    std::string counter = CounterOf(name);
    if (!counter.empty()) --counters_[counter];
}

void QV_mod_factory::ResetCounters() {
    counters_.clear();
}

}  // namespace qvi
