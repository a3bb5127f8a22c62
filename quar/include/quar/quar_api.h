/*
 * The imaging library's C entry points, as the program binds them by name.
 *
 * Handles of boards, modules, image sources, sinks, connections and servers
 * are opaque 32-bit values; 0 means none. Records the library hands out
 * (module specifications, camera structures) are packed byte records at fixed
 * offsets; a 4-byte reference field inside them is turned into an address by
 * qrx_deref. The program includes this header for the entry points' types
 * only: it never links the library, it looks every name up at run time.
 */
#ifndef QUAR_QUAR_API_H
#define QUAR_QUAR_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QUAR_EXPORT __attribute__((visibility("default")))

typedef uint32_t QRX_HANDLE;

/* One entry of a register table: 18 bytes. */
#define QRX_REGTABLE_ENTRY_SIZE 18
/* Bit 2 of an entry's last byte marks a 32-bit register. */
#define QRX_REG_32BIT 0x04

/* Categories reported by qrx_get_modtype. */
#define QRX_CATEGORY_BOARD 0
#define QRX_CATEGORY_SLOT_MODULE 1
#define QRX_CATEGORY_BUS_TRANSLATOR 2
#define QRX_CATEGORY_CAMERA_CHANNEL 3

/* The converter's result codes (mkbcf), also its exit status. */
#define MKBCF_OK 0
#define MKBCF_USAGE 1
#define MKBCF_CANNOT_READ 2
#define MKBCF_BAD_TEXT 3
#define MKBCF_CANNOT_WRITE 4
#define MKBCF_BAD_REPLY_CHANNEL 5

/* qrx_load_cnf results. Accepted: 0, -4, -5, -6, -11, -29. */
#define QRX_LOAD_OK 0
#define QRX_LOAD_HARDWARE_MISSING (-11) /* loaded; some boards are not in the rack */
#define QRX_LOAD_NO_FILE (-2)
#define QRX_LOAD_NOT_A_CONFIGURATION (-3)
#define QRX_LOAD_WRONG_VERSION (-7)
#define QRX_LOAD_CORRUPT (-8)
#define QRX_LOAD_BAD_CONTENT (-9)

/* ---- the library itself -------------------------------------------- */
QUAR_EXPORT const char *qrx_product_version(void);
/* Where the library prints (register dumps, load messages); stdout by default. */
typedef void (*QRX_CONSOLE_SINK)(const char *text, void *user);
QUAR_EXPORT void qrx_set_console_sink(QRX_CONSOLE_SINK sink, void *user);
/* The address of a 4-byte reference found in a library record; NULL for 0. */
QUAR_EXPORT void *qrx_deref(uint32_t reference);

/* ---- configurations and the module walk ------------------------------- */
QUAR_EXPORT void qrx_err_level(int level);
QUAR_EXPORT int16_t qrx_load_cnf(const char *binaryPath);
QUAR_EXPORT int qrx_remove_sys(int system);
QUAR_EXPORT QRX_HANDLE qrx_systop(int system);
QUAR_EXPORT QRX_HANDLE qrx_get_next_mod(QRX_HANDLE handle);
QUAR_EXPORT QRX_HANDLE qrx_get_transmod(void);
QUAR_EXPORT int qrx_set_transmod(QRX_HANDLE handle);
QUAR_EXPORT int qrx_init_sys(int system);
QUAR_EXPORT const char *qrx_get_modname(QRX_HANDLE handle);
/* The category of the element (QRX_CATEGORY_*); -1 for a bad handle. */
QUAR_EXPORT int qrx_get_modtype(QRX_HANDLE handle);
QUAR_EXPORT int16_t qrx_get_sysnum(QRX_HANDLE handle);
QUAR_EXPORT int16_t qrx_get_seqnum(QRX_HANDLE handle);
QUAR_EXPORT int16_t qrx_get_slotnum(QRX_HANDLE handle);
/* The register table and its number of entries. */
QUAR_EXPORT const uint8_t *qrx_get_regtable(QRX_HANDLE handle, int *entries);
QUAR_EXPORT void *qrx_get_modspec(QRX_HANDLE handle);
/* The handle of camera channel `channel` of an SXA board; 0 when none. */
QUAR_EXPORT QRX_HANDLE qrx_get_vmodcnf(QRX_HANDLE board, int channel);
/* The module in a slot of a board; 0 when the slot is empty. */
QUAR_EXPORT QRX_HANDLE qrx_get_modcnf(QRX_HANDLE board, int slot);
QUAR_EXPORT QRX_HANDLE qrx_get_seqmodcnf(const char *model, int instance);
QUAR_EXPORT QRX_HANDLE qrx_get_parent(QRX_HANDLE handle);
/* Builds one module's records from the first section of that model in a
   configuration file (binary, or text): default objects and camera files. */
QUAR_EXPORT QRX_HANDLE qrx_load_modcnf(const char *path, const char *model);
QUAR_EXPORT int qrx_del_modcnf(QRX_HANDLE handle);
/* The module type number detected in a slot of a present board (the module
   type tables), 0 when the slot is empty or the board not present. */
QUAR_EXPORT int M_detect_dmod(QRX_HANDLE board, int slot);
QUAR_EXPORT int16_t qrx_get_hw_revision(QRX_HANDLE handle);

/* ---- registers and library parameters --------------------------------- */
QUAR_EXPORT int16_t read_reg(QRX_HANDLE handle, int reg);
QUAR_EXPORT int write_reg(QRX_HANDLE handle, int reg, uint16_t value);
QUAR_EXPORT uint32_t read_reg32(QRX_HANDLE handle, int reg);
QUAR_EXPORT int write_reg32(QRX_HANDLE handle, int reg, uint32_t value);
QUAR_EXPORT int qrx_set_param(QRX_HANDLE handle, int param, double value);
QUAR_EXPORT double qrx_get_param(QRX_HANDLE handle, int param);

/* ---- acquisition into frame memory --------------------------------------- */
/* qrx_xboard takes a 28-byte request block: the request code, then the frame. */
#define QRX_XBOARD_STOP 12 /* stop the acquisition into the frame */
#define QRX_XBOARD_SNAP 13 /* acquire one frame */
#define QRX_XBOARD_GRAB 14 /* acquire continuously */
typedef struct {
    int32_t code;
    int32_t frame;
    uint8_t reserved[20];
} QRX_XBOARD_REQUEST;
/* 0 when the board took the request; -1 for a bad handle, code or frame. */
QUAR_EXPORT int qrx_xboard(QRX_HANDLE board, const QRX_XBOARD_REQUEST *request);

/* ---- the PCI platform: devices and the bus translator ------------------ */
/* A handle (above 0) for board `index` of that abbreviation ("SXP", "SXA",
   "DQP", "RXP") when the rack has it, else -1. */
QUAR_EXPORT int qrx_open_device_handle(const char *abbreviation, int index);
QUAR_EXPORT int qrx_close_device_handle(int deviceHandle);
QUAR_EXPORT int find_pci_device(int vendor, int device, int index);
QUAR_EXPORT int bz700_get_delays(QRX_HANDLE handle, int16_t *delay0, int16_t *delay1,
                                 int16_t *delay2);
QUAR_EXPORT int bz700_set_delays(QRX_HANDLE handle, int16_t delay0, int16_t delay1,
                                 int16_t delay2);
QUAR_EXPORT int get_amcc_safe_access_flag(void);
QUAR_EXPORT int set_amcc_safe_access_flag(int flag);

#ifdef __cplusplus
}
#endif

#endif /* QUAR_QUAR_API_H */
