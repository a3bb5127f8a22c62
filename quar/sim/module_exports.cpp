// Entry points of the board and module libraries, looked up by name by the
// platform objects: register dumps, camera copies, the settings entries that
// configure a module, and the acquisition and display entries of the boards.
#include <cstdarg>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "sim/library.h"

using quar::Library;

namespace {

bool Known(QRX_HANDLE handle) {
    return Library::Instance().Find(handle) != nullptr;
}

int CopyCamera(QRX_HANDLE handle, uint32_t camera, uint32_t *result) {
    return Library::Instance().CopyCamera(handle, camera, result);
}

// Settings entries take effect at once on the simulated board: nothing to do
// beyond accepting them for a known module.
int Accept(QRX_HANDLE handle) {
    return Known(handle) ? 0 : -1;
}

int16_t Revision(QRX_HANDLE handle) {
    return static_cast<int16_t>(Library::Instance().HardwareRevision(handle));
}

}  // namespace

// Register dumps print the module's register file on the console stream.
#define QUAR_DREGS(name)                                  \
    QUAR_EXPORT int name(QRX_HANDLE handle) {             \
        return Library::Instance().DumpRegisters(handle); \
    }

// Camera copies give the module a private copy of a camera structure.
#define QUAR_CP_CAMCNF(name)                                                               \
    QUAR_EXPORT int name(QRX_HANDLE handle, uint32_t camera, uint32_t *result, uint32_t) { \
        return CopyCamera(handle, camera, result);                                         \
    }

#define QUAR_SETTING(name)                         \
    QUAR_EXPORT int name(QRX_HANDLE handle, ...) { \
        return Accept(handle);                     \
    }

// The SX-400's acquisition, frame and display entries: the acquisition work
// gives them their behaviour; until then they fail as the library does
// without frames.
#define QUAR_ACQUIRE(name)                  \
    QUAR_EXPORT int name(QRX_HANDLE, ...) { \
        return -1;                          \
    }

extern "C" {

QUAR_DREGS(sxa_dregs)
QUAR_DREGS(sxp_dregs)
QUAR_DREGS(tx10_dregs)
QUAR_DREGS(tx20_dregs)
QUAR_DREGS(tx40_dregs)
QUAR_DREGS(tx50_dregs)
QUAR_DREGS(tx60_dregs)
QUAR_DREGS(tx70_dregs)

QUAR_CP_CAMCNF(sxa_cp_camcnf)
QUAR_CP_CAMCNF(tx10_cp_camcnf)
QUAR_CP_CAMCNF(tx20_cp_camcnf)
QUAR_CP_CAMCNF(tx30_cp_camcnf)
QUAR_CP_CAMCNF(tx40_cp_camcnf)
QUAR_CP_CAMCNF(tx50_cp_camcnf)
QUAR_CP_CAMCNF(tx60_cp_camcnf)
QUAR_CP_CAMCNF(tx70_cp_camcnf)
QUAR_CP_CAMCNF(tx70_cp_matrix)

QUAR_EXPORT int16_t sxp_get_hw_revision(QRX_HANDLE handle) {
    return Revision(handle);
}

QUAR_SETTING(qrx_set_ycrcbmono)
QUAR_SETTING(tx50_camera_dpll)
QUAR_SETTING(tx50_dpll)
QUAR_SETTING(tx70_float_matrix)
QUAR_SETTING(tx70_load)
QUAR_SETTING(tx70_load_mx)

QUAR_ACQUIRE(sxp_display_area)
QUAR_ACQUIRE(sxp_acqbits)
QUAR_ACQUIRE(sxp_create_frame)
QUAR_ACQUIRE(sxp_delete_frame)
QUAR_ACQUIRE(sxp_set_cur_dim)
QUAR_ACQUIRE(sxp_scanmd_status)
QUAR_ACQUIRE(sxp_set_frame_ilace)
QUAR_ACQUIRE(sxp_start_field)

}  // extern "C"
