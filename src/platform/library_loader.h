#pragma once

#include <filesystem>
#include <string>

namespace qvi {

// A loaded shared library as the loader hands it out; null means none.
using LibraryHandle = void *;

// How the program reaches shared libraries it does not link: load one by file
// name, look its symbols up by name, free it. The imaging library is bound this
// way; tests load small fake libraries through the same port.
class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;

    // Null when the library cannot be loaded; `error` then holds the system's
    // reason.
    virtual LibraryHandle Load(const std::string &fileName, std::string &error) = 0;
    // The address of an exported symbol; null when the library has none.
    virtual void *Symbol(LibraryHandle library, const char *name) = 0;
    virtual void Free(LibraryHandle library) = 0;
    // The file a loaded library was read from; empty when unknown.
    virtual std::filesystem::path FilePath(LibraryHandle library) = 0;
};

}  // namespace qvi
