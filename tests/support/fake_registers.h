#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "library/register_access.h"

namespace qvi::testing {

// A register file standing in for the library: remembers every write and
// answers reads from what was written.
class FakeRegisters : public RegisterAccess {
public:
    struct Write {
        std::uint32_t handle;
        int reg;
        std::uint32_t value;
        int bits;
        bool operator==(const Write &) const = default;
    };

    int WriteReg16(std::uint32_t handle, int reg, std::uint16_t value) override {
        writes.push_back({handle, reg, value, 16});
        registers[reg] = value;
        return 0;
    }
    bool HasWriteReg32() const override { return has32; }
    int WriteReg32(std::uint32_t handle, int reg, std::uint32_t value) override {
        writes.push_back({handle, reg, value, 32});
        registers[reg] = value;
        return 0;
    }
    std::int16_t ReadReg16(std::uint32_t, int reg) override {
        ++reads16;
        return static_cast<std::int16_t>(registers[reg] & 0xFFFFu);
    }
    bool HasReadReg32() const override { return has32; }
    std::uint32_t ReadReg32(std::uint32_t, int reg) override {
        ++reads32;
        return registers[reg];
    }

    std::vector<Write> writes;
    std::map<int, std::uint32_t> registers;
    bool has32 = true;
    int reads16 = 0;
    int reads32 = 0;
};

}  // namespace qvi::testing
