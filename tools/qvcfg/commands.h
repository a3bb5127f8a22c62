#pragma once

#include "app/app_settings.h"
#include "app/platform_services.h"
#include "library_console.h"
#include "options.h"

namespace qvi::qvcfg {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsageError = 2;

// Runs one command after start-up; the messages have gone to the Ui. A
// command whose result the library prints sends the console there.
int RunCommand(const Options &options, AppSettings &settings, PlatformServices &services,
               LibraryConsole &console);

}  // namespace qvi::qvcfg
