#include "app/version_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/posix/dl_library_loader.h"
#include "quar/version_stamp.h"
#include "support/test_env.h"

namespace qvi {
namespace {

const std::string kMarker = QUAR_VERSION_MARKER;
const std::string kWarning = "Warning: Your QUAR files have conflicting versions.";

class VersionCheckTest : public testing::UiTest {
protected:
    VersionCheckTest() { std::filesystem::create_directories(directory_); }
    ~VersionCheckTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

    std::filesystem::path File(const std::string &name, const std::string &bytes) {
        const std::filesystem::path path = directory_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path Stamped(const std::string &name, const std::string &version) {
        return File(name,
                    "\x7f"
                    "ELF padding" +
                        kMarker + version + "\nmore bytes");
    }

private:
    std::filesystem::path directory_ =
        std::filesystem::temp_directory_path() /
        ("qvi_version_check_" + std::to_string(getpid()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(VersionCheckTest, ReadsTheStampTheMacroEmbeds) {
    EXPECT_EQ(ReadProductVersion(QVI_FAKE_CORE_PATH), "1.0.0");
    EXPECT_EQ(ReadProductVersion(QVI_FAKE_PX_V2_PATH), "2.0.0");
    // This program holds the marker text it searches for, but no stamp.
    EXPECT_EQ(ReadProductVersion(RunningProgramPath()), "");
}

TEST_F(VersionCheckTest, FilesWithoutAStampHaveNoVersion) {
    EXPECT_EQ(ReadProductVersion("/nonexistent/libquar-core.so"), "");
    EXPECT_EQ(ReadProductVersion(File("empty", "")), "");
    EXPECT_EQ(ReadProductVersion(File("plain", "no marker here\n")), "");
    EXPECT_EQ(ReadProductVersion(File("empty-version", kMarker + "\n")), "");
    EXPECT_EQ(ReadProductVersion(File("unterminated", kMarker + "1.0.0")), "");
    EXPECT_EQ(ReadProductVersion(File("too-long", kMarker + std::string(80, '9') + "\n")), "");
}

TEST_F(VersionCheckTest, SkipsFalseMarkersBeforeTheStamp) {
    const std::string bytes = kMarker + std::string(1, '\0') + kMarker + "1.\x01\n" +
                              kMarker.substr(0, 10) + kMarker + "4.5.6\n" + kMarker + "7\n";
    EXPECT_EQ(ReadProductVersion(File("false-markers", bytes)), "4.5.6");
}

TEST_F(VersionCheckTest, FindsAStampAcrossBlockBoundaries) {
    const std::string stamp = kMarker + "3.1.4\n";
    for (std::size_t before = 65536 - stamp.size() - 2; before <= 65536 + 1; ++before) {
        SCOPED_TRACE(before);
        const std::string bytes = std::string(before, 'x') + stamp + std::string(100, 'y');
        EXPECT_EQ(ReadProductVersion(File("boundary", bytes)), "3.1.4");
    }
}

TEST_F(VersionCheckTest, FewerThanTwoFilesOrEqualVersionsAreSilent) {
    EXPECT_TRUE(CheckProductVersions({}));
    EXPECT_TRUE(CheckProductVersions({{"mkbcf", "/nonexistent/mkbcf"}}));
    EXPECT_TRUE(CheckProductVersions(
        {{"a", Stamped("a", "1.0.0")}, {"b", Stamped("b", "1.0.0")}, {"c", QVI_FAKE_CORE_PATH}}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(VersionCheckTest, AnUnreadableVersionListsEveryFile) {
    EXPECT_FALSE(CheckProductVersions({{"libquar-core.so", Stamped("core", "0.1.0")},
                                       {"zpdrv", "/nonexistent/zpdrv"},
                                       {"qvconfig", Stamped("program", "0.1.0")}}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.messages[0].text, kWarning +
                                       "\n\tFile: libquar-core.so \tVersion: 0.1.0"
                                       "\n\tFile: zpdrv \tVersion: "
                                       "\n\tFile: qvconfig \tVersion: 0.1.0");
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
