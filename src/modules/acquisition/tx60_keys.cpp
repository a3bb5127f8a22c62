// The TX-60: its layout is known, so the library can already lay out its
// records; its section is accepted and its lines skipped until its rows arrive.

#include "modules/model_tables.h"

namespace qvi::keys {

// The specification is the one camera structure itself: 86 bytes (fields up
// to 0x55).
constinit const ModelTable kTx60Table{
    .model = "TX-60",
    .section = "TX-60",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout = {.specSize = 86, .cameraSize = 86, .cameraPorts = 1, .cameraRefOffset = -1},
    .keys = {},
    .rowsPending = true,
};

}  // namespace qvi::keys
