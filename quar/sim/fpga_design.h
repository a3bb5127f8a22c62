#pragma once

namespace quar {

struct Element;

// Loads a TX-30 FPGA design (an MCS file) into the module: the design's size
// and the image size it states. 0; -2 when the file cannot be read, -3 for a
// bad record. `report` prints the outcome on the console as tx30_load does.
int LoadFpgaDesign(Element &element, const char *path, bool report);

}  // namespace quar
