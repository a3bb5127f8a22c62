#pragma once

// The key table of every model, one ModelTable each, and the small helpers the
// table files build their rows with. The registry (key_tables.cpp) lists them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "keys/key_table.h"

namespace qvi::keys {

// Boards and the bus translator.
extern const ModelTable kSx400Table;     // "SXP", section "SX-400" (or "Lumo")
extern const ModelTable kSxaBoardTable;  // "SXA"
extern const ModelTable kDq500Table;     // "DQP", section "DQ-500"
extern const ModelTable kRx600Table;     // "RXP", section "RX-600"
extern const ModelTable kBz700Table;     // "BZ700", section "BZ-700"

// The SXA board's camera channel.
extern const ModelTable kSxaPortTable;  // "SXA-VMOD", section "CameraPort"

// Acquisition modules.
extern const ModelTable kTx10Table;  // the module of the Lumo board
extern const ModelTable kTx20Table;
extern const ModelTable kTx31Table;  // section "TX-30"
extern const ModelTable kTx40Table;
extern const ModelTable kTx50Table;
extern const ModelTable kTx60Table;
extern const ModelTable kTx70Table;

// Computational modules.
extern const ModelTable kRx10Table;
extern const ModelTable kRx20Table;
extern const ModelTable kRx30Table;
extern const ModelTable kRx40Table;
extern const ModelTable kRx50Table;
extern const ModelTable kRx51Table;
extern const ModelTable kRx52Table;
extern const ModelTable kRx53Table;
extern const ModelTable kRx54Table;
extern const ModelTable kRx55Table;
extern const ModelTable kRx56Table;
extern const ModelTable kRx57Table;

// Row builders, so that each row of a table file reads as one line of the
// module's key table: handle, key, kind and type, words or radix, default,
// named, register, where the library keeps the value.
namespace rows {

inline constexpr bool kNamed = true;  // written "Key = Word"
inline constexpr bool kBare = false;  // written as the word alone
inline constexpr int kNoReg = -1;
inline constexpr int kDec = 10;
inline constexpr int kHex = 16;

constexpr Location Spec(std::uint16_t offset, Field field) {
    return {Record::Spec, offset, field};
}
constexpr Location Cam(std::uint16_t offset, Field field) {
    return {Record::Camera, offset, field};
}
// Bits shift to shift + count - 1 of a camera-structure field.
constexpr Location CamBits(std::uint16_t offset, Field field, std::uint8_t shift,
                           std::uint8_t count) {
    return {Record::Camera, offset, field, shift, count};
}
// A value the program computes; the library keeps no field for it.
inline constexpr Location kNotKept{};

constexpr KeyRow Choice(int handle, std::string_view key, ValueType type,
                        std::span<const Word> words, double defaultValue, bool named, int reg,
                        Location at) {
    return {.handle = handle,
            .key = key,
            .kind = KeyKind::Choice,
            .type = type,
            .words = words,
            .defaultNumber = defaultValue,
            .defaultText = {},
            .named = named,
            .reg = reg,
            .radix = kDec,
            .perPort = false,
            .location = at};
}

constexpr KeyRow Range(int handle, std::string_view key, ValueType type, int radix,
                       double defaultValue, int reg, Location at, std::int32_t storedDelta = 0) {
    return {.handle = handle,
            .key = key,
            .kind = KeyKind::Range,
            .type = type,
            .words = {},
            .defaultNumber = defaultValue,
            .defaultText = {},
            .named = false,
            .reg = reg,
            .radix = radix,
            .perPort = false,
            .location = at,
            .storedDelta = storedDelta};
}

// A text the library keeps in a number field carries the words that map it to
// the number and back.
constexpr KeyRow String(int handle, std::string_view key, std::string_view defaultText, int reg,
                        Location at, std::span<const Word> numberWords = {}) {
    return {.handle = handle,
            .key = key,
            .kind = KeyKind::String,
            .type = ValueType::Text,
            .words = numberWords,
            .defaultNumber = 0.0,
            .defaultText = defaultText,
            .named = false,
            .reg = reg,
            .radix = kDec,
            .perPort = false,
            .location = at};
}

// The table's rows with those from `first` on holding one value per camera
// port (a four-port module's rows after its module-wide ones).
template <std::size_t N>
constexpr std::array<KeyRow, N> PortsFrom(std::size_t first, const KeyRow (&rows)[N]) {
    std::array<KeyRow, N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = rows[i];
        out[i].perPort = i >= first;
    }
    return out;
}

}  // namespace rows

}  // namespace qvi::keys
