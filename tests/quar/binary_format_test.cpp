// The binary form: round trips and the records the decoder refuses.
#include "config/binary_format.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <random>

#include "config/text_parser.h"
#include "fake_tables.h"
#include "support/core_scratch_dir.h"

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
      Load_Name = "say "hi", twice "
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

// A board whose two keys share a 16-bit field: three low bits, and four
// signed bits at the top.
// clang-format off
constexpr qvi::keys::KeyRow kBitRows[] = {
    {1, "Low", qvi::keys::KeyKind::Range, qvi::keys::ValueType::U16, {}, 0, {}, false, -1, 10,
     false, {qvi::keys::Record::Spec, 8, qvi::keys::Field::U16, 0, 3}},
    {2, "High", qvi::keys::KeyKind::Range, qvi::keys::ValueType::S16, {}, 0, {}, false, -1, 10,
     false, {qvi::keys::Record::Spec, 8, qvi::keys::Field::S16, 12, 4}},
};
// clang-format on
constexpr qvi::keys::ModelTable kBits =
    fake::Table("SXP", "SX-400", qvi::keys::ModelCategory::Board, qvi::keys::SlotKind::Acquisition,
                {}, 0, kBitRows);

struct BitTables final : TableSet {
    const qvi::keys::ModelTable *FindSection(std::string_view) const override { return &kBits; }
    const qvi::keys::ModelTable *FindModel(std::string_view) const override { return &kBits; }
};

