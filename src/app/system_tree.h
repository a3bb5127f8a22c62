#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "system/system.h"

namespace qvi {

class Processes;
class QV_mod_factory;
class QV_pci_platform;

// The object behind the system window: turns a configuration file into the
// live system (converting text through mkbcf, loading into the library,
// initialising each system on the hardware, walking its boards), builds new
// configurations, writes the open one back as text, and derives the names of
// the boards that can acquire.
class SystemTree {
public:
    SystemTree(QV_pci_platform &platform, QV_mod_factory &factory, Processes &processes,
               std::filesystem::path scratchTextFile);

    // 0, or -1 after the failure's messages (the model is then empty).
    int LoadFile(std::string name);
    // Runs the converter on the text twin of `name`: 0; -1 no converter, -2
    // it did not start, -3 it reported an error.
    int ConvertToBinary(const std::string &name);
    // Whether the last conversion failed because the converter refused the
    // text itself (as opposed to a missing converter or an unwritable twin).
    bool ConverterRefusedText() const { return converterRefusedText_; }
    // Writes the header and every element to the text twin of `name`: 0, or
    // -1 with the reason in `why` (the file is then as it was).
    int WriteTextFile(std::string name, std::string *why = nullptr);
    // A module added by hand reaches the library the way every module does:
    // the model is written to the scratch text file and loaded again. The
    // changed flag stays as it was. 0, or -1 after the failure's messages.
    int Reload();
    // A new configuration: detected boards (and their modules) when
    // `detect` is set and hardware is enabled, else the default system.
    int NewSystem(bool detect);

    QV_system &System() { return system_; }
    const QV_system &System() const { return system_; }
    const std::vector<std::string> &BoardNames() const { return boardNames_; }
    // The element each board name stands for (a board, or an SXA channel).
    const std::vector<int> &BoardElements() const { return boardElements_; }
    int BoardCount() const { return static_cast<int>(boardNames_.size()); }
    // The first board that can acquire, or -1.
    int ActiveBoard() const { return boardNames_.empty() ? -1 : 0; }
    // The DQ-500 boards' elements, for the video-bus check.
    const std::vector<int> &Dq500Boards() const { return dq500Boards_; }
    const std::filesystem::path &ScratchTextFile() const { return scratchTextFile_; }

private:
    int LibraryLoad(const std::string &name);
    int LoadSystems(const std::string &name);
    void RebuildBoardNames();
    int AddDetectedModules();

    QV_pci_platform &platform_;
    QV_mod_factory &factory_;
    Processes &processes_;
    std::filesystem::path scratchTextFile_;
    QV_system system_;
    std::vector<std::string> boardNames_;
    std::vector<int> boardElements_;
    std::vector<int> dq500Boards_;
    bool loaded_ = false;
    bool converterRefusedText_ = false;
};

// Set after every successful load.
bool ConfigLoaded();

}  // namespace qvi
