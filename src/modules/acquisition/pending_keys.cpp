// The acquisition modules whose rows are not in the data set yet. Their
// layouts are known, so the library can already lay out their records; their
// sections are accepted and their lines skipped until the rows arrive.

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
