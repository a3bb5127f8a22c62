// The RX-600 board's key table (the section head alone).
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

constexpr SlotKind kRx600Slots[] = {SlotKind::Computational, SlotKind::Computational,
                                    SlotKind::Computational};

}  // namespace

// The RX-600 board has no keys: its section is the head line alone. Its
// platform object reads a 16-bit word at byte 12 of the specification, so the
// specification runs to byte 14 although no key lives there.
constinit const ModelTable kRx600Table{
    .model = "RXP",
    .section = "RX-600",
    .category = ModelCategory::Board,
    .fits = SlotKind::Acquisition,  // not used: it takes no slot
    .slots = kRx600Slots,
    .layout = {.specSize = 14},
    .keys = {},
};

}  // namespace qvi::keys
