#pragma once

#include <optional>

#include "commands.h"

namespace qvi::qvcfg {

// snap, grab, load-image, pixel, trigger and dio: the image window's and its
// tools' operations on the board of an element, with a frame sink of their
// own in place of the window. Nothing when `options.command` is none of them.
std::optional<int> RunAcquisitionCommand(const Options &options, AppSettings &settings,
                                         PlatformServices &services);

}  // namespace qvi::qvcfg
