// The BZ-700 bus translator's key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kAccessMode[] = {{"Safe_Access_Mode", 1}, {"Reg_Access_Mode", 0}};

// The bus translator's one key, the safe-access flag (its three delays are not
// written). The section names no offset: like a board's keys it sits behind
// the header, at byte 8 of the specification.
constexpr KeyRow kBz700Keys[] = {
    Choice(3, "", S16, kAccessMode, 0, kBare, kNoReg, Spec(8, F::S16)),
};
// clang-format on

}  // namespace

// The specification ends with the flag (byte 10).
constinit const ModelTable kBz700Table{
    .model = "BZ700",
    .section = "BZ-700",
    .category = ModelCategory::BusTranslator,
    .fits = SlotKind::Acquisition,  // not used: it takes no slot
    .slots = {},
    .layout = {.specSize = 10},
    .keys = kBz700Keys,
};

}  // namespace qvi::keys
