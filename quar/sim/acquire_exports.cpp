// The core library's acquisition requests, and the parameter-list entries
// the stand-in does not give a behaviour yet: each of those answers with the
// library's failure result. Frames, display, image files, digital ports,
// host acquisitions, triggers and interrupts have files of their own.
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
QUAR_FAILS(qrx_snap_async)
QUAR_FAILS(qrx_get_param_caps)
QUAR_FAILS(qrx_get_first_param)
QUAR_FAILS(qrx_get_next_param)
QUAR_FAILS(qrx_get_first_enum_arg)
QUAR_FAILS(qrx_get_next_enum_arg)
QUAR_FAILS(qrx_is_supported)
QUAR_FAILS(qrx_closest_supported)
QUAR_FAILS(qrx_set_display_hdlr)

}  // extern "C"
