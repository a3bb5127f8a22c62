#pragma once

#include <dlfcn.h>

#include <string>

#include "quar/quar_api.h"

namespace qvi::testing {

// The built core library of the imaging stand-in, opened the way the program
// opens it (by file, entry points by name), so the tests exercise the real
// shared object.
class QuarLibrary {
public:
    explicit QuarLibrary(const char *path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~QuarLibrary() {
        if (handle_) dlclose(handle_);
    }
    QuarLibrary(const QuarLibrary &) = delete;
    QuarLibrary &operator=(const QuarLibrary &) = delete;

    bool IsOpen() const { return handle_ != nullptr; }

    template <typename Function>
    Function *Entry(const char *name) const {
        return reinterpret_cast<Function *>(dlsym(handle_, name));
    }

private:
    void *handle_;
};

// Calls an entry by name with the type the header declares for it.
#define QUAR_CALL(library, name, ...) ((library).Entry<decltype(::name)>(#name)(__VA_ARGS__))

}  // namespace qvi::testing
