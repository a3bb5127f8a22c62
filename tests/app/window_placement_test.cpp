// The main window's placement as kept in the section "Window size".
#include <gtest/gtest.h>

#include "app/window_placement.h"
#include "platform/app_registry.h"

namespace qvi {

void PrintTo(const WindowRect &rect, std::ostream *out) {
    *out << FormatRect(rect);
}

namespace {

const WindowRect kFirstRun{360, 140, 1560, 940};

TEST(WindowPlacementTest, RectIsReadFromFixedOffsetsAsWrittenByItsFormat) {
    // Negative positions (a window partly off screen) survive: "-008" reads as -8.
    EXPECT_EQ(ParseRect(FormatRect({-8, -8, 1928, 1088})), (WindowRect{-8, -8, 1928, 1088}));
    // A short text gives zeros for the numbers it does not reach.
    EXPECT_EQ(ParseRect("0100 0200"), (WindowRect{100, 200, 0, 0}));
}

TEST(WindowPlacementTest, FirstRunIsCentredAndFitsTheScreen) {
    EXPECT_EQ(FirstRunRect(1920, 1080), kFirstRun);
    EXPECT_EQ(FirstRunRect(1024, 768), (WindowRect{0, 0, 1024, 768}));
}

TEST(WindowPlacementTest, KeepInsideShrinksAndMovesOntoTheArea) {
    // A 1600 x 1000 screen at a scale factor of 1.5 offers 1067 x 667 (here
    // less a 30-pixel panel at the top); a placement stored unscaled is larger.
    const WindowRect screen{0, 30, 1067, 667};
    EXPECT_EQ(KeepInside({40, 40, 1990, 1314}, screen), (WindowRect{0, 30, 1067, 667}));
    // Off the right and bottom edges: moved back, size kept.
    EXPECT_EQ(KeepInside({900, 600, 1300, 900}, screen), (WindowRect{667, 367, 1067, 667}));
    // Off the left and top edges (a dialog cascaded from a window at the edge).
    EXPECT_EQ(KeepInside({-120, 0, 280, 300}, screen), (WindowRect{0, 30, 400, 330}));
    // Wider only: the height and the vertical position stay.
    EXPECT_EQ(KeepInside({500, 100, 1700, 300}, screen), (WindowRect{0, 100, 1067, 300}));
    // Inside already, or nothing known about the screen: unchanged.
    EXPECT_EQ(KeepInside({10, 40, 500, 400}, screen), (WindowRect{10, 40, 500, 400}));
    EXPECT_EQ(KeepInside({-50, -50, 3000, 3000}, {}), (WindowRect{-50, -50, 3000, 3000}));
    // A second screen to the right keeps its own offset.
    EXPECT_EQ(KeepInside({3600, 10, 4100, 300}, {1920, 0, 3840, 1080}),
              (WindowRect{3340, 10, 3840, 300}));
}

TEST(WindowPlacementTest, IconAndMaxAreStoredOnClosingAndChooseTheShowCommandAndFlags) {
    MemoryRegistry registry;
    WindowPlacement fresh = RestorePlacement(registry, kFirstRun);
    EXPECT_EQ(fresh.show, ShowCommand::Normal);
    EXPECT_EQ(fresh.flags, kPlacementSetMinPosition);
    EXPECT_EQ(fresh.normal.left, kFirstRun.left);

    registry.WriteString("Window size", "Rect", "0010 0020 0810 0620");
    registry.WriteInt("Window size", "max", 1);
    WindowPlacement maximized = RestorePlacement(registry, kFirstRun);
    EXPECT_EQ(maximized.show, ShowCommand::Maximized);
    EXPECT_EQ(maximized.flags, kPlacementRestoreToMaximized);
    EXPECT_EQ(maximized.normal.right, 810);

    registry.WriteInt("Window size", "icon", 1);
    EXPECT_EQ(RestorePlacement(registry, kFirstRun).show, ShowCommand::MinimizedNoActivate);
    EXPECT_EQ(RestorePlacement(registry, kFirstRun).flags, kPlacementRestoreToMaximized);
    registry.WriteInt("Window size", "max", 0);
    EXPECT_EQ(RestorePlacement(registry, kFirstRun).flags, kPlacementSetMinPosition);

    // Closing stores the state as icon and max.
    const struct {
        WindowState state;
        bool wasMaximized;
        int icon, max;
    } cases[] = {{WindowState::Maximized, true, 0, 1},
                 {WindowState::Minimized, true, 1, 1},
                 {WindowState::Minimized, false, 1, 0},
                 {WindowState::Normal, false, 0, 0}};
    for (const auto &c : cases) {
        StorePlacement(registry, c.state, c.wasMaximized, {1, 2, 803, 604});
        EXPECT_EQ(registry.GetInt("Window size", "icon", -1), c.icon) << (&c - cases);
        EXPECT_EQ(registry.GetInt("Window size", "max", -1), c.max) << (&c - cases);
    }
    EXPECT_EQ(registry.GetString("Window size", "Rect", ""), "0001 0002 0803 0604");
}

}  // namespace
}  // namespace qvi
