/*
 * Entry points of the board and module libraries that the platform objects
 * look up by name: register dumps, camera copies and the board queries.
 */
#ifndef QUAR_QUAR_MODULES_H
#define QUAR_QUAR_MODULES_H

#include "quar/quar_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Register dumps print the module's registers on the console stream. */
QUAR_EXPORT int sxa_dregs(QRX_HANDLE handle);
QUAR_EXPORT int sxp_dregs(QRX_HANDLE handle);
QUAR_EXPORT int dqp_dregs(QRX_HANDLE handle, int part);
QUAR_EXPORT int tx10_dregs(QRX_HANDLE handle);
QUAR_EXPORT int tx20_dregs(QRX_HANDLE handle);
QUAR_EXPORT int tx30_dregs(QRX_HANDLE handle);
QUAR_EXPORT int tx40_dregs(QRX_HANDLE handle);
QUAR_EXPORT int tx50_dregs(QRX_HANDLE handle);
QUAR_EXPORT int tx60_dregs(QRX_HANDLE handle);
QUAR_EXPORT int tx70_dregs(QRX_HANDLE handle);
QUAR_EXPORT int rx20_dregs(QRX_HANDLE handle);
QUAR_EXPORT int rx40_dregs(QRX_HANDLE handle);
QUAR_EXPORT int rx57_dregs(QRX_HANDLE handle);
QUAR_EXPORT int px_done(void);

/* Camera copies: a private copy of the camera structure `camera` (a
   reference), returned through `result`; `name` references its name text. */
QUAR_EXPORT int sxa_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx10_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx20_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx30_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx40_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx50_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx60_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx70_cp_camcnf(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t name);
QUAR_EXPORT int tx70_cp_matrix(QRX_HANDLE handle, uint32_t matrix, uint32_t *result, uint32_t name);

/* Loads the TX-40's linear input look-up table for the pixel size its
   register holds (8, 10, 12 or 16 bits). */
QUAR_EXPORT int tx40_lin_lut(QRX_HANDLE handle);

/* TX-30 FPGA: loads the configuration file at `path` (Intel hex records, as
   MCS files hold them) into the module's FPGA. Returns 0 when loaded, -1 for
   a bad handle or a module other than a TX-30, -2 when the file cannot be
   read and -3 for a record that is not valid (nothing is loaded then). */
QUAR_EXPORT int16_t tx30_load(QRX_HANDLE handle, const char *path);
/* TX-30 output look-up tables: fills them with the transform `kind` (0
   linear, 1 HSI). Returns 0, or -1 for a bad handle, module or kind. */
QUAR_EXPORT int16_t tx30_set_oluts(QRX_HANDLE handle, int32_t kind);

/* TX-50 timing generator: works out the PLL and timing-generator settings
   for the camera structure `camera` (a reference) from the pixel frequency
   (MHz), the line time, horizontal sync width, frame time, vertical sync
   width and vertical interval (microseconds), the timing generator's
   interlace flag, the clock source (0 the module's crystal, 1 locked to the
   camera's line sync) and the accuracy the clock must meet (per cent). The
   custom PLL options of the structure (bytes 0x116 to 0x12b) are honoured
   when its custom-option word is 1. The results are stored in the structure
   at the offsets below. Returns 0 when programmed, 1 when programmed with a
   clock that misses the accuracy, -1 for a bad handle or structure and -2
   for times that cannot be programmed (nothing is stored then). */
QUAR_EXPORT int16_t tx50_prog_user_tgen(QRX_HANDLE handle, uint32_t camera, float pixel_mhz,
                                        float line_us, float hsync_low_us, float frame_us,
                                        float vsync_low_us, float vert_interval_us,
                                        int32_t interlace, int32_t clock_source,
                                        float accuracy_percent);

/* Where tx50_prog_user_tgen leaves its results in the camera structure:
   signed 16-bit words, except the clock, a 32-bit float. */
