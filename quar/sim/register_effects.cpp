#include "sim/register_effects.h"

#include <string_view>

namespace quar {

namespace {

struct Effect {
    std::string_view model;
    int written;   // the register whose write has the effect
    int affected;  // the register that changes
    std::uint32_t value;
};

// The TX-20's software trigger (register 40) fires its trigger generator,
// whose enable bit (register 22) drops when the frame is in; the TX-40's
// (register 47) does the same to its generator (register 41), the TX-50's
// (register 42) to its trigger enable (register 37).
constexpr Effect kEffects[] = {
    {"TX-20", 40, 22, 0},
    {"TX-40", 47, 41, 0},
    {"TX-50", 42, 37, 0},
};

}  // namespace

void ApplyRegisterEffects(Element &element, int reg) {
    if (element.table == nullptr) return;
    for (const Effect &effect : kEffects)
        if (effect.model == element.table->model && effect.written == reg)
            element.registers[effect.affected] = effect.value;
}

}  // namespace quar
