// The TX-70: its layout is known, so the library can already lay out its
// records; its section is accepted and its lines skipped until its rows arrive.

#include "modules/model_tables.h"

namespace qvi::keys {

// Specification: the load-file name reference (byte 0), the active port
// (byte 6), the board type (byte 8), then the four camera references at bytes
// 10 to 25. Camera structure: 75 32-bit words, 300 bytes, its matrix reference
// at 0x20. The matrix record's size is not given: the name at byte 8 and nine
// 32-bit floats at 0x22 to 0x42 (the last ending at 0x46) make it 70 bytes.
constinit const ModelTable kTx70Table{
    .model = "TX-70",
    .section = "TX-70",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 26,
            .cameraSize = 300,
            .matrixSize = 70,
            .cameraPorts = 4,
            .cameraRefOffset = 10,
            .matrixRefOffset = 0x20,
        },
    .keys = {},
    .rowsPending = true,
};

}  // namespace qvi::keys
