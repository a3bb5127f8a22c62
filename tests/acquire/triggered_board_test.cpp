// Triggered snaps on the real stand-in, wired as the program wires them: the
// SX-400 polled after a software or an external trigger, and the SXA
// channel's waiter thread.
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "acquire/image_commands.h"
#include "acquire/library_frame_port.h"
#include "acquire/triggered_acquisition.h"
#include "app/image_target.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "modules/boards/sxa_board.h"
#include "sim/test_pattern.h"
#include "support/acquisition_rigs.h"
#include "support/frame_sink.h"
#include "support/manual_clock.h"
#include "support/stand_in.h"
#include "system/board_plat_mod.h"

namespace qvi {
namespace {

using namespace std::chrono_literals;
using Source = TriggeredAcquisition::Source;
using Steady = std::chrono::steady_clock;

// Both boards see an external trigger every 30 ms.
constexpr const char *kRack = R"([Board]
Kind = SXP
Revision = 30
Slot0 = TX-10
FrameRate = 200
ExternalTriggerPeriod = 30
[Board]
Kind = SXA
Channels = 2
FrameRate = 200
ExternalTriggerPeriod = 30
)";

const std::string kConfiguration =
    std::string("[SYSTEM:0]\n") + testing::kLumoProgressive640 + testing::kSxaTwoChannels;

// Lines of the board list.
constexpr int kLumo = 0;
constexpr int kSxaChannel1 = 2;
constexpr int kWidth = 640;
constexpr int kSxaModeParam = 4;
constexpr double kFreeRun = 1.0;

using Pixels = std::function<std::uint32_t(int, int)>;

// Whether an 8-bit image holds one whole frame of the synthetic video: the
// frame its counter names, at points across the image.
::testing::AssertionResult HoldsPatternFrame(const Pixels &pixel) {
    const std::uint64_t frame = testing::PatternFrame(pixel);
    const quar::PixelLayout layout = quar::LayoutOf(8, 0);
    for (auto [x, y] : {std::pair{17, 40}, {200, 101}, {301, 239}, {600, 470}}) {
        const std::uint32_t expected = quar::PatternPixel(x, y, frame, layout);
        if (pixel(x, y) != expected)
            return ::testing::AssertionFailure()
                   << "(" << x << "," << y << ") holds " << pixel(x, y) << ", frame " << frame
                   << " has " << expected;
    }
    return ::testing::AssertionSuccess();
}

bool WaitFor(const std::function<bool()> &done) {
    for (int i = 0; i < 200 && !done(); ++i) std::this_thread::sleep_for(10ms);
    return done();
}

// The library's port for a waiter, noting the thread that waits on it.
class ThreadNotingPort final : public HostFramePort {
public:
    ThreadNotingPort(std::unique_ptr<HostFramePort> port, std::atomic<long> &thread)
        : port_(std::move(port)), thread_(thread) {}
    int WaitForBuffer(std::uint8_t **address) override {
        thread_.store(static_cast<long>(::syscall(SYS_gettid)));
        return port_->WaitForBuffer(address);
    }
    void ShowBuffer(std::uint8_t *address) override { port_->ShowBuffer(address); }
    void ReleaseBuffer(int sequence) override { port_->ReleaseBuffer(sequence); }
    void InterruptWait() override { port_->InterruptWait(); }
    void EndInterrupt() override { port_->EndInterrupt(); }

private:
    std::unique_ptr<HostFramePort> port_;
    std::atomic<long> &thread_;
};

class TriggeredBoardTest : public testing::StandInTest {
protected:
    void SetUp() override {
        SetHardwareEnabled(true);
        UseRack(kRack);
        Start();
        ASSERT_EQ(tree->LoadFile(Write("boards.txt", kConfiguration).string()), 0)
            << ::testing::PrintToString(ui.Texts());
        ui.Clear();
    }
    void TearDown() override {
        if (document) CloseImageDocument(*document);
        SetHardwareEnabled(false);
    }

    // The image window of a line of the board list.
    void Open(int line) {
        ASSERT_LT(line, tree->BoardCount());
        std::optional<ImageTarget> found =
            ImageTargetOf(tree->System(), tree->BoardElements()[static_cast<std::size_t>(line)]);
        ASSERT_TRUE(found);
        target = *found;
        document = OpenImageDocument(*target.board, target.element, target.channel, target.title);
    }

    QV_board_plat_mod &Board() { return *target.board; }
    SXA_plat_mod &Sxa() { return dynamic_cast<SXA_plat_mod &>(*target.board); }
    double ChannelParam(int param) {
        Sxa().SelectChannel(target.channel);
        return platform->Binding().Entry<&::qrx_get_param>()(Sxa().ChannelHandle(), param);
    }
    Pixels Frame() {
        return [this](int x, int y) { return static_cast<std::uint32_t>(Board().ReadPixel(x, y)); };
    }
    Pixels Shown() {
        return [this](int x, int y) { return sink.At(x, y); };
    }
    Pixels HostBuffer() {
        return [this](int x, int y) {
            return static_cast<std::uint32_t>(
                document->hostBuffer[static_cast<std::size_t>(y * kWidth + x)]);
        };
    }

