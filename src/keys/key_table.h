#pragma once

// The key tables of every board and module model: one data set shared by the
// program's modules (which build their parameters from it) and by the imaging
// library stand-in (which parses configuration text and lays out its records
// with it), so that what one writes the other reads back exactly.
//
// Plain data only: no dependencies beyond the standard library.

#include <cstdint>
#include <span>
#include <string_view>

namespace qvi::keys {

// How a key is written: a choice among words, a number, or a quoted text.
enum class KeyKind : std::uint8_t { Choice, Range, String };

// The value type of a key; the numbers are those of the parameter values.
enum class ValueType : std::uint8_t {
    U8 = 0,
    U16 = 1,
    U32 = 2,
    S8 = 3,
    S16 = 4,
    S32 = 5,
    Float = 6,
    Text = 7,
    Index = 8,
};

// Which library record holds a key's value.
enum class Record : std::uint8_t {
    None,    // not kept by the library (the program computes it)
    Spec,    // the module specification (qrx_get_modspec)
    Camera,  // the camera structure of the port
    Matrix,  // the colour matrix structure of the port
};

// How the value sits in its record.
enum class Field : std::uint8_t {
    None,
    U8,
    U16,
    S16,
    U32,
    S32,
    F32,
    InlineText,  // a zero-terminated text of at most kInlineTextSize bytes at the offset
    TextRef,     // a 32-bit reference to a zero-terminated text in the library's arena
};

inline constexpr std::size_t kInlineTextSize = 20;

// A bit field shares its integer field with others: the value is bitCount
// bits from bit bitShift of the field (bit 0 the lowest). A signed field's bit
// field that reaches its top bit is read back with its sign, as an arithmetic
// shift would give it. bitCount 0 means the whole field.
struct Location {
    Record record = Record::None;
    std::uint16_t offset = 0;
    Field field = Field::None;
    std::uint8_t bitShift = 0;
    std::uint8_t bitCount = 0;
};

// The bits of a value from the raw bits of its whole field (widthBits wide).
constexpr std::int64_t ExtractBits(std::uint32_t raw, const Location &at, int widthBits,
                                   bool signedField) {
    const std::uint32_t mask = (1u << at.bitCount) - 1u;
    const std::uint32_t bits = (raw >> at.bitShift) & mask;
    const bool reachesTop = at.bitShift + at.bitCount == widthBits;
    if (signedField && reachesTop && (bits >> (at.bitCount - 1)) != 0)
        return static_cast<std::int64_t>(bits) - (std::int64_t{1} << at.bitCount);
    return bits;
}

// The raw bits of a whole field with a value's bits put in place; the value
// is cut to the bit field's width.
constexpr std::uint32_t InsertBits(std::uint32_t raw, std::uint32_t value, const Location &at) {
    const std::uint32_t mask = ((1u << at.bitCount) - 1u) << at.bitShift;
    return (raw & ~mask) | ((value << at.bitShift) & mask);
}

// One word of a choice and the value it stands for. An empty word is written
// as no line at all; a bare choice that has one takes its value when none of
// its words appears in a section.
struct Word {
    std::string_view word;
    std::int32_t value;
};

// The default of one camera port when a key's defaults differ between ports:
// a number in the key's value type or, with `index` set, an index value (for
// a choice, the word at that position).
struct PortDefault {
    double number;
    bool index = false;
};

// The converters a parameter is built with. Standard: the choice converters
// for a choice (to the list position and back), the identity otherwise.
// Hundredths: a whole number the text writes as a hundredth of itself, a
// quoted float ("1.280" for 128); the module's own parameter class prints it.
enum class Conversion : std::uint8_t { Standard, Invert, Hundredths };

// One key of a module, in the order of its line in the text file.
struct KeyRow {
    int handle;
    std::string_view key;  // empty for a choice written as a bare word
    KeyKind kind;
    ValueType type;
    std::span<const Word> words;  // choices only
    double defaultNumber;         // numbers and choices (the choice's value)
    std::string_view defaultText; // texts
    bool named;                   // choices: "Key = Word" (true) or the bare word
    int reg;                      // hardware register; -1 for none
    int radix;                    // numbers: 10 or 16
    bool perPort;                 // one value per camera port of the module
    Location location;
    std::int32_t storedDelta = 0;  // the library keeps the written number plus this
    Conversion conversion = Conversion::Standard;
    // Defaults that differ between ports, port 0 first; empty: the default
    // above serves every port.
    std::span<const PortDefault> portDefaults = {};
};

// Where a model's per-port structures are found and how large the records are.
struct Layout {
    std::uint16_t specSize = 0;
    std::uint16_t cameraSize = 0;      // 0: the module has no camera structure
    std::uint16_t matrixSize = 0;      // 0: no colour matrix structure
    int cameraPorts = 0;               // camera structures: 0, 1 or 4
    int cameraRefOffset = -1;  // specification offset of port 0's reference; -1: it is the camera
    int cameraRefStride = 4;
    int matrixRefOffset = -1;          // camera offset of the matrix reference
    int slotOffset = -1;               // spec offset of the 16-bit slot or channel number
    int activePortOffset = -1;  // spec offset of the 16-bit port the hardware starts on
    // A model whose specification is its camera structure: the offset, in the
    // library's record of the module, of the reference to the module's current
    // camera structure (the specification itself until a camera copy replaces
    // it). The record reaches past the specification to hold it; -1: none.
    int currentCameraRefOffset = -1;
};

// The kind of element a model is in a configuration.
enum class ModelCategory : std::uint8_t {
    Board = 0,          // a motherboard in a PCI slot
    SlotModule = 1,     // a module in a board slot
    BusTranslator = 2,  // the BZ-700
    CameraChannel = 3,  // a camera channel of the SXA board
};

// What a board slot takes, and what a module fits into.
enum class SlotKind : std::uint8_t {
    Acquisition,    // a TX module
    Computational,  // an RX module
    CameraChannel,  // an SXA camera channel
};

// A board's specification starts with this header, which the library fills
// from the rack (or its defaults); a board's keys sit behind it.
inline constexpr std::uint16_t kBoardTypeNumberOffset = 0;  // 16-bit
inline constexpr std::uint16_t kBoardRevisionOffset = 2;    // 16-bit
inline constexpr std::uint16_t kBoardChannelsOffset = 4;    // 16-bit, SXA camera channels
inline constexpr std::uint16_t kBoardHeaderSize = 8;

// Everything the data set knows about one model.
struct ModelTable {
    std::string_view model;    // the library's model name: "SXP", "TX-31", "SXA-VMOD", ...
    std::string_view section;  // the section name written: "SX-400", "TX-30", "CameraPort", ...
    ModelCategory category;
    SlotKind fits;                    // slot modules and camera channels: the slot they take
    std::span<const SlotKind> slots;  // boards: what each slot takes, slot 0 first
    Layout layout;
    std::span<const KeyRow> keys;
    // The model's rows are not in the data set yet: its sections are accepted
    // and their lines skipped, every key keeping its default.
    bool rowsPending = false;
};

// Every model the data set has, in no particular order.
std::span<const ModelTable *const> AllModels();
// The table of a library model name, or null.
const ModelTable *FindModel(std::string_view model);
// The table whose section name this is ("SX-400", "Lumo", "TX-30", ...), or null.
const ModelTable *FindSection(std::string_view section);
// The row of a handle, or null.
const KeyRow *FindHandle(const ModelTable &table, int handle);

// The RX-20 writes its memory size as a layout name and the library keeps it
// as a 16-bit memory type: the names of types 0 to 5 (the RX-20's
// "Memory_Size" row carries this list). A type outside the list has no name.
inline constexpr Word kRx20MemoryLayouts[] = {
    {"4K_4K_8", 0}, {"8K_2K_8", 1}, {"4K_2K_12", 2},
    {"8K_1K_12", 3}, {"8K_4K_8", 4}, {"8K_8K_8", 5},
};

}  // namespace qvi::keys
