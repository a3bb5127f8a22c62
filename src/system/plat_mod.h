#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "params/param_owner.h"
#include "params/param_val.h"

namespace qvi {

class LibraryBinding;
class QV_mod;
class QV_mod_param;
class RegisterAccess;

// Root of every platform object: the object that holds the library's handle
// of one board or module and talks to the library for it. The parameters of
// a module write their registers through it.
class QV_plat_mod : public ParamOwner {
public:
    // Register table entries are 18 bytes; bit 2 of the last byte marks a
    // 32-bit register.
    static constexpr std::size_t kRegTableEntrySize = 18;
    static constexpr std::uint8_t kReg32Flag = 0x04;

    // The library's categories.
    static constexpr int kCategoryBoard = 0;
    static constexpr int kCategorySlotModule = 1;
    static constexpr int kCategoryCameraChannel = 3;

    // Bound to the library: registers, names and records come from it. The
    // register table is asked for here.
    QV_plat_mod(std::string className, LibraryBinding *binding, std::uint32_t handle);
    // Registers only (tests, and objects without a library record).
    QV_plat_mod(std::string className, RegisterAccess *registers, std::uint32_t handle);
    virtual ~QV_plat_mod() = default;
    QV_plat_mod(const QV_plat_mod &) = delete;
    QV_plat_mod &operator=(const QV_plat_mod &) = delete;

    // Slots in the library's order; nothing in the root.
    virtual void FillParams(QV_mod &container);
    virtual void FillPortParams(QV_mod &container, int port);
    void DumpRegisters() override;
    virtual void CopyCameraConfig();
    virtual int Query(int argument);

    // The model name the library reports; a camera channel of an SXA board
    // ("SXA", category 3) is "SXA-VMOD".
    std::string GetName() const;
    std::int16_t GetInstance() const;
    // An SXA camera channel's slot is its channel (byte 8 of its
    // specification); every other object's is the library's slot number.
    int GetSlot() const;
    int GetCategory() const;
    // A board's type number, from the header of its specification.
    int GetTypeNumber() const;
    // Releases the handle through the library at error level 3.
    void CloseHandle();

    // Without hardware or for register -1: writes nothing, returns 0. 16-bit
    // kinds go to the 16-bit entry, unsigned 32-bit to the 32-bit entry when
    // the library has one; anything else is an "Illegal write_reg".
    int write_reg(int reg, const QV_param_val &value) override;
    // Without hardware or for register -1: an unsigned 16-bit 0. A register the
    // table marks as 32-bit is read whole when the library can; otherwise a
    // signed 16-bit value.
    QV_param_val read_reg(int reg);

    bool IsRegister32(int reg) const;
    // Registers 0 to RegisterCount() - 1 are in the library's register table.
    int RegisterCount() const { return static_cast<int>(regTable_.size() / kRegTableEntrySize); }
    void SetRegisterTable(std::span<const std::uint8_t> table) { regTable_ = table; }

    // The library's module specification record; null without one.
    const std::uint8_t *Spec() const;
    // The address of a 4-byte reference found in a library record.
    std::uint8_t *Deref(std::uint32_t reference) const;

    std::uint32_t Handle() const { return handle_; }
    // What the library reports as the hardware revision of this object's
    // board or module; 0 without a bound library.
    virtual int HardwareRevision() const;
    void SetHandle(std::uint32_t handle) { handle_ = handle; }
    LibraryBinding *Binding() const { return binding_; }
    RegisterAccess *Library() const { return registers_; }
    const std::string &ClassName() const { return className_; }
    QV_mod *Module() const { return module_; }
    void SetModule(QV_mod *module) { module_ = module; }
    QV_plat_mod *ParentBoard() const { return parentBoard_; }
    void SetParentBoard(QV_plat_mod *board) { parentBoard_ = board; }
    QV_plat_mod *AcquisitionModule() const { return acquisitionModule_; }
    void SetAcquisitionModule(QV_plat_mod *module) { acquisitionModule_ = module; }
    QV_plat_mod *ChannelModule(int channel) const;
    void SetChannelModule(int channel, QV_plat_mod *module);
    // A module of this board gives way to another (or to none): the board's
    // acquisition and channel entries that named it name the replacement.
    void ReplaceModule(const QV_plat_mod *module, QV_plat_mod *replacement);
    bool IsShared() const { return shared_; }
    void SetShared(bool shared) { shared_ = shared; }

private:
    std::array<QV_plat_mod *, 4> channelModules_{};
    std::string className_;
    LibraryBinding *binding_ = nullptr;
    RegisterAccess *registers_ = nullptr;
    std::uint32_t handle_;
    std::span<const std::uint8_t> regTable_;
    QV_plat_mod *acquisitionModule_ = nullptr;
    QV_mod *module_ = nullptr;
    QV_plat_mod *parentBoard_ = nullptr;
    bool shared_ = false;
};

// The platform object that owns a container or a parameter; null for none
// (every owner in the program is a platform object).
QV_plat_mod *OwnerBoardOf(const QV_mod &module);
QV_plat_mod *OwnerBoardOf(const QV_mod_param &param);

// Little-endian fields of a library record; a null record reads 0 and is
// never written.
std::uint16_t RecordU16(const std::uint8_t *record, std::size_t offset);
std::int16_t RecordS16(const std::uint8_t *record, std::size_t offset);
std::uint32_t RecordU32(const std::uint8_t *record, std::size_t offset);
void WriteRecordS16(std::uint8_t *record, std::size_t offset, std::int16_t value);
void WriteRecordU32(std::uint8_t *record, std::size_t offset, std::uint32_t value);

}  // namespace qvi
