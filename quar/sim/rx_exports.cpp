// The computational-module library: its register dumps. "rx57_dregs" is also
// how the program recognises a real (not stubbed) computational library.
#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "sim/library.h"

extern "C" {

QUAR_EXPORT int rx57_dregs(QRX_HANDLE handle) {
    return quar::Library::Instance().DumpRegisters(handle);
}

QUAR_EXPORT int rx20_dregs(QRX_HANDLE handle) {
    return quar::Library::Instance().DumpRegisters(handle);
}

QUAR_EXPORT int rx40_dregs(QRX_HANDLE handle) {
    return quar::Library::Instance().DumpRegisters(handle);
}

}  // extern "C"
