// Host acquisition on an SXA's camera channels: frames of the pattern in
// order round the caller's buffers, time-outs, locks, stops, the waiter's
// release by parameter 7 and a software trigger, dual tap, external
// triggers, and bad arguments.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "quar/quar_acquire.h"
#include "quar/quar_host_acquire.h"
#include "sim/test_pattern.h"
#include "simulator_fixture.h"
#include "support/frame_sink.h"

namespace qvi {
namespace {

using namespace std::chrono_literals;

constexpr const char *kRack = R"(
[Board]
Kind = SXA
Channels = 2
FrameRate = 200
ExternalTriggerPeriod = 20
)";

constexpr const char *kBoards = R"(
[SYSTEM:0]
[SXA:0]
[CameraPort:0]
      Name = "Cam A"
      Camera_Structure = Create_Structure
[CameraPort:1]
      Name = "Cam B"
)";

constexpr int kWidth = 160;
constexpr int kHeight = 24;
constexpr int kFrame = kWidth * kHeight;

class HostAcquisitionTest : public SimulatorTest {
protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartSystems(kRack, kBoards));
        board_ = QUAR_CALL(library_, qrx_systop, 0);
        channel_ = QUAR_CALL(library_, qrx_get_vmodcnf, board_, 0);
        second_ = QUAR_CALL(library_, qrx_get_vmodcnf, board_, 1);
        ASSERT_NE(channel_, 0u);
        ASSERT_NE(second_, 0u);
    }
    void TearDown() override {
        QUAR_CALL(library_, qrx_remove_sys, 0);
        SimulatorTest::TearDown();
    }
    QRX_HANDLE Start(int mode, int x, int y, int buffers, int frames = -1) {
        buffer_.assign(static_cast<std::size_t>(kFrame * buffers), 0);
        return QUAR_CALL(library_, qrx_host_start_acq, channel_, mode, x, y, kWidth, kHeight,
                         buffer_.data(), buffers, frames);
    }
    int Wait(QRX_HANDLE grab, int timeoutMs, int lock = 1, void **address = nullptr) {
        void *ignored = nullptr;
        return QUAR_CALL(library_, qrx_host_wait_acq, grab, -1, timeoutMs, lock,
                         address ? address : &ignored);
    }
    void SetParam(int param, double value) {
        ASSERT_EQ(QUAR_CALL(library_, qrx_set_param, channel_, param, value), 0);
    }
    // How many pixels of an 8-bit frame differ from the pattern, where
    // pattern column (x + c), or ((x + c) / 2) in dual tap, gives column c.
    static int Mismatches(const void *frame, int x, int y, std::uint64_t number,
                          bool dualTap = false) {
        const auto *pixels = static_cast<const std::uint8_t *>(frame);
        int wrong = 0;
        for (int r = 0; r < kHeight; ++r)
            for (int c = 0; c < kWidth; ++c) {
                const int px = dualTap ? (x + c) / 2 : x + c;
                wrong += pixels[r * kWidth + c] !=
                         quar::PatternPixel(px, y + r, number, quar::LayoutOf(8, 0));
            }
        return wrong;
    }

    QRX_HANDLE board_ = 0, channel_ = 0, second_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// The area starts inside the frame counter's corner, so both the counter
// and the moving ramps are compared.
TEST_F(HostAcquisitionTest, FramesArriveInOrderRoundTheBuffersWithThePattern) {
    const QRX_HANDLE grab = Start(QRX_HOST_CONTINUOUS, 40, 3, 3);
    ASSERT_NE(grab, 0u);
    for (int expected = 0; expected < 5; ++expected) {
        void *address = nullptr;
        ASSERT_EQ(Wait(grab, 1000, 1, &address), expected);
        EXPECT_EQ(address, buffer_.data() + (expected % 3) * kFrame);
        EXPECT_EQ(Mismatches(address, 40, 3, static_cast<std::uint64_t>(expected)), 0);
        EXPECT_GE(QUAR_CALL(library_, qrx_grab_latest_seqnum, grab), expected);
        EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_release, grab, expected), 0);
        EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_release, grab, expected), -1) << "not locked";
    }
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_stop, grab), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_stop, grab), -1) << "nothing runs";
    EXPECT_EQ(Wait(grab, 0), -1) << "the handle is gone";
}

