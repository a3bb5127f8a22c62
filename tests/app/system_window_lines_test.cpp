// The lines of the system windows, the module choices of an empty slot and
// what a Module Setup dialog edits, on the sample demo loaded through the real
// stand-in.
#include "app/system_window_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "app/app_settings.h"
#include "app/image_target.h"
#include "app/module_description.h"
#include "app/module_fit.h"
#include "support/stand_in.h"
#include "system/board_plat_mod.h"
#include "system/config_state.h"

namespace qvi {
namespace {

// Demo elements the cases below use.
constexpr int kSxaBoard = 3;
constexpr int kRx10 = 12;
constexpr int kRx30 = 13;
constexpr int kSx400Board = 15;
constexpr int kTx20 = 16;
constexpr int kBusTranslatorSlot = 28;

class SystemWindowLinesTest : public testing::StandInTest {
protected:
    void TearDown() override { SetHardwareEnabled(false); }

    // The demo on its rack (the Lumo-Comp boards exist only with hardware).
    void LoadDemo(bool hardware, const std::function<void(std::string &)> &edit = {},
                  const std::function<void(std::string &)> &editRack = {}) {
        SetHardwareEnabled(hardware);
        std::string rack = Read(std::filesystem::path(QVI_SAMPLES_DIR) / "rack.ini");
        if (editRack) editRack(rack);
        UseRack(rack);
        Start();
        std::string text = Read(std::filesystem::path(QVI_SAMPLES_DIR) / "demo.txt");
        if (edit) edit(text);
        const auto demo = Write("demo.txt", text);
        ASSERT_EQ(tree->LoadFile(demo.string()), 0) << ::testing::PrintToString(ui.Texts());
        ui.Clear();
    }

    std::vector<std::string> BoardTexts() const {
        std::vector<std::string> texts;
        for (const SystemListItem &item : BoardModeItems(*tree)) texts.push_back(item.text);
        return texts;
    }

    void Remove(int element) {
        ASSERT_EQ(tree->System().RemoveElement(element, *factory, {}), 0)
            << ::testing::PrintToString(ui.Texts());
    }

    QV_system &System() { return tree->System(); }

    AppSettings settings;
};

TEST_F(SystemWindowLinesTest, BoardAndElementLinesNameTheBoardsAndSelectThem) {
    LoadDemo(true);
    EXPECT_EQ(BoardTexts(), (std::vector<std::string>{
                                "Lumo: 0", "SX-90:0 -chan 0", "SX-90:0 -chan 1", "SX-90:0 -chan 2",
                                "SX-90:0 -chan 3", "DQP: 0", "SX-20: 1", "SX-50: 2", "SX-40: 3",
                                "SX-60: 4", "Lumo-Comp: 5", "Lumo-Comp: 6"}));
    const std::vector<SystemListItem> items = BoardModeItems(*tree);
    EXPECT_EQ(items[0].kind, SystemItemKind::Sx400);
    EXPECT_EQ(items[1].kind, SystemItemKind::SxaChannel);
    EXPECT_EQ(items[5].kind, SystemItemKind::OtherBoard);
    for (std::size_t line = 0; line < items.size(); ++line) {
        EXPECT_EQ(items[line].element, tree->BoardElements()[line]);
        EXPECT_EQ(BoardOfLine(items, static_cast<int>(line)), static_cast<int>(line));
    }

    // Element lines select their board and mark the active one.
    const std::vector<SystemListItem> elements = ElementModeItems(*tree, 1);
    ASSERT_EQ(elements.size(), static_cast<std::size_t>(System().Size()));
    EXPECT_EQ(elements[1].text, "  Lumo:0");
    EXPECT_EQ(elements[4].text, "    Channel 0 *");
    EXPECT_EQ(elements[23].text, "  Lumo-Comp:5");
    EXPECT_EQ(elements[24].text, "    slot 0 - TX-80:0");
    EXPECT_EQ(BoardOfLine(elements, 1), 0);
    EXPECT_EQ(BoardOfLine(elements, 5), 2);                 // a channel selects its own entry
    EXPECT_EQ(BoardOfLine(elements, kSxaBoard), -1);        // the SXA board itself acquires nothing
    EXPECT_EQ(BoardOfLine(elements, 2), -1);                // a module line
    EXPECT_EQ(BoardOfLine(elements, System().Size()), -1);  // past the end
    EXPECT_EQ(LineOfBoard(elements, 5), 8);                 // the DQ-500
    EXPECT_EQ(LineOfBoard(elements, 12), -1);
    EXPECT_EQ(elements[kSxaBoard].kind, SystemItemKind::OtherBoard);
    EXPECT_EQ(elements[kSx400Board].kind, SystemItemKind::Sx400);
    EXPECT_EQ(elements[kTx20].kind, SystemItemKind::None);

    SetHardwareEnabled(false);
    EXPECT_EQ(ElementModeItems(*tree, 1)[4].text, "    Channel 0");

    // An SX-400 whose module was removed is called SX-400.
    Remove(kTx20);
    EXPECT_EQ(BoardTexts()[6], "SX-400: 1");
    EXPECT_EQ(ElementTexts(*tree)[kTx20], "    slot 0 - empty");
}

TEST_F(SystemWindowLinesTest, BelowRevision36ATx70BoardIsNamedByItsPixelFormat) {
    // The TX-70 boards of the rack are the only ones of revision 36.
    auto olderBoards = [](std::string &rack) {
        for (std::size_t at; (at = rack.find("Revision = 36")) != std::string::npos;)
            rack.replace(at, 13, "Revision = 35");
    };
    LoadDemo(true, {}, olderBoards);
    std::vector<std::string> texts = BoardTexts();
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[10], "SX-70R: 5");  // RGB input board
    EXPECT_EQ(texts[11], "SX-70C: 6");  // NTSC/PAL decoder board

