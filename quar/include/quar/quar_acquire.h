/*
 * The library's frames, synthetic video and display path: camera frames,
 * frame geometry, pixel reads, colour conversions, image sources, window
 * sinks, connections and display servers.
 *
 * Every entry checks its handles and arguments: a bad one gets -1 (or a 0
 * handle from the entries that create something), never a crash.
 *
 * Frame contents. A frame holds pixels in the layout its acquisition module
 * gives it (qrx_get_acq_dim and the module's depth and pixel format):
 *   8-bit grey                      1 byte per pixel;
 *   10-, 12- and 16-bit grey         2 bytes per pixel, little-endian, the
 *                                    value in the low bits;
 *   pixel format 7 (YCrCb), 16 bits  2 bytes per pixel, 4:2:2: the first
 *                                    byte Y, the second Cb on even columns
 *                                    and Cr on odd columns;
 *   24-bit colour                    held as 4 bytes per pixel, the 32-bit
 *                                    word 0x00RRGGBB in host order (bytes
 *                                    B, G, R, 0), so that a row is copied
 *                                    to a 32-bit display as it is; read
 *                                    out packed R, G, B, 3 bytes a pixel.
 */
#ifndef QUAR_QUAR_ACQUIRE_H
#define QUAR_QUAR_ACQUIRE_H

#include "quar/quar_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- frames ------------------------------------------------------------ */
/* The camera frame of a board: a frame number >= 0 for an SX-400 (or SXA)
   with an acquisition module, -1 for anything else. */
QUAR_EXPORT int qrx_get_cam_frame(QRX_HANDLE board);
QUAR_EXPORT int sxp_get_cam_frame(QRX_HANDLE board);
/* The width and height the acquisition of a board delivers, written to the
   two 16-bit numbers. `handle` is a board (its acquisition module: slot 0;
   an SXA: camera channel 0), a camera channel of an SXA, or an acquisition
   module. 0, or -1 for a handle without acquisition or a null pointer. */
QUAR_EXPORT int qrx_get_acq_dim(QRX_HANDLE handle, int16_t *width, int16_t *height);
QUAR_EXPORT int sxp_get_acq_dim(QRX_HANDLE handle, int16_t *width, int16_t *height);
/* Clears a frame of a board to 0. 0, or -1 for a bad board or frame. The
   third argument of sxp_clr_frame is the value to clear to (the low bits). */
QUAR_EXPORT int qrx_clr_frame(QRX_HANDLE board, int32_t frame);
QUAR_EXPORT int sxp_clr_frame(QRX_HANDLE board, int32_t frame, int32_t value);
/* The pixel at (x, y) of a frame: the grey value; 0x00RRGGBB for 24-bit
   colour; Y | chroma << 8 for YCrCb. -1 outside the frame or for a bad
   board or frame. */
QUAR_EXPORT int32_t qrx_rpix(QRX_HANDLE board, int32_t frame, int32_t x, int32_t y);
/* Copies an area of a frame into `buffer` in the frame's read-out layout
   (above: 24-bit colour packed R, G, B), rows one after the other. The area
   must lie inside the frame. 0, or -1. */
QUAR_EXPORT int qrx_read_area(QRX_HANDLE board, int32_t frame, int32_t x, int32_t y, int32_t width,
                              int32_t height, void *buffer);
/* Frames a board has acquired into a frame since the library was loaded:
   one for each snap and each camera frame of a grab (a running grab is
   counted up to now). -1 for a bad board or frame. */
QUAR_EXPORT int64_t qrx_get_frame_count(QRX_HANDLE board, int32_t frame);

/* ---- colour conversions ----------------------------------------------- */
/* YCrCb 4:2:2 (2 bytes per pixel, as above) to 4 bytes per pixel R, G, B,
   0, and back (the pair of pixels shares the mean of their chroma). Full
   range ITU-R BT.601:
     R = Y + 1.402 (Cr - 128)
     G = Y - 0.344136 (Cb - 128) - 0.714136 (Cr - 128)
     B = Y + 1.772 (Cb - 128)
     Y  = 0.299 R + 0.587 G + 0.114 B
     Cb = 128 - 0.168736 R - 0.331264 G + 0.5 B
     Cr = 128 + 0.5 R - 0.418688 G - 0.081312 B
   each rounded to the nearest integer and clamped to 0..255. `width` must
   be even for the YCrCb side to hold whole pairs. 0, or -1. */
QUAR_EXPORT int qrx_ycrcb_to_rgb(const void *ycrcb, void *rgb, int32_t width, int32_t height);
QUAR_EXPORT int qrx_rgb_to_ycrcb(const void *rgb, void *ycrcb, int32_t width, int32_t height);

/* ---- the window sink contract ----------------------------------------- */
/*
 * The "window" the program hands to qrx_create_win_img_sink is the address
 * of a QRX_FRAME_SINK that the CALLER owns and keeps alive until the sink is
 * deleted. The library renders into `buffer` (the source's area of interest
 * scrolled to, the connection's zoom) and then calls frame_ready(context)
 * from the thread that rendered: a display server's thread, or the caller's
 * own thread in qrx_display_img_conn / qrx_display_conn.
 *
 * Who touches the buffer when: the library writes the buffer only between
 * lock(context) and unlock(context), and calls frame_ready after unlock.
 * The caller takes the same lock while it copies or paints the buffer on
 * its own thread. Without lock and unlock (both null) the caller must read
 * the buffer only while no server runs on it.
 * frame_ready runs while the library holds its display lock: it must not
 * call the library; it should only note the frame (post a repaint, drop it
 * if one is pending). A deleted server never calls back again: after
 * qrx_delete_img_server returns, its thread has ended.
 */
