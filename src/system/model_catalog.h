#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qvi {

class LibraryBinding;
class QV_mod;
class QV_plat_mod;

// An SXA camera channel is the library model "SXA-VMOD" but its platform
// class is registered as "TX0"; every other model is its own platform name.
std::string PlatformNameOf(std::string_view model);
std::string ModelNameOf(const std::string &platformName);

// The classes behind each library model name, as the module factory asks for
// them. The models stand above the system model, so the program hands the
// factory a catalogue of them instead of the factory naming them.
class ModelCatalog {
public:
    virtual ~ModelCatalog() = default;

    // The platform object for a platform name (see PlatformNameOf).
    virtual std::unique_ptr<QV_plat_mod> MakePlatform(const std::string &platformName,
                                                      LibraryBinding *binding,
                                                      std::uint32_t handle) const = 0;
    // The empty parameter container of a platform object's model.
    virtual std::unique_ptr<QV_mod> MakeContainer(const std::string &model,
                                                  QV_plat_mod &platform) const = 0;
    // A module asked for by a name that stands for a variant of its model
    // (RX-21, RX-22) takes what sets the variant apart.
    virtual void ApplyVariant(const std::string &askedName, QV_mod &module) const = 0;
};

}  // namespace qvi
