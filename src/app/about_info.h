#pragma once

#include <string>
#include <string_view>

#include "platform/machine_facts.h"

namespace qvi {

class AppSettings;
class LibraryBinding;

// The texts of the About box fields, ready to show.
struct AboutInfo {
    std::string ramSize;      // "RAM Size": "%lu KB"
    std::string diskFree;     // "%lu KB Free on %s", or "Unavailable"
    std::string companyName;  // the program's own version block
    std::string fileDescription;
    std::string fileVersion;
    std::string legalCopyright;
    std::string coreDllName;  // the core library as the settings name it
    std::string coreDllPath;  // the file the loaded core library was read from
};

// The file the bound core library was loaded from; empty without a binding
// or when the system does not tell.
std::string LoadedCoreLibraryPath(const LibraryBinding *binding);

// The field texts from the facts; `version` is the program's embedded version.
AboutInfo MakeAboutInfo(const MachineFacts &machine, std::string_view version,
                        std::string coreDllName, std::string coreDllPath);

// The About box of the running program: the machine queried now, the version
// read from the program's own file, the core library from the settings and
// the binding (which may be null when no platform object exists).
AboutInfo CollectAboutInfo(const AppSettings &settings, const LibraryBinding *binding);

}  // namespace qvi