class BinaryFormatTest : public ::testing::Test {
protected:
    BinaryFormatTest() {
        ConfigError parseError;
        const auto parsed = ParseConfigText(kText, "sample.txt", parseError, tables);
        if (!parsed) ADD_FAILURE() << parseError.Message();
        config = parsed.value_or(Configuration{});
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
        module.sectionName = table.section;
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
    EXPECT_EQ(decoded->systems[0].boards[0].modules[0].ports[0].at(5).text, "say \"hi\", twice ");
    EXPECT_EQ(EncodeConfiguration(*decoded), bytes);
}

TEST_F(BinaryFormatTest, HeaderCarriesMagicVersionLengthAndChecksum) {
    ASSERT_GT(bytes.size(), kBinaryHeaderSize);
    EXPECT_TRUE(HasBinaryMagic(bytes));
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
    const struct {
        const qvi::keys::ModelTable &table;
        std::function<void(ModuleConfig &)> alter;
        std::string message;
    } cases[] = {
        {kGhost, [](ModuleConfig &) {}, "record 2 (GHOST:0): unknown model \"GHOST\""},
        {fake::kFourPort, [](ModuleConfig &) {},
         "record 2 (TX-30:0): model \"TX-31\" out of place"},
        {fake::kBoard, [](ModuleConfig &b) { b.ports.resize(2); },
         "record 2 (SX-400:0): wrong number of ports for model \"SXP\""},
        {fake::kBoard, [](ModuleConfig &b) { b.ports[0][999] = {}; },
         "record 2 (SX-400:0): unknown key handle 999"},
        {fake::kBoard,
         [](ModuleConfig &b) {
             b.ports[0][0] = {true, 0.0, "248"};
         },
         "record 2 (SX-400:0): wrong value kind for key handle 0"},
        {fake::kBoard,
         [](ModuleConfig &b) { b.ports[0][0].number = std::numeric_limits<double>::quiet_NaN(); },
         "record 2 (SX-400:0): bad number: Latency = nan"},
    };
    for (const auto &c : cases) {
        ModuleConfig board = Module(c.table);
        c.alter(board);
        EXPECT_FALSE(Decode(EncodeBoard(board))) << c.message;
        EXPECT_EQ(error, c.message);
    }

    Configuration twice;
    twice.systems = {{1, 1, {}}, {1, 2, {}}};
    EXPECT_FALSE(Decode(EncodeConfiguration(twice)));
    EXPECT_EQ(error, "record 2 (SYSTEM:1): duplicate system");
}

// Records the text form refuses, sealed with a checksum that holds: the
// decoder refuses them by the same rules, naming the record. The rules it
// shares with the parser (slots, channels, system numbers) are the parser's
// tests; here, that each is asked and named. The sample's
// records: 1 BZ-700, 2 SYSTEM:0, 3 SX-400:0, 4 TX-30:3, 5 SYSTEM:5, 6 SXA:1,
// 7 CameraPort:1, 8 DQ-500:0, 9 RX-10:0.
TEST_F(BinaryFormatTest, RecordsTheTextFormRefusesAreRefusedByName) {
    auto tx30 = [](Configuration &c) -> ModuleConfig & {
        return c.systems[0].boards[0].modules[0];
    };
    auto dq = [](Configuration &c) -> BoardConfig & { return c.systems[1].boards[1]; };
    auto channel = [](Configuration &c) -> ModuleConfig & {
        return c.systems[1].boards[0].modules[0];
    };
    const struct {
        std::function<void(Configuration &)> alter;
        std::string message;
    } cases[] = {
        {[&](Configuration &c) { tx30(c).slot = -5; },
         "record 4 (TX-30:3): no such slot on the board: Slot_Number = -5"},
        {[&](Configuration &c) { c.systems[0].boards[0].board.slot = 0; },
         "record 3 (SX-400:0): unexpected slot: Slot_Number = 0"},
        {[&](Configuration &c) { c.systems[0].boards[0].board.instance = -1; },
         "record 3 (SX-400:-1): value out of range: instance -1"},
        {[&](Configuration &c) { tx30(c).instance = 32768; },
         "record 4 (TX-30:32768): value out of range: instance 32768"},
        {[&](Configuration &c) { c.busTranslator->instance = 1; },
         "record 1 (BZ-700): unexpected section number"},
        {[&](Configuration &c) { c.systems[1].number = -1; },
         "record 5 (SYSTEM:-1): value out of range"},
        {[&](Configuration &c) { channel(c).slot = channel(c).instance = 2; },
         "record 7 (CameraPort:2): no such camera channel on the board: channel 2"},
        {[&](Configuration &c) { channel(c).slot = 0; },
         "record 7 (CameraPort:1): channel differs from the section number"},
        {[&](Configuration &c) { tx30(c).ports[2][50].number = 70000; },
         "record 4 (TX-30:3): value out of range: Window_Mask = 70000"},
        {[&](Configuration &c) { tx30(c).ports[1][32].number = -32769; },
         "record 4 (TX-30:3): value out of range: Red_Video_P_Ref = -32769"},
        {[&](Configuration &c) { tx30(c).ports[3][51].number = 2.5; },
         "record 4 (TX-30:3): bad number: Offset = 2.5"},
        {[&](Configuration &c) { tx30(c).ports[1][37].number = 1e300; },
         "record 4 (TX-30:3): value out of range: CSC_Coefficient_Matrix = 1e+300"},
        {[&](Configuration &c) { tx30(c).ports[0][22].number = 5; },
         "record 4 (TX-30:3): no word for the value: Sync_Type = 5"},
        {[&](Configuration &c) { tx30(c).ports[0][6].number = 7; },
         "record 4 (TX-30:3): no word for the value: key handle 6 = 7"},
        {[&](Configuration &c) { tx30(c).ports[0][5].text = "two\nlines"; },
         "record 4 (TX-30:3): text holds a line break: Load_Name = \"two\nlines\""},
        {[&](Configuration &c) { tx30(c).sectionName = "TX-60"; },
         "record 4 (TX-60:3): section name does not name model \"TX-31\""},
        {[&](Configuration &c) { dq(c).board.noHardware = true; },
         "record 8 (DQ-500:0): No_Hardware outside the bus translator"},
        {[&](Configuration &c) { dq(c).board.pixelSizeOverride16 = true; },
         "record 8 (DQ-500:0): PIXSZ_Override outside an SX-400 board"},
    };
    ASSERT_TRUE(Decode(bytes)) << error;
    for (const auto &test : cases) {
        Configuration altered = config;
        test.alter(altered);
        error.clear();
        EXPECT_FALSE(Decode(EncodeConfiguration(altered))) << test.message;
        EXPECT_EQ(error, test.message);
    }
}

// A key kept in a bit field takes what its bits hold, signed when the field
// is signed and the bits reach its top.
TEST_F(BinaryFormatTest, BitFieldKeysTakeWhatTheirBitsHold) {
    const BitTables bits;
    auto decode = [&](double low, double high) {
        ModuleConfig board = Module(kBits);
        board.ports[0][1].number = low;
        board.ports[0][2].number = high;
        return DecodeConfiguration(EncodeBoard(board), error, bits).has_value();
    };
    EXPECT_TRUE(decode(7, -8)) << error;
    EXPECT_TRUE(decode(0, 7)) << error;
    EXPECT_FALSE(decode(8, 0));
    EXPECT_EQ(error, "record 2 (SX-400:0): value out of range: Low = 8");
    EXPECT_FALSE(decode(0, -9));
    EXPECT_EQ(error, "record 2 (SX-400:0): value out of range: High = -9");
    EXPECT_FALSE(decode(0, 8));
}

TEST_F(BinaryFormatTest, KeysMissingFromTheFileGetTheirDefaults) {
    ModuleConfig board;
    board.table = &fake::kBoard;
    board.sectionName = "SX-400";
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
    const qvi::testing::ScratchDir scratch;
    const std::filesystem::path &dir = scratch.Path();
    auto load = [&](const char *name, std::string_view content) {
        return LoadConfigurationFile(scratch.Write(name, std::string(content)), loadError, tables);
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
}

}  // namespace
}  // namespace quar
