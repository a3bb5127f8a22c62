// The open configuration's changed flag.
#include "system/config_state.h"

namespace qvi {

namespace {
bool configModified = false;
}  // namespace

bool ConfigModified() {
    return configModified;
}

void SetConfigModified(bool modified) {
    configModified = modified;
}

}  // namespace qvi
