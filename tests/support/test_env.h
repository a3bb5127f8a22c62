#pragma once

#include <gtest/gtest.h>

#include "platform/recording_ui.h"
#include "system/hardware.h"

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
