#pragma once

#include <optional>
#include <string>

namespace qvi {

// The Save TIFF and Load TIFF file choices of an image window, through the
// Ui: the filter "TIFF Files (*.tif)"; a saved name without an extension
// gets ".tif", and an existing file is replaced only when the user says so.
// Nothing when the user cancelled.
std::optional<std::string> ChooseTiffToSave();
std::optional<std::string> ChooseTiffToLoad();

}  // namespace qvi
