// The core library's interrupt entries: events on a board's, module's or
// camera channel's trigger and frame-end interrupts.
#include "quar/quar_host_acquire.h"
#include "sim/interrupts.h"
#include "sim/library.h"

using quar::Interrupts;

extern "C" {

int qrx_intr_connect(QRX_HANDLE module, int32_t kind, QRX_HANDLE *event) {
    const quar::Element *element = quar::Library::Instance().Find(module);
    if (element == nullptr || element->category == QRX_CATEGORY_BUS_TRANSLATOR ||
        event == nullptr || (kind != QRX_INTR_TRIGGER && kind != QRX_INTR_FRAME_END))
        return -1;
    *event = Interrupts::Instance().Connect(module, kind);
    return 0;
}

int qrx_intr_disconnect(QRX_HANDLE event) {
    return Interrupts::Instance().Disconnect(event);
}

int qrx_intr_enable(QRX_HANDLE event) {
    return Interrupts::Instance().SetEnabled(event, true);
}

int qrx_intr_disable(QRX_HANDLE event) {
    return Interrupts::Instance().SetEnabled(event, false);
}

int qrx_intr_wait(QRX_HANDLE event, int32_t timeout_ms) {
    return Interrupts::Instance().Wait(event, timeout_ms);
}

}  // extern "C"
