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
    const WindowRect rect{12, 34, 1212, 834};
    EXPECT_EQ(FormatRect(rect), "0012 0034 1212 0834");
    const WindowRect back = ParseRect(FormatRect(rect));
    EXPECT_EQ(back.left, 12);
    EXPECT_EQ(back.top, 34);
    EXPECT_EQ(back.right, 1212);
    EXPECT_EQ(back.bottom, 834);
    // Negative positions (a window partly off screen) survive: "-008" reads as -8.
    EXPECT_EQ(ParseRect(FormatRect({-8, -8, 1928, 1088})).left, -8);
    // A short text gives zeros for the numbers it does not reach.
    const WindowRect shortText = ParseRect("0100 0200");
    EXPECT_EQ(shortText.top, 200);
    EXPECT_EQ(shortText.right, 0);
}

TEST(WindowPlacementTest, FirstRunIsCentredAndFitsTheScreen) {
    const WindowRect rect = FirstRunRect(1920, 1080);
    EXPECT_EQ(rect.Width(), 1200);
    EXPECT_EQ(rect.Height(), 800);
    EXPECT_EQ(rect.left, 360);
    EXPECT_EQ(rect.top, 140);
    const WindowRect small = FirstRunRect(1024, 768);
    EXPECT_EQ(small.Width(), 1024);
    EXPECT_EQ(small.Height(), 768);
    EXPECT_EQ(small.left, 0);
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

TEST(WindowPlacementTest, IconAndMaxChooseTheShowCommandAndFlags) {
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
}

TEST(WindowPlacementTest, ClosingStateIsStoredAsIconAndMax) {
    MemoryRegistry registry;
    const WindowRect normal{1, 2, 803, 604};
    StorePlacement(registry, WindowState::Maximized, true, normal);
    EXPECT_EQ(registry.GetString("Window size", "Rect", ""), "0001 0002 0803 0604");
    EXPECT_EQ(registry.GetInt("Window size", "icon", -1), 0);
    EXPECT_EQ(registry.GetInt("Window size", "max", -1), 1);

    StorePlacement(registry, WindowState::Minimized, true, normal);
    EXPECT_EQ(registry.GetInt("Window size", "icon", -1), 1);
    EXPECT_EQ(registry.GetInt("Window size", "max", -1), 1);
    StorePlacement(registry, WindowState::Minimized, false, normal);
    EXPECT_EQ(registry.GetInt("Window size", "max", -1), 0);

    StorePlacement(registry, WindowState::Normal, false, normal);
    EXPECT_EQ(registry.GetInt("Window size", "icon", -1), 0);
    EXPECT_EQ(registry.GetInt("Window size", "max", -1), 0);
}

}  // namespace
}  // namespace qvi
