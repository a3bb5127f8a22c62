// Triggered acquisition, the external-trigger wait, the SXA waiter thread and the digital I/O test.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquire/dio_test.h"
#include "acquire/trigger_waiter.h"
#include "acquire/triggered_acquisition.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "support/manual_clock.h"
#include "support/recording_board.h"
#include "support/test_env.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;

// An acquisition module that records the trigger operations into the board's list.
class RecordingModule : public QV_acq_plat_mod {
public:
    explicit RecordingModule(std::vector<std::string> &calls)
        : QV_acq_plat_mod("test module", nullptr, 0, "tx99"), calls_(calls) {}
    void SoftwareTrigger() override { calls_.push_back("SoftwareTrigger"); }
    void PrepareSoftwareTrigger() override { calls_.push_back("PrepareSoftware"); }
    void PrepareExternalTrigger() override { calls_.push_back("PrepareExternal"); }

private:
    std::vector<std::string> &calls_;
};

// A library port whose waits return a buffer whenever one was fired, and
// which counts the waiters' interruptions.
class FakeHostPort : public HostFramePort {
public:
    int WaitForBuffer(std::uint8_t **address) override {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return pending_ > 0; });
        --pending_;
        *address = buffer_;
        return sequence_++;
    }
    void ShowBuffer(std::uint8_t *) override {}
    void ReleaseBuffer(int) override {}
    void InterruptWait() override {
        interrupts.fetch_add(1);
        Fire();
    }
    void EndInterrupt() override { ended.fetch_add(1); }
    void Fire() {
        std::lock_guard lock(mutex_);
        ++pending_;
        ready_.notify_all();
    }

    std::atomic<int> interrupts{0};
    std::atomic<int> ended{0};

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    int pending_ = 0;
    int sequence_ = 0;
    std::uint8_t buffer_[4] = {};
};

class TriggerTest : public testing::UiTest {
protected:
    TriggeredAcquisition::Setup MakeSetup() {
        TriggeredAcquisition::Setup setup;
        setup.module = &module;
        setup.window = &window;
        setup.waitForExternalTrigger = [this](QV_board_plat_mod &) { return externalComes; };
        setup.startWaiter = [this] {
            ++waitersStarted;
            return std::make_unique<TriggerWaiter>(port);
        };
        return setup;
    }

    ImageDocument Document() {
        ImageDocument opened;
        opened.title = "SX-400:0";
        opened.board = &board;
        return opened;
    }

    testing::RecordingBoard board;
    RecordingModule module{board.calls};
    testing::ManualClock clock;
    FakeHostPort port;
    ImageDocument document = Document();
    int window = 0;
    bool externalComes = true;
    int waitersStarted = 0;
};

TEST_F(TriggerTest, OpeningClearsTheWindowAndTurnsTriggerModeOnAndATx30TakesExternalOnly) {
    {
        TriggeredAcquisition trigger(document, clock, MakeSetup());
        EXPECT_EQ(trigger.Caption(), "Triggered Acquisition - SX-400:0");
        EXPECT_EQ(trigger.ArmLabel(), "Arm + poll");
        EXPECT_EQ(trigger.CurrentSource(), TriggeredAcquisition::Source::External);
        trigger.ChooseSource(TriggeredAcquisition::Source::Software);
        EXPECT_EQ(trigger.ArmLabel(), "Arm + fire");
        trigger.ChooseSource(TriggeredAcquisition::Source::External);
        EXPECT_EQ(trigger.ArmLabel(), "Arm + poll");
    }
    EXPECT_THAT(board.calls, ElementsAre("Acquire 2", "TriggerMode 1", "TriggerMode 0"));

    // A TX-30 takes external triggers only.
    auto setup = MakeSetup();
    setup.tx30 = true;
    TriggeredAcquisition trigger(document, clock, setup);
    EXPECT_FALSE(trigger.SoftwareAllowed());
    EXPECT_EQ(trigger.ArmLabel(), "Arm");
    trigger.ChooseSource(TriggeredAcquisition::Source::Software);
    EXPECT_EQ(trigger.CurrentSource(), TriggeredAcquisition::Source::External);
}

// A polled external arm shows the frame only when the trigger came; a
// software arm fires and shows at once, or polls for a channel element.
TEST_F(TriggerTest, PolledArmsShowTheFrameOnceTheTriggerCame) {
    TriggeredAcquisition trigger(document, clock, MakeSetup());
    board.calls.clear();
    document.frozen = true;
    externalComes = false;
    trigger.Arm();
    EXPECT_EQ(document.state, ImageDocument::kCleared);
    EXPECT_EQ(clock.waited, 100);
    externalComes = true;
    trigger.Arm();
    EXPECT_EQ(document.state, ImageDocument::kTriggered);
    EXPECT_FALSE(document.frozen);
    EXPECT_THAT(board.calls, ElementsAre("PrepareExternal", "ArmTrigger", "PrepareExternal",
                                         "ArmTrigger", "Acquire 0"));

    trigger.ChooseSource(TriggeredAcquisition::Source::Software);
    board.calls.clear();
    document.state = ImageDocument::kCleared;
    trigger.Arm();
    EXPECT_THAT(board.calls, ElementsAre("PrepareSoftware", "ArmTrigger", "SoftwareTrigger",
                                         "WaitTrigger 100", "Acquire 0"));
    EXPECT_EQ(document.state, ImageDocument::kTriggered);

    auto setup = MakeSetup();
    setup.channelElementActive = true;
    TriggeredAcquisition polled(document, clock, setup);
    polled.ChooseSource(TriggeredAcquisition::Source::Software);
    board.calls.clear();
    polled.Arm();
    EXPECT_EQ(clock.Running(), 1);
    clock.Advance(300);  // not done yet
    EXPECT_EQ(document.state, ImageDocument::kCleared);
    board.triggerDone = 1;
    clock.Advance(100);
    EXPECT_EQ(document.state, ImageDocument::kTriggered);
    EXPECT_EQ(clock.Running(), 0);
    EXPECT_THAT(board.calls, ElementsAre("PrepareSoftware", "ArmTrigger", "SoftwareTrigger",
                                         "WaitTrigger 100", "Acquire 0"));
}

