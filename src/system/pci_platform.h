#pragma once

#include <cstdint>
#include <memory>

#include "library/library_binding.h"

namespace qvi {

class QV_mod_factory;
class QV_system;

// The "PCI" platform object: owns the library binding, knows the bus
// translator's entries, finds the boards present and turns the library's
// boards into elements of the system.
class QV_pci_platform {
public:
    // Binds the library; IsValid() is false when the binding failed or a bus
    // translator entry is missing (each reported by name).
    QV_pci_platform(LibraryLoader &loader, const LibraryFiles &files,
                    const BindingEnvironment &environment = {});

    bool IsValid() const { return valid_; }
    LibraryBinding &Binding() { return binding_; }

    // A new configuration from the boards present: one element per board
    // found, kinds in the order SXP, DQP, RXP, SXA, then the bus translator.
    // 0 when no board is there.
    int DetectBoards(QV_system &system, QV_mod_factory &factory);
    // 1 when a device handle opens for any of SXP, SXA, DQP, RXP.
    int DetectHardware();
    // A new configuration without hardware: the bus translator and an empty element.
    int BuildDefaultSystem(QV_system &system, QV_mod_factory &factory);
    // A board of the loaded configuration and the modules of its slots.
    int AddMbSysElement(QV_system &system, QV_mod_factory &factory, std::uint32_t board);
    int AddBusTransSysElement(QV_system &system, QV_mod_factory &factory, std::uint32_t handle);

private:
    std::string NameOf(std::uint32_t handle);
    // The module in a slot (a channel of an SXA board), or an empty element.
    void AddSlotElement(QV_system &system, QV_mod_factory &factory, std::uint32_t board,
                        int boardIndex, int slot, bool channel);
    int CountBoards(const char *kind);

    // Declared before the binding: the binding's constructor writes it, and a
    // member initialised later would wipe the reported failure.
    int bindingError_ = 0;
    LibraryBinding binding_;
    bool valid_ = false;
};

}  // namespace qvi
