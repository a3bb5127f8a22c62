// A PX library: its marker entry and the digital port entry points.
#include "fake_exports.h"

QUAR_VERSION_STAMP(FAKE_VERSION);

FAKE_STUB(px_done)
FAKE_STUB(qrx_outport_strobe_val)
FAKE_STUB(qrx_outport_val)
FAKE_STUB(qrx_inport_mode)
FAKE_STUB(qrx_inport_val)
FAKE_STUB(qrx_inport_intrpol)
