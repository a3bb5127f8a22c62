// Collects the About box texts: memory, disk space, versions, the core library.
#include "app/about_info.h"

#include <cstdio>

#include "app/app_settings.h"
#include "library/library_binding.h"
#include "library/version_check.h"
#include "platform/program_files.h"

namespace qvi {

namespace {

// The program's own version block: what the file version resource held.
constexpr std::string_view kCompanyName = "Corvath";
constexpr std::string_view kFileDescription = "QVI Configurator";
constexpr std::string_view kLegalCopyright = "Copyright (C) Corvath";

constexpr std::string_view kUnavailable = "Unavailable";

}  // namespace

std::string LoadedCoreLibraryPath(const LibraryBinding *binding) {
    const std::filesystem::path file = binding ? binding->CoreFilePath() : std::filesystem::path();
    if (file.empty()) return {};
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(file, error);
    return error ? file.string() : path.string();
}

AboutInfo MakeAboutInfo(const MachineFacts &machine, std::string_view version,
                        std::string coreDllName, std::string coreDllPath) {
    AboutInfo info;
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%lu KB",
                  static_cast<unsigned long>(machine.totalMemoryKb.value_or(0)));
    info.ramSize = buffer;
    if (machine.freeDiskKb) {
        std::snprintf(buffer, sizeof buffer, "%lu KB Free on %s",
                      static_cast<unsigned long>(*machine.freeDiskKb),
                      machine.diskLocation.c_str());
        info.diskFree = buffer;
    } else {
        info.diskFree = kUnavailable;
    }
    info.companyName = kCompanyName;
    info.fileDescription = kFileDescription;
    info.fileVersion = version;
    info.legalCopyright = kLegalCopyright;
    info.coreDllName = std::move(coreDllName);
    info.coreDllPath = std::move(coreDllPath);
    return info;
}

AboutInfo CollectAboutInfo(const AppSettings &settings, const LibraryBinding *binding) {
    return MakeAboutInfo(QueryMachineFacts(), ReadProductVersion(RunningProgramPath()),
                         settings.pciCoreDll, LoadedCoreLibraryPath(binding));
}

}  // namespace qvi
