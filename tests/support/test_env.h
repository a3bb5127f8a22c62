#pragma once

#include <gtest/gtest.h>

#include "library/hardware.h"
#include "support/recording_ui.h"

namespace qvi::testing {

// Every test sees a recording Ui and a known hardware flag, and leaves the
// program-wide state as it found it.
class UiTest : public ::testing::Test {
protected:
    UiTest() : scopedUi_(ui) { SetHardwareEnabled(true); }
    ~UiTest() override { SetHardwareEnabled(true); }

    RecordingUi ui;

private:
    ScopedUi scopedUi_;
};

}  // namespace qvi::testing
