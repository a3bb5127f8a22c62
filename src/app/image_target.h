#pragma once

#include <optional>
#include <string>

namespace qvi {

class QV_board_plat_mod;
class QV_sys_element;
class QV_system;

// The name an element has in the board list of the image windows ("SXP:0",
// "Lumo:0", "SXA Ch:1", ...): boards that carry an acquisition module and
// SXA camera channels; nothing for any other element.
std::optional<std::string> BoardListName(const QV_system &system, int index);

// What an image window for an element works on: the board, the camera
// channel on it and the element that names the window.
struct ImageTarget {
    QV_board_plat_mod *board = nullptr;
    const QV_sys_element *element = nullptr;
    int channel = 0;
    std::string title;
};

// An element of the board list, or an acquisition module in a board's slot
// (the window is its board's). Anything else is reported, naming the index.
std::optional<ImageTarget> ImageTargetOf(const QV_system &system, int index);

}  // namespace qvi
