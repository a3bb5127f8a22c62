#pragma once

#include <memory>
#include <optional>
#include <string>

#include "acquire/frame_sink.h"
#include "system/image_document.h"

namespace qvi {

class QV_board_plat_mod;
class QV_sys_element;

// The image window's logic, without widgets: the acquisition commands, the
// display options and the rules the view and its menus follow. `window` is
// what the board hands the library as the window (the view's frame sink).
// Before every board call an SXA board is told the document's channel.

// A new image window's document for a board (and camera channel), which the
// board remembers; the board is asked once whether DirectDraw is available.
std::unique_ptr<ImageDocument> OpenImageDocument(QV_board_plat_mod &board,
                                                 const QV_sys_element *element, int channel,
                                                 std::string title);

// Grab, Snap and Clear; each clears `frozen`.
int Grab(ImageDocument &document, void *window);
int Snap(ImageDocument &document, void *window);
int Clear(ImageDocument &document, void *window);
// After a change of size, scroll or options: a live grab starts again, a
// file image is shown again, anything else is redisplayed.
int Redisplay(ImageDocument &document, void *window);
// The view was resized or scrolled to (x, y): the origin is rounded (x up, y
// down, to multiples of 8) and the image redisplayed, unless it is stretched,
// read from a file or has no connection.
void ScrollTo(ImageDocument &document, int x, int y, void *window);
int RoundedScrollX(int x);
int RoundedScrollY(int y);

// Stretch To Fit and DirectDraw Mode, each switched to its other state.
void ToggleStretch(ImageDocument &document, void *window);
void ToggleDirectDraw(ImageDocument &document, void *window);
// Whether the board can display through DirectDraw (Acquire with code -3).
bool DirectDrawAvailable(ImageDocument &document);
// What the view can scroll over: the image, or nothing while stretched.
struct ScrollRange {
    int width;
    int height;
};
ScrollRange ScrollRangeOf(const ImageDocument &document);

// The status-bar text while the left button is held at view position (x, y):
// "x= %d  y=%d pix=%d\n" for the image pixel under it; nothing while the
// readout is off (no connection, live, not 8 bits, frozen or stretched).
bool PixelReadoutOn(const ImageDocument &document);
std::optional<std::string> PixelReadout(ImageDocument &document, int x, int y);

// Painting: the colour to fill the view with first (DirectDraw during a live
// grab: white, or the overlay colour key red 128 green 128 blue 0 in the
// 16-bit mode), then the board redraws a shown image.
struct FillColour {
    int red;
    int green;
    int blue;
};
std::optional<FillColour> Paint(ImageDocument &document);

// The view's sink format for the image shown: grey bytes for an 8-bit image,
// which the library then copies without widening each pixel; 0x00RRGGBB for
// colour and for 16 bits (scaled down).
FrameSink::Format SinkFormatOf(ImageDocument &document);

// Save TIFF: the board writes the shown image; the caption becomes
// " %s -- %d x %d" and the image is redisplayed. Load TIFF: the board reads
// and shows the file; its result is kept as `imageValid`.
int SaveTiff(ImageDocument &document, const std::string &path, void *window);
int LoadTiff(ImageDocument &document, const std::string &path, void *window);

// Closing the window: a pending triggered acquisition ends, the frame is
// cleared, and the board forgets the document.
void CloseImageDocument(ImageDocument &document);

// Which of the window's commands are enabled and checked.
struct ImageMenu {
    bool grab = false;
    bool snap = false;
    bool clear = false;
    bool triggeredSnap = false;
    bool saveTiff = false;
    bool loadTiff = false;
    bool registerViewer = false;
    bool stretchEnabled = false;
    bool stretchChecked = false;
    bool directDrawEnabled = false;
    bool directDrawChecked = false;
};
ImageMenu ImageMenuOf(ImageDocument &document, bool triggerDialogOpen, bool sxaBoard);
// The main frame's Grab, Snap, Clear and Triggered Snap.
bool MainFrameAcquisitionEnabled(bool anyAcquisitionBoard, bool activeBoard, bool hardware);

}  // namespace qvi
