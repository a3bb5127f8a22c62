#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace quar {

// Configurations, racks and the library's other input files are small; a
// file beyond this is not one of them (an endless device, a wrong file).
inline constexpr std::size_t kMaxInputFileSize = 64 * 1024 * 1024;

// The whole content of a regular file of at most kMaxInputFileSize bytes. A
// FIFO, a device or a folder is refused before it is opened, so it can never
// block or flood the reader; `why` says what was wrong.
std::optional<std::string> ReadInputFile(const std::filesystem::path &path, std::string &why);

}  // namespace quar
