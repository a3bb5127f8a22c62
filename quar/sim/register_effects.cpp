// What the simulated hardware does by itself after a register is written.
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
// The TX-70's RGB board takes its software trigger in register 77 and its
// generator's enable (register 62) drops; the decoder board takes it in
// register 21 and raises its frame-done flag (register 18), which its
// acquisition enable (register 15) clears again.
constexpr Effect kEffects[] = {
    {"TX-20", 40, 22, 0},
    {"TX-40", 47, 41, 0},
    {"TX-50", 42, 37, 0},
    {"TX-70", 77, 62, 0},
    {"TX-70", 21, 18, 1},
    {"TX-70", 15, 18, 0},
};

struct InputBoard {
    std::string_view model;
    int typeRegister;        // where the hardware reports the board's type
    int configuredRegister;  // where the configuration's board type is loaded
};

// The TX-70 reports its board in register 2; its "Input Type" key goes to register 3.
constexpr InputBoard kInputBoards[] = {
    {"TX-70", 2, 3},
};

// The TX-30's colour-space converter takes its coefficients through one
// port register (26), a low and a high word each; setting up the load
// (register 24) starts a new matrix.
constexpr std::string_view kColourModule = "TX-31";
constexpr int kCoefficientSetupRegister = 24;
constexpr int kCoefficientPortRegister = 26;

void RecordCoefficientWords(Element &element, int reg) {
    if (reg == kCoefficientSetupRegister) {
        element.coefficientWords.clear();
        ++element.coefficientLoads;
    }
    if (reg == kCoefficientPortRegister)
        element.coefficientWords.push_back(
            static_cast<std::uint16_t>(element.registers[reg] & 0xFFFFu));
}

}  // namespace

void ApplyRegisterEffects(Element &element, int reg) {
    if (element.table == nullptr) return;
    if (element.table->model == kColourModule) RecordCoefficientWords(element, reg);
    for (const Effect &effect : kEffects)
        if (effect.model == element.table->model && effect.written == reg)
            element.registers[effect.affected] = effect.value;
}

void LoadInputBoardType(Element &element, int rackType) {
    if (element.table == nullptr) return;
    for (const InputBoard &board : kInputBoards) {
        if (board.model != element.table->model) continue;
        element.registers[board.typeRegister] =
            rackType >= 0 ? static_cast<std::uint32_t>(rackType)
                          : element.registers[board.configuredRegister];
    }
}

}  // namespace quar
