// Reading the library's input files whole; no device, folder or oversized file.
#include "config/input_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace quar {

std::optional<std::string> ReadInputFile(const std::filesystem::path &path, std::string &why) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        why = "not a regular file";
        return std::nullopt;
    }
    if (static_cast<std::size_t>(info.st_size) > kMaxInputFileSize) {
        why = "larger than the limit of 64 MiB";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    std::string content{std::istreambuf_iterator<char>(in), {}};
    // A file that grew while it was read is held to the same limit.
    if (in.bad() || content.size() > kMaxInputFileSize) {
        why = in.bad() ? "read error" : "larger than the limit of 64 MiB";
        return std::nullopt;
    }
    return content;
}

}  // namespace quar
