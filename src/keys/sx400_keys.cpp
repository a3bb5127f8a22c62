// The SX-400 board's key table.
#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

using namespace rows;
using enum ValueType;
using F = Field;

// clang-format off
constexpr Word kTxTrigger[] = {{"TX_Trigger_enabled", 1}, {"", 0}};
constexpr Word kStartField[] = {{"Next_field", 0}, {"Next_even_field", 2}, {"Next_odd_field", 3}};
constexpr Word kPixelSizeOverride[] = {{"0", 0}, {"16", 16}, {"24", 24}};
constexpr Word kYcrcbMono[] = {{"YCRCB_Mono_Disable", 0}, {"YCRCB_Mono_Enable", 1}};

// The SX-400 board's keys in the order of its section. The library keeps them
// in the board's specification behind the board header; the section names no
// offsets, so they are packed in table order: 16-bit fields 2-byte aligned,
// the 32-bit mailboxes 4-byte aligned (bytes 14 and 15 are padding).
constexpr KeyRow kSx400Keys[] = {
    Range(0, "Latency", S16, kDec, 248, kNoReg, Spec(8, F::S16)),
    Range(999, "RevID", S16, kDec, 1, 17, Spec(10, F::S16)),
    Range(1, "IRQ_Line", S16, kDec, 0, kNoReg, Spec(12, F::S16)),
    Range(5, "Mailbox1", S32, kHex, 0, kNoReg, Spec(16, F::S32)),
    Range(6, "Mailbox2", S32, kHex, 0, kNoReg, Spec(20, F::S32)),
    Range(7, "Mailbox3", S32, kHex, 0, kNoReg, Spec(24, F::S32)),
    Range(8, "Mailbox4", S32, kHex, 0, kNoReg, Spec(28, F::S32)),
    Choice(2, "", S16, kTxTrigger, 1, kBare, kNoReg, Spec(32, F::S16)),
    // The library keeps the frame count less one; the program adds it back.
    Range(3, "Frame_Count", S16, kDec, 0, kNoReg, Spec(34, F::S16), -1),
    Choice(4, "Start_Field", S16, kStartField, 2, kNamed, 86, Spec(36, F::S16)),
    Choice(22, "Pixsz_Override", S16, kPixelSizeOverride, 0, kNamed, kNoReg, Spec(38, F::S16)),
    Choice(24, "", S16, kYcrcbMono, 0, kBare, kNoReg, Spec(40, F::S16)),
};
// clang-format on

constexpr SlotKind kSx400Slots[] = {SlotKind::Acquisition};

}  // namespace

// The specification ends with the last key field (byte 42).
constinit const ModelTable kSx400Table{
    .model = "SXP",
    .section = "SX-400",
    .category = ModelCategory::Board,
    .fits = SlotKind::Acquisition,  // not used: it takes no slot
    .slots = kSx400Slots,
    .layout = {.specSize = 42},
    .keys = kSx400Keys,
};

}  // namespace qvi::keys
