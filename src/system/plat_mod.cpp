// The root of every platform object, and the little-endian record accessors.
#include "system/plat_mod.h"

#include <cstring>

#include "keys/model_names.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "library/register_access.h"
#include "params/mod.h"
#include "platform/ui.h"

namespace qvi {

namespace {
// The board header of a specification: type number at byte 0.
constexpr std::size_t kTypeNumberOffset = 0;
constexpr std::size_t kChannelOffset = 8;
}  // namespace

QV_plat_mod *OwnerBoardOf(const QV_mod &module) {
    return dynamic_cast<QV_plat_mod *>(module.GetOwner());
}

QV_plat_mod *OwnerBoardOf(const QV_mod_param &param) {
    return dynamic_cast<QV_plat_mod *>(param.GetOwner());
}

std::uint16_t RecordU16(const std::uint8_t *record, std::size_t offset) {
    if (record == nullptr) return 0;
    return static_cast<std::uint16_t>(record[offset] | (record[offset + 1] << 8));
}

std::int16_t RecordS16(const std::uint8_t *record, std::size_t offset) {
    return static_cast<std::int16_t>(RecordU16(record, offset));
}

std::uint32_t RecordU32(const std::uint8_t *record, std::size_t offset) {
    if (record == nullptr) return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{record[offset + i]} << (8 * i);
    return value;
}

void WriteRecordS16(std::uint8_t *record, std::size_t offset, std::int16_t value) {
    if (record == nullptr) return;
    const auto bits = static_cast<std::uint16_t>(value);
    record[offset] = static_cast<std::uint8_t>(bits & 0xFFu);
    record[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

void WriteRecordU32(std::uint8_t *record, std::size_t offset, std::uint32_t value) {
    if (record == nullptr) return;
    for (std::size_t i = 0; i < 4; ++i)
        record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

QV_plat_mod::QV_plat_mod(std::string className, LibraryBinding *binding, std::uint32_t handle)
    : className_(std::move(className)), binding_(binding), registers_(binding), handle_(handle) {
    if (binding_ == nullptr) return;
    if (auto getRegTable = binding_->Entry<&::qrx_get_regtable>()) {
        int entries = 0;
        const std::uint8_t *table = getRegTable(handle_, &entries);
        if (table && entries > 0)
            regTable_ = {table, static_cast<std::size_t>(entries) * kRegTableEntrySize};
    }
}

QV_plat_mod::QV_plat_mod(std::string className, RegisterAccess *registers, std::uint32_t handle)
    : className_(std::move(className)), registers_(registers), handle_(handle) {}

void QV_plat_mod::FillParams(QV_mod &) {}

void QV_plat_mod::FillPortParams(QV_mod &, int) {}

void QV_plat_mod::DumpRegisters() {}

void QV_plat_mod::CopyCameraConfig() {}

int QV_plat_mod::Query(int) {
    return 0;
}

std::string QV_plat_mod::GetName() const {
    auto getName = binding_ ? binding_->Entry<&::qrx_get_modname>() : nullptr;
    if (getName == nullptr) return {};
    const char *name = getName(handle_);
    std::string model = name ? name : "";
    if (model == "SXA" && GetCategory() == kCategoryCameraChannel)
        return std::string(keys::kSxaChannelModel);
    return model;
}

std::int16_t QV_plat_mod::GetInstance() const {
    auto getSeqnum = binding_ ? binding_->Entry<&::qrx_get_seqnum>() : nullptr;
    return getSeqnum ? getSeqnum(handle_) : std::int16_t{0};
}

int QV_plat_mod::GetSlot() const {
    if (GetName() == keys::kSxaChannelModel) return RecordS16(Spec(), kChannelOffset);
    auto getSlot = binding_ ? binding_->Entry<&::qrx_get_slotnum>() : nullptr;
    return getSlot ? getSlot(handle_) : -1;
}

int QV_plat_mod::GetCategory() const {
    auto getType = binding_ ? binding_->Entry<&::qrx_get_modtype>() : nullptr;
    return getType ? getType(handle_) : -1;
}

int QV_plat_mod::GetTypeNumber() const {
    return RecordS16(Spec(), kTypeNumberOffset);
}

void QV_plat_mod::CloseHandle() {
    if (handle_ == 0 || binding_ == nullptr) return;
    auto errLevel = binding_->Entry<&::qrx_err_level>();
    auto release = binding_->Entry<&::qrx_del_modcnf>();
    if (errLevel) errLevel(3);
    if (release) release(handle_);
    if (errLevel) errLevel(2);
    handle_ = 0;
}

const std::uint8_t *QV_plat_mod::Spec() const {
    auto getSpec = binding_ ? binding_->Entry<&::qrx_get_modspec>() : nullptr;
    return getSpec ? static_cast<const std::uint8_t *>(getSpec(handle_)) : nullptr;
}

std::uint8_t *QV_plat_mod::Deref(std::uint32_t reference) const {
    auto deref = binding_ ? binding_->Entry<&::qrx_deref>() : nullptr;
    return deref ? static_cast<std::uint8_t *>(deref(reference)) : nullptr;
}

QV_plat_mod *QV_plat_mod::ChannelModule(int channel) const {
    if (channel < 0 || channel >= static_cast<int>(channelModules_.size())) return nullptr;
    return channelModules_[static_cast<std::size_t>(channel)];
}

void QV_plat_mod::ReplaceModule(const QV_plat_mod *module, QV_plat_mod *replacement) {
    if (module == nullptr) return;
    if (acquisitionModule_ == module) acquisitionModule_ = replacement;
    for (QV_plat_mod *&channel : channelModules_)
        if (channel == module) channel = replacement;
}

void QV_plat_mod::SetChannelModule(int channel, QV_plat_mod *module) {
    if (channel < 0 || channel >= static_cast<int>(channelModules_.size())) return;
    channelModules_[static_cast<std::size_t>(channel)] = module;
}

int QV_plat_mod::write_reg(int reg, const QV_param_val &value) {
    if (!HardwareEnabled() || reg == -1) return 0;
    if (registers_ != nullptr) {
        switch (value.GetKind()) {
            case ValKind::U16:
            case ValKind::S16:
                return registers_->WriteReg16(handle_, reg,
                                              static_cast<std::uint16_t>(value.GetShort()));
            case ValKind::U32:
                if (registers_->HasWriteReg32())
                    return registers_->WriteReg32(handle_, reg,
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
    if (!HardwareEnabled() || reg == -1 || registers_ == nullptr) return QV_param_val::U16(0);
    if (IsRegister32(reg) && registers_->HasReadReg32())
        return QV_param_val::U32(registers_->ReadReg32(handle_, reg));
    return QV_param_val::S16(registers_->ReadReg16(handle_, reg));
}

bool QV_plat_mod::IsRegister32(int reg) const {
    if (reg < 0) return false;
    std::size_t flagByte =
        static_cast<std::size_t>(reg) * kRegTableEntrySize + kRegTableEntrySize - 1;
    return flagByte < regTable_.size() && (regTable_[flagByte] & kReg32Flag) != 0;
}

int QV_plat_mod::HardwareRevision() const {
    auto revision = binding_ ? binding_->Entry<&::qrx_get_hw_revision>() : nullptr;
    return revision ? revision(handle_) : 0;
}

}  // namespace qvi
