// What the qvcfg commands share: usage errors, opening a configuration, element indexes.
#include "command_support.h"

#include <iostream>

#include "params/number_text.h"
#include "system/config_state.h"

namespace qvi::qvcfg {

int Usage(const std::string &text) {
    std::cerr << "error: " << text << "\n" << kUsage;
    return kUsageError;
}

// The configuration a command names is the one the desktop opens when its
// command line names it: detection is off for the rest of the run (a file's
// own camera names and multiplexer selects are not a new configuration's,
// not even when a camera is applied to a port later), and the file opens as
// File Open opens it.
Loaded Load(AppSettings &settings, PlatformServices &services, const std::string &config) {
    Loaded loaded;
    loaded.tree = services.Tree(settings);
    if (loaded.tree == nullptr) return loaded;
    SetDetectOnNew(0);
    loaded.file = std::make_unique<Document>(settings, *loaded.tree, services);
    if (loaded.file->document.OpenStart(config) == DocumentResult::Done) loaded.status = kSuccess;
    return loaded;
}

std::optional<int> ElementIndex(const std::string &word) {
    auto index = ParseInteger(word);
    if (!index || *index < 0 || *index > 100000) return std::nullopt;
    return static_cast<int>(*index);
}

}  // namespace qvi::qvcfg
