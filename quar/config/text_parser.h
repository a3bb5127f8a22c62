#pragma once

// Reading the text configuration file the program writes.
//
// The file is a list of sections: "[SYSTEM:n]", then each board ("[SX-400:n]",
// "[SXA:n]", ...) followed by the modules of its slots ("[TX-30:n]" with a
// "Slot_Number" line) or, for an SXA board, its camera channels
// ("[CameraPort:n]"), and at most one "[BZ-700]". Inside a section each line is
// "Key = value" or a bare choice word; a module with four camera ports writes
// its per-port keys in "[CameraPort:p]" blocks. Comment lines start with "#".
//
// Rules the program's writer leaves open, as this reader settles them:
// - A per-port key written before the first camera-port block of its module
//   sets that key in every port; a block may then override it for its port.
// - A module-wide key inside a camera-port block is an error.
// - A key given twice in the same place keeps the last value.
// - A text value runs from the first to the last double quote of the line, so
//   a text holding quotes (which the writer does not escape) reads back whole.
// - Any integer key takes decimal or "0x" hexadecimal whatever its radix; the
//   hexadecimal form is a bit pattern of the key's width ("0xFFFF" is -1 for a
//   signed 16-bit key). A float key takes its number quoted or bare.
// - Two bare-choice rows that share a word take it in row order: the first
//   row not yet given in that place.
// - A file without any "[SYSTEM:n]" section is refused.

#include <optional>
#include <string_view>

#include "config/config_model.h"

namespace quar {

// Parses a whole file. On failure returns nothing and fills the error with the
// first fault found: the file name, the line, the offending text and why.
std::optional<Configuration> ParseConfigText(std::string_view text, std::string_view fileName,
                                             ConfigError &error,
                                             const TableSet &tables = RegistryTables());

}  // namespace quar
