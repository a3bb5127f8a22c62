#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/app_settings.h"
#include "app/config_document.h"
#include "app/platform_services.h"
#include "app/recent_files.h"
#include "app/setup_host.h"
#include "app/system_tree.h"
#include "commands.h"

namespace qvi::qvcfg {

// A usage error: the text and the usage on stderr; the usage status.
int Usage(const std::string &text);

// The File menu's commands, run on the tree the command works on.
struct Document {
    Document(AppSettings &settings, SystemTree &tree, PlatformServices &services)
        : document(settings, tree, services.ProcessRunner(), recent) {}

    MemoryRecentFiles recent;
    ConfigDocument document;
};

struct Loaded {
    SystemTree *tree = nullptr;
    std::unique_ptr<Document> file;
    int status = kFailed;
};

// Opens the configuration a command names, as the desktop opens the one its
// command line names.
Loaded Load(AppSettings &settings, PlatformServices &services, const std::string &config);

// The command line's Module Setup surroundings: the program's, with no
// dialog window to close.
class ConsoleSetupHost : public ProgramSetupHost {
public:
    void ForgetDialog(int) override {}
};

// An element index word: 0 to 100000.
std::optional<int> ElementIndex(const std::string &word);

}  // namespace qvi::qvcfg
