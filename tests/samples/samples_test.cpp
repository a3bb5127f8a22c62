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

TEST(SamplesTest, CameraFilesAreTheConvertedTextSources) {
    int files = 0;
    for (const auto &entry : fs::directory_iterator(fs::path(SAMPLES_DIR) / "dbase" / "cameras")) {
        if (entry.path().extension() != ".txt") continue;
        ConfigError error;
        const auto config = ParseConfigText(Read(entry.path()), entry.path().string(), error);
        ASSERT_TRUE(config) << error.Message();
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
