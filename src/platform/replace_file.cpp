#include "platform/replace_file.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <system_error>

namespace qvi {

namespace fs = std::filesystem;

namespace {

fs::path TemporaryBeside(const fs::path &target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + target.filename().string() + ".new-" +
                             std::to_string(++counter) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

// Opens a file that did not exist before, so nobody else's file is reused.
std::FILE *CreateTemporary(const fs::path &target, fs::path &temporary) {
    for (unsigned attempt = 0; attempt < 8; ++attempt) {
        temporary = TemporaryBeside(target, attempt);
        if (std::FILE *file = std::fopen(temporary.c_str(), "wbx")) return file;
    }
    return nullptr;
}

bool WriteAndClose(std::FILE *file, std::string_view content) {
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool flushed = std::fflush(file) == 0;
    return std::fclose(file) == 0 && written && flushed;
}

}  // namespace

bool ReplaceFileContent(const fs::path &target, std::string_view content) {
    if (target.filename().empty()) return false;
    fs::path temporary;
    std::FILE *file = CreateTemporary(target, temporary);
    if (file == nullptr) return false;
    bool ok = WriteAndClose(file, content);
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (ok && fs::is_regular_file(old)) fs::permissions(temporary, old.permissions(), ec);
    if (ok) {
        fs::rename(temporary, target, ec);
        ok = !ec;
    }
    if (!ok) fs::remove(temporary, ec);
    return ok;
}

}  // namespace qvi
