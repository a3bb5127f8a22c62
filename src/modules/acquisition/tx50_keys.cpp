// The TX-50: its layout is known, so the library can already lay out its
// records; its section is accepted and its lines skipped until its rows arrive.

#include "modules/model_tables.h"

namespace qvi::keys {

// Specification: the active port (16-bit, byte 0) and the four camera
// references at bytes 2 to 17. Camera structure: 75 32-bit words, 300 bytes.
constinit const ModelTable kTx50Table{
    .model = "TX-50",
    .section = "TX-50",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout = {.specSize = 18, .cameraSize = 300, .cameraPorts = 4, .cameraRefOffset = 2},
    .keys = {},
    .rowsPending = true,
};

}  // namespace qvi::keys
