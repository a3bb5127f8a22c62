// The library records the simulator builds from a configuration.
#include "sim/records.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "quar/quar_api.h"
#include "sim/register_table.h"

namespace quar {
namespace {

using namespace qvi::keys;

constexpr Word kLayouts[] = {{"Small", 0}, {"Large", 5}};

// A row stored at `at`: register, words and stored difference where they matter.
constexpr KeyRow Row(int handle, std::string_view key, KeyKind kind, ValueType type,
                     double defaultNumber, std::string_view defaultText, bool perPort, Location at,
                     int reg = -1, std::span<const Word> words = {}, std::int32_t delta = 0) {
    return {handle, key, kind, type,    words, defaultNumber, defaultText,
            false,  reg, 10,   perPort, at,    delta};
}

constexpr auto kRange = KeyKind::Range;
constexpr auto kString = KeyKind::String;

// A four-port module: camera structures referenced from the specification
// at 2, 6, 10, 14; a matrix referenced from each camera at 0x18.
constexpr KeyRow kRows[] = {
    Row(1, "Load_Name", kString, ValueType::Text, 0, "none", false,
        {Record::Spec, 20, Field::TextRef}),
    Row(2, "Count", kRange, ValueType::S16, 1, {}, false, {Record::Spec, 24, Field::S16}, 40, {},
        -1),
    Row(3, "Name", kString, ValueType::Text, 0, "cam", true,
        {Record::Camera, 0, Field::InlineText}),
    Row(4, "Width", kRange, ValueType::U32, 640, {}, true, {Record::Camera, 0x14, Field::U32}, 41),
    Row(5, "Gain", kRange, ValueType::Float, 1.5, {}, true, {Record::Matrix, 4, Field::F32}),
    Row(6, "Layout", kString, ValueType::Text, 0, "Small", false, {Record::Spec, 26, Field::U16},
        -1, kLayouts),
};

constexpr ModelTable kTable{"TX-99",
                            "TX-99",
                            ModelCategory::SlotModule,
                            SlotKind::Acquisition,
                            {},
                            Layout{28, 0x1c, 8, 4, 2, 4, 0x18, -1},
                            kRows};

ModuleConfig Config() {
    ModuleConfig config;
    config.table = &kTable;
    config.ports.resize(4);
    for (int port = 0; port < 4; ++port) {
        PortValues &values = config.ports[static_cast<std::size_t>(port)];
        values[3] = {true, 0, "camera " + std::to_string(port)};
        values[4] = {false, 100.0 + port, ""};
        values[5] = {false, 0.25 * port, ""};
    }
    config.ports[0][1] = {true, 0, "load.mcs"};
    config.ports[0][2] = {false, 3, ""};
    config.ports[0][6] = {true, 0, "Large"};
    return config;
}

std::uint32_t At(const Arena &arena, std::uint32_t reference, std::size_t offset,
                 std::size_t width) {
    return ReadField(arena.Resolve(reference), arena.SizeOf(reference), offset, width);
}

TEST(RecordsTest, EveryValueLandsAtItsFieldThroughTheReferences) {
    Arena arena;
    Element element;
    BuildRecords(arena, Config(), element);
    ASSERT_EQ(element.cameras.size(), 4u);
    ASSERT_EQ(element.matrices.size(), 4u);
    EXPECT_STREQ(reinterpret_cast<const char *>(arena.Resolve(At(arena, element.spec, 20, 4))),
                 "load.mcs");
    EXPECT_EQ(At(arena, element.spec, 24, 2), 2u);  // the library keeps the count less one
    EXPECT_EQ(At(arena, element.spec, 26, 2), 5u);  // a text kept as its word's value
    for (std::uint32_t port = 0; port < 4; ++port) {
        std::uint32_t camera = At(arena, element.spec, 2 + 4 * port, 4);
        EXPECT_EQ(camera, element.cameras[port]);
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(arena.Resolve(camera))),
                  "camera " + std::to_string(port));
        EXPECT_EQ(At(arena, camera, 0x14, 4), 100 + port);
        std::uint32_t matrix = At(arena, camera, 0x18, 4);
        EXPECT_EQ(std::bit_cast<float>(At(arena, matrix, 4, 4)), 0.25f * static_cast<float>(port));
    }
    ASSERT_TRUE(ReadRawField(arena, element, kRows[3], 2).has_value());
    EXPECT_EQ(*ReadRawField(arena, element, kRows[3], 2), 102u);
    EXPECT_FALSE(ReadRawField(arena, element, kRows[0], 0).has_value());  // a text

    std::uint32_t spec = element.spec;
    std::uint32_t camera = element.cameras[3];
    FreeRecords(arena, element);
    EXPECT_EQ(element.spec, 0u);
    EXPECT_EQ(arena.Resolve(spec), nullptr);
    EXPECT_EQ(arena.Resolve(camera), nullptr);
}

// The loader refuses such numbers; whatever still reaches the records is
// kept at the nearest limit of its key, never wrapped or converted undefined.
TEST(RecordsTest, NumbersBeyondTheirKeyAreKeptAtTheLimit) {
    ModuleConfig config = Config();
    config.ports[0][2].number = 70000;  // S16, kept less one
    config.ports[1][4].number = 1e300;  // U32
    config.ports[2][4].number = -1e300;
    config.ports[3][5].number = -1e300;  // F32
    Arena arena;
    Element element;
    BuildRecords(arena, config, element);
    EXPECT_EQ(At(arena, element.spec, 24, 2), 32766u);
    EXPECT_EQ(At(arena, element.cameras[1], 0x14, 4), 0xFFFFFFFFu);
    EXPECT_EQ(At(arena, element.cameras[2], 0x14, 4), 0u);
    EXPECT_EQ(std::bit_cast<float>(At(arena, element.matrices[3], 4, 4)),
              -std::numeric_limits<float>::max());
}

TEST(RecordsTest, ArenaReferencesNeverResolveOutsideTheirRecords) {
    Arena arena;
    std::uint32_t record = arena.Allocate(4);
    WriteField(arena.Resolve(record), arena.SizeOf(record), 2, 4, 0xFFFFFFFF);  // would overrun
    EXPECT_EQ(ReadField(arena.Resolve(record), arena.SizeOf(record), 0, 4), 0u);
    EXPECT_EQ(arena.Resolve(0), nullptr);
    EXPECT_EQ(arena.Resolve(99), nullptr);
    arena.Free(record);
    EXPECT_EQ(arena.Resolve(record), nullptr);
    EXPECT_EQ(arena.SizeOf(record), 0u);
}

TEST(RegisterTableTest, MarksThirtyTwoBitRegistersByTheirKeys) {
    std::vector<std::uint8_t> table = BuildRegisterTable(kTable);
    ASSERT_EQ(table.size(), 42u * QRX_REGTABLE_ENTRY_SIZE);
    const std::uint8_t *count = &table[40 * QRX_REGTABLE_ENTRY_SIZE];
    const std::uint8_t *width = &table[41 * QRX_REGTABLE_ENTRY_SIZE];
    EXPECT_EQ(count[0], 40);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(count + 6), 5), "Count");
    EXPECT_EQ(count[17] & QRX_REG_32BIT, 0);
    EXPECT_NE(width[17] & QRX_REG_32BIT, 0);
    EXPECT_EQ(table[5 * QRX_REGTABLE_ENTRY_SIZE + 17], 0);  // an unused register
}

}  // namespace
}  // namespace quar
