#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "quar/quar_api.h"

namespace qvi {

class LibraryBinding;
class QV_plat_mod;
struct ImageDocument;

// What an acquisition module delivers: pixel format (its input board type,
// 7 = YCrCb), bits per pixel and size. 8-bit and empty without a module.
struct AcquiredImage {
    int pixelFormat = 0;
    int depth = 8;
    int width = 0;
    int height = 0;
};
AcquiredImage ImageOf(QV_plat_mod *acquisitionModule);

// Frames acquired into a board's frame so far; -1 without the entry or for a
// bad board or frame.
std::int64_t FrameCount(LibraryBinding *binding, QRX_HANDLE board, int frame);

// The part of an image a scrolled window shows: the rows below scrollY and
// the columns right of scrollX, the width cut down to a multiple of 8 (the
// library's sinks take whole groups of 8 pixels).
struct DisplayArea {
    int width = 0;
    int height = 0;
};
DisplayArea ScrolledArea(const ImageDocument &document, int imageWidth, int imageHeight);

// The image source of a display, made for the shown area; 0 on failure.
using SourceMaker = std::function<QRX_HANDLE(int width, int height)>;

struct DisplayRequest {
    void *window = nullptr;  // the frame sink the library renders into
    int depth = 8;
    int imageWidth = 0;
    int imageHeight = 0;
    int hardwareRevision = 0;
    bool server = false;  // a live display: a library thread redraws it
};

// Builds the document's display: source (scrolled), sink, connection with
// the document's zoom and the overlay colour key, one draw, and for a live
// display a server. DirectDraw modes fall back to the plain display when the
// library refuses them. Without a connection the warning
// "qrx_create_image_conn() failed.\n" is shown. Returns whether a
// connection exists; the document's handles hold whatever was made.
bool BuildDisplay(const LibraryBinding &binding, ImageDocument &document,
                  const DisplayRequest &request, const SourceMaker &makeSource);

// Deletes the display server, connection, sink and source, in that order,
// and clears their handles. Stopping what feeds the display is the board's.
void DeleteDisplay(const LibraryBinding &binding, ImageDocument &document);

// Window captions: " %s -- %d x %d" and " %s -- %d x %d x %d".
std::string SizeCaption(const std::string &name, int width, int height);
std::string SizeDepthCaption(const std::string &name, int width, int height, int depth);

}  // namespace qvi
