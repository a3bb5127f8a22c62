// What a board's acquisition module reports about its image: format, depth, size.
#include "app/acquisition_info.h"

#include <string>

#include "acquire/frame_sink.h"
#include "app/module_description.h"
#include "library/hardware.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "platform/ui.h"
#include "system/sys_element.h"
#include "system/system.h"

namespace qvi {

namespace {

void Refuse(const QV_system &system, int index, const std::string &why) {
    std::string element = "element " + std::to_string(index);
    const std::string description = ModuleDescription(system, index);
    if (!description.empty()) element += " (" + description + ")";
    ReportError("No acquisition info for " + element + ": " + why);
}

}  // namespace

std::optional<AcquisitionInfo> AcquisitionInfoOf(const QV_system &system, int index) {
    const QV_sys_element *element =
        index >= 0 && index < system.Size() ? system.GetElement(index) : nullptr;
    QV_plat_mod *platform = element && element->IsModule() ? element->GetPlatMod() : nullptr;
    if (platform == nullptr) {
        Refuse(system, index, "not a board or module");
        return std::nullopt;
    }
    const bool board = element->IsMboard();
    auto *module =
        dynamic_cast<QV_acq_plat_mod *>(board ? platform->AcquisitionModule() : platform);
    if (module == nullptr) {
        Refuse(system, index,
               board ? "the board carries no acquisition module" : "not an acquisition module");
        return std::nullopt;
    }
    AcquisitionInfo info;
    info.pixelFormat = module->GetBoardType();
    info.bitsPerPixel = module->GetBitsPerPixel();
    info.height = module->GetImageHeight();
    info.width = module->GetImageWidth();
    if (HardwareEnabled())
        info.hardwareRevision =
            board ? platform->HardwareRevision() : module->GetHardwareRevision();
    return info;
}

std::unique_ptr<FrameSink> FrameSinkFor(const QV_system &system, int index) {
    constexpr int kFallbackSide = 2048;
    const std::optional<AcquisitionInfo> info = AcquisitionInfoOf(system, index);
    const bool sized = info && info->width > 0 && info->height > 0;
    const bool grey = !info || info->bitsPerPixel == 8;
    return std::make_unique<FrameSink>(sized ? info->width : kFallbackSide,
                                       sized ? info->height : kFallbackSide,
                                       grey ? FrameSink::Format::Grey8 : FrameSink::Format::Xrgb32);
}

}  // namespace qvi
