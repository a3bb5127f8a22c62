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

QUAR_EXPORT int16_t sxp_get_hw_revision(QRX_HANDLE handle);
QUAR_EXPORT int16_t dqp_get_hw_revision(QRX_HANDLE handle);
/* Which frame memories the DQ-500 has: 2 = A0, A1 and B1. */
QUAR_EXPORT int dqp_memory_model(QRX_HANDLE handle);

#ifdef __cplusplus
}
#endif

#endif /* QUAR_QUAR_MODULES_H */
