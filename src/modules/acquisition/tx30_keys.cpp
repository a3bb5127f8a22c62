// The TX-30 (library model "TX-31"): its layout is known, so the library can already lay out its
// records; its section is accepted and its lines skipped until its rows arrive.

#include "modules/model_tables.h"

namespace qvi::keys {

// Specification: the FPGA file name reference (byte 0), the output-LUT bypass
// (byte 6), the start-up port (byte 8), then the four camera references at
// bytes 10 to 25. Camera structure: 82 bytes, its matrix reference at 0x1e.
// Matrix structure: the name at byte 8 and nine 32-bit coefficients from 0x22
// to 0x45, so 70 bytes.
constinit const ModelTable kTx31Table{
    .model = "TX-31",
    .section = "TX-30",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Acquisition,
    .slots = {},
    .layout =
        {
            .specSize = 26,
            .cameraSize = 82,
            .matrixSize = 70,
            .cameraPorts = 4,
            .cameraRefOffset = 10,
            .matrixRefOffset = 0x1e,
        },
    .keys = {},
    .rowsPending = true,
};

}  // namespace qvi::keys