enum {
    TX50_TGEN_REF_DIVIDER = 0x80,      /* PLL reference divider */
    TX50_TGEN_FEEDBACK_DIVIDER = 0x82, /* PLL feedback divider (VCO clocks per reference) */
    TX50_TGEN_POST_SCALER = 0x84,      /* VCO clocks per pixel: 1, 2 or 4 */
    TX50_TGEN_VCO_GAIN = 0x86,         /* VCO gain code, 4 to 7 */
    TX50_TGEN_PIXEL_CLOCK = 0x88,      /* the pixel clock the PLL makes, MHz (float) */
    TX50_TGEN_LINE_CLOCKS = 0x8c,      /* pixel clocks per line */
    TX50_TGEN_HSYNC_CLOCKS = 0x8e,     /* pixel clocks of horizontal sync */
    TX50_TGEN_FRAME_LINES = 0x90,      /* lines per frame */
    TX50_TGEN_VSYNC_HALF_LINES = 0x92, /* half lines of vertical sync */
    TX50_TGEN_VBLANK_LINES = 0x94,     /* lines of the vertical interval */
    TX50_TGEN_LOCKED = 0x96,           /* 1 when the clock meets the accuracy */
    TX50_TGEN_INTERLACE = 0x98,        /* the interlace flag it was given */
    TX50_TGEN_CLOCK_SOURCE = 0x9a      /* the clock source it was given */
};

/* TX-70 colour-space converter: loads the nine coefficients (row by row)
   into the converter, which holds each in 1/256 steps from -4 to 3.996 in
   registers TX70_CSC_FIRST_REGISTER to TX70_CSC_FIRST_REGISTER + 8 (signed
   16-bit). Returns 0, or -1 for a bad handle or no coefficients. */
QUAR_EXPORT int tx70_load_matrix(QRX_HANDLE handle, const float *coefficients);
/* TX-70 output look-up tables: the linear table, or the hue and saturation
   (HSI) table; register TX70_LUT_REGISTER tells which was loaded last.
   Return 0, or -1 for a bad handle. */
QUAR_EXPORT int tx70_iluts(QRX_HANDLE handle);
QUAR_EXPORT int tx70_hue_and_saturation(QRX_HANDLE handle);

enum {
    TX70_CSC_FIRST_REGISTER = 112,
    TX70_CSC_STEPS = 256,
    TX70_LUT_REGISTER = 100,
    TX70_LUT_LINEAR = 1,
    TX70_LUT_HSI = 2
};

QUAR_EXPORT int16_t sxp_get_hw_revision(QRX_HANDLE handle);
QUAR_EXPORT int16_t dqp_get_hw_revision(QRX_HANDLE handle);
/* Which frame memories the DQ-500 has: 0 = A0 only, 1 and 3 = A0 and A1,
   2 = A0, A1 and B1. */
QUAR_EXPORT int dqp_memory_model(QRX_HANDLE handle);

/* The DQ-500's frames as its display and acquisition entries number them:
   the three memories, A0 and A1 taken together as one 16-bit frame, the
   overlay, and A0, A1 and B1 taken together as one true-colour frame. */
enum {
    DQP_FRAME_A0 = 0,
    DQP_FRAME_A1 = 1,
    DQP_FRAME_A0_A1 = 2,
    DQP_FRAME_B1 = 4,
    DQP_FRAME_OVERLAY = 6,
    DQP_FRAME_TRUE_COLOR = 7
};
/* dqp_acqbits operations: report the frame's acquisition status, or arm a
   triggered snap into it. The result is the status (DQP_STATUS_*), -1 for a
   bad handle, frame or operation. */
enum { DQP_ACQBITS_STATUS = 0, DQP_ACQBITS_ARM_TRIGGER = 2 };
enum { DQP_STATUS_IDLE = 0, DQP_STATUS_GRABBING = 1, DQP_STATUS_ARMED = 3 };
QUAR_EXPORT int dqp_acqbits(QRX_HANDLE board, int frame, int operation);
/* Clears a frame to 0; writes text into one (the overlay) at a position. */
QUAR_EXPORT int dqp_clr_frame(QRX_HANDLE board, int frame);
QUAR_EXPORT int dqp_text_out(QRX_HANDLE board, int frame, int x, int y, const char *text);
/* Routes display path `path` to frame `frame`. */
QUAR_EXPORT int dqp_set_cpspath(QRX_HANDLE board, int path, int frame);
/* Turns a frame's display on (1) or off (0). */
QUAR_EXPORT int dqp_disp_enable(QRX_HANDLE board, int frame, int on);
/* Shows an area of a frame on display `display`, in display mode `mode`. */
QUAR_EXPORT int dqp_display_area(QRX_HANDLE board, int display, int frame, int x, int y, int width,
                                 int height, int mode);

#ifdef __cplusplus
}
#endif

#endif /* QUAR_QUAR_MODULES_H */
