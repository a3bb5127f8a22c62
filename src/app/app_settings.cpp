// The one program-wide settings object, the hardware switch and the memory-file groups it holds.
#include "app/app_settings.h"

#include <utility>

#include "library/hardware.h"

namespace qvi {

namespace {
int detectOnNew = 0;
}  // namespace

HardwareSwitch &HardwareSwitch::operator=(bool enabled) {
    SetHardwareEnabled(enabled);
    return *this;
}

HardwareSwitch::operator bool() const {
    return HardwareEnabled();
}

AppSettings::AppSettings()
    : boardNames{"SXP", "SXA", "DQP", "RXP", "BZ700"},
      acquisitionModuleNames{"TX-10", "TX-20", "TX-31", "TX-40", "TX-50", "TX-60", "TX-70"},
      computationalModuleNames{"RX-10", "RX-20", "RX-30", "RX-40", "RX-50", "RX-51",
                               "RX-52", "RX-53", "RX-54", "RX-55", "RX-56", "RX-57"} {}

AppSettings &GlobalAppSettings() {
    static AppSettings settings;
    return settings;
}

int DetectOnNew() {
    return detectOnNew;
}

void SetDetectOnNew(int detect) {
    detectOnNew = detect;
}

}  // namespace qvi