    // Without hardware no input board can be asked for its type.
    LoadDemo(false);
    texts = BoardTexts();
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[10], "SX-70C: 5");
    EXPECT_EQ(texts[11], "SX-70C: 6");
}

// An empty slot offers the modules of its kind and takes only a fitting one,
// which names its board from then on; a removed board's slots take nothing.
TEST_F(SystemWindowLinesTest, OnlyAnEmptySlotOffersAndTakesTheModulesOfItsKind) {
    LoadDemo(false);
    auto head = [this] {
        std::ostringstream out;
        System().GetElement(kSx400Board)->WriteCFG(out);
        return out.str().substr(0, out.str().find('\n'));
    };
    ASSERT_EQ(head(), "[SX-400:1]");
    EXPECT_EQ(FirstElementTakingModule(System()), -1);  // the demo's slots are all taken
    EXPECT_TRUE(AvailableModules(settings, System(), kRx10).empty());
    EXPECT_TRUE(AvailableModules(settings, System(), kBusTranslatorSlot).empty());

    Remove(kRx30);
    EXPECT_EQ(FirstElementTakingModule(System()), kRx30);
    const std::vector<std::string> computational = AvailableModules(settings, System(), kRx30);
    EXPECT_FALSE(computational.empty());
    EXPECT_TRUE(std::all_of(computational.begin(), computational.end(),
                            [](const std::string &name) { return name.rfind("RX-", 0) == 0; }));
    SetConfigModified(false);
    EXPECT_EQ(AddModule(System(), *factory, kRx30, "TX-40"), -1);
    EXPECT_EQ(AddModule(System(), *factory, kRx10, "RX-50"), -1);
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{"Can't add TX-40 to element 13",
                                                     "Can't add RX-50 to element 12"}));
    EXPECT_FALSE(ConfigModified());
    EXPECT_EQ(AddModule(System(), *factory, kRx30, "RX-50"), 0);
    EXPECT_TRUE(ConfigModified());
    // The RX-50 counts with the RX-10 beside it.
    EXPECT_EQ(ElementTexts(*tree)[kRx30], "    slot 1 - RX-50:1");
    EXPECT_TRUE(AvailableModules(settings, System(), kRx30).empty());

    Remove(kTx20);
    EXPECT_EQ(AvailableModules(settings, System(), kTx20), settings.acquisitionModuleNames);
    ASSERT_EQ(AddModule(System(), *factory, kTx20, "TX-10"), 0)
        << ::testing::PrintToString(ui.Texts());
    // The board names itself by the TX-10 now, not by the TX-20 that is gone.
    EXPECT_EQ(head(), "[Lumo:1]");

    Remove(kSx400Board);
    EXPECT_TRUE(AvailableModules(settings, System(), kTx20).empty());
    EXPECT_EQ(FirstElementTakingModule(System()), -1);
}

