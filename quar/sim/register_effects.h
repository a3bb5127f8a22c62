#pragma once

#include "sim/element.h"

namespace quar {

// What the simulated hardware does by itself after a register is written:
// a trigger generator that has been fired goes idle once its frame is taken,
// which the simulated board does at once.
void ApplyRegisterEffects(Element &element, int reg);

// A module that carries an input board reports the board's type code in a
// register: the type the rack gives its slot (`rackType`), or, for -1, the
// one its configuration names. Nothing for other modules.
void LoadInputBoardType(Element &element, int rackType);

}  // namespace quar
