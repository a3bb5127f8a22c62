#include "system/plat_mod.h"

#include "platform/ui.h"
#include "system/hardware.h"
#include "system/register_access.h"

namespace qvi {

QV_plat_mod::QV_plat_mod(std::string className, RegisterAccess *library, std::uint32_t handle)
    : className_(std::move(className)), library_(library), handle_(handle) {}

void QV_plat_mod::FillParams(QV_mod &) {}

void QV_plat_mod::FillPortParams(QV_mod &, int) {}

void QV_plat_mod::DumpRegisters() {}

void QV_plat_mod::CopyCameraConfig() {}

int QV_plat_mod::Query(int) {
    return 0;
}

int QV_plat_mod::write_reg(int reg, const QV_param_val &value) {
    if (!HardwareEnabled() || reg == -1) return 0;
    if (library_ != nullptr) {
        switch (value.GetKind()) {
            case ValKind::U16:
            case ValKind::S16:
                return library_->WriteReg16(handle_, reg,
                                            static_cast<std::uint16_t>(value.GetShort()));
            case ValKind::U32:
                if (library_->HasWriteReg32())
                    return library_->WriteReg32(handle_, reg,
                                                static_cast<std::uint32_t>(value.GetLong()));
                break;
            default:
                break;
        }
    }
    ReportError("Illegal write_reg");
    return -1;
}

QV_param_val QV_plat_mod::read_reg(int reg) {
    if (!HardwareEnabled() || reg == -1 || library_ == nullptr) return QV_param_val::U16(0);
    if (IsRegister32(reg) && library_->HasReadReg32())
        return QV_param_val::U32(library_->ReadReg32(handle_, reg));
    return QV_param_val::S16(library_->ReadReg16(handle_, reg));
}

bool QV_plat_mod::IsRegister32(int reg) const {
    if (reg < 0) return false;
    std::size_t flagByte =
        static_cast<std::size_t>(reg) * kRegTableEntrySize + kRegTableEntrySize - 1;
    return flagByte < regTable_.size() && (regTable_[flagByte] & kReg32Flag) != 0;
}

}  // namespace qvi
