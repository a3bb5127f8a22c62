// The RX-30 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kLoadFlags[] = {{"Force_Load", 0}, {"No_Load", 1}, {"Check_And_Load", 2}};
constexpr Word kOpModes[] = {{"ASYNC", 1}, {"SYNC", 0}};

// The RX-30's keys in the order of its section; none is written to hardware.
// The operating mode is a 32-bit field of which the program only tells 1
// (ASYNC) from anything else (SYNC).
constexpr KeyRow kRx30Keys[] = {
    String(8, "Encryption", "Undefined", kNoReg, Spec(0x12, F::TextRef)),
    String(7, "Load_Module", "Undefined", kNoReg, Spec(0x0e, F::TextRef)),
    Range(3, "Flash_Memory", U32, kHex, 0, kNoReg, Spec(8, F::U32)),
    Range(1, "Static_Memory", U32, kHex, 0, kNoReg, Spec(4, F::U32)),
    Range(2, "Image_Memory", U32, kHex, 0, kNoReg, Spec(0, F::U32)),
    Range(6, "Emu_Init", U16, kDec, 0, kNoReg, Spec(0x0c, F::U16)),
    Choice(11, "Load_Flag", U8, kLoadFlags, 0, kNamed, kNoReg, Spec(0x22, F::U8)),
    Choice(10, "Op_Mode", S16, kOpModes, 0, kNamed, kNoReg, Spec(0x1e, F::U32)),
};
// clang-format on

}  // namespace

// The specification ends with the load flag (byte 0x23).
constinit const ModelTable kRx30Table{
    .model = "RX-30",
    .section = "RX-30",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Computational,
    .slots = {},
    .layout = {.specSize = 0x23},
    .keys = kRx30Keys,
};

}  // namespace qvi::keys
