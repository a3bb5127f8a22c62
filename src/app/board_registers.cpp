// The registers a board and its modules have, and what they read.
#include "app/board_registers.h"

#include <cstdio>

#include "params/param_val.h"
#include "system/plat_mod.h"
#include "system/sys_element.h"
#include "system/system.h"

namespace qvi {

namespace {

void ReadTable(const QV_sys_element &element, QV_plat_mod &owner,
               std::vector<RegisterReading> &readings) {
    const std::string name = element.GetName() + ":" + std::to_string(element.GetNumber());
    for (int reg = 0; reg < owner.RegisterCount(); ++reg) {
        const QV_param_val value = owner.read_reg(reg);
        const bool wide = value.GetKind() == ValKind::U32;
        readings.push_back({name, reg, wide,
                            wide ? static_cast<std::uint32_t>(value.GetLong())
                                 : static_cast<std::uint16_t>(value.GetShort())});
    }
}

}  // namespace

std::vector<RegisterReading> ReadBoardRegisters(const QV_system &system, const QV_plat_mod &board) {
    std::vector<RegisterReading> readings;
    for (int i = 0; i < system.Size(); ++i) {
        const QV_sys_element *element = system.GetElement(i);
        QV_plat_mod *owner = element ? element->GetPlatMod() : nullptr;
        if (owner != nullptr && (owner == &board || owner->ParentBoard() == &board))
            ReadTable(*element, *owner, readings);
    }
    return readings;
}

std::string RegisterValueText(const RegisterReading &reading) {
    char text[16];
    std::snprintf(text, sizeof text, reading.wide ? "0x%08X" : "0x%04X",
                  static_cast<unsigned>(reading.value));
    return text;
}

}  // namespace qvi
