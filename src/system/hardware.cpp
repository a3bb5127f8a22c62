#include "system/hardware.h"

namespace qvi {

namespace {
// Starts switched on: the settings file switches it off, as does a start-up
// that finds no boards.
bool hardwareEnabled = true;
}  // namespace

bool HardwareEnabled() {
    return hardwareEnabled;
}

void SetHardwareEnabled(bool enabled) {
    hardwareEnabled = enabled;
}

HardwareWritesSuppressed::HardwareWritesSuppressed() : previous_(hardwareEnabled) {
    hardwareEnabled = false;
}

HardwareWritesSuppressed::~HardwareWritesSuppressed() {
    hardwareEnabled = previous_;
}

HardwareTemporarilyEnabled::HardwareTemporarilyEnabled() : previous_(hardwareEnabled) {
    hardwareEnabled = true;
}

HardwareTemporarilyEnabled::~HardwareTemporarilyEnabled() {
    hardwareEnabled = previous_;
}

}  // namespace qvi
