#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_settings.h"
#include "app/command_line.h"

namespace qvi {

// What ReadIniEntry returns for a missing entry; callers stop reading on it.
inline constexpr std::string_view kIniEntryError = "ERROR";

// The settings steps of start-up in order: the command line, the
// configuration directory from the environment, the settings file (which
// also selects the platform and detects the hardware). When the command line
// named a configuration file, the next New command does not detect boards.
// `executable` is the running program, beside which the settings file and
// the scratch files lie. The result is the command line's; ok is false when
// any step failed, after that step showed its message.
CommandLine StartUpSettings(AppSettings &settings, const std::vector<std::string> &arguments,
                            const std::filesystem::path &executable);

// Sets settings.cnfDir from CNF27310; reports and fails when it is not set.
bool ReadConfigDirFromEnvironment(AppSettings &settings);

// Reads the settings file named by settings.iniPath (by default the
// executable's path with ".ini" for its extension), then tests the library
// files, selects the platform and detects the hardware.
bool LoadSettings(AppSettings &settings, const std::filesystem::path &executable);

// A string entry of the settings file; reports it and returns kIniEntryError
// when it is missing.
std::string ReadIniEntry(const std::string &iniPath, std::string_view section,
                         std::string_view key);

// Whether a library file can be opened. A name without a directory is looked
// for beside the executable, then in the directories of LD_LIBRARY_PATH.
bool LibraryFilePresent(const std::string &fileName, const std::filesystem::path &executable);

// Makes `name` the platform, creating its platform object, module factory and
// camera database through the settings' hooks; keeps an existing platform
// object of the same name. Only "PCI" has a platform object.
bool SelectPlatform(AppSettings &settings, const std::string &name);

// Asks the platform for its boards. With none found while hardware is
// enabled, warns and switches the hardware off; sets DetectOnNew accordingly.
void DetectBoards(AppSettings &settings);

// The memory-size number a "mem_size" text starts with; 0 when it starts
// with no digit.
int MemSizeNumber(std::string_view memSize);

// Groups the RX-20 memory files by the number their "mem_size" starts with.
// An entry whose number is not 12, 16 or 64 is left out and reported, naming
// its section and the settings file.
MemFileGroups GroupMemFiles(const std::vector<MemFileEntry> &entries, const std::string &iniPath);

}  // namespace qvi
