/*
 * The library's host acquisitions, triggers and interrupts.
 *
 * Host acquisition. An SXA camera channel acquires into memory the caller
 * owns: `buffer` holds `buffers` frames of width x height bytes one after
 * another (8-bit grey; the area (x, y, width, height) of the channel's
 * image), and the frames go round those buffers. A buffer the caller has
 * locked is skipped; when every buffer is locked the frame is dropped. The
 * caller keeps the memory alive until the acquisition is stopped.
 *
 * Triggers. An acquisition module takes a frame on a trigger when its
 * trigger registers say so (each model's "prepare software trigger" and
 * "prepare external trigger" register writes). A software trigger comes from
 * qrx_gen_swtrig or from the model's own software-trigger register; an
 * external trigger comes from the rack (ExternalTriggerPeriod, in
 * milliseconds, 0 = never). An SXA camera channel is told by its library
 * parameters: 4 the acquisition mode (1.0 free run, 2.0 triggered), 5 the
 * trigger source (1.0 external, 2.0 software), 7 set to 1.0 ends a pending
 * host wait at the next software trigger.
 *
 * Every entry checks its handles and arguments: a bad one gets -1 (or a 0
 * handle from the entries that create something), never a crash.
 */
#ifndef QUAR_QUAR_HOST_ACQUIRE_H
#define QUAR_QUAR_HOST_ACQUIRE_H

#include <stdint.h>

#include "quar/quar_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- host acquisition -------------------------------------------------- */
enum {
    QRX_HOST_ON_TRIGGER = 1, /* a frame on each trigger of the channel */
    QRX_HOST_CONTINUOUS = 2  /* frames at the camera's rate */
};
/* Starts a host acquisition of `channel` (a camera channel's handle from
   qrx_get_vmodcnf); `frames` is how many frames to take, -1 without end.
   A channel runs one host acquisition: starting another stops the first.
   Returns the acquisition's grab handle, or 0. */
QUAR_EXPORT QRX_HANDLE qrx_host_start_acq(QRX_HANDLE channel, int32_t mode, int32_t x, int32_t y,
                                          int32_t width, int32_t height, void *buffer,
                                          int32_t buffers, int32_t frames);
/* Two channels acquiring one image together (dual tap): the first gives the
   even columns, the second the odd ones. Both channels' acquisitions stop
   when either is stopped. */
QUAR_EXPORT QRX_HANDLE qrx_host_start_dualtap_acq(QRX_HANDLE channel, QRX_HANDLE second,
                                                  int32_t mode, int32_t x, int32_t y,
                                                  int32_t width, int32_t height, void *buffer,
                                                  int32_t buffers, int32_t frames);
/* Waits for a frame of the acquisition `grab`: `sequence` -1 the next frame
   not yet waited for, a number >= 0 that frame (while its buffer still holds
   it); `timeout_ms` -1 waits without end. With `lock` 1 the buffer stays the
   caller's until qrx_host_grab_release. *address gets the buffer's address.
   Returns the frame's sequence number (0 for the first), -1 on time-out or a
   bad argument, -2 when the acquisition was stopped or a software trigger
   ended the wait (channel parameter 7). */
QUAR_EXPORT int32_t qrx_host_wait_acq(QRX_HANDLE grab, int32_t sequence, int32_t timeout_ms,
                                      int32_t lock, void **address);
QUAR_EXPORT int qrx_host_grab_lock(QRX_HANDLE grab, int32_t sequence);
QUAR_EXPORT int qrx_host_grab_release(QRX_HANDLE grab, int32_t sequence);
/* The sequence number of the last frame taken; -1 before the first. */
QUAR_EXPORT int32_t qrx_grab_latest_seqnum(QRX_HANDLE grab);
/* Stops a host acquisition: `handle` is its grab handle or its channel.
   Pending waits return -2. 0, or -1 when nothing ran. */
QUAR_EXPORT int qrx_host_grab_stop(QRX_HANDLE handle);
/* One frame of the channel now, into width x height bytes. 0, or -1. */
QUAR_EXPORT int qrx_host_snap(QRX_HANDLE channel, void *buffer, int32_t width, int32_t height);
/* Continuous acquisition into one buffer of width x height bytes: a
   qrx_host_start_acq with one buffer and no end. The grab handle, or 0. */
QUAR_EXPORT QRX_HANDLE qrx_host_grab(QRX_HANDLE channel, void *buffer, int32_t width,
                                     int32_t height);

/* ---- triggers ------------------------------------------------------------ */
/* A software trigger on a camera channel, an acquisition module, or a board
   (its acquisition module). 0, or -1. */
QUAR_EXPORT int qrx_gen_swtrig(QRX_HANDLE module);
/* SX-400: arms a snap into `frame` on the acquisition module's next
   trigger. Board parameter 87 reads 1 until the frame is taken. 0, or -1. */
QUAR_EXPORT int sxp_trig_snap(QRX_HANDLE board, int32_t frame);
/* Waits for the armed snap, at most count x 10 ms: 0 once it is taken (or
   when none is armed), 1 while it is still pending, -1 for a bad board. */
QUAR_EXPORT int sxp_wait_trig(QRX_HANDLE board, int32_t count);

/* ---- interrupts ------------------------------------------------------------ */
enum {
    QRX_INTR_TRIGGER = 1,   /* a trigger reached the module */
    QRX_INTR_FRAME_END = 4  /* a frame was acquired (frame memory or host) */
};
/* Connects an event to interrupt `kind` of a module (a board, an acquisition
   module or a camera channel); *event gets its handle. The event starts
   enabled. 0, or -1. */
QUAR_EXPORT int qrx_intr_connect(QRX_HANDLE module, int32_t kind, QRX_HANDLE *event);
QUAR_EXPORT int qrx_intr_disconnect(QRX_HANDLE event);
QUAR_EXPORT int qrx_intr_enable(QRX_HANDLE event);
QUAR_EXPORT int qrx_intr_disable(QRX_HANDLE event);
/* Waits until the event's interrupt comes (one that came since the last wait
   counts): 0, -1 on time-out (`timeout_ms` -1 waits without end) or for a
   bad or disabled event, -2 when it was disconnected while waiting. */
QUAR_EXPORT int qrx_intr_wait(QRX_HANDLE event, int32_t timeout_ms);

#ifdef __cplusplus
}
#endif

#endif /* QUAR_QUAR_HOST_ACQUIRE_H */
