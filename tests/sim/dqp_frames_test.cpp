// A DQ-500's 16-bit pair and true-colour frames are its A0, A1 and B1
// memories seen together: what is written through one shows in the others.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "quar/quar_acquire.h"
#include "quar/quar_modules.h"
#include "simulator_fixture.h"

namespace qvi {
namespace {

constexpr const char *kRack = "[Board]\nKind = DQP\nMemoryModel = 2\n";
constexpr const char *kBoards = "[SYSTEM:0]\n[DQ-500:0]\n";
constexpr int kX = 300;
constexpr int kY = 200;

class DqpFramesTest : public SimulatorTest {
protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartSystems(kRack, kBoards));
        board_ = QUAR_CALL(library_, qrx_systop, 0);
    }
    int32_t Pixel(int frame) { return QUAR_CALL(library_, qrx_rpix, board_, frame, kX, kY); }
    int Fill(int frame, int32_t value) {
        return QUAR_CALL(library_, sxp_clr_frame, board_, frame, value);
    }

    QRX_HANDLE board_ = 0;
};

TEST_F(DqpFramesTest, SnappedPairShowsItsBytesInA0AndA1AndClearingThemClearsIt) {
    QRX_XBOARD_REQUEST snap{QRX_XBOARD_SNAP, DQP_FRAME_A0_A1, {}};
    ASSERT_EQ(QUAR_CALL(library_, qrx_xboard, board_, &snap), 0);
    const int32_t pair = Pixel(DQP_FRAME_A0_A1);
    ASSERT_GT(pair, 0xFF);  // both bytes carry something
    EXPECT_EQ(Pixel(DQP_FRAME_A0), pair & 0xFF);
    EXPECT_EQ(Pixel(DQP_FRAME_A1), pair >> 8);

    // The board's Clear clears memory by memory.
    ASSERT_EQ(QUAR_CALL(library_, dqp_clr_frame, board_, DQP_FRAME_A0), 0);
    EXPECT_EQ(Pixel(DQP_FRAME_A0_A1), pair & 0xFF00);
    ASSERT_EQ(QUAR_CALL(library_, dqp_clr_frame, board_, DQP_FRAME_A1), 0);
    EXPECT_EQ(Pixel(DQP_FRAME_A0_A1), 0);
}

// The board stops memory by memory: a grab into the pair then holds its frame.
TEST_F(DqpFramesTest, StoppingA0AndA1EndsAGrabIntoThePair) {
    QRX_XBOARD_REQUEST grab{QRX_XBOARD_GRAB, DQP_FRAME_A0_A1, {}};
    ASSERT_EQ(QUAR_CALL(library_, qrx_xboard, board_, &grab), 0);
    for (int memory : {DQP_FRAME_A0, DQP_FRAME_A1}) {
        QRX_XBOARD_REQUEST stop{QRX_XBOARD_STOP, memory, {}};
        ASSERT_EQ(QUAR_CALL(library_, qrx_xboard, board_, &stop), 0);
    }
    const int32_t stopped = Pixel(DQP_FRAME_A0_A1);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));  // 4 frames at 30 frames/s
    EXPECT_EQ(Pixel(DQP_FRAME_A0_A1), stopped);
}

TEST_F(DqpFramesTest, TrueColourIsRedInA0GreenInA1AndBlueInB1) {
    ASSERT_EQ(Fill(DQP_FRAME_TRUE_COLOR, 0x112233), 0);
    EXPECT_EQ(Pixel(DQP_FRAME_A0), 0x11);
    EXPECT_EQ(Pixel(DQP_FRAME_A1), 0x22);
    EXPECT_EQ(Pixel(DQP_FRAME_B1), 0x33);
    EXPECT_EQ(Pixel(DQP_FRAME_A0_A1), 0x2211);

    // The newest write wins, whichever frame it went through.
    ASSERT_EQ(Fill(DQP_FRAME_A1, 0x44), 0);
    EXPECT_EQ(Pixel(DQP_FRAME_TRUE_COLOR), 0x114433);
    ASSERT_EQ(Fill(DQP_FRAME_A0_A1, 0x5566), 0);
    EXPECT_EQ(Pixel(DQP_FRAME_TRUE_COLOR), 0x665533);
    EXPECT_EQ(Pixel(DQP_FRAME_B1), 0x33);
}

}  // namespace
}  // namespace qvi