// An image window works on the board of a board-list element, of the
// acquisition module in its slot, or on an SXA board's channel.
TEST_F(SystemWindowLinesTest, ImageWindowsAreForTheBoardListsBoardsAndChannels) {
    LoadDemo(true);
    struct Case {
        int element;
        const char *title;
        int board;
        int channel;
    };
    const Case cases[] = {{1, "Lumo:0", 1, 0},
                          {2, "Lumo:0", 1, 0},
                          {5, "SXA Ch:1", kSxaBoard, 1},
                          {9, "DQP:0", 8, 0},
                          {kTx20, "SXP:1", kSx400Board, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.element);
        std::optional<ImageTarget> target = ImageTargetOf(System(), c.element);
        ASSERT_TRUE(target.has_value());
        EXPECT_EQ(target->title, c.title);
        EXPECT_EQ(target->channel, c.channel);
        EXPECT_EQ(static_cast<QV_plat_mod *>(target->board),
                  System().GetElement(c.board)->GetPlatMod());
    }
    for (int element : {0, kSxaBoard, 10, 11, kRx10, 28, 999}) {
        ui.Clear();
        EXPECT_FALSE(ImageTargetOf(System(), element).has_value()) << element;
        ASSERT_EQ(ui.Texts().size(), 1u) << element;
        EXPECT_EQ(ui.Texts()[0].rfind("No image window for element " + std::to_string(element), 0),
                  0u)
            << ui.Texts()[0];
    }
}

// Boards of type 36 and above are Lumo Comp boards, and their TX-70 a TX-80
// whatever its own instance; the type is only known with hardware. Camera
// channels are named by their instance on their board. What a Module Setup
// dialog edits follows the same elements.
TEST_F(SystemWindowLinesTest, SetupTitlesNameTheModuleAndItsBoardAsTheHardwareShowsThem) {
    const struct {
        bool hardware;
        int index;
        const char *title;
    } cases[] = {
        {true, 1, "Lumo:0"},
        {true, 2, "TX-10:0 on Lumo:0"},
        {true, 4, "Channel:0 on SXA:0"},
        {true, 9, "TX-31:0 on DQP:0"},
        {true, 14, "RX-40:0 on RXP:0"},
        {true, 27, "BZ700:0"},
        {true, 23, "Lumo Comp:5"},
        {true, 24, "TX-80:0 on Lumo Comp:5"},
        {true, 21, "SXP:4"},  // revision 31
        {false, 7, "Channel:3 on SXA:0"},
        {false, 23, "SXP:5"},
        {false, 24, "TX-70:0 on SXP:5"},
        {false, 26, "TX-70:1 on SXP:6"},
        {false, 0, ""},   // the system line
        {false, 28, ""},  // the closing empty line
        {false, 29, ""},  // past the end
        {false, -1, ""},
    };
    for (bool hardware : {true, false}) {
        LoadDemo(hardware);
        for (const auto &c : cases) {
            if (c.hardware == hardware) {
                EXPECT_EQ(ModuleDescription(System(), c.index), c.title) << c.index;
            }
        }
    }
    EXPECT_EQ(System().Size(), 29);

    // An SX-400 board is edited together with its module; other elements alone.
    auto lumo = SetupModulesOf(System(), 1);
    ASSERT_TRUE(lumo.has_value());
    EXPECT_EQ(lumo->module, System().GetModule(1));
    EXPECT_EQ(lumo->second, System().GetModule(2));
    EXPECT_EQ(lumo->secondIndex, 2);

    for (int alone : {8, 2}) {  // the DQ-500 board, the TX-10 module
        auto setup = SetupModulesOf(System(), alone);
        ASSERT_TRUE(setup.has_value());
        EXPECT_EQ(setup->module, System().GetModule(alone));
        EXPECT_EQ(setup->second, nullptr);
        EXPECT_EQ(setup->secondIndex, -1);
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(SetupModulesOf(System(), 0).has_value());
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{"element 0 has no Module Setup pages"}));
}

}  // namespace
}  // namespace qvi
