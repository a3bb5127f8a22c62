// The stand-in's display path: a frame drawn through a connection into a
// caller's sink (scrolled, zoomed, converted), display servers that call the
// sink back from their thread and are joined when deleted.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "quar/quar_acquire.h"
#include "sim/test_pattern.h"
#include "simulator_fixture.h"
#include "support/frame_sink.h"

namespace qvi {
namespace {

constexpr const char *kRack = R"(
[Board]
Kind = SXP
Slot0 = TX-10
FrameRate = 0
[Board]
Kind = SXP
Slot0 = TX-70
Slot0Type = 8
)";

const std::string kBoards = std::string("[SYSTEM:0]\n") + testing::kLumoProgressive640 +
                            "[SX-400:1]\n[TX-70:0]\n      Slot_Number = 0\n      RGB_Input_Board\n";

class DisplayTest : public SimulatorTest {
protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartSystems(kRack, kBoards));
    }
    QRX_HANDLE Board(int index) {
        QRX_HANDLE board = QUAR_CALL(library_, qrx_systop, 0);
        return index == 0 ? board : QUAR_CALL(library_, qrx_get_next_mod, board);
    }
    // Source scrolled to (scrollX, scrollY), sink and connection, as a board
    // builds its display.
    QRX_HANDLE Connect(QRX_HANDLE board, testing::FrameSink &sink, int scrollX, int scrollY,
                       int depth) {
        QRX_HANDLE source =
            QUAR_CALL(library_, qrx_create_frame_area_img_src, board, 0, 0, 0, 320, 240);
        EXPECT_EQ(QUAR_CALL(library_, qrx_set_img_src_aoi, source, scrollX, scrollY), 0);
        QRX_HANDLE window = QUAR_CALL(library_, qrx_create_win_img_sink, &sink.Sink(), depth, 0, 0,
                                      sink.Sink().width, sink.Sink().height, 0);
        return QUAR_CALL(library_, qrx_create_img_conn, source, window);
    }
};

TEST_F(DisplayTest, ConnectionDrawsTheScrolledFrameIntoTheSink) {
    const QRX_HANDLE board = Board(0);
    ASSERT_EQ(Request(board, QRX_XBOARD_SNAP), 0);
    testing::FrameSink grey(320, 240, QRX_SINK_GREY8);
    const QRX_HANDLE connection = Connect(board, grey, 64, 8, 8);
    ASSERT_NE(connection, 0u);
    ASSERT_EQ(QUAR_CALL(library_, qrx_display_img_conn, connection, 0, 0), 0);
    EXPECT_EQ(grey.Frames(), 1);
    const quar::PixelLayout layout = quar::LayoutOf(8, 0);
    for (auto [x, y] : {std::pair{10, 20}, {0, 0}, {319, 239}})
        EXPECT_EQ(grey.At(x, y), quar::PatternPixel(x + 64, y + 8, 1, layout)) << x << "," << y;

    // Fitting 320 x 240 into the sink at half size takes every second pixel.
    testing::FrameSink half(160, 120, QRX_SINK_GREY8);
    const QRX_HANDLE fitted = Connect(board, half, 0, 0, 8);
    ASSERT_EQ(QUAR_CALL(library_, qrx_set_display_zoom_img_conn, fitted, -1.0, -1.0), 0);
    ASSERT_EQ(QUAR_CALL(library_, qrx_display_conn, fitted), 0);
    EXPECT_EQ(half.At(50, 60), quar::PatternPixel(100, 120, 1, layout));
}

// A grab at an uncapped rate: each drawing is a new frame. The server calls
// the sink back from its thread; once deleted it never calls again.
TEST_F(DisplayTest, ServerRefreshesTheSinkUntilDeleted) {
    const QRX_HANDLE board = Board(0);
    ASSERT_EQ(Request(board, QRX_XBOARD_GRAB), 0);
    testing::FrameSink grey(320, 240, QRX_SINK_GREY8);
    const QRX_HANDLE connection = Connect(board, grey, 0, 0, 8);
    const QRX_HANDLE server = QUAR_CALL(library_, qrx_create_img_server, connection, 2, 7);
    ASSERT_NE(server, 0u);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (grey.Frames() < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_GE(grey.Frames(), 5);
    EXPECT_NE(grey.At(0, 0) + grey.At(8, 0) + grey.At(16, 0), 0u);  // the counter moved on
    ASSERT_EQ(QUAR_CALL(library_, qrx_suspend_img_server, server), 0);
    ASSERT_EQ(QUAR_CALL(library_, qrx_resume_img_server, server), 0);
    EXPECT_GE(QUAR_CALL(library_, qrx_img_server_frame_rate, server), 0.0);
    ASSERT_EQ(QUAR_CALL(library_, qrx_delete_img_server, server), 0);
    const int after = grey.Frames();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(grey.Frames(), after);
    EXPECT_EQ(QUAR_CALL(library_, qrx_delete_img_server, server), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_img_server_frame_rate, server), -1.0);
}

TEST_F(DisplayTest, BadSinksSourcesAndConnectionsAreRefused) {
    const QRX_HANDLE board = Board(0);
    testing::FrameSink grey(64, 64, QRX_SINK_GREY8);
    QRX_FRAME_SINK broken = grey.Sink();
    broken.stride = 10;  // shorter than a row
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_win_img_sink, &broken, 8, 0, 0, 64, 64, 0), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_win_img_sink, nullptr, 8, 0, 0, 64, 64, 0), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_win_img_sink, &grey.Sink(), 8, 0, 0, 64, 64, 2), 0u);
    EXPECT_NE(QUAR_CALL(library_, qrx_create_win_img_sink, &grey.Sink(), 16, 0, 0, 64, 64, 3), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_frame_area_img_src, board, 3, 0, 0, 64, 64), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_frame_area_img_src, 0xDEAD, 0, 0, 0, 64, 64), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_frame_area_img_src, board, 0, 0, 0, -1, 64), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_host_img_src, 0, nullptr, 8, 4, 4, 0, 0, 4, 4), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_img_conn, 0xDEAD, 0xBEEF), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_create_img_server, 0xDEAD, 20, 0), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_display_conn, 0xDEAD), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_set_display_zoom_img_conn, 0xDEAD, 1.0, 1.0), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_delete_img_src, 0xDEAD), -1);
    // A source scrolled past the frame draws nothing and does not crash.
    const QRX_HANDLE connection = Connect(board, grey, 60000, 60000, 8);
    EXPECT_EQ(QUAR_CALL(library_, qrx_display_conn, connection), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_dest_key_rep, 0x8080u, 0, 0), 0x808000u);
}

}  // namespace
}  // namespace qvi
