#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace qvi {

// Configurations, settings files and camera databases are small; a file
// beyond this is not one of them (an endless device, a wrong file).
inline constexpr std::uintmax_t kMaxInputFileSize = 64 * 1024 * 1024;

// Why a file the user handed the program must not be read, as a sentence for
// the message that names the file; empty when it may be read (or is missing,
// which the caller reports in its own words). Only a look at the file's
// status: a FIFO is never opened, so it cannot block.
std::string InputFileRefusal(const std::filesystem::path &path);

}  // namespace qvi
