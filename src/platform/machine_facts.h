#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qvi {

// What the About box asks of the machine. A query that failed leaves its
// value empty.
struct MachineFacts {
    std::optional<std::uint64_t> totalMemoryKb;
    std::optional<std::uint64_t> freeDiskKb;
    std::string diskLocation;  // the mount point holding the current directory
};

// Total physical memory, and the space free to this user on the file system
// of the current directory.
MachineFacts QueryMachineFacts();

// The mount point of the file system that holds a directory; the directory
// itself when it cannot be told.
std::filesystem::path MountPointOf(const std::filesystem::path &directory);

}  // namespace qvi
