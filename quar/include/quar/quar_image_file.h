/*
 * The imaging library's image-file entries: TIFF files read, written and
 * examined through a caller's buffer or a board's frame memory.
 *
 * A buffer holds the image row after row without padding, the planes of a
 * pixel side by side (R, G, B for three planes). A sample of 8 bits takes one
 * byte; a sample of 10, 12 or 16 bits takes a 16-bit word in the machine's
 * byte order with the value in its low bits. Files are uncompressed TIFF in
 * large strips; 10- and 12-bit images are stored as 16-bit samples whose
 * MaxSampleValue (1023, 4095) gives their depth back when read here.
 *
 * Files the library reads: 1 plane (grey) or 3 planes (RGB, interleaved) of
 * 8 or 16 stored bits, in strips, of at most 1 GiB of pixels. Anything else
 * (an empty, truncated or foreign file, tiles, other depths or plane counts)
 * is refused with -1. Writing replaces a file whole: the new file is written
 * beside the old one and renamed over it, so a failed write leaves the old
 * file as it was; a symbolic link is written through to its target.
 *
 * Every entry returns 0 on success and -1 on failure; a null output pointer
 * is simply not written.
 */
#ifndef QUAR_QUAR_IMAGE_FILE_H
#define QUAR_QUAR_IMAGE_FILE_H

#include <stdint.h>

#include "quar/quar_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The width, height, planes (1 or 3) and bits per sample (8, 10, 12 or 16)
   of an image file the library can read. */
QUAR_EXPORT int qrx_imagefile_props(const char *path, int32_t *width, int32_t *height,
                                    int32_t *planes, int32_t *bits);

/* Writes width x height pixels of `planes` samples of `bits` each from the
   buffer (laid out as above) to a file. */
QUAR_EXPORT int qrx_write_image(const char *path, const void *buffer, int32_t width, int32_t height,
                                int32_t planes, int32_t bits);

/* qrx_write_image with one plane: a grey image of `bits` per pixel. */
QUAR_EXPORT int qrx_write_image_file(const char *path, const void *buffer, int32_t width,
                                     int32_t height, int32_t bits);

/* Reads a file into a buffer of `capacity` bytes and reports its shape; a
   buffer too small for the image is refused (-1) and left untouched, the
   shape still reported, so a caller can size its buffer and read again. */
QUAR_EXPORT int qrx_read_image_file(const char *path, void *buffer, uint32_t capacity,
                                    int32_t *width, int32_t *height, int32_t *planes,
                                    int32_t *bits);

/* Reads a file into a frame of a board (the frame numbers of qrx_xboard; a
   DQ-500's 7 takes three planes, 2 one plane of up to 16 bits). The file's
   planes and depth must suit the frame (3 planes of 8 bits for a 24-bit
   frame, 1 plane of 8 bits for an 8-bit one, 1 plane of 10 to 16 bits for a
   16-bit grey one); a file larger than the frame is cut at its edges, a
   smaller one leaves the rest of the frame black. A grab into the frame
   stops. 0, or -1 for a bad handle, frame or file. */
QUAR_EXPORT int qrx_read_image(QRX_HANDLE board, int32_t frame, const char *path);

/* Writes a frame of a board to a file with `planes` samples of `bits` each:
   3 planes of 8 bits for a 24-bit frame, 1 plane of 8 bits for an 8-bit
   frame, 1 plane of 10, 12 or 16 bits for a 16-bit grey frame. 0, or -1 for
   a bad handle or frame, a shape that does not suit the frame, or a file
   that cannot be written (the old file then stays). */
QUAR_EXPORT int qrx_write_frame_image(QRX_HANDLE board, int32_t frame, const char *path,
                                      int32_t planes, int32_t bits);

#ifdef __cplusplus
}
#endif

#endif /* QUAR_QUAR_IMAGE_FILE_H */
