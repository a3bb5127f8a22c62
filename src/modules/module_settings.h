#pragma once

#include <string>
#include <vector>

namespace qvi {

// One FPGA file the TX-30 module can load, as the settings file lists it.
struct FpgaFileEntry {
    std::string name;
    std::string desc;
    int x_size = 0;
    int y_size = 0;
};

// One memory-module file the RX-20 module can load, as the settings file lists it.
struct MemFileEntry {
    std::string name;
    std::string desc;
    std::string mem_size;
};

// The RX-20 memory files sorted by the memory-size number their "mem_size"
// text starts with; an entry with any other number is in no group.
struct MemFileGroups {
    std::vector<MemFileEntry> size12;
    std::vector<MemFileEntry> size16;
    std::vector<MemFileEntry> size64;

    // The group of a size number; null for a number other than 12, 16 or 64.
    const std::vector<MemFileEntry> *For(int sizeNumber) const;
    std::vector<MemFileEntry> *For(int sizeNumber);
};

// What the models read of the program's settings. The program hands it to
// the model registry, which hands it to the models that need it; the values
// are read when used, so a change of settings reaches models already built.
class ModuleSettings {
public:
    virtual ~ModuleSettings() = default;

    virtual const std::vector<FpgaFileEntry> &Tx30FpgaFiles() const = 0;
    virtual const MemFileGroups &Rx20MemoryGroups() const = 0;
    // The folder the TX-30 FPGA files lie in.
    virtual std::string ConfigurationFolder() const = 0;
    // Whether the configuration being built is a new one from the detected
    // boards (the TX-70 then starts from its standard camera names).
    virtual bool BuildsNewConfiguration() const = 0;
};

// Settings held as plain values: what a model built outside a running
// program sees (empty lists, no new configuration), and what tests fill.
class FixedModuleSettings : public ModuleSettings {
public:
    std::vector<FpgaFileEntry> tx30FpgaFiles;
    MemFileGroups rx20MemGroups;
    std::string cnfDir;
    bool newConfiguration = false;

    const std::vector<FpgaFileEntry> &Tx30FpgaFiles() const override { return tx30FpgaFiles; }
    const MemFileGroups &Rx20MemoryGroups() const override { return rx20MemGroups; }
    std::string ConfigurationFolder() const override { return cnfDir; }
    bool BuildsNewConfiguration() const override { return newConfiguration; }
};

// Empty settings that live as long as the program.
const ModuleSettings &NoModuleSettings();

}  // namespace qvi
