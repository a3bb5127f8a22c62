#include "config/binary_format.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include "config/text_parser.h"
#include "fake_tables.h"

namespace quar {
namespace {

using testing::FakeTables;
namespace fake = testing::fake;

constexpr std::string_view kText = R"([SYSTEM:0]
[SX-400:0]
      Mailbox1 = 0x80000000
      PIXSZ_Override=16
[TX-30:3]
      Slot_Number = 0
      Load_Name = "a "quoted" name"
[CameraPort:1]
      CSC_Coefficient_Matrix = 0.125,-2.000,3.500
[SYSTEM:5]
[SXA:1]
[CameraPort:1]
      Name = ""
[DQ-500:0]
[RX-10:0]
      Slot_Number = 1
[BZ-700]
      No_Hardware
)";

std::vector<std::uint8_t> Payload(const std::vector<std::uint8_t> &bytes) {
    return {bytes.begin() + kBinaryHeaderSize, bytes.end()};
}

void PutU32(std::vector<std::uint8_t> &bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A file around any payload, with a length and checksum that hold.
std::vector<std::uint8_t> Seal(const std::vector<std::uint8_t> &payload) {
    std::vector<std::uint8_t> bytes{'Q', 'B', 'C', 'F', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PutU32(bytes, 8, static_cast<std::uint32_t>(payload.size()));
    PutU32(bytes, 12, Crc32(payload));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

class BinaryFormatTest : public ::testing::Test {
protected:
    BinaryFormatTest() {
        ConfigError parseError;
        config = *ParseConfigText(kText, "sample.txt", parseError, tables);
        bytes = EncodeConfiguration(config);
    }

    std::optional<Configuration> Decode(std::span<const std::uint8_t> input) {
        return DecodeConfiguration(input, error, tables);
    }

    // A configuration with one board made of the given module, encoded.
    std::vector<std::uint8_t> EncodeBoard(const ModuleConfig &board) {
        Configuration one;
        one.systems.push_back({0, 1, {{board, {}}}});
        return EncodeConfiguration(one);
    }

    ModuleConfig Module(const qvi::keys::ModelTable &table) {
        ModuleConfig module;
        module.table = &table;
        FillDefaults(module);
        return module;
    }

    FakeTables tables;
    Configuration config;
    std::vector<std::uint8_t> bytes;
    std::string error;
    ConfigError loadError;
};

TEST_F(BinaryFormatTest, DecodingGivesBackWhatWasEncoded) {
    const auto decoded = Decode(bytes);
    ASSERT_TRUE(decoded) << error;
    EXPECT_EQ(*decoded, config);
    EXPECT_EQ(decoded->systems[0].boards[0].modules[0].ports[1].at(38).number, -2.0);
    EXPECT_EQ(decoded->systems[0].boards[0].modules[0].ports[0].at(5).text, "a \"quoted\" name");
    EXPECT_EQ(EncodeConfiguration(*decoded), bytes);
}

TEST_F(BinaryFormatTest, HeaderCarriesMagicVersionLengthAndChecksum) {
    ASSERT_GT(bytes.size(), kBinaryHeaderSize);
    EXPECT_TRUE(HasBinaryMagic(bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "QBCF");
    EXPECT_EQ(bytes[4] | bytes[5] << 8, kBinaryVersion);
    const std::vector<std::uint8_t> payload = Payload(bytes);
    EXPECT_EQ(Seal(payload), bytes);
    const std::uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc32(check), 0xCBF43926u);  // the standard check value
}

TEST_F(BinaryFormatTest, TruncatedOrCorruptedFilesAreRefused) {
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        error.clear();
        EXPECT_FALSE(Decode(std::span(bytes).first(size))) << "size " << size;
        EXPECT_FALSE(error.empty());
    }
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::vector<std::uint8_t> corrupt = bytes;
        corrupt[at] ^= 0x10;
        EXPECT_FALSE(Decode(corrupt)) << "byte " << at;
    }
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(Decode(longer));
    EXPECT_EQ(error, "bytes after the payload");
}

TEST_F(BinaryFormatTest, ForeignInputIsRefused) {
    const std::string text(kText);
    EXPECT_FALSE(Decode(std::vector<std::uint8_t>(text.begin(), text.end())));
    EXPECT_EQ(error, "not a binary configuration");

    std::vector<std::uint8_t> future = bytes;
    future[4] = 2;
    EXPECT_FALSE(Decode(future));
    EXPECT_EQ(error, "unsupported version 2");

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> noise(static_cast<std::size_t>(random() % 300));
        for (auto &byte : noise) byte = static_cast<std::uint8_t>(random());
        EXPECT_FALSE(Decode(Seal(noise)));
    }
}

// Payloads whose checksum holds but whose content lies.
TEST_F(BinaryFormatTest, SealedLiesAreRefused) {
    Configuration noBus = config;
    noBus.busTranslator.reset();
    std::vector<std::uint8_t> payload = Payload(EncodeConfiguration(noBus));
    ASSERT_TRUE(Decode(Seal(payload))) << error;
    const std::size_t systemsAt = 1;  // after the bus translator's flag
    std::vector<std::uint8_t> manySystems = payload;
    PutU32(manySystems, systemsAt, 0xFFFFFFFF);
    EXPECT_FALSE(Decode(Seal(manySystems)));

    std::vector<std::uint8_t> longName = payload;
    PutU32(longName, systemsAt + 12, 0xFFFFFFF0);  // the first board's model name
    EXPECT_FALSE(Decode(Seal(longName)));

    payload.push_back(0);
    EXPECT_FALSE(Decode(Seal(payload)));
    EXPECT_EQ(error, "bytes after the configuration");
}

TEST_F(BinaryFormatTest, RecordsAreCheckedAgainstTheTables) {
    constexpr qvi::keys::ModelTable kGhost =
        fake::Table("GHOST", "GHOST", qvi::keys::ModelCategory::Board,
                    qvi::keys::SlotKind::Acquisition, {}, 0, {});
    EXPECT_FALSE(Decode(EncodeBoard(Module(kGhost))));
    EXPECT_EQ(error, "unknown model \"GHOST\"");

    EXPECT_FALSE(Decode(EncodeBoard(Module(fake::kFourPort))));
    EXPECT_EQ(error, "model \"TX-31\" out of place");

    ModuleConfig board = Module(fake::kBoard);
    board.ports.resize(2);
    EXPECT_FALSE(Decode(EncodeBoard(board)));
    EXPECT_EQ(error, "wrong number of ports for model \"SXP\"");

    board = Module(fake::kBoard);
    board.ports[0][999] = {};
    EXPECT_FALSE(Decode(EncodeBoard(board)));
    EXPECT_EQ(error, "unknown key handle 999");

    board = Module(fake::kBoard);
    board.ports[0][0] = KeyValue{true, 0.0, "248"};
    EXPECT_FALSE(Decode(EncodeBoard(board)));
    EXPECT_EQ(error, "wrong value kind for key handle 0");

    board = Module(fake::kBoard);
    board.ports[0][0].number = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(Decode(EncodeBoard(board)));

    Configuration twice;
    twice.systems = {{1, 1, {}}, {1, 2, {}}};
    EXPECT_FALSE(Decode(EncodeConfiguration(twice)));
    EXPECT_EQ(error, "duplicate system");
}

TEST_F(BinaryFormatTest, KeysMissingFromTheFileGetTheirDefaults) {
    ModuleConfig board;
    board.table = &fake::kBoard;
    board.ports.resize(1);
    board.ports[0][0] = KeyValue{false, 12, {}};
    const auto decoded = Decode(EncodeBoard(board));
    ASSERT_TRUE(decoded) << error;
    const PortValues &values = decoded->systems[0].boards[0].board.ports[0];
    EXPECT_EQ(values.size(), std::size(fake::kBoardKeys));
    EXPECT_EQ(values.at(0).number, 12);
    EXPECT_EQ(values.at(4).number, 2);
}

TEST_F(BinaryFormatTest, LoadsEitherFormFromAFile) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quar_load_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;
    auto load = [&](const char *name, std::string_view content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return LoadConfigurationFile(dir / name, loadError, tables);
    };
    std::vector<std::uint8_t> corrupt = bytes;
    corrupt.back() ^= 1;

    EXPECT_EQ(load("c.txt", kText), config);
    EXPECT_EQ(load("c.cnf", std::string(bytes.begin(), bytes.end())), config);
    EXPECT_FALSE(load("bad.cnf", std::string(corrupt.begin(), corrupt.end())));
    EXPECT_EQ(loadError.Message(), (dir / "bad.cnf").string() + ": checksum mismatch");
    EXPECT_FALSE(load("bad.txt", "[SYSTEM:0]\n[NOPE:0]\n"));
    EXPECT_EQ(loadError.Message(), (dir / "bad.txt").string() + ":2: unknown section: [NOPE:0]");
    EXPECT_FALSE(LoadConfigurationFile(dir / "missing.cnf", loadError, tables));
    EXPECT_EQ(loadError.reason, "cannot read the file: No such file or directory");
    // An endless device or a folder is refused before it is read.
    EXPECT_FALSE(LoadConfigurationFile("/dev/zero", loadError, tables));
    EXPECT_EQ(loadError.reason, "cannot read the file: not a regular file");
    EXPECT_FALSE(LoadConfigurationFile(dir, loadError, tables));
    EXPECT_EQ(loadError.reason, "cannot read the file: not a regular file");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quar
