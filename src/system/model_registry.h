#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qvi {

class LibraryBinding;
class QV_mod;
class QV_plat_mod;

// An SXA camera channel is the library model "SXA-VMOD" but its platform
// class is registered as "TX0"; every other model is its own platform name.
std::string PlatformNameOf(const std::string &model);
std::string ModelNameOf(const std::string &platformName);

// The classes behind each library model name: the platform object the
// factory builds for a board or module the library describes, and the
// parameter container built for a platform object. A model without classes
// of its own gets the generic ones, made from its key table.
std::unique_ptr<QV_plat_mod> MakePlatform(const std::string &name, LibraryBinding *binding,
                                          std::uint32_t handle);
std::unique_ptr<QV_mod> MakeContainer(const std::string &name, QV_plat_mod &platform);

}  // namespace qvi
