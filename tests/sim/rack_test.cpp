// The simulated rack file: boards, counts and where it is found.
#include "sim/rack.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quar {
namespace {

TEST(RackTest, BoardsAreListedInFileOrderWithTheirCounts) {
    Rack rack = Rack::FromText(
        "; the bench in room 2\n"
        "[Board]\nKind = DQP\nCount = 2\nRevision = 7\nSlot0 = TX-30\nSlot1 = RX-20\n"
        "MemoryModel = 1\n"
        "[Board1]\r\nKind=SXA\r\nChannels=2\r\n"
        "[Other]\nKind = SXP\n"
        "[Board]\nRevision = 3\n");  // no kind: not a board
    ASSERT_EQ(rack.Boards().size(), 3u);
    EXPECT_EQ(rack.Count("DQP"), 2);
    EXPECT_EQ(rack.Count("SXP"), 0);
    const RackBoard *second = rack.Find("DQP", 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->revision, 7);
    EXPECT_EQ(second->slots, (std::vector<std::string>{"TX-30", "RX-20"}));
    EXPECT_EQ(rack.Find("SXA", 0)->channels, 2);
    EXPECT_EQ(second->memoryModel, 1);
    EXPECT_EQ(rack.Find("SXA", 0)->typeNumber, -1);
    EXPECT_EQ(rack.Find("SXA", 0)->memoryModel, 2);  // none named: every memory
    EXPECT_EQ(rack.Find("DQP", 2), nullptr);
}

TEST(RackTest, BadNumbersFallBackToDefaults) {
    Rack rack = Rack::FromText("[Board]\nKind = SXP\nRevision = x1\nCount = many\nSlot7 = TX-10\n");
    ASSERT_EQ(rack.Boards().size(), 1u);
    EXPECT_EQ(rack.Boards()[0].revision, 0);
    EXPECT_TRUE(rack.Boards()[0].slots.empty());
}

TEST(RackTest, TheEnvironmentNamesTheFile) {
    ::setenv("QUAR_RACK", "/tmp/somewhere/rack-a.ini", 1);
    ::setenv("CNF27310", "/cfg", 1);
    EXPECT_EQ(Rack::PathFromEnvironment(), std::filesystem::path("/tmp/somewhere/rack-a.ini"));
    ::unsetenv("QUAR_RACK");
    EXPECT_EQ(Rack::PathFromEnvironment(), std::filesystem::path("/cfg/rack.ini"));
    ::unsetenv("CNF27310");
    EXPECT_EQ(Rack::PathFromEnvironment(), std::nullopt);
    EXPECT_TRUE(Rack::FromEnvironment().Boards().empty());
    EXPECT_TRUE(Rack::FromFile("/nonexistent/rack.ini").Boards().empty());
    // An endless device is no rack (it used to be read until memory ran out).
    EXPECT_TRUE(Rack::FromFile("/dev/zero").Boards().empty());
}

}  // namespace
}  // namespace quar
