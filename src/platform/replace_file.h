#pragma once

#include <filesystem>
#include <string_view>

namespace qvi {

// Replaces the whole file with this content: written to a new file beside the
// target and renamed over it, so a reader sees the old or the new file and a
// failure leaves the old one as it was. The target keeps its permissions.
bool ReplaceFileContent(const std::filesystem::path &target, std::string_view content);

}  // namespace qvi
