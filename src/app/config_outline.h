#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvi {

// Where things stand in a configuration text that the converter's parser
// took: the head line of every section, the camera-port blocks of a module,
// and the line of every key or bare word. The parser keeps the values but
// not their lines; the checks that run after it point at lines through this.
struct OutlineEntry {
    int line = 0;
    std::string key;        // the key of a "Key = value" line, or the bare word
    int port = -1;          // the camera-port block it is in; -1 before the blocks
    bool assigned = false;  // "Key = value" rather than a bare word
};

struct OutlineSection {
    int line = 0;  // the head line
    std::string name;
    std::map<int, int> blocks;  // camera-port block number -> its head line
    std::vector<OutlineEntry> entries;
};

// The sections of a text in file order. Lines are read as the parser reads
// them (a leading byte-order mark, "\r\n" endings, blanks around, "#"
// comments); a "[CameraPort:n]" head opens a block of the slot module
// before it and a section of its own anywhere else.
std::vector<OutlineSection> OutlineConfigText(std::string_view text);

// The line that gave `key` its value in `port` of the section: the last one
// in that port's block, else the last one before the blocks; nothing when the
// text did not give it.
std::optional<int> KeyLine(const OutlineSection &section, std::string_view key, int port);

}  // namespace qvi
