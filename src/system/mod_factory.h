#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qvi {

class LibraryBinding;
class ModelCatalog;
class QV_mod;
class QV_plat_mod;

// Maps the model names the library reports to platform objects and parameter
// containers, keeps one shared default platform object per model (built from
// the default configuration, so a module can be added to an empty slot
// without hardware), and hands out instance numbers.
class QV_mod_factory {
public:
    // Builds the default platform objects in the documented order: the
    // acquisition models, the computational ones unless their library is
    // stubbed, the boards on the "PCI" platform.
    // The catalogue makes the objects of each model; it must outlive the factory.
    QV_mod_factory(const ModelCatalog &catalog, LibraryBinding *binding,
                   std::filesystem::path defaultCnfFile, const std::string &platformName);
    ~QV_mod_factory();
    QV_mod_factory(const QV_mod_factory &) = delete;
    QV_mod_factory &operator=(const QV_mod_factory &) = delete;

    bool AddDefPlatMod(const std::string &name);
    QV_plat_mod *FindDefPlatMod(const std::string &name) const;

    // For a board or module the library describes; null after a message when
    // its library is stubbed.
    std::unique_ptr<QV_plat_mod> CreatePlatMod(std::uint32_t handle);
    // The container for a platform object, filled from the library, with the
    // slot and instance numbers the library reports.
    std::unique_ptr<QV_mod> CreateMod(QV_plat_mod &platform);
    // A container built from the default platform object of a model (its
    // owner board), numbered by the model's counter; null for "EMPTY" or a
    // model that cannot be had.
    std::unique_ptr<QV_mod> CreateModByName(std::string name);

    int NextInstance(const std::string &name);
    void RemoveInstance(const std::string &name);
    void ResetCounters();

private:
    // Which counter a name advances; empty when the name has none.
    static std::string CounterOf(const std::string &name);
    bool RefusedAsStubbed(const std::string &name, const char *what) const;

    const ModelCatalog &catalog_;
    LibraryBinding *binding_;
    std::filesystem::path defaultCnfFile_;
    std::map<std::string, int> counters_;
    std::vector<std::unique_ptr<QV_plat_mod>> defaults_;
};

}  // namespace qvi
