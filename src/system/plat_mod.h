#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "params/param_val.h"

namespace qvi {

class QV_mod;
class RegisterAccess;

// Root of every platform object: the object that holds the library's handle
// of one board or module and talks to the library for it. The parameters of
// a module write their registers through it.
class QV_plat_mod {
public:
    // Register table entries are 18 bytes; bit 2 of the last byte marks a
    // 32-bit register.
    static constexpr std::size_t kRegTableEntrySize = 18;
    static constexpr std::uint8_t kReg32Flag = 0x04;

    QV_plat_mod(std::string className, RegisterAccess *library, std::uint32_t handle);
    virtual ~QV_plat_mod() = default;
    QV_plat_mod(const QV_plat_mod &) = delete;
    QV_plat_mod &operator=(const QV_plat_mod &) = delete;

    // Slots in the library's order; nothing in the root.
    virtual void FillParams(QV_mod &container);
    virtual void FillPortParams(QV_mod &container, int port);
    virtual void DumpRegisters();
    virtual void CopyCameraConfig();
    virtual int Query(int argument);

    // Without hardware or for register -1: writes nothing, returns 0. 16-bit
    // kinds go to the 16-bit entry, unsigned 32-bit to the 32-bit entry when
    // the library has one; anything else is an "Illegal write_reg".
    int write_reg(int reg, const QV_param_val &value);
    // Without hardware or for register -1: an unsigned 16-bit 0. A register the
    // table marks as 32-bit is read whole when the library can; otherwise a
    // signed 16-bit value.
    QV_param_val read_reg(int reg);

    bool IsRegister32(int reg) const;
    void SetRegisterTable(std::span<const std::uint8_t> table) { regTable_ = table; }

    std::uint32_t Handle() const { return handle_; }
    void SetHandle(std::uint32_t handle) { handle_ = handle; }
    RegisterAccess *Library() const { return library_; }
    const std::string &ClassName() const { return className_; }
    QV_mod *Module() const { return module_; }
    void SetModule(QV_mod *module) { module_ = module; }
    QV_plat_mod *ParentBoard() const { return parentBoard_; }
    void SetParentBoard(QV_plat_mod *board) { parentBoard_ = board; }
    bool IsShared() const { return shared_; }
    void SetShared(bool shared) { shared_ = shared; }

private:
    std::string className_;
    RegisterAccess *library_;
    std::uint32_t handle_;
    std::span<const std::uint8_t> regTable_;
    QV_mod *module_ = nullptr;
    QV_plat_mod *parentBoard_ = nullptr;
    bool shared_ = false;
};

}  // namespace qvi
