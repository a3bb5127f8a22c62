// The RX-20 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kLoadFlags[] = {{"Force_Load", 0}, {"No_Load", 1}, {"Check_And_Load", 2}};

// The RX-20's keys in the order of its section; none is written to hardware.
// The memory size is written as a layout name but kept as the 16-bit memory
// type at 0x28: the row carries kRx20MemoryLayouts, which maps one to the other.
constexpr KeyRow kRx20Keys[] = {
    String(1, "Load_Name", "Undefined", kNoReg, Spec(0x2e, F::TextRef)),
    String(5, "Memory_Size", "Undefined", kNoReg, Spec(0x28, F::U16), kRx20MemoryLayouts),
    Choice(4, "Load_Flag", S16, kLoadFlags, 0, kNamed, kNoReg, Spec(0x40, F::U16)),
};
// clang-format on

}  // namespace

// The specification ends with the load flag (byte 0x42).
constinit const ModelTable kRx20Table{
    .model = "RX-20",
    .section = "RX-20",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Computational,
    .slots = {},
    .layout = {.specSize = 0x42},
    .keys = kRx20Keys,
};

}  // namespace qvi::keys
