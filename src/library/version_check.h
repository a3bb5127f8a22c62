#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace qvi {

// One file of the version check: the name the warning lists and the file the
// version is read from.
struct VersionedFile {
    std::string name;
    std::filesystem::path path;
};

// Versions are compared and shown as held in a 20-byte slot: at most 19
// characters.
inline constexpr std::size_t kVersionSlotLength = 19;

// The product version stamped into an ELF file (see quar/version_stamp.h),
// read from its note segments only; empty when the file cannot be read, is not
// an ELF file of this machine's byte order, or has no printable stamp.
std::string ReadProductVersion(const std::filesystem::path &file);

// The files whose versions must agree with the libraries': the converter
// "mkbcf" (beside the running program or on PATH) and the running program.
std::vector<VersionedFile> ProgramFiles();

// Compares every file's product version with the first one's. When any
// differs, shows one error box listing every file with its version (an
// unreadable version is empty, so it differs). Fewer than two files, or all
// equal: silent. Returns whether nothing was reported.
bool CheckProductVersions(const std::vector<VersionedFile> &files);

}  // namespace qvi
