#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvi {

class QV_board_plat_mod;
class QV_sys_element;

// What an image window shows, as the board that acquires into it and the
// acquisition commands share it: one per image window, one window per
// acquisition board (and per camera channel of an SXA board). The board reads
// the display options and writes the size, depth, state and library handles;
// the commands own the rest.
struct ImageDocument {
    enum State : int {
        kLiveGrab = 0,
        kSnapped = 1,
        kCleared = 2,
        kTriggered = 3,  // a frame taken on a trigger
        kFromFile = 4,
    };
    enum DisplayMode : int {
        kPlainDisplay = 0,
        kDirectDraw = 1,
        kDirectDraw16 = 3,  // DirectDraw for 16-bit depth
    };

    std::string title;  // the board's entry of the board list
    int channel = 0;    // camera channel on an SXA board
    QV_board_plat_mod *board = nullptr;
    const QV_sys_element *boardElement = nullptr;
    int width = 640;
    int height = 480;
    int bitsPerPixel = 8;
    double zoom = 1.0;  // -1.0 fits the image to the window
    bool stretch = false;
    int displayMode = kPlainDisplay;
    int state = kCleared;
    bool imageValid = false;  // a display connection exists
    // Set by the board when it has written the shown frame to a file (a
    // running grab is stopped for that); every acquisition command clears it.
    bool frozen = false;
    int scrollX = 0;
    int scrollY = 0;
    // The window caption the board sets (" %s -- %d x %d x %d" and the like).
    std::string caption;

    // The window the board last built the display on; a redraw uses it again.
    void *window = nullptr;
    // A continuous acquisition feeds the display; saving a file stops it.
    bool grabRunning = false;
    // The image size changed: the view fits its window to the image again.
    bool resizeWindow = false;

    // The library's handles of the display.
    std::uint32_t source = 0;
    std::uint32_t sink = 0;
    std::uint32_t connection = 0;
    std::uint32_t server = 0;
    int frame = -1;
    // The event the trigger waiter waits on.
    std::uint32_t event = 0;
    // An SXA channel's host acquisition: its grab handle, and the memory it
    // acquires into. The board fills the buffer and keeps it here until the
    // acquisition is stopped, since the library writes into it until then.
    std::uint32_t grab = 0;
    std::vector<std::uint8_t> hostBuffer;
};

}  // namespace qvi
