// Frames of the stand-in: their size and depth follow the acquisition
// module, a snap holds the documented pattern, a grab moves on and a stop
// holds it; pixel reads and colour conversions.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "quar/quar_acquire.h"
#include "quar/quar_image_file.h"
#include "sim/test_pattern.h"
#include "simulator_fixture.h"

namespace qvi {
namespace {

using quar::LayoutOf;
using quar::PatternPixel;

// One SX-400 per depth, and one with a TX-70 on a YCrCb board.
const std::string kRack =
    testing::kOneBoardPerDepthRack + "[Board]\nKind = SXP\nSlot0 = TX-70\nSlot0Type = 7\n";
const std::string kBoards = testing::kOneBoardPerDepth + R"([SYSTEM:3]
[SX-400:3]
[TX-70:1]
      Slot_Number = 0
[CameraPort:0]
      Camera_Structure = Create_Structure
      NP_HActive = 320
      NP_VActive = 240
      TX70_Frame_Type = SXP_YCRCB
)";

class AcquisitionTest : public SimulatorTest {
protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartSystems(kRack, kBoards, 4));
    }
};

TEST(TestPattern, MovesTwoPixelsAFrameAndCountsInTheCorner) {
    for (int depth : {8, 12, 16, 24}) {
        const quar::PixelLayout layout = LayoutOf(depth, depth == 16 ? 7 : 0);
        for (int y : {8, 100, 300})
            for (int x : {0, 1, 130, 255})
                EXPECT_EQ(PatternPixel(x, y, 41, layout), PatternPixel(x + 2, y, 40, layout))
                    << depth << " " << x << "," << y;
        EXPECT_NE(PatternPixel(3, 3, 0b101, layout), PatternPixel(11, 3, 0b101, layout));
        EXPECT_EQ(PatternPixel(3, 3, 0b101, layout), PatternPixel(19, 3, 0b101, layout));
    }
    EXPECT_EQ(PatternPixel(10, 20, 0, LayoutOf(12, 0)), 30u << 4);
    EXPECT_EQ(PatternPixel(10, 20, 0, LayoutOf(24, 0)), 10u << 16 | 20u << 8 | 30u);
    EXPECT_EQ(PatternPixel(11, 20, 0, LayoutOf(16, 7)), 31u | 20u << 8);  // odd column: Cr = v
}

// The 8-, 16- and 24-bit frames are the SX-400 acquisition tests'; a
// YCrCb frame's size comes from its module's registers, and a snap leaves
// frame 1 of the pattern in it, read back pixel by pixel.
TEST_F(AcquisitionTest, YCrCbSnapHoldsThePatternAtTheModulesGeometry) {
    const QRX_HANDLE board = Board(3);
    int16_t width = 0, height = 0;
    ASSERT_EQ(QUAR_CALL(library_, qrx_get_acq_dim, board, &width, &height), 0);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    ASSERT_EQ(QUAR_CALL(library_, qrx_get_cam_frame, board), 0);
    ASSERT_EQ(Request(board, QRX_XBOARD_SNAP), 0);
    std::vector<std::uint16_t> area(static_cast<std::size_t>(width * height));
    ASSERT_EQ(QUAR_CALL(library_, qrx_read_area, board, 0, 0, 0, width, height, area.data()), 0);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            wrong += area[static_cast<std::size_t>(y * width + x)] !=
                     PatternPixel(x, y, 1, LayoutOf(16, 7));
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Counter(board), 1u);
}

TEST_F(AcquisitionTest, GrabMovesOnAtTheRacksFrameRateAndStopHoldsTheFrame) {
    const QRX_HANDLE board = Board(0);  // 200 frames a second
    ASSERT_EQ(Request(board, QRX_XBOARD_GRAB), 0);
    const std::uint64_t first = Counter(board);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const std::uint64_t later = Counter(board);
    EXPECT_GE(later, first + 5);
    EXPECT_LE(later, first + 40);
    ASSERT_EQ(Request(board, QRX_XBOARD_STOP), 0);
    const std::uint64_t stopped = Counter(board);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(Counter(board), stopped);
    ASSERT_EQ(Request(board, QRX_XBOARD_SNAP), 0);
    EXPECT_EQ(Counter(board), stopped + 1);
}

TEST_F(AcquisitionTest, BadHandlesAndAreasFail) {
    const QRX_HANDLE board = Board(0);
    int16_t width = 0, height = 0;
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_acq_dim, 0xDEAD, &width, &height), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_acq_dim, board, nullptr, &height), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_cam_frame, 0xDEAD), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_rpix, board, 0, -1, 0), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_rpix, board, 0, 640, 0), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_rpix, board, 5, 0, 0), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_rpix, 0xDEAD, 0, 0, 0), -1);
    std::vector<std::uint8_t> buffer(16);
    EXPECT_EQ(QUAR_CALL(library_, qrx_read_area, board, 0, 0, 0, 4, 4, nullptr), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_read_area, board, 0, 638, 0, 4, 4, buffer.data()), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_read_area, board, 0, 0, 0, -4, 4, buffer.data()), -1);
    EXPECT_EQ(
        QUAR_CALL(library_, qrx_read_area, board, 0, 0, 0, 0x7FFFFFFF, 0x7FFFFFFF, buffer.data()),
        -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_ycrcb_to_rgb, nullptr, buffer.data(), 2, 1), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_rgb_to_ycrcb, buffer.data(), buffer.data(), 3, 1), -1);

    // Writing and reading frames as files is the SX-400 acquisition tests';
    // a shape that does not suit the frame, or no file, goes nowhere.
    const std::string path = (dir_ / "frame.tif").string();
    EXPECT_EQ(QUAR_CALL(library_, qrx_write_frame_image, board, 0, path.c_str(), 3, 8), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_write_frame_image, board, 0, nullptr, 1, 8), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_read_image, board, 0, path.c_str()), -1);
}

TEST_F(AcquisitionTest, ColourConversionsFollowTheDocumentedFormulas) {
    // White, black, pure red and a grey pair: R, G, B, pad.
    const std::vector<std::uint8_t> rgb{255, 255, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
    std::vector<std::uint8_t> ycrcb(8);
    ASSERT_EQ(QUAR_CALL(library_, qrx_rgb_to_ycrcb, rgb.data(), ycrcb.data(), 4, 1), 0);
    EXPECT_EQ(ycrcb[0], 255);  // Y of white
    EXPECT_EQ(ycrcb[2], 0);    // Y of black
    EXPECT_EQ(ycrcb[1], 128);  // neutral chroma
    EXPECT_EQ(ycrcb[4], 76);   // 0.299 x 255
    EXPECT_EQ(ycrcb[7], 255);  // Cr of red, clamped
    std::vector<std::uint8_t> back(16);
    ASSERT_EQ(QUAR_CALL(library_, qrx_ycrcb_to_rgb, ycrcb.data(), back.data(), 4, 1), 0);
    for (int i : {0, 1, 2}) EXPECT_EQ(back[i], 255);
    for (int i : {4, 5, 6}) EXPECT_EQ(back[i], 0);
    EXPECT_GE(back[8], 200);  // red stays red
    EXPECT_LE(back[9], 60);
}

}  // namespace
}  // namespace qvi
