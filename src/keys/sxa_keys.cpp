// The SXA board's key table (the section head alone).
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

constexpr SlotKind kSxaSlots[] = {SlotKind::CameraChannel, SlotKind::CameraChannel,
                                  SlotKind::CameraChannel, SlotKind::CameraChannel};

}  // namespace

// The SXA board writes its section head and no key of its own: every setting
// lives in its camera channels ("SXA-VMOD"). Its specification is the board
// header alone, whose channel count the library fills.
constinit const ModelTable kSxaBoardTable{
    .model = "SXA",
    .section = "SXA",
    .category = ModelCategory::Board,
    .fits = SlotKind::Acquisition,  // not used: it takes no slot
    .slots = kSxaSlots,
    .layout = {.specSize = kBoardHeaderSize},
    .keys = {},
};

}  // namespace qvi::keys
