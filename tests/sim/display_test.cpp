// The stand-in's display path: a frame drawn through a connection into a
// caller's sink (zoomed), display servers that call the
// sink back from their thread and are joined when deleted.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "quar/quar_acquire.h"
#include "sim/test_pattern.h"
#include "simulator_fixture.h"
#include "support/frame_sink.h"

namespace qvi {
namespace {

constexpr const char *kRack = "[Board]\nKind = SXP\nSlot0 = TX-10\nFrameRate = 0\n";
const std::string kBoards = std::string("[SYSTEM:0]\n") + testing::kLumoProgressive640;

class DisplayTest : public SimulatorTest {
protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartSystems(kRack, kBoards));
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

// A scrolled window's drawing is the SX-400 acquisition tests'; fitting
// 320 x 240 into the sink at half size takes every second pixel.
TEST_F(DisplayTest, AFittedConnectionDrawsEverySecondPixel) {
    const QRX_HANDLE board = Board(0);
    ASSERT_EQ(Request(board, QRX_XBOARD_SNAP), 0);
    testing::FrameSink half(160, 120, QRX_SINK_GREY8);
    const QRX_HANDLE fitted = Connect(board, half, 0, 0, 8);
    ASSERT_NE(fitted, 0u);
    ASSERT_EQ(QUAR_CALL(library_, qrx_set_display_zoom_img_conn, fitted, -1.0, -1.0), 0);
    ASSERT_EQ(QUAR_CALL(library_, qrx_display_conn, fitted), 0);
    EXPECT_EQ(half.Frames(), 1);
    EXPECT_EQ(half.At(50, 60), quar::PatternPixel(100, 120, 1, quar::LayoutOf(8, 0)));
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
    // The counter moved on: some bit of the frame number drawn last is set.
    unsigned counter = 0;
    for (int bit = 0; bit < quar::kCounterBits; ++bit)
        counter += grey.At(bit * quar::kCounterBlock, 0);
    EXPECT_NE(counter, 0u);
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
