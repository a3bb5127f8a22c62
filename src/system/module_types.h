#pragma once

#include <string>

namespace qvi {

// The model names of the module type numbers a board reports for its slots.
// Anything not in the tables is "EMPTY".
std::string AcquisitionModuleName(int typeNumber);
std::string ComputationalModuleName(int typeNumber);

}  // namespace qvi
