#pragma once

namespace qvi {

// The one program-wide hardware-present flag. Every register access and every
// library call that touches the hardware asks it first and does nothing when
// it is clear: the program then runs in No-Hardware mode.
bool HardwareEnabled();
void SetHardwareEnabled(bool enabled);
// Whether the program runs without hardware: the flag is clear, or it is set
// only for the moment a text write collects full settings.
bool NoHardwareMode();

// Clears the flag for its lifetime and restores the previous state. A module
// that must write several registers as one suppresses the single writes with
// it until the last value is set, then writes them together.
class HardwareWritesSuppressed {
public:
    HardwareWritesSuppressed();
    ~HardwareWritesSuppressed();
    HardwareWritesSuppressed(const HardwareWritesSuppressed &) = delete;
    HardwareWritesSuppressed &operator=(const HardwareWritesSuppressed &) = delete;

private:
    bool previous_;
};

// Sets the flag for its lifetime (a text write collects full settings with
// hardware enabled), then restores it.
class HardwareTemporarilyEnabled {
public:
    HardwareTemporarilyEnabled();
    ~HardwareTemporarilyEnabled();
    HardwareTemporarilyEnabled(const HardwareTemporarilyEnabled &) = delete;
    HardwareTemporarilyEnabled &operator=(const HardwareTemporarilyEnabled &) = delete;

private:
    bool previous_;
    bool previousForced_;
};

}  // namespace qvi
