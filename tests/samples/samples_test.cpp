// The bundled camera files are what the converter makes of their text
// sources (that every sample configuration converts is checked with validate).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/binary_format.h"
#include "config/text_parser.h"

namespace quar {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<Configuration> Parse(const fs::path &path) {
    ConfigError error;
    auto config = ParseConfigText(Read(path), path.string(), error);
    EXPECT_TRUE(config.has_value()) << error.Message();
    return config;
}

TEST(SamplesTest, CameraFilesAreTheConvertedTextSources) {
    int files = 0;
    for (const auto &entry : fs::directory_iterator(fs::path(SAMPLES_DIR) / "dbase" / "cameras")) {
        if (entry.path().extension() != ".txt") continue;
        auto config = Parse(entry.path());
        ASSERT_TRUE(config);
        std::vector<std::uint8_t> expected = EncodeConfiguration(*config);
        fs::path binary = entry.path();
        binary.replace_extension(".cnf");
        std::string committed = Read(binary);
        EXPECT_EQ(committed, std::string(expected.begin(), expected.end()))
            << binary << " is stale: run mkbcf on its text source";
        ++files;
    }
    EXPECT_GE(files, 6);
}

}  // namespace
}  // namespace quar
