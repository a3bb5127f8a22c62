#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "platform/library_loader.h"

namespace qvi {

// The loader on top of dlopen. A library named without a directory is looked
// for beside the running program first, so the programs find the libraries
// built and installed with them, then through the dynamic linker's search.
class DlLibraryLoader : public LibraryLoader {
public:
    LibraryHandle Load(const std::string &fileName, std::string &error) override;
    void *Symbol(LibraryHandle library, const char *name) override;
    void Free(LibraryHandle library) override;
    std::filesystem::path FilePath(LibraryHandle library) override;
};

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
