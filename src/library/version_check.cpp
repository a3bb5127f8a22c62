// The library version check and the warning that lists files of another version.
#include "library/version_check.h"

#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/program_files.h"
#include "platform/ui.h"
#include "quar/version_stamp.h"

namespace qvi {

namespace {

// A note segment larger than this is not one a linker wrote for a few notes.
constexpr std::size_t kMaxNoteSegment = 64 * 1024;
constexpr std::size_t kMaxProgramHeaders = 256;
// Notes are read in this machine's byte order; a foreign file has no version.
constexpr unsigned char kNativeData =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// Reads exactly `size` bytes at `offset`; false on a short file.
bool ReadAt(int fd, std::uint64_t offset, void *into, std::size_t size) {
    auto *bytes = static_cast<char *>(into);
    while (size > 0) {
        const ssize_t got = pread(fd, bytes, size, static_cast<off_t>(offset));
        if (got <= 0) return false;
        bytes += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::size_t PadTo(std::size_t size, std::size_t align) {
    return (size + align - 1) / align * align;
}

// The version text of the first QVI version note in one note segment.
std::optional<std::string> FindVersionNote(std::string_view notes, std::size_t align) {
    constexpr std::size_t kHeader = 3 * sizeof(std::uint32_t);
    const std::string_view owner(QUAR_VERSION_NOTE_OWNER, sizeof(QUAR_VERSION_NOTE_OWNER));
    std::size_t at = 0;
    while (notes.size() - at >= kHeader) {
        std::uint32_t header[3];
        std::memcpy(header, notes.data() + at, kHeader);
        const std::size_t nameAt = at + kHeader;
        const std::size_t textAt = nameAt + PadTo(header[0], align);
        const std::size_t next = textAt + PadTo(header[1], align);
        if (header[0] > notes.size() || header[1] > notes.size() || next > notes.size()) break;
        if (header[2] == QUAR_VERSION_NOTE_TYPE && notes.substr(nameAt, header[0]) == owner) {
            const std::string_view text = notes.substr(textAt, header[1]);
            return std::string(text.substr(0, text.find('\0')));
        }
        at = next;
    }
    return std::nullopt;
}

// Walks the program headers of an ELF file of one class for its note segments.
template <typename Ehdr, typename Phdr>
std::string ReadVersionNote(int fd) {
    Ehdr header{};
    if (!ReadAt(fd, 0, &header, sizeof header)) return {};
    if (header.e_phentsize != sizeof(Phdr) || header.e_phnum > kMaxProgramHeaders) return {};
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Phdr segment{};
        if (!ReadAt(fd, header.e_phoff + i * sizeof(Phdr), &segment, sizeof segment)) return {};
        if (segment.p_type != PT_NOTE || segment.p_filesz > kMaxNoteSegment) continue;
        std::string notes(static_cast<std::size_t>(segment.p_filesz), '\0');
        if (!ReadAt(fd, segment.p_offset, notes.data(), notes.size())) continue;
        const std::size_t align = segment.p_align == 8 ? 8 : 4;
        if (auto version = FindVersionNote(notes, align)) return *version;
    }
    return {};
}

// Only printable text is a version; anything else reads as no version.
bool IsVersionText(const std::string &text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

class FileDescriptor {
public:
    explicit FileDescriptor(const std::filesystem::path &path)
        : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

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
    const FileDescriptor fd(file);
    unsigned char ident[EI_NIDENT] = {};
    if (fd.get() < 0 || !ReadAt(fd.get(), 0, ident, sizeof ident)) return {};
    if (std::memcmp(ident, ELFMAG, SELFMAG) != 0 || ident[EI_DATA] != kNativeData) return {};
    std::string version;
    if (ident[EI_CLASS] == ELFCLASS64)
        version = ReadVersionNote<Elf64_Ehdr, Elf64_Phdr>(fd.get());
    else if (ident[EI_CLASS] == ELFCLASS32)
        version = ReadVersionNote<Elf32_Ehdr, Elf32_Phdr>(fd.get());
    return IsVersionText(version) ? version : std::string();
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