enum { QRX_SINK_GREY8 = 1, QRX_SINK_XRGB32 = 2 }; /* XRGB32: 0x00RRGGBB per pixel */
typedef struct QRX_FRAME_SINK {
    void *buffer;
    int32_t width;
    int32_t height;
    int32_t stride; /* bytes from one row to the next */
    int32_t format; /* QRX_SINK_* */
    void (*frame_ready)(void *context);
    void (*lock)(void *context);
    void (*unlock)(void *context);
    void *context;
} QRX_FRAME_SINK;

/* Display modes of qrx_create_win_img_sink: 0 the plain path; 1 and 3 the
   alternative ("DirectDraw") path, which this library has and renders the
   same way. */
enum { QRX_DISPLAY_PLAIN = 0, QRX_DISPLAY_DIRECT = 1, QRX_DISPLAY_DIRECT_16 = 3 };

/* ---- image sources ---------------------------------------------------- */
/* An area of a board's frame. */
QUAR_EXPORT QRX_HANDLE qrx_create_frame_area_img_src(QRX_HANDLE board, int32_t frame, int32_t x,
                                                     int32_t y, int32_t width, int32_t height);
/* An area of an SXA camera channel's buffer; `channel` is the channel's
   handle (qrx_get_vmodcnf) or a board (its camera frame). */
QUAR_EXPORT QRX_HANDLE qrx_create_cam_area_img_src(QRX_HANDLE channel, int32_t x, int32_t y,
                                                   int32_t width, int32_t height);
/* Memory of the caller's: `buffer` holds buffer_width x buffer_height pixels
   of `depth` bits (8, 16 or 24: 1, 2 or 4 bytes per pixel as frames hold
   them; 16 is grey); the source is the area (x, y, width, height) of it. `board` may be
   0. The caller keeps the memory alive while the source can be displayed. */
QUAR_EXPORT QRX_HANDLE qrx_create_host_img_src(QRX_HANDLE board, const void *buffer, int32_t depth,
                                               int32_t buffer_width, int32_t buffer_height,
                                               int32_t x, int32_t y, int32_t width, int32_t height);
QUAR_EXPORT int qrx_set_host_img_src_addr(QRX_HANDLE source, const void *buffer);
/* Scrolls the source: (x, y) is added to its area's origin. */
QUAR_EXPORT int qrx_set_img_src_aoi(QRX_HANDLE source, int32_t x, int32_t y);
QUAR_EXPORT int qrx_delete_img_src(QRX_HANDLE source);

/* ---- window sinks and connections -------------------------------------- */
/* `window` is a QRX_FRAME_SINK (above); bits_per_pixel is 8, 16 or 24 (the
   library converts to the sink's format); (x, y, width, height) is the part
   of the sink's buffer to draw into. 0 for a bad sink or display mode. */
QUAR_EXPORT QRX_HANDLE qrx_create_win_img_sink(void *window, int32_t bits_per_pixel, int32_t x,
                                               int32_t y, int32_t width, int32_t height,
                                               int32_t display_mode);
QUAR_EXPORT int qrx_delete_img_sink(QRX_HANDLE sink);
QUAR_EXPORT QRX_HANDLE qrx_create_img_conn(QRX_HANDLE source, QRX_HANDLE sink);
QUAR_EXPORT int qrx_delete_img_conn(QRX_HANDLE connection);
/* Zoom factors above 0; -1.0 in both fits the source to the sink. */
QUAR_EXPORT int qrx_set_display_zoom_img_conn(QRX_HANDLE connection, double zoom_x, double zoom_y);
/* The sink's representation of a colour given as 0x00BBGGRR: 0x00RRGGBB. */
QUAR_EXPORT uint32_t qrx_get_dest_key_rep(uint32_t colour, int32_t unused1, int32_t unused2);
/* The overlay colour key of the connection: kept; the simulated display has
   no overlay plane, so the video shows everywhere. */
QUAR_EXPORT int qrx_set_color_key_img_conn(QRX_HANDLE connection, uint32_t key);
/* Draws the connection once into its sink. */
QUAR_EXPORT int qrx_display_img_conn(QRX_HANDLE connection, int32_t x, int32_t y);
QUAR_EXPORT int qrx_display_conn(QRX_HANDLE connection);

/* ---- display servers --------------------------------------------------- */
/* A library thread that draws the connection every `period_ms` (0: as fast
   as it can); `value` is the caller's and is kept. Deleting it (and
   unloading the library) ends and joins the thread. */
QUAR_EXPORT QRX_HANDLE qrx_create_img_server(QRX_HANDLE connection, int32_t period_ms,
                                             int32_t value);
QUAR_EXPORT int qrx_suspend_img_server(QRX_HANDLE server);
QUAR_EXPORT int qrx_resume_img_server(QRX_HANDLE server);
QUAR_EXPORT int qrx_delete_img_server(QRX_HANDLE server);
/* Frames the server drew per second over its last second; -1.0 for a bad
   server. */
QUAR_EXPORT double qrx_img_server_frame_rate(QRX_HANDLE server);

#ifdef __cplusplus
}
#endif

#endif /* QUAR_QUAR_ACQUIRE_H */
