// A computational-module library: the entry points only it exports, one the
// core has too, and a module entry. FAKE_STUBBED leaves out "rx57_dregs".
#include <cstdint>

#include "fake_exports.h"

QUAR_VERSION_STAMP(FAKE_VERSION);

#ifndef FAKE_STUBBED
FAKE_STUB(rx57_dregs)
#endif

FAKE_EXPORT std::int16_t qrx_get_hw_revision(std::uint32_t) {
    return 200;
}

FAKE_STUB(qrx_ycrcb_to_rgb)
FAKE_STUB(qrx_rgb_to_ycrcb)
FAKE_STUB(qrx_rpix)
FAKE_STUB(rx30_dregs)
