#pragma once

namespace qvi {

// The open configuration's changed flag: set by every edit of a module or of
// the system and by New, cleared by writing the text file.
bool ConfigModified();
void SetConfigModified(bool modified);

}  // namespace qvi
