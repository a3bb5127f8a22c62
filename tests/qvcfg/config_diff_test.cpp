// Differences between configurations by element, port and key.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/config_diff.h"
#include "config/text_parser.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

quar::Configuration Parse(const std::string &text) {
    quar::ConfigError error;
    auto config = quar::ParseConfigText(text, "t", error);
    EXPECT_TRUE(config) << error.Message();
    return config.value_or(quar::Configuration{});
}

std::vector<std::string> Lines(const std::string &a, const std::string &b) {
    std::vector<std::string> lines;
    for (const ConfigDifference &d : DiffConfigurations(Parse(a), Parse(b)))
        lines.push_back(FormatDifference(d));
    return lines;
}

const std::string kRack =
    "[SYSTEM:0]\n[SX-400:0]\n      Latency = 64\n[TX-10:0]\n      Slot_Number = 0\n"
    "[CameraPort:0]\n      HTotal = 780\n      Interlaced\n[CameraPort:1]\n[CameraPort:2]\n"
    "[CameraPort:3]\n[RX-600:0]\n[RX-30:0]\n      Slot_Number = 1\n"
    "      Image_Memory = 0x400000\n";

std::string Replace(std::string text, const std::string &from, const std::string &to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(ConfigDiff, CommentsOrderAndSpelledOutDefaultsMakeNoDifference) {
    // The same configuration written otherwise: a header, the port's lines in
    // another order, a default given explicitly.
    std::string other = "# written elsewhere\n\n" +
                        Replace(kRack, "      HTotal = 780\n      Interlaced\n",
                                "      Interlaced\n      HTotal = 780\n") +
                        "      Emu_Init = 0\n";
    EXPECT_THAT(Lines(kRack, other), IsEmpty());
}

TEST(ConfigDiff, AChangedKeyIsNamedByItsElementPortAndWrittenForm) {
    EXPECT_THAT(Lines(kRack, Replace(kRack, "HTotal = 780", "HTotal = 800")),
                ElementsAre("SYSTEM:0/SX-400:0/TX-10:0/CameraPort:0 HTotal: 780 -> 800"));
    // A bare choice is named by its words; a hexadecimal key stays hexadecimal.
    EXPECT_THAT(
        Lines(kRack, Replace(Replace(kRack, "      Interlaced\n", ""), "0x400000", "0x800000")),
        ElementsAre("SYSTEM:0/SX-400:0/TX-10:0/CameraPort:0 NonInterlaced|Interlaced: "
                    "Interlaced -> NonInterlaced",
                    "SYSTEM:0/RX-600:0/RX-30:0 Image_Memory: 0x400000 -> 0x800000"));
    // A key before the blocks sets every port.
    EXPECT_THAT(
        Lines(kRack, Replace(kRack, "[CameraPort:0]\n", "      VTotal = 300\n[CameraPort:0]\n")),
        ::testing::SizeIs(4));
}

TEST(ConfigDiff, ElementsAddedRemovedOrMovedAreNamedOnce) {
    const std::string added = kRack + "[RX-40:0]\n      Slot_Number = 2\n";
    EXPECT_THAT(Lines(kRack, added), ElementsAre("+ SYSTEM:0/RX-600:0/RX-40:0"));
    EXPECT_THAT(Lines(added, kRack), ElementsAre("- SYSTEM:0/RX-600:0/RX-40:0"));
    EXPECT_THAT(Lines(kRack, Replace(kRack, "      Slot_Number = 1\n", "      Slot_Number = 2\n")),
                ElementsAre("SYSTEM:0/RX-600:0/RX-30:0 Slot_Number: 1 -> 2"));
    EXPECT_THAT(Lines(kRack, kRack + "[SYSTEM:1]\n[BZ-700]\n"),
                ElementsAre("+ SYSTEM:1", "+ BZ-700"));
    // A board whose instance changed is another board.
    EXPECT_THAT(Lines(kRack, Replace(kRack, "[RX-600:0]", "[RX-600:1]")),
                ElementsAre("- SYSTEM:0/RX-600:0", "+ SYSTEM:0/RX-600:1"));
}

}  // namespace
}  // namespace qvi
