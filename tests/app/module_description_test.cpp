// Which modules a Module Setup dialog edits and how its title describes them,
// on the sample demo loaded through the real stand-in.
#include "app/module_description.h"

#include <gtest/gtest.h>

#include "library/hardware.h"
#include "params/mod.h"
#include "support/stand_in.h"

namespace qvi {
namespace {

class ModuleDescriptionTest : public testing::StandInTest {
protected:
    void TearDown() override { SetHardwareEnabled(false); }

    // The demo on its rack (the Lumo Comp boards exist only with hardware).
    void LoadDemo(bool hardware) {
        SetHardwareEnabled(hardware);
        UseRack(Read(std::filesystem::path(QVI_SAMPLES_DIR) / "rack.ini"));
        Start();
        const auto demo =
            Write("demo.txt", Read(std::filesystem::path(QVI_SAMPLES_DIR) / "demo.txt"));
        ASSERT_EQ(tree->LoadFile(demo.string()), 0) << ::testing::PrintToString(ui.Texts());
        ui.Clear();
    }

    std::string Describe(int index) const { return ModuleDescription(tree->System(), index); }
};

// Boards of type 36 and above are Lumo Comp boards, and their TX-70 a TX-80
// whatever its own instance; the type is only known with hardware. Camera
// channels are named by their instance on their board.
TEST_F(ModuleDescriptionTest, TitlesNameTheModuleAndItsBoardAsTheHardwareShowsThem) {
    const struct {
        bool hardware;
        int index;
        const char *title;
    } cases[] = {
        {true, 1, "Lumo:0"},
        {true, 2, "TX-10:0 on Lumo:0"},
        {true, 9, "TX-31:0 on DQP:0"},
        {true, 14, "RX-40:0 on RXP:0"},
        {true, 27, "BZ700:0"},
        {true, 23, "Lumo Comp:5"},
        {true, 24, "TX-80:0 on Lumo Comp:5"},
        {true, 21, "SXP:4"},  // revision 31
        {false, 23, "SXP:5"},
        {false, 24, "TX-70:0 on SXP:5"},
        {false, 26, "TX-70:1 on SXP:6"},
        {false, 0, ""},  // the system line
        {false, -1, ""},
    };
    for (bool hardware : {true, false}) {
        SCOPED_TRACE(hardware ? "hardware" : "no hardware");
        LoadDemo(hardware);
        for (const auto &c : cases) {
            if (c.hardware == hardware) {
                EXPECT_EQ(Describe(c.index), c.title) << c.index;
            }
        }
        for (int channel = 0; channel < 4; ++channel) {
            const QV_mod *module = tree->System().GetModule(4 + channel);
            ASSERT_NE(module, nullptr);
            EXPECT_EQ(Describe(4 + channel),
                      "Channel:" + std::to_string(module->GetInstance()) + " on SXA:0");
        }
        // The closing empty line, and past the end.
        EXPECT_EQ(Describe(tree->System().Size() - 1), "");
        EXPECT_EQ(Describe(tree->System().Size()), "");
    }
}

TEST_F(ModuleDescriptionTest, AnSx400BoardIsEditedTogetherWithItsModule) {
    LoadDemo(false);
    const QV_system &system = tree->System();
    auto lumo = SetupModulesOf(system, 1);
    ASSERT_TRUE(lumo.has_value());
    EXPECT_EQ(lumo->module, system.GetModule(1));
    EXPECT_EQ(lumo->second, system.GetModule(2));
    EXPECT_EQ(lumo->secondIndex, 2);

    auto dq500 = SetupModulesOf(system, 8);
    ASSERT_TRUE(dq500.has_value());
    EXPECT_EQ(dq500->module, system.GetModule(8));
    EXPECT_EQ(dq500->second, nullptr);
    EXPECT_EQ(dq500->secondIndex, -1);

    auto tx10 = SetupModulesOf(system, 2);
    ASSERT_TRUE(tx10.has_value());
    EXPECT_EQ(tx10->second, nullptr);
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_FALSE(SetupModulesOf(system, 0).has_value());
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{"element 0 has no Module Setup pages"}));
}

}  // namespace
}  // namespace qvi
