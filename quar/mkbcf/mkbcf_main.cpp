// mkbcf: turns a text configuration into the binary form the library loads.
//
//   mkbcf SRC DST REPLY   REPLY is the number of an inherited file descriptor that
//                         gets the result code as decimal text and a line feed;
//                         a negative number means no reply channel
//   mkbcf --version
//
// The result code (MKBCF_*) is also the exit status. DST is written to a
// temporary file in its own directory and renamed over it, so a failed run
// leaves no half-written file and an existing DST as it was.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/binary_format.h"
#include "config/input_file.h"
#include "config/text_parser.h"
#include "quar/quar_api.h"
#include "quar/version_stamp.h"

QUAR_VERSION_STAMP(MKBCF_VERSION);

namespace {

constexpr const char *kUsage =
    "usage: mkbcf SRC DST REPLY\n"
    "       mkbcf --version\n"
    "REPLY: the inherited file descriptor that receives the result code, or -1\n";

std::optional<int> ParseReply(std::string_view text) {
    int fd = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), fd);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size())
        return std::nullopt;
    return fd;
}

bool ReplyChannelOpen(int fd) {
    return fd < 0 || fcntl(fd, F_GETFD) != -1;
}

bool WriteAll(int fd, std::span<const char> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool Reply(int fd, int code) {
    const std::string text = std::to_string(code) + "\n";
    return WriteAll(fd, text);
}

// Whether both names reach one file (by identity, through links and other
// spellings of the path).
bool SameFile(const char *first, const char *second) {
    struct stat a {};
    struct stat b {};
    return stat(first, &a) == 0 && stat(second, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

// Writes a new file beside dst and renames it over dst; on failure removes it
// and tells why. A link is written through to its target; a read-only file or
// anything but a regular file is refused.
bool WriteReplacing(std::filesystem::path dst, std::span<const std::uint8_t> bytes,
                    std::string &why) {
    std::error_code ignored;
    for (int links = 0;
         links < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(dst, ignored));
         ++links) {
        const std::filesystem::path next = std::filesystem::read_symlink(dst, ignored);
        dst = next.is_absolute() ? next : dst.parent_path() / next;
    }
    struct stat old {};
    const bool exists = lstat(dst.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        why = "not a regular file";
        return false;
    }
    if (exists && ((old.st_mode & 0222) == 0 || access(dst.c_str(), W_OK) != 0)) {
        why = "the file is read-only";
        return false;
    }
    const std::filesystem::path dir = dst.has_parent_path() ? dst.parent_path() : ".";
    std::string temp = (dir / ("." + dst.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        why = std::strerror(errno);
        return false;
    }
    const mode_t mask = umask(0);
    umask(mask);
    bool ok = fchmod(fd, exists ? old.st_mode & 0777 : 0666 & ~mask) == 0 &&
              WriteAll(fd, {reinterpret_cast<const char *>(bytes.data()), bytes.size()}) &&
              fsync(fd) == 0;
    if (!ok) why = std::strerror(errno);
    if (close(fd) != 0 && ok) {
        ok = false;
        why = std::strerror(errno);
    }
    if (ok && std::rename(temp.c_str(), dst.c_str()) != 0) {
        ok = false;
        why = std::strerror(errno);
    }
    if (!ok) unlink(temp.c_str());
    return ok;
}

int Convert(const char *source, const char *destination) {
    if (SameFile(source, destination)) {
        std::fprintf(stderr, "mkbcf: cannot write %s: it is the source file\n", destination);
        return MKBCF_CANNOT_WRITE;
    }
    std::string why;
    const std::optional<std::string> text = quar::ReadInputFile(source, why);
    if (!text) {
        std::fprintf(stderr, "mkbcf: cannot read %s: %s\n", source, why.c_str());
        return MKBCF_CANNOT_READ;
    }
    quar::ConfigError error;
    const std::optional<quar::Configuration> config = quar::ParseConfigText(*text, source, error);
    if (!config) {
        std::fprintf(stderr, "%s\n", error.Message().c_str());
        return MKBCF_BAD_TEXT;
    }
    if (!WriteReplacing(destination, quar::EncodeConfiguration(*config), why)) {
        std::fprintf(stderr, "mkbcf: cannot write %s: %s\n", destination, why.c_str());
        return MKBCF_CANNOT_WRITE;
    }
    return MKBCF_OK;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("mkbcf %s\n", MKBCF_VERSION);
        return MKBCF_OK;
    }
    const std::optional<int> reply = argc == 4 ? ParseReply(argv[3]) : std::nullopt;
    if (!reply) {
        std::fputs(kUsage, stderr);
        return MKBCF_USAGE;
    }
    if (!ReplyChannelOpen(*reply)) {
        std::fprintf(stderr, "mkbcf: reply channel %d is not open\n", *reply);
        return MKBCF_BAD_REPLY_CHANNEL;
    }
    // A reader that went away must not kill the converter before it reports.
    std::signal(SIGPIPE, SIG_IGN);
    const int code = Convert(argv[1], argv[2]);
    if (*reply >= 0 && !Reply(*reply, code)) {
        std::fprintf(stderr, "mkbcf: cannot write the result to descriptor %d\n", *reply);
        return MKBCF_BAD_REPLY_CHANNEL;
    }
    return code;
}
