#pragma once

#include <functional>
#include <string>

#include "platform/clock.h"
#include "system/image_document.h"

namespace qvi {

class QV_board_plat_mod;

// The Digital I/O Test of an image window's board: 8 input lines read every
// 100 ms, 8 output lines, and the input port's buffer enable and strobe
// polarity. Opening turns every output off; a timer that cannot be set is
// reported ("SetTimer failed") and the inputs are then read once only.
class DioTest {
public:
    static constexpr int kLines = 8;
    static constexpr int kPeriodMs = 100;

    // `inputsChanged` is told the input mask after every read.
    DioTest(ImageDocument &document, Clock &clock, std::function<void(int)> inputsChanged = {});
    ~DioTest();
    DioTest(const DioTest &) = delete;
    DioTest &operator=(const DioTest &) = delete;

    // "Digital I/O Test - " and the window's title.
    std::string Caption() const;
    int Inputs() const { return inputs_; }
    int Outputs() const { return outputs_; }
    bool InputBufferEnable() const { return inputBufferEnable_; }
    // The strobe-polarity choice is offered only while the buffer is enabled.
    bool StrobePolarityEnabled() const { return inputBufferEnable_; }

    void ToggleOutput(int bit);
    void ToggleInputBufferEnable();
    // The polarity choices take effect with the next buffer-enable change.
    void SetInportStrobePolarity(int polarity) { inportStrobePolarity_ = polarity; }
    void Close();

private:
    void ReadInputs();

    ImageDocument &document_;
    Clock &clock_;
    std::function<void(int)> inputsChanged_;
    Clock::TimerId timer_ = 0;
    int inputs_ = 0;
    int outputs_ = 0;
    bool inputBufferEnable_ = false;
    int inportStrobePolarity_ = 0;
};

// The test is offered for SXA boards and for boards of hardware revision 5 or above.
bool DioTestAvailable(const QV_board_plat_mod &board, bool sxaBoard);

}  // namespace qvi