    testing::FrameSink sink{kWidth, 480, QRX_SINK_GREY8};
    testing::ManualClock clock;
    ImageTarget target;
    std::unique_ptr<ImageDocument> document;
};

TEST_F(TriggeredBoardTest, Sx400ShowsTheFrameTakenOnASoftwareOrAnExternalTrigger) {
    Open(kLumo);
    TriggeredAcquisition::Setup setup = TriggerSetupOf(target, sink.Window());
    int polls = 0;
    // The modal wait: a poll every second of the test's clock, after real
    // time enough for the rack's trigger.
    setup.waitForExternalTrigger = [&](QV_board_plat_mod &board) {
        std::optional<bool> came;
        ExternalTriggerWait wait(board, clock, [&](bool triggered) { came = triggered; });
        for (; polls < 20 && !came; ++polls) {
            std::this_thread::sleep_for(50ms);
            clock.Advance(ExternalTriggerWait::kPeriodMs);
        }
        return came.value_or(false);
    };
    TriggeredAcquisition tool(*document, clock, setup);
    EXPECT_EQ(Board().ReadPixel(200, 101), 0) << "opening clears the frame";

    tool.ChooseSource(Source::Software);
    tool.Arm();
    EXPECT_EQ(document->state, ImageDocument::kTriggered);
    EXPECT_TRUE(HoldsPatternFrame(Frame()));
    EXPECT_TRUE(HoldsPatternFrame(Shown()));

    tool.ClearFrame();
    EXPECT_EQ(Board().ReadPixel(200, 101), 0);
    tool.ChooseSource(Source::External);
    tool.Arm();
    EXPECT_GT(polls, 0);
    EXPECT_EQ(document->state, ImageDocument::kTriggered);
    EXPECT_TRUE(HoldsPatternFrame(Frame()));
    EXPECT_TRUE(HoldsPatternFrame(Shown()));
    EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.Texts());
}

// The rack's external triggers reach the channel's waiter; arming again for
// the same source keeps it, another source starts a new one. A
// software-triggered channel waits 20 s at a time: closing must make the
// pending wait return rather than sit it out, and end the waiter's thread.
TEST_F(TriggeredBoardTest, SxaWaiterShowsTriggeredFramesAndClosingReleasesItsWaitAndEndsItsThread) {
    Open(kSxaChannel1);
    std::atomic<long> waiterThread{0};
    int started = 0;
    TriggeredAcquisition::Setup setup = TriggerSetupOf(target, sink.Window());
    setup.startWaiter = [&]() -> std::unique_ptr<TriggerWaiter> {
        ++started;
        Sxa().StartHostAcquisition();
        return std::make_unique<TriggerWaiter>(std::make_unique<ThreadNotingPort>(
            std::make_unique<LibraryHostFramePort>(platform->Binding(), *document,
                                                   Sxa().ChannelHandle()),
            waiterThread));
    };
    TriggeredAcquisition tool(*document, clock, setup);
    tool.Arm();
    EXPECT_EQ(tool.ArmLabel(), "Polling...");
    ASSERT_TRUE(WaitFor([&] { return tool.FramesShown() >= 2; })) << "the rack's triggers";
    EXPECT_TRUE(HoldsPatternFrame(Shown()));
    const std::uint32_t grab = document->grab;
    tool.Arm();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(document->grab, grab) << "the same host acquisition goes on";

    tool.ChooseSource(Source::Software);
    tool.Arm();
    ASSERT_TRUE(tool.WaiterRunning());
    EXPECT_EQ(started, 2);
    EXPECT_EQ(document->state, ImageDocument::kTriggered);
    ASSERT_TRUE(WaitFor([&] { return tool.FramesShown() == 1; })) << "a new waiter counts from 0";
    EXPECT_TRUE(HoldsPatternFrame(HostBuffer()));
    EXPECT_TRUE(HoldsPatternFrame(Shown()));
    tool.Arm();
    EXPECT_TRUE(WaitFor([&] { return tool.FramesShown() == 2; }));

    std::this_thread::sleep_for(50ms);  // the waiter is back in its wait
    const std::filesystem::path thread = "/proc/self/task/" + std::to_string(waiterThread.load());
    ASSERT_TRUE(std::filesystem::exists(thread));
    const Steady::time_point start = Steady::now();
    tool.Close();
    EXPECT_LT(Steady::now() - start, 2s);
    EXPECT_FALSE(tool.WaiterRunning());
    EXPECT_FALSE(std::filesystem::exists(thread)) << "the waiter's thread outlived the tool";
    EXPECT_EQ(ChannelParam(kSxaModeParam), kFreeRun);
    EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.Texts());
}

}  // namespace
}  // namespace qvi
