#pragma once

#include <cstdint>

namespace qvi {

// The library's register entries as a platform object reaches them: 16-bit
// access always, 32-bit access when the bound library offers it. The library
// binding implements it; tests use a recording register file.
class RegisterAccess {
public:
    virtual ~RegisterAccess() = default;

    virtual int WriteReg16(std::uint32_t handle, int reg, std::uint16_t value) = 0;
    virtual bool HasWriteReg32() const = 0;
    virtual int WriteReg32(std::uint32_t handle, int reg, std::uint32_t value) = 0;

    virtual std::int16_t ReadReg16(std::uint32_t handle, int reg) = 0;
    virtual bool HasReadReg32() const = 0;
    virtual std::uint32_t ReadReg32(std::uint32_t handle, int reg) = 0;
};

}  // namespace qvi
