#pragma once

#include <string>

namespace qvi {

class AppRegistry;

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
    bool operator==(const WindowRect &) const = default;
};

// How the main window comes up, in the terms of the system's placement record.
enum class ShowCommand { Normal = 1, Maximized = 3, MinimizedNoActivate = 7 };

inline constexpr int kPlacementSetMinPosition = 1;
inline constexpr int kPlacementRestoreToMaximized = 2;

struct WindowPlacement {
    ShowCommand show = ShowCommand::Normal;
    int flags = kPlacementSetMinPosition;
    WindowRect normal;
};

// The window's state when it closes.
enum class WindowState { Normal, Maximized, Minimized };

// "Rect" keeps left, top, right and bottom as "%04d %04d %04d %04d"; each
// number is read from its fixed offset (0, 5, 10, 15) as atoi reads it.
std::string FormatRect(const WindowRect &rect);
WindowRect ParseRect(const std::string &text);

// The main window's size on the first run: 1200 x 800, centred on a screen
// of the given size (never larger than the screen).
WindowRect FirstRunRect(int screenWidth, int screenHeight);

// The window moved, and first shrunk where it is larger, so that it lies
// wholly inside `area` (a screen's available area): a placement stored at
// another screen size or scale factor, or a dialog cascaded past the screen's
// edge, comes up where it can be seen and moved. An empty area changes nothing.
WindowRect KeepInside(const WindowRect &window, const WindowRect &area);

// Reads the section "Window size": "icon" set shows minimised (restoring to
// maximised when "max" is also set), "max" alone maximised, neither normal.
// Without a stored rectangle the normal rectangle is `firstRun`.
WindowPlacement RestorePlacement(const AppRegistry &registry, const WindowRect &firstRun);

// Writes "Rect", "icon" and "max" back: a maximised window stores max 1; a
// minimised one icon 1 and max 1 only when it would restore to maximised.
void StorePlacement(AppRegistry &registry, WindowState state, bool restoresToMaximized,
                    const WindowRect &normal);

}  // namespace qvi
