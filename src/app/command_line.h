#pragma once

#include <string>
#include <vector>

namespace qvi {

class AppSettings;

// What the command line asked for beyond the settings it sets directly.
struct CommandLine {
    bool ok = false;
    // The configuration file to open; empty when none was named.
    std::string configFile;
    // Cleared by -n; nothing else looks at it.
    bool nFlag = true;
};

// Reads the arguments after the program name. A word without a leading "-"
// names a configuration file (.txt or .cnf in any letter case), which becomes
// settings.currentConfigFile. A word with a leading "-" holds option letters:
// c DIR (configuration directory: settings.cnfDir and CNF27310 in this
// process's environment), i FILE (settings file: settings.iniPath), n. The
// argument of c or i is the rest of the word, or else the next word, after
// which the letters left in the current word are read. Each failure shows its
// own message and ends the reading.
CommandLine ParseCommandLine(const std::vector<std::string> &arguments, AppSettings &settings);

}  // namespace qvi
