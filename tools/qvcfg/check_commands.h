#pragma once

#include <optional>

#include "app/app_settings.h"
#include "app/platform_services.h"
#include "options.h"

namespace qvi::qvcfg {

// validate, and diff of two files: they read configuration texts as the
// converter does and need no start-up, no library and no settings. Nothing
// for any other command (diff with --camera included).
std::optional<int> RunFileCommand(const Options &options);

// diff A --camera NAME --element INDEX --port P: what applying the camera of
// the database to that port of element INDEX would change in A.
int CameraDiff(const Options &options, AppSettings &settings, PlatformServices &services);

}  // namespace qvi::qvcfg