TEST_F(TriggerTest, TheExternalWaitPollsEverySecondAndCanBeCancelled) {
    std::vector<bool> results;
    {
        ExternalTriggerWait wait(board, clock, [&](bool came) { results.push_back(came); });
        clock.Advance(2500);
        EXPECT_TRUE(results.empty());
        board.triggerDone = 1;
        clock.Advance(500);
        EXPECT_THAT(results, ElementsAre(true));
        EXPECT_EQ(clock.Running(), 0);
    }
    ExternalTriggerWait cancelled(board, clock, [&](bool came) { results.push_back(came); });
    cancelled.Cancel();
    EXPECT_TRUE(cancelled.Cancelled());
    EXPECT_THAT(results, ElementsAre(true, false));
    EXPECT_THAT(board.calls, ElementsAre("WaitTrigger 1"));

    clock.refuseTimers = true;
    ExternalTriggerWait refused(board, clock, {});
    EXPECT_THAT(ui.Texts(), ElementsAre("SetTimer failed"));
}

TEST_F(TriggerTest, SxaArmKeepsTheWaiterForTheSameSourceAndClearFrameOrClosingJoinsIt) {
    auto setup = MakeSetup();
    setup.sxaBoard = true;
    document.channel = 3;
    auto trigger = std::make_unique<TriggeredAcquisition>(document, clock, setup);
    trigger->Arm();
    trigger->Arm();  // the same external source: the waiter stays (counted below)
    EXPECT_TRUE(trigger->WaiterRunning());
    port.Fire();  // a triggered frame is shown by the thread

    board.calls.clear();
    document.frozen = true;
    trigger->ClearFrame();  // ends the waiter and the trigger mode
    EXPECT_FALSE(trigger->WaiterRunning());
    EXPECT_EQ(port.interrupts.load(), 1);
    EXPECT_EQ(port.ended.load(), 1);
    EXPECT_EQ(trigger->ArmLabel(), "Arm+ poll");
    EXPECT_FALSE(document.frozen);
    EXPECT_THAT(board.calls, ElementsAre("TriggerMode 0", "Acquire 2"));

    trigger->Arm();
    trigger->ChooseSource(TriggeredAcquisition::Source::Software);
    trigger->Arm();  // another source: the old waiter ends, a new one starts
    EXPECT_EQ(waitersStarted, 3);
    EXPECT_EQ(port.interrupts.load(), 2);
    EXPECT_EQ(port.ended.load(), 2);
    EXPECT_THAT(board.selected, ::testing::Each(3));

    trigger.reset();  // closing ends the thread before the tool goes
    EXPECT_EQ(port.interrupts.load(), 3);
    EXPECT_EQ(port.ended.load(), 3);
    EXPECT_EQ(std::count(board.calls.begin(), board.calls.end(), "SoftwareTrigger"), 1);
    EXPECT_EQ(board.calls.back(), "TriggerMode 0");
}

TEST_F(TriggerTest, DigitalIoTestPollsInputsDrivesOutputsAndSetsTheInputMode) {
    board.inputs = 0x1A5;  // only the 8 lines are shown
    std::vector<int> seen;
    {
        DioTest dio(document, clock, [&](int inputs) { seen.push_back(inputs); });
        EXPECT_EQ(dio.Caption(), "Digital I/O Test - SX-400:0");
        EXPECT_EQ(dio.Inputs(), 0xA5);
        board.inputs = 0x01;
        clock.Advance(100);  // a changed line is seen within one period
        EXPECT_EQ(dio.Inputs(), 0x01);
        dio.ToggleOutput(3);
        dio.ToggleOutput(3);
        dio.ToggleOutput(8);  // no such line
        EXPECT_EQ(dio.Outputs(), 0);
        EXPECT_FALSE(dio.StrobePolarityEnabled());
        dio.SetInportStrobePolarity(1);
        dio.ToggleInputBufferEnable();
        EXPECT_TRUE(dio.StrobePolarityEnabled());
    }
    EXPECT_EQ(clock.Running(), 0);
    EXPECT_THAT(seen, ElementsAre(0xA5, 0x01));
    EXPECT_THAT(board.calls, ElementsAre("Output 0=0", "Output 1=0", "Output 2=0", "Output 3=0",
                                         "Output 4=0", "Output 5=0", "Output 6=0", "Output 7=0",
                                         "Output 3=1", "Output 3=0", "InputMode 1 1"));
    board.revision = 4;
    EXPECT_FALSE(DioTestAvailable(board, false));
    EXPECT_TRUE(DioTestAvailable(board, true));
    board.revision = 5;
    EXPECT_TRUE(DioTestAvailable(board, false));
}

}  // namespace
}  // namespace qvi
