// Which triggers a module takes, from its trigger registers or parameters.
#include "sim/trigger_registers.h"

#include "sim/element.h"

namespace quar {

namespace {

std::uint32_t RegisterValue(const Element &module, int reg) {
    auto found = module.registers.find(reg);
    return found == module.registers.end() ? 0u : found->second & 0xFFFFu;
}

double Param(const Element &module, int param) {
    auto found = module.params.find(param);
    return found == module.params.end() ? 0.0 : found->second;
}

}  // namespace

const TriggerRegisters *TriggerRegistersOf(const Element &module) {
    if (module.table == nullptr) return nullptr;
    const TriggerRegisters *any = nullptr;
    const int board = static_cast<int>(RegisterValue(module, kInputBoardTypeRegister));
    for (const TriggerRegisters &row : kTriggerRegisters) {
        if (row.model != module.table->model) continue;
        if (row.inputBoard == board) return &row;
        if (row.inputBoard < 0 && any == nullptr) any = &row;
    }
    return any;
}

TriggerSources AcceptedSources(const Element &module) {
    if (module.category == QRX_CATEGORY_CAMERA_CHANNEL) {
        const double source = Param(module, kChannelSourceParam);
        return {source != 1.0, source != 2.0};
    }
    const TriggerRegisters *row = TriggerRegistersOf(module);
    if (row == nullptr) return {};
    if (RegisterValue(module, row->enableRegister) == 0) return {false, false};
    const auto source = static_cast<int>(RegisterValue(module, row->sourceRegister));
    return {row->softwareSource >= 0 && source == row->softwareSource,
            source == row->externalSource};
}

bool IsTriggerRegister(const Element &module, int reg) {
    const TriggerRegisters *row = TriggerRegistersOf(module);
    return row != nullptr && (reg == row->sourceRegister || reg == row->enableRegister ||
                              reg == row->softwareTriggerRegister);
}

bool IsSoftwareTriggerWrite(const Element &module, int reg) {
    const TriggerRegisters *row = TriggerRegistersOf(module);
    return row != nullptr && row->softwareTriggerRegister >= 0 &&
           reg == row->softwareTriggerRegister &&
           RegisterValue(module, reg) == row->softwareTriggerValue;
}

}  // namespace quar
