// The simulated frame memories of the boards.
#include "sim/frame_memory.h"

#include <gtest/gtest.h>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"

namespace quar {
namespace {

using Memories = std::vector<int>;

TEST(FrameMemoryTest, ADq500FrameNeedsEveryMemoryItStandsFor) {
    EXPECT_EQ(DqpMemories(DQP_FRAME_TRUE_COLOR, 2), (Memories{0, 1, 4}));
    EXPECT_EQ(DqpMemories(DQP_FRAME_A0_A1, 2), (Memories{0, 1}));
    EXPECT_EQ(DqpMemories(DQP_FRAME_A0_A1, 3), (Memories{0, 1}));
    for (int model : {1, 3}) {
        EXPECT_TRUE(DqpMemories(DQP_FRAME_B1, model).empty()) << model;
        EXPECT_TRUE(DqpMemories(DQP_FRAME_TRUE_COLOR, model).empty()) << model;
    }
    EXPECT_TRUE(DqpMemories(DQP_FRAME_A1, 0).empty());
    EXPECT_TRUE(DqpMemories(DQP_FRAME_A0_A1, 0).empty());
    EXPECT_EQ(DqpMemories(DQP_FRAME_A0, 0), (Memories{0}));
    EXPECT_EQ(DqpMemories(DQP_FRAME_OVERLAY, 0), (Memories{6}));
    EXPECT_TRUE(DqpMemories(3, 2).empty());
    EXPECT_TRUE(DqpMemories(-1, 2).empty());
}

TEST(FrameMemoryTest, RequestsMoveTheMemoriesBetweenIdleGrabbingAndArmed) {
    FrameMemory memory;
    EXPECT_EQ(ApplyFrameRequest(memory, {0, 1}, QRX_XBOARD_GRAB), 0);
    EXPECT_EQ(MemoryStatus(memory, 1), DQP_STATUS_GRABBING);
    EXPECT_EQ(MemoryStatus(memory, 4), DQP_STATUS_IDLE);
    EXPECT_EQ(ApplyFrameRequest(memory, {0}, 11), -1);
    EXPECT_EQ(MemoryStatus(memory, 0), DQP_STATUS_GRABBING) << "an unknown request changes nothing";

    ArmTriggeredSnap(memory, {4});
    EXPECT_TRUE(AnyArmed(memory));
    EXPECT_EQ(ApplyFrameRequest(memory, {4}, QRX_XBOARD_SNAP), 0);
    EXPECT_FALSE(AnyArmed(memory));
    EXPECT_EQ(memory.snaps, 1);
    EXPECT_EQ(ApplyFrameRequest(memory, {0, 1}, QRX_XBOARD_STOP), 0);
    EXPECT_EQ(MemoryStatus(memory, 0), DQP_STATUS_IDLE);
    EXPECT_EQ(memory.snaps, 1);
}

}  // namespace
}  // namespace quar
