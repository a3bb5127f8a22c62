#pragma once

#include <cstdint>
#include <string_view>

namespace quar {

struct Element;

// Which triggers a module takes right now.
struct TriggerSources {
    bool software = true;
    bool external = true;
};

// How an acquisition model is told its trigger source and fires its own
// software trigger: the program prepares a source by writing the source
// register, then the generator's enable register; the software trigger is a
// write of one value to one register.
struct TriggerRegisters {
    std::string_view model;
    int inputBoard;  // the TX-70 input board type (register 2) the row is for; -1: any
    int sourceRegister;
    int softwareSource;           // the source register's value for a software trigger; -1: none
    int externalSource;           // its value for an external trigger
    int enableRegister;           // the generator takes no trigger while this reads 0
    int softwareTriggerRegister;  // -1: the model has no software trigger of its own
    std::uint32_t softwareTriggerValue;
};

// The TX-30 triggers only from outside. A TX-70 with its RGB board (type 8)
// uses other registers than with its decoder board. A model without a row
// (the TX-60) has no trigger settings of its own and takes every trigger.
inline constexpr TriggerRegisters kTriggerRegisters[] = {
    {"TX-10", -1, 57, 1, 0, 52, 62, 1},  {"TX-20", -1, 23, 1, 0, 22, 40, 0},
    {"TX-31", -1, 17, -1, 1, 16, -1, 0}, {"TX-40", -1, 42, 1, 0, 41, 47, 0},
    {"TX-50", -1, 31, 1, 0, 37, 42, 0},  {"TX-70", 8, 71, 1, 0, 62, 77, 1},
    {"TX-70", -1, 16, 1, 0, 15, 21, 1},
};

inline constexpr int kInputBoardTypeRegister = 2;

// An SXA camera channel is told by library parameters instead: 5 names the
// source (1.0 external, 2.0 software; anything else takes both), and 7 set
// to 1.0 makes the next software trigger end the channel's host waits.
inline constexpr int kChannelModeParam = 4;
inline constexpr int kChannelSourceParam = 5;
inline constexpr int kChannelEndWaitParam = 7;

// The row of a module; null when its model has none.
const TriggerRegisters *TriggerRegistersOf(const Element &module);
TriggerSources AcceptedSources(const Element &module);
// Whether the register just written is one the module's triggers depend on.
bool IsTriggerRegister(const Element &module, int reg);
// Whether the register write just made is the module's own software trigger.
bool IsSoftwareTriggerWrite(const Element &module, int reg);

}  // namespace quar
