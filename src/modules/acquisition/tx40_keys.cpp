// The TX-40: its layout is known, so the library can already lay out its
// records; its section is accepted and its lines skipped until its rows arrive.

#include "modules/model_tables.h"

namespace qvi::keys {

// The specification is the one camera structure itself: 106 bytes (0x6a).
constinit const ModelTable kTx40Table{
    .model = "TX-40",
    .section = "TX-40",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout = {.specSize = 106, .cameraSize = 106, .cameraPorts = 1, .cameraRefOffset = -1},
    .keys = {},
    .rowsPending = true,
};

}  // namespace qvi::keys
