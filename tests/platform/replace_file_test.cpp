// Replacing a file the way careful editors do: never a torn or lost file, links
// written through, read-only files and non-files refused.
#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "support/core_scratch_dir.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;

class ReplaceFileTest : public ::testing::Test {
protected:
    fs::path Write(const std::string &name, const std::string &content) {
        return scratch_.Write(name, content);
    }
    static std::string Read(const fs::path &path) { return testing::ScratchDir::Read(path); }
    // Nothing but the named files is left in the folder (no temporary files).
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    testing::ScratchDir scratch_;
    const fs::path dir_ = scratch_.Path();
};

TEST_F(ReplaceFileTest, ReplacesContentAndKeepsTheModeWithoutLeavingTemporaries) {
    const fs::path file = Write("a.txt", "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string why = "untouched";
    EXPECT_TRUE(ReplaceFileContent(file, "new", &why));
    EXPECT_EQ(why, "untouched");
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(ReplaceFileContent(dir_ / "created.txt", "fresh"));
    EXPECT_EQ(Read(dir_ / "created.txt"), "fresh");
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(ReplaceFileTest, WritesThroughSymbolicLinksToTheirTarget) {
    fs::create_directories(dir_ / "real");
    const fs::path target = Write("real/target.txt", "old");
    fs::create_symlink("real/target.txt", dir_ / "relative-link");
    fs::create_symlink(dir_ / "relative-link", dir_ / "link-to-link");
    EXPECT_TRUE(ReplaceFileContent(dir_ / "link-to-link", "new"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link-to-link"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "relative-link"));
    EXPECT_EQ(Read(target), "new");
    // A dangling link creates the file it names.
    fs::create_symlink("real/later.txt", dir_ / "dangling");
    EXPECT_TRUE(ReplaceFileContent(dir_ / "dangling", "created"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling"));
    EXPECT_EQ(Read(dir_ / "real" / "later.txt"), "created");
    EXPECT_EQ(WrittenFile(dir_ / "link-to-link"), dir_ / "real/target.txt");
}

TEST_F(ReplaceFileTest, RefusesReadOnlyFilesAndWhatIsNotARegularFile) {
    const fs::path readOnly = Write("read-only.txt", "old");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    fs::create_directories(dir_ / "folder");
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0644), 0);
    const struct {
        fs::path path;
        std::string why;
    } cases[] = {
        {readOnly, "The file is read-only."},
        {dir_ / "folder", "It is not a regular file."},
        {dir_ / "fifo", "It is not a regular file."},
        {"/dev/null", "It is not a regular file."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        std::string why;
        EXPECT_FALSE(ReplaceFileContent(c.path, "new", &why));
        EXPECT_EQ(why, c.why);
    }
    EXPECT_EQ(Read(readOnly), "old");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(dir_ / "fifo"));
    EXPECT_EQ(Entries(), 3u);
}

// A disk that fills up while writing: the old file stays whole, and the
// half-written new one is gone. (A file size limit fails the write as a full
// disk would.)
TEST_F(ReplaceFileTest, AWriteThatFailsLeavesTheOldFileWhole) {
    const fs::path file = Write("a.txt", "old content");
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto *previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string why;
    const bool replaced = ReplaceFileContent(file, std::string(4096, 'x'), &why);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(why, "File too large");
    EXPECT_EQ(Read(file), "old content");
    EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace qvi
