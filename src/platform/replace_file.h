#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qvi {

// Replaces the whole file with this content, as careful editors do:
// - the new content goes to a new file beside the target, is flushed to disk,
//   and is renamed over the target, whose folder is flushed too; a reader sees
//   the old or the new file, and a failure (a full disk) leaves the old one;
// - a symbolic link is written through: its target is replaced in its own
//   folder and the link stays a link;
// - a read-only file, and anything that is not a regular file (a device, a
//   FIFO, a folder), is refused and left as it is;
// - the replaced file keeps its permissions and, where allowed, its owner.
// On failure `why` (when given) receives the reason, for the caller's message.
bool ReplaceFileContent(const std::filesystem::path &target, std::string_view content,
                        std::string *why = nullptr);

// The file a write to `path` changes: `path` with its symbolic links followed
// (a dangling link names the file it would create).
std::filesystem::path WrittenFile(const std::filesystem::path &path);

}  // namespace qvi
