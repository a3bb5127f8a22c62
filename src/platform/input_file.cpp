// Reading small input files whole, refusing anything that is not a regular file of sensible size.
#include "platform/input_file.h"

#include <system_error>

namespace qvi {

namespace fs = std::filesystem;

std::string InputFileRefusal(const fs::path &path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return {};
    if (ec) return ec.message();
    if (status.type() != fs::file_type::regular) return "It is not a regular file.";
    if (fs::file_size(path, ec) > kMaxInputFileSize && !ec)
        return "It is larger than the limit of 64 MiB.";
    return {};
}

}  // namespace qvi
