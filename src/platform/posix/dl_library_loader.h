#pragma once

#include <filesystem>
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

}  // namespace qvi
