#include "app/version_check.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/posix/dl_library_loader.h"
#include "platform/ui.h"
#include "quar/version_stamp.h"

namespace qvi {

namespace {

constexpr std::string_view kMarker = QUAR_VERSION_MARKER;
// Longer text after a marker is not a stamp.
constexpr std::size_t kMaxStampLength = 64;
constexpr std::size_t kBlockSize = 64 * 1024;

enum class StampScan { Found, NotAStamp, NeedMore };

// Reads the version text that starts at `start`, right after a marker. The
// program's own copy of the marker is followed by a NUL, not by a version, so
// it is skipped like any other false match.
StampScan ScanStamp(std::string_view window, std::size_t start, std::string &version) {
    for (std::size_t i = start; i < window.size() && i - start <= kMaxStampLength; ++i) {
        const char c = window[i];
        if (c == '\n' && i > start) {
            version = window.substr(start, i - start);
            return StampScan::Found;
        }
        if (c < 0x20 || c > 0x7E) return StampScan::NotAStamp;
    }
    return window.size() - start <= kMaxStampLength ? StampScan::NeedMore : StampScan::NotAStamp;
}

// The first stamp in the window; sets `keepFrom` to where the unscanned rest
// begins (a marker or a partial one at the end waits for the next block).
std::optional<std::string> FindStamp(std::string_view window, std::size_t &keepFrom) {
    keepFrom = window.size() >= kMarker.size() ? window.size() - (kMarker.size() - 1) : 0;
    for (std::size_t at = window.find(kMarker); at != std::string_view::npos;
         at = window.find(kMarker, at + 1)) {
        std::string version;
        const StampScan scan = ScanStamp(window, at + kMarker.size(), version);
        if (scan == StampScan::Found) return version;
        if (scan == StampScan::NeedMore) {
            keepFrom = std::min(keepFrom, at);
            break;
        }
    }
    return std::nullopt;
}

bool IsExecutableFile(const std::filesystem::path &path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

// Beside the running program first, then along PATH; the bare name when
// neither has it (its version then reads as empty).
std::filesystem::path FindProgram(const std::string &name) {
    std::filesystem::path found = FindBesideProgram(name, "PATH", IsExecutableFile);
    return found.empty() ? std::filesystem::path(name) : found;
}

std::string SlotText(const std::string &version) {
    return version.substr(0, kVersionSlotLength);
}

}  // namespace

std::string ReadProductVersion(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::array<char, kBlockSize> block{};
    std::string window;
    while (in) {
        in.read(block.data(), block.size());
        const std::streamsize count = in.gcount();
        if (count <= 0) break;
        window.append(block.data(), static_cast<std::size_t>(count));
        std::size_t keepFrom = 0;
        if (auto version = FindStamp(window, keepFrom)) return *version;
        window.erase(0, keepFrom);
    }
    return {};
}

std::vector<VersionedFile> ProgramFiles() {
    std::vector<VersionedFile> files{{"mkbcf", FindProgram("mkbcf")}};
    const std::filesystem::path program = RunningProgramPath();
    files.push_back({program.filename().string(), program});
    return files;
}

bool CheckProductVersions(const std::vector<VersionedFile> &files) {
    if (files.size() < 2) return true;
    std::vector<std::string> versions;
    for (const VersionedFile &file : files)
        versions.push_back(SlotText(ReadProductVersion(file.path)));
    bool allEqual = true;
    for (const std::string &version : versions) allEqual = allEqual && version == versions.front();
    if (allEqual) return true;

    std::string text = "Warning: Your QUAR files have conflicting versions.";
    for (std::size_t i = 0; i < files.size(); ++i)
        text += MessageText("\n\tFile: ", files[i].name, " \tVersion: ", versions[i]);
    ReportError(text);
    return false;
}

}  // namespace qvi
