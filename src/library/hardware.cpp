// The program-wide hardware-present flag.
#include "library/hardware.h"

namespace qvi {

namespace {
// Starts switched on: the settings file switches it off, as does a start-up
// that finds no boards.
bool hardwareEnabled = true;
// Set while a text write enabled the flag in No-Hardware mode.
bool enabledForWrite = false;
}  // namespace

bool HardwareEnabled() {
    return hardwareEnabled;
}

void SetHardwareEnabled(bool enabled) {
    hardwareEnabled = enabled;
}

bool NoHardwareMode() {
    return !hardwareEnabled || enabledForWrite;
}

HardwareWritesSuppressed::HardwareWritesSuppressed() : previous_(hardwareEnabled) {
    hardwareEnabled = false;
}

HardwareWritesSuppressed::~HardwareWritesSuppressed() {
    hardwareEnabled = previous_;
}

HardwareTemporarilyEnabled::HardwareTemporarilyEnabled()
    : previous_(hardwareEnabled), previousForced_(enabledForWrite) {
    if (!hardwareEnabled) enabledForWrite = true;
    hardwareEnabled = true;
}

HardwareTemporarilyEnabled::~HardwareTemporarilyEnabled() {
    hardwareEnabled = previous_;
    enabledForWrite = previousForced_;
}

}  // namespace qvi