// A display server drawing the buffer from its own thread while frames are
// written into it shows whole frames only: the board never tears a frame.
TEST_F(HostAcquisitionTest, ADisplayServerOfTheBufferShowsOnlyWholeFrames) {
    const QRX_HANDLE grab = Start(QRX_HOST_CONTINUOUS, 0, 0, 1);
    ASSERT_GE(Wait(grab, 1000, 0), 0);
    testing::FrameSink window(kWidth, kHeight, QRX_SINK_GREY8);
    const QRX_HANDLE source = QUAR_CALL(library_, qrx_create_host_img_src, 0, buffer_.data(), 8,
                                        kWidth, kHeight, 0, 0, kWidth, kHeight);
    const QRX_HANDLE sink =
        QUAR_CALL(library_, qrx_create_win_img_sink, &window.Sink(), 8, 0, 0, kWidth, kHeight, 0);
    const QRX_HANDLE server =
        QUAR_CALL(library_, qrx_create_img_server,
                  QUAR_CALL(library_, qrx_create_img_conn, source, sink), 1, 0);
    ASSERT_NE(server, 0u);
    QRX_FRAME_SINK &drawn = window.Sink();
    for (int look = 0; look < 20; ++look) {
        ASSERT_TRUE(window.WaitFrames(3));
        drawn.lock(drawn.context);
        const auto *first = static_cast<const std::uint8_t *>(drawn.buffer);
        const std::vector<std::uint8_t> shown(first, first + kFrame);
        drawn.unlock(drawn.context);
        const int latest = QUAR_CALL(library_, qrx_grab_latest_seqnum, grab);
        int number = latest + 1;
        while (number >= 0 && Mismatches(shown.data(), 0, 0, static_cast<std::uint64_t>(number)))
            --number;
        EXPECT_GE(number, 0) << "look " << look << ": no frame up to " << latest + 1;
    }
    EXPECT_EQ(QUAR_CALL(library_, qrx_delete_img_server, server), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_stop, grab), 0);
}

// With both buffers locked every frame is dropped; a released buffer takes
// the next one.
TEST_F(HostAcquisitionTest, LockedBuffersAreSkippedAndAllLockedDropsFrames) {
    const QRX_HANDLE grab = Start(QRX_HOST_CONTINUOUS, 0, 0, 2);
    void *first = nullptr;
    // On a busy machine frame 0 may be written over before the wait.
    const int firstTaken = Wait(grab, 1000, 1, &first);
    ASSERT_GE(firstTaken, 0);
    // The other buffer's frame, locked by qrx_host_grab_lock while it still holds it.
    int second = -1;
    for (int attempt = 0; attempt < 20 && second < 0; ++attempt) {
        const int taken = Wait(grab, 1000, 0);
        if (QUAR_CALL(library_, qrx_host_grab_lock, grab, taken) == 0) second = taken;
    }
    ASSERT_GT(second, firstTaken);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_lock, grab, second + 100), -1) << "not taken yet";
    std::this_thread::sleep_for(40ms);  // eight frame periods
    EXPECT_EQ(QUAR_CALL(library_, qrx_grab_latest_seqnum, grab), second);
    EXPECT_EQ(Mismatches(first, 0, 0, static_cast<std::uint64_t>(firstTaken)), 0)
        << "a locked buffer was written";

    ASSERT_EQ(QUAR_CALL(library_, qrx_host_grab_release, grab, firstTaken), 0);
    // The released buffer takes the frames from second + 1 on, the newest
    // over the older ones until a wait locks it.
    void *next = nullptr;
    const int after = Wait(grab, 1000, 1, &next);
    EXPECT_GT(after, second);
    EXPECT_EQ(next, first);
    EXPECT_EQ(Mismatches(next, 0, 0, static_cast<std::uint64_t>(after)), 0);
}

// Stopping wakes a waiter with -2; an on-trigger acquisition without a
// trigger times out with -1.
TEST_F(HostAcquisitionTest, WaitsTimeOutOrEndWhenStopped) {
    SetParam(5, 2.0);  // the external clock is no trigger to it
    const QRX_HANDLE grab = Start(QRX_HOST_ON_TRIGGER, 0, 0, 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Wait(grab, 30), -1);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 28ms);
    EXPECT_LT(waited, 500ms);

    int result = 0;
    std::thread waiter([&] { result = Wait(grab, -1); });
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_stop, channel_), 0) << "stopped by its channel";
    waiter.join();
    EXPECT_EQ(result, -2);
}

// The program's waiter stop: source software, parameter 7, triggered mode,
// then a software trigger ends the wait, takes no frame, and is spent.
TEST_F(HostAcquisitionTest, ParameterSevenAndASoftwareTriggerEndAWait) {
    SetParam(5, 2.0);
    SetParam(4, 2.0);
    const QRX_HANDLE grab = Start(QRX_HOST_ON_TRIGGER, 0, 0, 2);
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, channel_), 0);
    ASSERT_EQ(Wait(grab, 1000, 0), 0);

    int result = 0;
    std::thread waiter([&] { result = Wait(grab, 5000); });
    std::this_thread::sleep_for(20ms);
    SetParam(5, 2.0);
    SetParam(7, 1.0);
    SetParam(4, 2.0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, channel_), 0);
    waiter.join();
    EXPECT_EQ(result, -2);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_param, channel_, 7), 0.0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_grab_latest_seqnum, grab), 0);

    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, board_), 0) << "the board's channel 0";
    EXPECT_EQ(Wait(grab, 1000, 0), 1);
}

