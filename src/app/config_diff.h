#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/config_model.h"

namespace qvi {

// One difference between two configurations, found element by element (system,
// board, module in its slot, camera port, key), never line by line: the
// header, comments, the order of lines and keys left at their defaults do not
// count. Elements are matched by what their section heads say: a system by its
// number, a board and a module by model and instance within their parent, an
// SXA camera channel by its channel.
struct ConfigDifference {
    enum class Change { Changed, Added, Removed };

    Change change = Change::Changed;
    // "SYSTEM:0/SX-400:1/TX-10:0/CameraPort:2": the element, and the camera
    // port of a per-port key.
    std::string path;
    std::string key;     // the key, or a bare choice's words ("NonInterlaced|Interlaced")
    std::string before;  // the value as the file writes it; empty for an element
    std::string after;

    bool operator==(const ConfigDifference &) const = default;
};

// The differences that turn `before` into `after`, in file order: an element's
// own keys, then its children; removed elements where they stood, added ones
// after their parent's others.
std::vector<ConfigDifference> DiffConfigurations(const quar::Configuration &before,
                                                 const quar::Configuration &after);

// "PATH KEY: BEFORE -> AFTER", "+ PATH" for an element only the second file
// has, "- PATH" for one only the first has.
std::string FormatDifference(const ConfigDifference &difference);

// A text configuration read and parsed as the converter does it; nothing when
// it refuses the file, with its message ("FILE:LINE: REASON: TEXT") in `error`.
std::optional<quar::Configuration> ReadConfiguration(const std::filesystem::path &path,
                                                     std::string &error);

}  // namespace qvi
