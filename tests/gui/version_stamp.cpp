// The GUI test programs carry the product version as the desktop program
// does, so the library version check at start-up finds them agreeing.
#include "quar/version_stamp.h"

QUAR_VERSION_STAMP(QVI_VERSION);
