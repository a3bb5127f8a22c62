// Product versions read from ELF notes and the conflicting-versions warning.
#include "library/version_check.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "quar/version_stamp.h"
#include "support/core_scratch_dir.h"
#include "support/test_env.h"

namespace qvi {
namespace {

const std::string kWarning = "Warning: Your QUAR files have conflicting versions.";

// One note as a linker lays it out: sizes, type, name and text padded to four.
std::string Note(const std::string &owner, std::uint32_t type, const std::string &text) {
    auto padded = [](std::string bytes) { return bytes.append((4 - bytes.size() % 4) % 4, '\0'); };
    const std::uint32_t header[3] = {static_cast<std::uint32_t>(owner.size() + 1),
                                     static_cast<std::uint32_t>(text.size() + 1), type};
    return std::string(reinterpret_cast<const char *>(header), sizeof header) +
           padded(owner + '\0') + padded(text + '\0');
}

// A minimal 64-bit ELF file: its header, one PT_NOTE program header, the notes.
std::string ElfWithNotes(const std::string &notes, unsigned char data = ELFDATA2LSB) {
    Elf64_Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS64;
    header.e_ident[EI_DATA] = data;
    header.e_phoff = sizeof(Elf64_Ehdr);
    header.e_phentsize = sizeof(Elf64_Phdr);
    header.e_phnum = 1;
    Elf64_Phdr segment{};
    segment.p_type = PT_NOTE;
    segment.p_offset = sizeof(Elf64_Ehdr) + sizeof(Elf64_Phdr);
    segment.p_filesz = notes.size();
    segment.p_align = 4;
    return std::string(reinterpret_cast<const char *>(&header), sizeof header) +
           std::string(reinterpret_cast<const char *>(&segment), sizeof segment) + notes;
}

class VersionCheckTest : public testing::UiTest {
protected:
    std::filesystem::path File(const std::string &name, const std::string &bytes) {
        return scratch_.Write(name, bytes);
    }
    std::filesystem::path Stamped(const std::string &name, const std::string &version) {
        return File(name, ElfWithNotes(Note("QVI", QUAR_VERSION_NOTE_TYPE, version)));
    }

    testing::ScratchDir scratch_;
};

TEST_F(VersionCheckTest, FindsTheQviNoteAmongOthers) {
    const std::string others = Note("GNU", 3, "build-id") + Note("QVI", 2, "not the version") +
                               Note("QV", QUAR_VERSION_NOTE_TYPE, "another owner");
    EXPECT_EQ(ReadProductVersion(File("others", ElfWithNotes(others + Note("QVI", 1, "4.5.6")))),
              "4.5.6");
}

TEST_F(VersionCheckTest, FilesWithoutAReadableStampHaveNoVersion) {
    const std::string good = ElfWithNotes(Note("QVI", 1, "1.0.0"));
    EXPECT_EQ(ReadProductVersion("/nonexistent/libquar-core.so"), "");
    EXPECT_EQ(ReadProductVersion(File("empty", "")), "");
    EXPECT_EQ(ReadProductVersion(File("plain", "no ELF here, 1.0.0\n")), "");
    EXPECT_EQ(ReadProductVersion(File("no-note", ElfWithNotes(Note("GNU", 1, "1.0.0")))), "");
    EXPECT_EQ(ReadProductVersion(File("empty-version", ElfWithNotes(Note("QVI", 1, "")))), "");
    EXPECT_EQ(ReadProductVersion(File("control", ElfWithNotes(Note("QVI", 1, "1.\x01")))), "");
    EXPECT_EQ(ReadProductVersion(
                  File("foreign-order", ElfWithNotes(Note("QVI", 1, "1.0.0"), ELFDATA2MSB))),
              "");
    // Cut anywhere inside the note, the file has no version and is not read past its end.
    for (std::size_t cut = sizeof(Elf64_Ehdr); cut < good.size(); cut += 5) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(ReadProductVersion(File("truncated", good.substr(0, cut))), "");
    }
    // A note whose sizes claim more than the segment holds ends the walk.
    std::string oversized = Note("QVI", 1, "1.0.0");
    oversized[4] = '\x7f';
    EXPECT_EQ(ReadProductVersion(File("oversized", ElfWithNotes(oversized))), "");
    EXPECT_EQ(ReadProductVersion(File("good", good)), "1.0.0");
}

TEST_F(VersionCheckTest, AnUnreadableVersionListsEveryFile) {
    EXPECT_FALSE(CheckProductVersions({{"libquar-core.so", Stamped("core", "0.1.0")},
                                       {"zpdrv", "/nonexistent/zpdrv"},
                                       {"qvconfig", Stamped("program", "0.1.0")}}));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{kWarning + "\n\tFile: libquar-core.so \tVersion: 0.1.0"
                                                   "\n\tFile: zpdrv \tVersion: "
                                                   "\n\tFile: qvconfig \tVersion: 0.1.0"}));
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
}

TEST_F(VersionCheckTest, VersionsCompareAsTheirFirstNineteenCharacters) {
    EXPECT_TRUE(CheckProductVersions({{"a", Stamped("a", "1234567890123456789-a")},
                                      {"b", Stamped("b", "1234567890123456789-b")}}));
    EXPECT_FALSE(CheckProductVersions({{"a", Stamped("a", "1234567890123456789-a")},
                                       {"b", Stamped("b", "123456789012345678-b")}}));
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{kWarning + "\n\tFile: a \tVersion: 1234567890123456789" +
                                        "\n\tFile: b \tVersion: 123456789012345678-"}));
}

}  // namespace
}  // namespace qvi
