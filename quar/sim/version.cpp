// Every library of the stand-in carries and reports the product version it
// was built as.
#include "quar/quar_api.h"
#include "quar/version_stamp.h"

QUAR_VERSION_STAMP(QUAR_VERSION);

extern "C" QUAR_EXPORT const char *qrx_product_version(void) {
    return QUAR_VERSION;
}
