// Loading libraries with dlopen, beside the running program first.
#include "platform/posix/dl_library_loader.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/program_files.h"

namespace qvi {

namespace {

bool HasDirectory(const std::string &fileName) {
    return fileName.find('/') != std::string::npos;
}

bool OpenableFile(const std::filesystem::path &path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    return std::ifstream(path, std::ios::binary).is_open();
}

std::string LastDlError() {
    const char *text = dlerror();
    return text ? text : "unknown dynamic loader error";
}

}  // namespace

LibraryHandle DlLibraryLoader::Load(const std::string &fileName, std::string &error) {
    std::string target = fileName;
    if (!HasDirectory(fileName)) {
        const std::filesystem::path beside = FindBesideProgram(fileName, nullptr, OpenableFile);
        if (!beside.empty()) target = beside.string();
    }
    void *library = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
    error = library ? std::string() : LastDlError();
    return library;
}

void *DlLibraryLoader::Symbol(LibraryHandle library, const char *name) {
    return library ? dlsym(library, name) : nullptr;
}

void DlLibraryLoader::Free(LibraryHandle library) {
    if (library) dlclose(library);
}

std::filesystem::path DlLibraryLoader::FilePath(LibraryHandle library) {
    link_map *map = nullptr;
    if (!library || dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
    return map->l_name;
}

std::filesystem::path RunningProgramPath() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

std::filesystem::path FindBesideProgram(
    const std::string &name, const char *listVariable,
    const std::function<bool(const std::filesystem::path &)> &accept) {
    const std::filesystem::path program = RunningProgramPath();
    if (!program.empty() && accept(program.parent_path() / name))
        return program.parent_path() / name;
    const char *list = listVariable ? std::getenv(listVariable) : nullptr;
    std::string_view rest = list ? list : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::filesystem::path candidate = std::filesystem::path(rest.substr(0, colon)) / name;
        if (colon != 0 && accept(candidate)) return candidate;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return {};
}

bool LibraryFileExists(const std::string &fileName) {
    if (fileName.empty()) return false;
    if (HasDirectory(fileName)) return OpenableFile(fileName);
    return !FindBesideProgram(fileName, "LD_LIBRARY_PATH", OpenableFile).empty();
}

}  // namespace qvi
