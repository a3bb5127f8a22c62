#pragma once

#include <cstdint>
#include <vector>

#include "keys/key_table.h"

namespace quar {

// A model's register table: one 18-byte entry per register number from 0 to
// the highest register any key writes. Entry layout: register number (16-bit),
// offset (32-bit, unused), name (10 bytes, the first key on the register),
// width in bits (8-bit), flags (8-bit; QRX_REG_32BIT for a 32-bit register).
std::vector<std::uint8_t> BuildRegisterTable(const qvi::keys::ModelTable &table);

}  // namespace quar
