#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvi {

class QV_plat_mod;
class QV_system;

// One register of a board or of a module on it, as the register viewer shows
// it: whose register it is, its number, its width and what it reads.
struct RegisterReading {
    std::string owner;  // the element's name and number, "TX-10:0"
    int reg = 0;
    bool wide = false;  // a 32-bit register
    std::uint32_t value = 0;
};

// Every register of the board and of the modules on it, in the order of the
// system's elements and of each register table, read through the library.
// Without hardware each reads 0.
std::vector<RegisterReading> ReadBoardRegisters(const QV_system &system, const QV_plat_mod &board);

// "0x1234" for a 16-bit register, "0x00012345" for a 32-bit one.
std::string RegisterValueText(const RegisterReading &reading);

}  // namespace qvi
