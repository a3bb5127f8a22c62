// The model registry: the platform and container classes behind each library model name.
#include "modules/model_registry.h"

#include "keys/key_table.h"
#include "keys/model_names.h"
#include "modules/acquisition/sxa_port.h"
#include "modules/acquisition/tx10.h"
#include "modules/acquisition/tx20.h"
#include "modules/acquisition/tx30.h"
#include "modules/acquisition/tx40.h"
#include "modules/acquisition/tx50.h"
#include "modules/acquisition/tx60.h"
#include "modules/acquisition/tx70.h"
#include "modules/boards/dq500.h"
#include "modules/boards/sx400.h"
#include "modules/boards/sxa_board.h"
#include "modules/computational/rx10.h"
#include "modules/computational/rx20.h"
#include "modules/computational/rx30.h"
#include "modules/computational/rx40.h"
#include "system/board_plat_mod.h"
#include "system/bz700.h"
#include "system/rx600.h"
#include "system/table_mod.h"

namespace qvi {

namespace {

// The key table behind a platform name.
const keys::ModelTable *TableOf(const std::string &name) {
    return keys::FindModel(ModelNameOf(name));
}

}  // namespace

std::unique_ptr<QV_plat_mod> MakePlatform(const std::string &name, LibraryBinding *binding,
                                          std::uint32_t handle, const ModuleSettings &settings) {
    if (name == "RXP") return std::make_unique<RXP_plat_mod>(binding, handle);
    if (name == "BZ700") return std::make_unique<BZ700_plat_mod>(binding, handle);
    if (name == PlatformNameOf(keys::kSxaChannelModel))
        return std::make_unique<TX0_plat_mod>(binding, handle);
    if (name == "TX-10") return std::make_unique<TX10_plat_mod>(binding, handle);
    if (name == "TX-20") return std::make_unique<TX20_plat_mod>(binding, handle);
    if (name == "TX-31") return std::make_unique<TX30_plat_mod>(binding, handle, settings);
    if (name == "TX-40") return std::make_unique<TX40_plat_mod>(binding, handle);
    if (name == "TX-60") return std::make_unique<TX60_plat_mod>(binding, handle);
    if (name == "TX-50") return std::make_unique<TX50_plat_mod>(binding, handle);
    if (name == "TX-70") return std::make_unique<TX70_plat_mod>(binding, handle, settings);
    if (name == "SXP") return std::make_unique<SXP_plat_mod>(binding, handle);
    if (name == "SXA") return std::make_unique<SXA_plat_mod>(binding, handle);
    if (name == "DQP") return std::make_unique<DQP_plat_mod>(binding, handle);
    if (name == "RX-20") return std::make_unique<QV_rx20_plat_mod>(binding, handle);
    if (name == "RX-30") return std::make_unique<QV_rx30_plat_mod>(binding, handle);
    if (name == "RX-40") return std::make_unique<QV_rx40_plat_mod>(binding, handle);
    const keys::ModelTable *table = TableOf(name);
    if (table && table->category == keys::ModelCategory::Board)
        return std::make_unique<QV_board_plat_mod>(table, binding, handle, name + " plat_mod");
    return std::make_unique<QV_table_plat_mod>(table, binding, handle);
}

std::unique_ptr<QV_mod> MakeContainer(const std::string &name, QV_plat_mod &platform,
                                      const ModuleSettings &settings) {
    if (name == "RXP") return std::make_unique<QV_rx600_mod>(&platform);
    if (name == "BZ700") return std::make_unique<QV_bz700_mod>(&platform);
    if (name == keys::kSxaChannelModel) return std::make_unique<QV_sxa_port_mod>(&platform);
    if (name == "TX-10") return std::make_unique<QV_tx10_mod>(&platform);
    if (name == "TX-20") return std::make_unique<QV_tx20_mod>(&platform);
    if (name == "TX-31") return std::make_unique<QV_tx30_mod>(&platform, settings);
    if (name == "TX-40") return std::make_unique<QV_tx40_mod>(&platform);
    if (name == "TX-60") return std::make_unique<QV_tx60_mod>(&platform);
    if (name == "TX-50") return std::make_unique<QV_tx50_mod>(&platform);
    if (name == "TX-70") return std::make_unique<QV_tx70_mod>(&platform);
    if (name == "SXP") return std::make_unique<QV_sx400_mod>(&platform);
    if (name == "SXA") return std::make_unique<QV_sxa_board_mod>(&platform);
    if (name == "DQP") return std::make_unique<QV_dq500_mod>(&platform);
    if (name == "RX-10") return std::make_unique<QV_rx10_mod>(&platform);
    if (name == "RX-20") return std::make_unique<QV_rx20_mod>(&platform, settings);
    if (name == "RX-30") return std::make_unique<QV_rx30_mod>(&platform);
    if (name == "RX-40") return std::make_unique<QV_rx40_mod>(&platform);
    if (const keys::ModelTable *table = TableOf(name))
        return std::make_unique<QV_table_mod>(*table, &platform);
    auto plain = std::make_unique<QV_mod>(name, &platform);
    plain->BuildPageList();
    return plain;
}

ModelRegistry::ModelRegistry(const ModuleSettings &settings) : settings_(settings) {}

std::unique_ptr<QV_plat_mod> ModelRegistry::MakePlatform(const std::string &platformName,
                                                         LibraryBinding *binding,
                                                         std::uint32_t handle) const {
    return qvi::MakePlatform(platformName, binding, handle, settings_);
}

std::unique_ptr<QV_mod> ModelRegistry::MakeContainer(const std::string &model,
                                                     QV_plat_mod &platform) const {
    return qvi::MakeContainer(model, platform, settings_);
}

// RX-21 and RX-22 are the RX-20 with 12 and 64 memory-size numbers.
void ModelRegistry::ApplyVariant(const std::string &askedName, QV_mod &module) const {
    auto *memory = dynamic_cast<QV_rx20_mod *>(&module);
    if (memory == nullptr) return;
    if (askedName == "RX-21") memory->SetMemorySize(12);
    if (askedName == "RX-22") memory->SetMemorySize(64);
}

}  // namespace qvi
