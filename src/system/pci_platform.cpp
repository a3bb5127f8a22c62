// The "PCI" platform object: the library binding, the bus translator and hardware detection.
#include "system/pci_platform.h"

#include "params/mod.h"
#include "platform/ui.h"
#include "system/mod_factory.h"
#include "system/plat_mod.h"
#include "system/system.h"

namespace qvi {

namespace {

constexpr const char *kDetectionOrder[] = {"SXP", "SXA", "DQP", "RXP"};
constexpr const char *kNewBoardOrder[] = {"SXP", "DQP", "RXP", "SXA"};
constexpr std::uint16_t kChannelCountOffset = 4;

}  // namespace

QV_pci_platform::QV_pci_platform(LibraryLoader &loader, const LibraryFiles &files,
                                 const BindingEnvironment &environment)
    : binding_(loader, files, bindingError_, environment) {
    // The platform's own entries are looked up only on a usable binding, so a
    // library that did not load is reported once, not once per entry.
    valid_ = bindingError_ == 0 && binding_.IsValid() && binding_.LookupPlatformEntries();
}

std::string QV_pci_platform::NameOf(std::uint32_t handle) {
    auto getName = binding_.Entry<&::qrx_get_modname>();
    const char *name = getName ? getName(handle) : nullptr;
    return name ? name : "";
}

int QV_pci_platform::CountBoards(const char *kind) {
    auto open = binding_.Entry<&::qrx_open_device_handle>();
    auto close = binding_.Entry<&::qrx_close_device_handle>();
    if (open == nullptr) return 0;
    int count = 0;
    for (int device; (device = open(kind, count)) != -1; ++count)
        if (close) close(device);
    return count;
}

int QV_pci_platform::DetectHardware() {
    auto open = binding_.Entry<&::qrx_open_device_handle>();
    auto close = binding_.Entry<&::qrx_close_device_handle>();
    if (open == nullptr) return 0;
    for (const char *kind : kDetectionOrder) {
        int device = open(kind, 0);
        if (device == -1) continue;
        if (close) close(device);
        return 1;
    }
    return 0;
}

int QV_pci_platform::DetectBoards(QV_system &system, QV_mod_factory &factory) {
    int total = 0;
    int added = 0;
    for (const char *kind : kNewBoardOrder) {
        for (int count = CountBoards(kind); count > 0; --count, ++total)
            added = system.AddModElement(factory.CreateModByName(kind));
    }
    if (total == 0) return 0;
    return system.AddModElement(factory.CreateModByName("BZ700")) && added ? 1 : 0;
}

int QV_pci_platform::BuildDefaultSystem(QV_system &system, QV_mod_factory &factory) {
    if (!system.AddModElement(factory.CreateModByName("BZ700"))) return 0;
    system.AddElement(std::make_unique<QV_sys_element>(0, -1));
    return 1;
}

void QV_pci_platform::AddSlotElement(QV_system &system, QV_mod_factory &factory,
                                     std::uint32_t board, int boardIndex, int slot, bool channel) {
    auto find =
        channel ? binding_.Entry<&::qrx_get_vmodcnf>() : binding_.Entry<&::qrx_get_modcnf>();
    std::uint32_t handle = find ? find(board, slot) : 0;
    if (handle == 0) {
        system.AddElement(std::make_unique<QV_sys_element>(boardIndex, slot));
        return;
    }
    std::unique_ptr<QV_plat_mod> platform = factory.CreatePlatMod(handle);
    if (!platform) return;
    QV_plat_mod *module = platform.get();
    // The module knows its board before its element fills its container: an
    // RX-20 on a board takes its memory size from the board's memory type.
    const int boardElement = system.FindByHandle(board);
    QV_plat_mod *boardPlatform =
        boardElement < 0 ? nullptr : system.GetElement(boardElement)->GetPlatMod();
    module->SetParentBoard(boardPlatform);
    system.AddElement(std::make_unique<QV_sys_element>(std::move(platform), factory));
    if (boardPlatform == nullptr) return;
    std::string name = module->GetName();
    if (name.rfind("TX", 0) == 0 || channel) boardPlatform->SetAcquisitionModule(module);
    if (channel) boardPlatform->SetChannelModule(slot, module);
}

int QV_pci_platform::AddMbSysElement(QV_system &system, QV_mod_factory &factory,
                                     std::uint32_t board) {
    const std::string name = NameOf(board);
    int slots = 0;
    bool channels = false;
    if (name == "SXP") {
        slots = 1;
    } else if (name == "DQP") {
        slots = 2;
    } else if (name == "RXP") {
        slots = 3;
    } else if (name == "SXA") {
        channels = true;
    } else {
        ReportError(MessageText("invalid module: ", name, " passed to AddMbSysElement()"));
        return -1;
    }
    std::unique_ptr<QV_plat_mod> platform = factory.CreatePlatMod(board);
    if (!platform) return -1;
    if (channels) slots = RecordU16(platform->Spec(), kChannelCountOffset);
    system.AddElement(std::make_unique<QV_sys_element>(std::move(platform), factory));
    const int boardIndex = system.Size() - 1;
    for (int slot = 0; slot < slots; ++slot)
        AddSlotElement(system, factory, board, boardIndex, slot, channels);
    return 0;
}

int QV_pci_platform::AddBusTransSysElement(QV_system &system, QV_mod_factory &factory,
                                           std::uint32_t handle) {
    const std::string name = NameOf(handle);
    if (name != "BZ700") {
        ReportError(MessageText("invalid module: ", name, " passed to AddBusTransSysElement()"));
        return -1;
    }
    std::unique_ptr<QV_plat_mod> platform = factory.CreatePlatMod(handle);
    if (!platform) return -1;
    system.AddElement(std::make_unique<QV_sys_element>(std::move(platform), factory));
    return 0;
}

}  // namespace qvi
