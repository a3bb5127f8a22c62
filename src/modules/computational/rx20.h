#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modules/module_settings.h"
#include "params/usr_param.h"
#include "system/table_mod.h"

namespace qvi {

class LibraryBinding;

// The RX-20 memory files by memory-size number (12, 16 or 64): for each a
// list of memory-size names and a list of load-file names in the same order.
// A file's memory-size name is its "mem_size" text as the settings give it.
// The catalogue reads the groups it is given and never copies them.
// A bad size number or index is reported in an error box and the look-up
// goes on with the 16 lists or the text "ERROR".
class Rx20MemoryCatalogue {
public:
    static constexpr const char *kError = "ERROR";

    explicit Rx20MemoryCatalogue(const MemFileGroups &groups);

    std::string FileName(int index, int sizeNumber) const;
    std::string SizeName(int index, int sizeNumber) const;
    std::vector<std::string> FileNames(int sizeNumber) const;
    std::vector<std::string> SizeNames(int sizeNumber) const;

    // 16 for memory types 0 and 1, 12 for 2 and 3, 64 for 4 and 5; any other
    // type is reported and gives 16.
    static int SizeNumberOf(int memoryType);
    // 12 and 64 stay, anything else is 16; nothing is reported.
    static int Normalised(int sizeNumber);

private:
    const std::vector<MemFileEntry> &ListFor(int sizeNumber) const;
    const MemFileEntry *EntryAt(int index, int sizeNumber) const;

    const MemFileGroups *groups_;
};

// The RX-20's platform object: its keys come from the specification (the
// memory type read as its layout name, "Undefined" for a type without one),
// and its registers are dumped through the library's "rx20_dregs".
class QV_rx20_plat_mod : public QV_table_plat_mod {
public:
    static constexpr std::size_t kMemoryTypeOffset = 0x28;

    QV_rx20_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // Every key; in a board, the container also takes the memory-size number
    // of the memory type.
    void FillParams(QV_mod &container) override;
    // With hardware only.
    void DumpRegisters() override;

private:
    using DumpEntry = int (*)(std::uint32_t);
    DumpEntry dumpEntry_ = nullptr;
};

// The RX-20 memory module's container. It keeps the memory-size number (12,
// 16 or 64) that chooses the memory layouts offered for it; a module asked
// for as "RX-21" holds 12, as "RX-22" 64. Outside a board its section names
// the first memory file of that number instead of its own two values.
class QV_rx20_mod : public QV_table_mod {
public:
    static constexpr int kDefaultMemorySize = 16;
    static constexpr int kLoadNameHandle = 1;
    static constexpr int kLoadFlagHandle = 4;
    static constexpr int kMemorySizeHandle = 5;

    QV_rx20_mod(QV_plat_mod *ownerBoard, const ModuleSettings &settings);

    void WriteCFGSection(std::ostream &out) override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;

    int GetMemorySize() const { return memorySize_; }
    void SetMemorySize(int sizeNumber) { memorySize_ = sizeNumber; }
    // The memory files of this program's settings.
    Rx20MemoryCatalogue Catalogue() const {
        return Rx20MemoryCatalogue(settings_.Rx20MemoryGroups());
    }

private:
    const ModuleSettings &settings_;
    int memorySize_ = kDefaultMemorySize;
};

// The "Memory Size" row: the memory-size names of the container's
// memory-size number. Choosing one stores it and its load file.
class QV_rx20_memory_usr_param final : public QV_choice_usr_param {
public:
    QV_rx20_memory_usr_param(std::string label, int id, const ParamList &params, int handle,
                             const QV_rx20_mod &module);

    std::vector<std::string> GetChoices() const override;
    // The position of the stored name among the choices; -1 when it is none of them.
    int GetIndex() override;
    int SetIndex(int index) override;

private:
    const QV_rx20_mod &module_;
    QV_mod_param *loadName_;
};

}  // namespace qvi
