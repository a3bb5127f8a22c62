// The Digital I/O Test's logic: inputs polled every 100 ms, outputs, input port mode.
#include "acquire/dio_test.h"

#include "platform/ui.h"
#include "system/board_plat_mod.h"

namespace qvi {

namespace {
constexpr int kFirstRevisionWithPorts = 5;
constexpr int kLineMask = (1 << DioTest::kLines) - 1;
}  // namespace

DioTest::DioTest(ImageDocument &document, Clock &clock, std::function<void(int)> inputsChanged)
    : document_(document), clock_(clock), inputsChanged_(std::move(inputsChanged)) {
    if (QV_board_plat_mod *board = document_.board) {
        board->SelectChannel(document_.channel);
        for (int bit = 0; bit < kLines; ++bit) board->SetOutputBit(bit, 0);
    }
    ReadInputs();
    timer_ = clock_.StartTimer(kPeriodMs, [this] { ReadInputs(); });
    if (timer_ == 0) ReportError("SetTimer failed");
}

DioTest::~DioTest() {
    Close();
}

std::string DioTest::Caption() const {
    return "Digital I/O Test - " + document_.title;
}

void DioTest::ReadInputs() {
    QV_board_plat_mod *board = document_.board;
    if (board == nullptr) return;
    board->SelectChannel(document_.channel);
    inputs_ = board->ReadInputs(-1) & kLineMask;
    if (inputsChanged_) inputsChanged_(inputs_);
}

void DioTest::ToggleOutput(int bit) {
    if (bit < 0 || bit >= kLines) return;
    outputs_ ^= 1 << bit;
    if (QV_board_plat_mod *board = document_.board) {
        board->SelectChannel(document_.channel);
        board->SetOutputBit(bit, (outputs_ >> bit) & 1);
    }
}

void DioTest::ToggleInputBufferEnable() {
    inputBufferEnable_ = !inputBufferEnable_;
    if (QV_board_plat_mod *board = document_.board) {
        board->SelectChannel(document_.channel);
        board->SetInputMode(inputBufferEnable_ ? 1 : 0, inportStrobePolarity_);
    }
}

void DioTest::Close() {
    if (timer_ != 0) clock_.StopTimer(timer_);
    timer_ = 0;
}

bool DioTestAvailable(const QV_board_plat_mod &board, bool sxaBoard) {
    return sxaBoard || board.HardwareRevision() >= kFirstRevisionWithPorts;
}

}  // namespace qvi
