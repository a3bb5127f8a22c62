// Where and how the main window comes up, from the stored placement record.
#include "app/window_placement.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/app_registry.h"

namespace qvi {

namespace {

constexpr const char *kSection = "Window size";
constexpr int kFirstRunWidth = 1200;
constexpr int kFirstRunHeight = 800;

int NumberAt(const std::string &text, std::size_t offset) {
    return offset < text.size() ? std::atoi(text.c_str() + offset) : 0;
}

}  // namespace

std::string FormatRect(const WindowRect &rect) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d %04d %04d %04d", rect.left, rect.top, rect.right,
                  rect.bottom);
    return text;
}

WindowRect ParseRect(const std::string &text) {
    return {NumberAt(text, 0), NumberAt(text, 5), NumberAt(text, 10), NumberAt(text, 15)};
}

WindowRect FirstRunRect(int screenWidth, int screenHeight) {
    const int width = std::min(kFirstRunWidth, std::max(screenWidth, 1));
    const int height = std::min(kFirstRunHeight, std::max(screenHeight, 1));
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    return {left, top, left + width, top + height};
}

namespace {

// The start of a span of `length` moved into [low, high) as far as it fits.
int ClampSpan(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

}  // namespace

WindowRect KeepInside(const WindowRect &window, const WindowRect &area) {
    if (area.IsEmpty()) return window;
    const int width = std::min(window.Width(), area.Width());
    const int height = std::min(window.Height(), area.Height());
    const int left = ClampSpan(window.left, width, area.left, area.right);
    const int top = ClampSpan(window.top, height, area.top, area.bottom);
    return {left, top, left + width, top + height};
}

WindowPlacement RestorePlacement(const AppRegistry &registry, const WindowRect &firstRun) {
    const std::string rect = registry.GetString(kSection, "Rect", "");
    const bool icon = registry.GetInt(kSection, "icon", 0) != 0;
    const bool max = registry.GetInt(kSection, "max", 0) != 0;
    WindowPlacement placement;
    placement.normal = rect.empty() ? firstRun : ParseRect(rect);
    if (icon) {
        placement.show = ShowCommand::MinimizedNoActivate;
        placement.flags = max ? kPlacementRestoreToMaximized : kPlacementSetMinPosition;
    } else if (max) {
        placement.show = ShowCommand::Maximized;
        placement.flags = kPlacementRestoreToMaximized;
    }
    return placement;
}

void StorePlacement(AppRegistry &registry, WindowState state, bool restoresToMaximized,
                    const WindowRect &normal) {
    registry.WriteString(kSection, "Rect", FormatRect(normal));
    const bool minimized = state == WindowState::Minimized;
    const bool max = state == WindowState::Maximized || (minimized && restoresToMaximized);
    registry.WriteInt(kSection, "icon", minimized ? 1 : 0);
    registry.WriteInt(kSection, "max", max ? 1 : 0);
}

}  // namespace qvi
