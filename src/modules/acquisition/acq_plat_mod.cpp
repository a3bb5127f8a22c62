// The platform object base of every acquisition module: geometry, triggers, cameras.
#include "modules/acquisition/acq_plat_mod.h"

#include "library/hardware.h"
#include "library/library_binding.h"

namespace qvi {

QV_acq_plat_mod::QV_acq_plat_mod(std::string className, LibraryBinding *binding,
                                 std::uint32_t handle, std::string_view libraryPrefix)
    : QV_plat_mod(std::move(className), binding, handle) {
    if (binding == nullptr) return;
    const std::string prefix(libraryPrefix);
    dumpEntry_ = binding->LookupAs<DumpEntry>(prefix + "_dregs");
    cameraCopyEntry_ = binding->LookupAs<CameraCopyEntry>(prefix + "_cp_camcnf");
}

void QV_acq_plat_mod::DumpRegisters() {
    if (HardwareEnabled() && dumpEntry_ != nullptr) dumpEntry_(Handle());
}

void QV_acq_plat_mod::WriteRegister(int reg, int value) {
    write_reg(reg, QV_param_val::S16(static_cast<std::int16_t>(value)));
}

void QV_acq_plat_mod::ArmTriggerGenerator(int sourceRegister, bool software,
                                          int enableRegister) {
    WriteRegister(sourceRegister, software ? 1 : 0);
    WriteRegister(enableRegister, 1);
}

void QV_acq_plat_mod::SoftwareTrigger() {
    if (hasTriggerGenerator_)
        WriteRegister(triggerGenerator_.fireRegister, triggerGenerator_.fireValue);
}

void QV_acq_plat_mod::PrepareSoftwareTrigger() {
    if (hasTriggerGenerator_)
        ArmTriggerGenerator(triggerGenerator_.sourceRegister, true,
                            triggerGenerator_.enableRegister);
}

void QV_acq_plat_mod::PrepareExternalTrigger() {
    if (hasTriggerGenerator_)
        ArmTriggerGenerator(triggerGenerator_.sourceRegister, false,
                            triggerGenerator_.enableRegister);
}

int QV_acq_plat_mod::TriggerDone() {
    if (!hasTriggerGenerator_ || !triggerGenerator_.reportsDone) return 1;
    return read_reg(triggerGenerator_.enableRegister).ToDouble() == 0 ? 1 : 0;
}

std::uint8_t *QV_acq_plat_mod::MutableSpec() const {
    auto getSpec = Binding() ? Binding()->Entry<&::qrx_get_modspec>() : nullptr;
    return getSpec ? static_cast<std::uint8_t *>(getSpec(Handle())) : nullptr;
}

void QV_acq_plat_mod::CopyCameraAt(std::size_t referenceOffset) {
    const std::uint8_t *spec = Spec();
    if (spec != nullptr) CopyCameraInto(RecordU32(spec, referenceOffset), referenceOffset);
}

void QV_acq_plat_mod::CopyCameraInto(std::uint32_t camera, std::size_t referenceOffset) {
    std::uint8_t *spec = MutableSpec();
    if (spec == nullptr || cameraCopyEntry_ == nullptr) return;
    // The library leaves the result alone when it cannot copy: the module then
    // keeps the structure it had rather than a dangling reference.
    std::uint32_t copy = RecordU32(spec, referenceOffset);
    cameraCopyEntry_(Handle(), camera, &copy, camera + 8);
    WriteRecordU32(spec, referenceOffset, copy);
}

}  // namespace qvi
