// Replacing a file's content safely: a new file beside it, flushed, then renamed over it.
#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

namespace qvi {

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows before giving up.
constexpr int kMaxLinks = 40;

fs::path TemporaryBeside(const fs::path &target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + target.filename().string() + ".new-" +
                             std::to_string(++counter) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

// Opens a file that did not exist before, so nobody else's file is reused.
int CreateTemporary(const fs::path &target, fs::path &temporary) {
    for (unsigned attempt = 0; attempt < 8; ++attempt) {
        temporary = TemporaryBeside(target, attempt);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The folder's entry for the renamed file reaches the disk too.
void SyncFolder(const fs::path &folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

// Why an existing file must not be replaced; empty when it may be.
std::string Refusal(const fs::path &file, struct stat &existing, bool &exists) {
    exists = lstat(file.c_str(), &existing) == 0;
    if (!exists) return errno == ENOENT ? std::string() : ErrnoText(errno);
    if (!S_ISREG(existing.st_mode)) return "It is not a regular file.";
    // Root may write anywhere; a file without write permission is still
    // one its owner chose to protect.
    if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(file.c_str(), W_OK) != 0)
        return "The file is read-only.";
    return {};
}

// Writes, flushes and closes the new file, giving it the old file's mode and owner.
bool FillTemporary(int fd, std::string_view content, const struct stat *old, std::string &why) {
    bool ok = WriteAll(fd, content) && fsync(fd) == 0;
    if (!ok) why = ErrnoText(errno);
    if (ok && old != nullptr) {
        fchmod(fd, old->st_mode & 07777);
        // Only root can hand a file back to its owner; others keep their own.
        if (fchown(fd, old->st_uid, old->st_gid) != 0) fchmod(fd, old->st_mode & 0777);
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        why = ErrnoText(errno);
    }
    return ok;
}

}  // namespace

fs::path WrittenFile(const fs::path &path) {
    fs::path file = path;
    std::error_code ec;
    for (int links = 0; links < kMaxLinks && fs::is_symlink(fs::symlink_status(file, ec));
         ++links) {
        const fs::path next = fs::read_symlink(file, ec);
        if (ec) break;
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return file;
}

namespace {

// The replacement itself; `reason` says why it did not happen.
bool Replace(const fs::path &path, std::string_view content, std::string &reason) {
    const fs::path target = WrittenFile(path);
    if (target.filename().empty()) {
        reason = "It is not a file name.";
        return false;
    }
    struct stat old {};
    bool exists = false;
    reason = Refusal(target, old, exists);
    if (!reason.empty()) return false;
    fs::path temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        reason = ErrnoText(errno);
        return false;
    }
    bool written = FillTemporary(fd, content, exists ? &old : nullptr, reason);
    if (written && rename(temporary.c_str(), target.c_str()) != 0) {
        reason = ErrnoText(errno);
        written = false;
    }
    if (!written) {
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(target.parent_path());
    return true;
}

}  // namespace

bool ReplaceFileContent(const fs::path &path, std::string_view content, std::string *why) {
    std::string reason;
    const bool replaced = Replace(path, content, reason);
    if (!replaced && why != nullptr) *why = reason;
    return replaced;
}

}  // namespace qvi
