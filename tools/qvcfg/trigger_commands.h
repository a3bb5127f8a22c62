#pragma once

#include "commands.h"

namespace qvi::qvcfg {

// trigger: the Triggered Acquisition tool's Arm for a software or external
// trigger; prints when the frame came, or fails after the time-out.
int TriggeredSnap(const Options &options, AppSettings &settings, PlatformServices &services);
// dio: the Digital I/O Test's outputs, then its input lines (and their
// changes while watching).
int DigitalIo(const Options &options, AppSettings &settings, PlatformServices &services);

}  // namespace qvi::qvcfg
