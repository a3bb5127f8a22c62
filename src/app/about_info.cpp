// Collects the About box texts: memory, disk space, versions, the core library.
#include "app/about_info.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>

#include "app/app_settings.h"
#include "app/library_binding.h"
#include "app/version_check.h"
#include "platform/posix/dl_library_loader.h"

namespace qvi {

namespace {

// The program's own version block: what the file version resource held.
constexpr std::string_view kCompanyName = "Corvath";
constexpr std::string_view kFileDescription = "QVI Configurator";
constexpr std::string_view kLegalCopyright = "Copyright (C) Corvath";

constexpr std::string_view kUnavailable = "Unavailable";

// An entry every core library exports; the file that holds it is the core.
constexpr std::string_view kCoreEntry = "qrx_load_cnf";

std::optional<std::uint64_t> TotalMemoryKb() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return std::nullopt;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 1024u;
}

bool DeviceOf(const std::filesystem::path &path, dev_t &device) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return false;
    device = status.st_dev;
    return true;
}

}  // namespace

std::filesystem::path MountPointOf(const std::filesystem::path &directory) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::canonical(directory, error);
    if (error) return directory;
    dev_t device{};
    if (!DeviceOf(path, device)) return path;
    // Climb while the parent lies on the same file system.
    while (path.has_parent_path() && path.parent_path() != path) {
        dev_t parentDevice{};
        if (!DeviceOf(path.parent_path(), parentDevice) || parentDevice != device) break;
        path = path.parent_path();
    }
    return path;
}

MachineFacts QueryMachineFacts() {
    MachineFacts facts;
    facts.totalMemoryKb = TotalMemoryKb();
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) return facts;
    struct statvfs disk {};
    if (::statvfs(current.c_str(), &disk) != 0) return facts;
    facts.freeDiskKb = static_cast<std::uint64_t>(disk.f_bavail) *
                       static_cast<std::uint64_t>(disk.f_frsize) / 1024u;
    facts.diskLocation = MountPointOf(current).string();
    return facts;
}

std::string LoadedCoreLibraryPath(const LibraryBinding *binding) {
    const void *entry = binding ? binding->Address(kCoreEntry) : nullptr;
    Dl_info info{};
    if (entry == nullptr || ::dladdr(entry, &info) == 0 || info.dli_fname == nullptr) return {};
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : path.string();
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
