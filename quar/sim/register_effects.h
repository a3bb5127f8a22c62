#pragma once

#include "sim/element.h"

namespace quar {

// What the simulated hardware does by itself after a register is written:
// a trigger generator that has been fired goes idle once its frame is taken,
// which the simulated board does at once.
void ApplyRegisterEffects(Element &element, int reg);

}  // namespace quar
