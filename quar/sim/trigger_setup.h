#pragma once

#include "quar/quar_api.h"
#include "sim/element.h"

namespace quar {

class Library;

// The callers' side of triggers: tells the hub what a module takes after its
// settings change, and brings a board's triggered-snap state (SX-400
// parameter 87, DQ-500 parameter 168 and memory status) up to date with the
// snaps the hub has taken meanwhile.

// The module that takes a handle's triggers: a camera channel or module
// itself, a board's acquisition module (the board itself without one); 0
// for anything else.
QRX_HANDLE TriggerModuleOf(const Library &library, QRX_HANDLE handle);
void RefreshTriggerTarget(const Library &library, const Element &module);
void CollectTriggeredSnaps(Element &board);
// A register was written: the model's own software trigger fires, and the
// hub learns the new sources (after the hardware's own effects).
void TriggerRegisterWritten(Element &module, int reg);
// A library parameter was written: a camera channel's source.
void TriggerParamWritten(const Element &module, int param);
// A software trigger from qrx_gen_swtrig. 0, or -1 for a handle that takes none.
int GenerateSoftwareTrigger(Library &library, QRX_HANDLE handle);
// Arms a snap into a board's frame on its acquisition module's next trigger.
int ArmSnapOnTrigger(Library &library, QRX_HANDLE board, int frame);
// The element is going away.
void ForgetTriggerState(QRX_HANDLE handle);

}  // namespace quar
