// The settings the models read: the RX-20 memory groups and the empty settings.
#include "modules/module_settings.h"

#include <utility>

namespace qvi {

const std::vector<MemFileEntry> *MemFileGroups::For(int sizeNumber) const {
    switch (sizeNumber) {
        case 12:
            return &size12;
        case 16:
            return &size16;
        case 64:
            return &size64;
        default:
            return nullptr;
    }
}

std::vector<MemFileEntry> *MemFileGroups::For(int sizeNumber) {
    return const_cast<std::vector<MemFileEntry> *>(std::as_const(*this).For(sizeNumber));
}

const ModuleSettings &NoModuleSettings() {
    static const FixedModuleSettings none;
    return none;
}

}  // namespace qvi
