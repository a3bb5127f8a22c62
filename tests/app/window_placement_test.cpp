// The main window's placement as kept in the section "Window size".
#include <gtest/gtest.h>

#include "app/window_placement.h"
#include "platform/app_registry.h"

namespace qvi {
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
