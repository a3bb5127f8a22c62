// Helpers for the fake imaging libraries the binding tests load: each exports
// a chosen set of names as do-nothing functions and carries a version stamp.
#pragma once

#include "quar/version_stamp.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
#define FAKE_STUB(name)      \
    FAKE_EXPORT int name() { \
        return 0;            \
    }