// Parameter 5 decides which triggers an on-trigger acquisition takes.
TEST_F(HostAcquisitionTest, OnTriggerFramesComeOnlyFromTheChosenSource) {
    SetParam(5, 1.0);
    QRX_HANDLE event = 0;
    ASSERT_EQ(QUAR_CALL(library_, qrx_intr_connect, channel_, QRX_INTR_FRAME_END, &event), 0);
    QRX_HANDLE grab = Start(QRX_HOST_ON_TRIGGER, 0, 0, 1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, channel_), 0);
    EXPECT_EQ(Wait(grab, 1000, 0), 0) << "an external trigger within its period";
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, event, 1000), 0);
    EXPECT_LE(QUAR_CALL(library_, qrx_grab_latest_seqnum, grab), 1)
        << "the software trigger counted";

    SetParam(5, 2.0);
    grab = Start(QRX_HOST_ON_TRIGGER, 0, 0, 1);
    EXPECT_EQ(Wait(grab, 60), -1) << "three external periods";
}

// Dual tap: the first channel gives the even columns, the second the odd
// ones, each from its own columns. Starting on a channel stops what ran there.
TEST_F(HostAcquisitionTest, DualTapInterleavesTwoChannelsColumns) {
    buffer_.assign(kFrame, 0);
    const QRX_HANDLE grab =
        QUAR_CALL(library_, qrx_host_start_dualtap_acq, channel_, second_, QRX_HOST_CONTINUOUS, 6,
                  2, kWidth, kHeight, buffer_.data(), 1, -1);
    ASSERT_NE(grab, 0u);
    void *address = nullptr;
    // A waiter that comes late finds a later frame in the one buffer.
    ASSERT_GE(Wait(grab, 1000, 1, &address), 0);
    std::uint64_t number = 0;
    while (number < 64 && Mismatches(address, 6, 2, number, true) != 0) ++number;
    ASSERT_LT(number, 64u) << "the buffer holds no dual-tap frame of the pattern";
    EXPECT_NE(Mismatches(address, 6, 2, number, false), 0);

    std::vector<std::uint8_t> other(kFrame);
    ASSERT_NE(QUAR_CALL(library_, qrx_host_grab, second_, other.data(), kWidth, kHeight), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_stop, grab), -1) << "stopped by the new one";
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_stop, second_), 0);
}

// A budget of frames ends the acquisition after the last; snaps take the
// channel's next frame each.
TEST_F(HostAcquisitionTest, FrameBudgetsAndSnaps) {
    const QRX_HANDLE grab = Start(QRX_HOST_CONTINUOUS, 0, 0, 2, 2);
    EXPECT_EQ(Wait(grab, 1000, 0), 0);
    EXPECT_EQ(Wait(grab, 1000, 0), 1);
    EXPECT_EQ(Wait(grab, 1000, 0), -2);

    std::vector<std::uint8_t> first(kFrame), second(kFrame);
    ASSERT_EQ(QUAR_CALL(library_, qrx_host_snap, channel_, first.data(), kWidth, kHeight), 0);
    ASSERT_EQ(QUAR_CALL(library_, qrx_host_snap, channel_, second.data(), kWidth, kHeight), 0);
    std::uint64_t number = 0;
    while (number < 64 && Mismatches(first.data(), 0, 0, number) != 0) ++number;
    ASSERT_LT(number, 64u) << "the snap holds no frame of the pattern";
    EXPECT_EQ(Mismatches(second.data(), 0, 0, number + 1), 0);
}

TEST_F(HostAcquisitionTest, BadHandlesAndArgumentsFail) {
    std::vector<std::uint8_t> pixels(kFrame);
    void *to = pixels.data();
    const int w = kWidth, h = kHeight;
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_acq, board_, 2, 0, 0, w, h, to, 1, -1), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_acq, channel_, 3, 0, 0, w, h, to, 1, -1), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_acq, channel_, 2, -1, 0, w, h, to, 1, -1), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_acq, channel_, 2, 0, 0, -w, h, to, 1, -1), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_acq, channel_, 2, 0, 0, 1 << 20, h, to, 1, -1),
              0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_acq, channel_, 2, 0, 0, w, h, nullptr, 1, -1), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_acq, channel_, 2, 0, 0, w, h, to, 0, 0), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_start_dualtap_acq, channel_, channel_, 2, 0, 0, w, h, to,
                        1, -1),
              0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_snap, channel_, nullptr, w, h), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_snap, board_, to, w, -1), -1);

    const QRX_HANDLE grab = QUAR_CALL(library_, qrx_host_grab, channel_, to, w, h);
    void *address = nullptr;
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_wait_acq, grab, -1, 0, 0, nullptr), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_host_wait_acq, grab, -2, -5, 2, &address), -1);
    for (QRX_HANDLE bad : {QRX_HANDLE{0}, QRX_HANDLE{0xDEAD}, second_}) {
        EXPECT_EQ(QUAR_CALL(library_, qrx_host_wait_acq, bad, -1, 0, 0, &address), -1);
        EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_lock, bad, 0), -1);
        EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_release, bad, 0), -1);
        EXPECT_EQ(QUAR_CALL(library_, qrx_grab_latest_seqnum, bad), -1);
        EXPECT_EQ(QUAR_CALL(library_, qrx_host_grab_stop, bad), -1);
    }
}

}  // namespace
}  // namespace qvi
