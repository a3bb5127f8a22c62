#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "modules/module_settings.h"
#include "system/model_catalog.h"

namespace qvi {

// The classes behind each library model name: the platform object the
// factory builds for a board or module the library describes (by platform
// name), and the parameter container built for a platform object (by model
// name). A model without classes of its own gets the generic ones, made from
// its key table.
std::unique_ptr<QV_plat_mod> MakePlatform(const std::string &name, LibraryBinding *binding,
                                          std::uint32_t handle, const ModuleSettings &settings);
std::unique_ptr<QV_mod> MakeContainer(const std::string &name, QV_plat_mod &platform,
                                      const ModuleSettings &settings);

// Every model of this program as the module factory's catalogue, each made
// with the settings given here (which must outlive the registry).
class ModelRegistry final : public ModelCatalog {
public:
    explicit ModelRegistry(const ModuleSettings &settings);

    std::unique_ptr<QV_plat_mod> MakePlatform(const std::string &platformName,
                                              LibraryBinding *binding,
                                              std::uint32_t handle) const override;
    std::unique_ptr<QV_mod> MakeContainer(const std::string &model,
                                          QV_plat_mod &platform) const override;
    void ApplyVariant(const std::string &askedName, QV_mod &module) const override;

private:
    const ModuleSettings &settings_;
};

}  // namespace qvi
