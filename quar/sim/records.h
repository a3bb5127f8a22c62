#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/config_model.h"
#include "sim/arena.h"
#include "sim/element.h"

namespace quar {

// Lays out a module's records in the arena from its configuration: the
// module specification, a camera structure per port (referenced from the
// specification, or the specification itself), a colour matrix per port
// (referenced from the camera structure), and every key's value at its field.
void BuildRecords(Arena &arena, const ModuleConfig &config, Element &element);

// Frees every record of the element.
void FreeRecords(Arena &arena, Element &element);

// A board's specification header: type number, hardware revision, channels.
void WriteBoardHeader(Arena &arena, const Element &element, int typeNumber, int revision,
                      int channels);
int ReadBoardHeader(const Arena &arena, const Element &element, std::uint16_t offset);

// The record a key's value sits in for a port: its address and size.
struct RecordView {
    std::uint8_t *bytes = nullptr;
    std::size_t size = 0;
};
RecordView RecordOf(const Arena &arena, const Element &element, const qvi::keys::KeyRow &row,
                    int port);

// The raw number in a key's field (integer fields only); nullopt for texts,
// floats and keys the library does not keep.
std::optional<std::uint32_t> ReadRawField(const Arena &arena, const Element &element,
                                          const qvi::keys::KeyRow &row, int port);

// The camera port a module's hardware starts on, from its specification; 0
// for a model that does not name one or names a port it does not have.
int ActivePort(const Arena &arena, const Element &element);

}  // namespace quar
