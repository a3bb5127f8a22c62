#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace qvi {

// The executable of this process; empty when the system does not tell.
std::filesystem::path RunningProgramPath();

// `name` beside the running program, else in the first directory of the
// colon-separated list held by the environment variable `listVariable` (none
// when null), wherever `accept` holds for the file; empty when nowhere.
std::filesystem::path FindBesideProgram(
    const std::string &name, const char *listVariable,
    const std::function<bool(const std::filesystem::path &)> &accept);

// Whether a library file of that name can be opened: a name with a directory
// as it stands, a bare name beside the running program or in a directory of
// LD_LIBRARY_PATH. Decides whether an optional library is there at all.
bool LibraryFileExists(const std::string &fileName);

}  // namespace qvi
