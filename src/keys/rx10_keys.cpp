// The RX-10 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
// The words stand for unsigned 8-bit values; the row keeps the stated
// unsigned 16-bit type of its default.
constexpr Word kEmulate[] = {{"Emulate_Off", 0}, {"Emulate_On", 1}};

// The RX-10's keys in the order of its section; none is written to hardware.
// The section names no offsets, so the values are packed into the module
// specification in table order: the loader list as a text reference, the
// three 32-bit memory sizes, then the 16-bit emulation flag.
constexpr KeyRow kRx10Keys[] = {
    String(4, "Load_Module", "rx10load.lst", kNoReg, Spec(0, F::TextRef)),
    Range(1, "Program_Memory", U32, kHex, 0x200000, kNoReg, Spec(4, F::U32)),
    Range(2, "Frame_A_Memory", U32, kHex, 0x200000, kNoReg, Spec(8, F::U32)),
    Range(3, "Frame_B_Memory", U32, kHex, 0x200000, kNoReg, Spec(12, F::U32)),
    Choice(7, "Emul_Flag", U16, kEmulate, 0, kNamed, kNoReg, Spec(16, F::U16)),
};
// clang-format on

}  // namespace

// The specification ends with the emulation flag (byte 18).
constinit const ModelTable kRx10Table{
    .model = "RX-10",
    .section = "RX-10",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Computational,
    .slots = {},
    .layout = {.specSize = 18},
    .keys = kRx10Keys,
};

}  // namespace qvi::keys
