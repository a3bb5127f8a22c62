// The RX-40 key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kIfaceWidths[] = {{"Iface_8_Bit", 0}, {"Iface_16_Bit", 1}};
constexpr Word kMemorySizes[] = {
    {"mem_1K_1K", 0}, {"mem_2K_512", 1}, {"mem_4K_256", 2}, {"mem_8K_128", 3},
};
constexpr Word kIfaceClocks[] = {{"Iface_10_Mhz", 0}, {"Iface_20_Mhz", 1}};

// The RX-40's keys in the order of its section; none is written to hardware.
// The specification is seven signed 16-bit words, word n holding handle n + 1.
constexpr KeyRow kRx40Keys[] = {
    Range(4, "AOI0_Hblank(pix)", S16, kDec, 0, kNoReg, Spec(6, F::S16)),
    Range(5, "AOI1_Hblank(pix)", S16, kDec, 0, kNoReg, Spec(8, F::S16)),
    Range(6, "Image_x_size", S16, kDec, 0, kNoReg, Spec(10, F::S16)),
    Range(7, "Image_y_size", S16, kDec, 0, kNoReg, Spec(12, F::S16)),
    Choice(1, "Iface_dat_size", S16, kIfaceWidths, 1, kNamed, kNoReg, Spec(0, F::S16)),
    Choice(3, "memory_size", S16, kMemorySizes, 0, kNamed, kNoReg, Spec(4, F::S16)),
    Choice(2, "Iface_clock_speed", S16, kIfaceClocks, 1, kNamed, kNoReg, Spec(2, F::S16)),
};
// clang-format on

}  // namespace

constinit const ModelTable kRx40Table{
    .model = "RX-40",
    .section = "RX-40",
    .category = ModelCategory::SlotModule,
    .fits = SlotKind::Computational,
    .slots = {},
    .layout = {.specSize = 14},
    .keys = kRx40Keys,
};

}  // namespace qvi::keys
