#pragma once

#include <optional>
#include <string>

#include "modules/boards/board_display.h"
#include "quar/quar_api.h"
#include "system/frame_pixels.h"

namespace qvi {

class LibraryBinding;

// Whether a TIFF file can hold what the acquisition delivers: YCrCb colour,
// 24-bit colour, or grey of 8, 12 or 16 bits.
bool SavableImage(const AcquiredImage &image);

// Writes a frame of a board to a TIFF file, the way its acquisition fills
// it: YCrCb colour at 16 bits as RGB, YCrCb at 8 bits as its luminance
// bytes, 16-bit grey through a buffer, 24-bit colour as three planes of 8
// bits, 8- and 12-bit grey as one plane of that depth. Any other depth is
// refused with "Current acquire bit depth precludes saving to file." (-1);
// a file the library cannot write is reported (-2). 0 once written.
int WriteFrameFile(const LibraryBinding &binding, QRX_HANDLE board, int frame,
                   const AcquiredImage &image, const std::string &path);

// Reads the image a board's frame holds for the image tools: the layout
// follows the depth and pixel format. False when the library cannot.
bool ReadFramePixels(const LibraryBinding &binding, QRX_HANDLE board, int frame,
                     const AcquiredImage &image, FramePixels &pixels);

// Reports an unsavable depth; always -1.
int RefuseDepth();

// Reads a TIFF file into a board's frame. What the frame then holds: the
// file's size cut at the frame's edges (`frameImage`), three planes as
// 24-bit colour, one plane at its sample depth; nullopt when the library
// cannot examine or read the file.
std::optional<AcquiredImage> ReadFrameFile(const LibraryBinding &binding, QRX_HANDLE board,
                                           int frame, const std::string &path,
                                           const AcquiredImage &frameImage);

// A document that holds a file now: its size, depth and state. Its window's
// caption is " NAME: PATH -- W x H x D".
void HoldFile(ImageDocument &document, const AcquiredImage &image);
std::string FileCaption(const ImageDocument &document, const std::string &path,
                        const AcquiredImage &image);

}  // namespace qvi
