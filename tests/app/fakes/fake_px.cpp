// A PX library as the loader tests read it from disk: its version stamp, its
// marker entry and the digital port entry points, each doing nothing.
#include "quar/version_stamp.h"

#define FAKE_STUB(name)                                            \
    extern "C" __attribute__((visibility("default"))) int name() { \
        return 0;                                                  \
    }

QUAR_VERSION_STAMP(FAKE_VERSION);

FAKE_STUB(px_done)
FAKE_STUB(qrx_outport_strobe_val)
FAKE_STUB(qrx_outport_val)
FAKE_STUB(qrx_inport_mode)
FAKE_STUB(qrx_inport_val)
FAKE_STUB(qrx_inport_intrpol)
