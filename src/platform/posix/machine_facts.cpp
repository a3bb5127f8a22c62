// What the About box asks of the machine, from the POSIX system calls.
#include "platform/machine_facts.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qvi {

namespace {

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

}  // namespace qvi
