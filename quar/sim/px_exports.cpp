// The PX library. "px_done" is how the program recognises a real (not
// stubbed) PX library.
#include "quar/quar_api.h"
#include "quar/quar_modules.h"

extern "C" {

QUAR_EXPORT int px_done(void) {
    return 0;
}

}  // extern "C"
