// The core library's acquisition requests, and the host-acquisition,
// interrupt, trigger and parameter-list entries the stand-in does not give a
// behaviour yet: each of those answers with the library's failure result.
// Frames, display, image files and digital ports have files of their own.
#include "quar/quar_api.h"
#include "sim/library.h"

#define QUAR_FAILS(name)                    \
    QUAR_EXPORT int name(QRX_HANDLE, ...) { \
        return -1;                          \
    }

extern "C" {

QUAR_EXPORT int qrx_xboard(QRX_HANDLE board, const QRX_XBOARD_REQUEST *request) {
    if (request == nullptr) return -1;
    return quar::Library::Instance().FrameRequest(board, request->code, request->frame);
}

QUAR_FAILS(qrx_get_am)
QUAR_FAILS(qrx_display_frame)
QUAR_FAILS(qrx_host_snap)
QUAR_FAILS(qrx_host_grab)
QUAR_FAILS(qrx_host_grab_stop)
QUAR_FAILS(qrx_snap_async)
QUAR_FAILS(qrx_host_start_dualtap_acq)
QUAR_FAILS(qrx_intr_connect)
QUAR_FAILS(qrx_intr_disconnect)
QUAR_FAILS(qrx_intr_enable)
QUAR_FAILS(qrx_intr_disable)
QUAR_FAILS(qrx_intr_wait)
QUAR_FAILS(qrx_get_param_caps)
QUAR_FAILS(qrx_get_first_param)
QUAR_FAILS(qrx_get_next_param)
QUAR_FAILS(qrx_get_first_enum_arg)
QUAR_FAILS(qrx_get_next_enum_arg)
QUAR_FAILS(qrx_is_supported)
QUAR_FAILS(qrx_closest_supported)
QUAR_FAILS(qrx_grab_latest_seqnum)
QUAR_FAILS(qrx_gen_swtrig)
QUAR_FAILS(qrx_host_grab_lock)
QUAR_FAILS(qrx_host_grab_release)
QUAR_FAILS(qrx_host_start_acq)
QUAR_FAILS(qrx_host_wait_acq)
QUAR_FAILS(qrx_set_display_hdlr)

}  // extern "C"
