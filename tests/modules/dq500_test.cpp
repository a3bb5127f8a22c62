// The DQ-500 board against the real stand-in: configurations with one or two
// DQ-500 boards are loaded through the bound library, each board gets its
// platform object and container, and what the board writes, shows and sends
// to the library is checked, as is the video-bus master check.

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/library_binding.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "modules/boards/dq500.h"
#include "modules/boards/video_bus.h"
#include "params/mod_param.h"
#include "quar/quar_modules.h"
#include "support/bound_stand_in.h"
#include "support/test_camera.h"
#include "system/system.h"

namespace qvi {
namespace {

using testing::Lines;
using testing::Section;

using ::testing::Contains;
using ::testing::ElementsAre;

constexpr const char *kConfiguration = R"([SYSTEM:0]
[DQ-500:0]
      FrameA1_Size = Size_4K256
      VideoBus_Master
[DQ-500:1]
      VideoBus_Master
)";

constexpr int kVideoBusRegister = 121;
constexpr int kFrameA1SizeRegister = 216;
constexpr std::uint32_t kUnknownHandle = 0xBAD0;

// A board's two objects; the container goes first.
using Board = testing::OpenedModule<DQP_plat_mod, QV_dq500_mod>;

class Dq500Test : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        BindAndLoad("[Board]\nKind = DQP\nRevision = 3\n[Board]\nKind = DQP\n", kConfiguration);
    }

    std::unique_ptr<DQP_plat_mod> Platform(QRX_HANDLE handle) const {
        return std::make_unique<DQP_plat_mod>(binding_.get(), handle);
    }

    Board Open(QRX_HANDLE handle, int instance = 0) const {
        Board opened;
        opened.platform = Platform(handle);
        opened.container = std::make_unique<QV_dq500_mod>(opened.platform.get());
        opened.container->SetInstance(instance);
        opened.platform->FillParams(*opened.container);
        return opened;
    }
};

TEST_F(Dq500Test, FrameRowWritesItsFramesSizeRegister) {
    Board board = Open(BoardHandle(0));
    QV_usr_param &a1 = board.Row(2);
    EXPECT_EQ(a1.GetIndex(), 2);
    EXPECT_EQ(a1.SetIndex(3), 1);
    EXPECT_EQ(binding_->Entry<&::read_reg>()(board.platform->Handle(), 218), 3);
}

TEST_F(Dq500Test, DacChoicesGoToTheirEntryOnlyWithHardware) {
    // The stand-in accepts a setting for a board it knows and refuses it
    // otherwise: the refusal shows the entry was called, and which one.
    Board known = Open(BoardHandle(0));
    EXPECT_EQ(known.Row(14).SetIndex(0), 1);
    EXPECT_TRUE(known.Value(41).Equals(QV_param_val::S16(1)));
    EXPECT_TRUE(ui.messages.empty());

    auto unknown = Platform(kUnknownHandle);
    QV_dq500_mod container(unknown.get());
    ui.Clear();
    struct Case {
        int row;
        const char *error;
    };
    const Case cases[] = {{8, "Error: dqp_dac_sync_on_green()"},
                          {14, "Error: dqp_dac_pedestal()"},
                          {15, "Error: dqp_dac_gamma_rom()"},
                          {16, "Error: dqp_dac_spseudo()"}};
    for (const Case &dac : cases) {
        SetHardwareEnabled(false);
        ui.Clear();
        container.GetUsrParam(dac.row)->SetIndex(1);
        EXPECT_TRUE(ui.messages.empty()) << dac.error;

        SetHardwareEnabled(true);
        container.GetUsrParam(dac.row)->SetIndex(0);
        EXPECT_THAT(ui.Errors(), ElementsAre(dac.error));
    }
    // Another choice writes its register and calls no entry.
    ui.Clear();
    container.GetUsrParam(12)->SetIndex(0);
    EXPECT_TRUE(ui.Errors().empty());
}

TEST_F(Dq500Test, DisplayTypeAboveTwelveIsRefused) {
    auto board = Platform(BoardHandle(0));
    EXPECT_EQ(board->SetDisplayType(12), 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(board->SetDisplayType(13), -1);
    EXPECT_THAT(ui.Errors(), ElementsAre("Invalid display index: 13"));

    ui.Clear();
    SetHardwareEnabled(false);
    EXPECT_EQ(board->SetDisplayType(13), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Dq500Test, FrameSizesReadTheirRegisterAndRefuseOtherNames) {
    auto board = Platform(BoardHandle(0));
    EXPECT_EQ(board->MemoryModel(), 2);  // all three frames fitted
    binding_->WriteReg16(board->Handle(), 185, 0x1234);
    binding_->WriteReg16(board->Handle(), kFrameA1SizeRegister, 0xFFFE);
    binding_->WriteReg16(board->Handle(), 246, 9);
    EXPECT_EQ(board->GetFrameSize("A0"), 0x1234);
    EXPECT_EQ(board->GetFrameSize("A1"), -2);  // as 16 bits
    EXPECT_EQ(board->GetFrameSize("B1"), 9);
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(board->GetFrameSize("B0"), -1);
    EXPECT_THAT(ui.Errors(), ElementsAre("Invalid frame: B0 passed to DQP_plat_mod::GetFrameSize"));

    SetHardwareEnabled(false);
    EXPECT_EQ(board->GetFrameSize("A0"), -1);
}

// ---- the monitor -----------------------------------------------------------------

constexpr int kMonochrome = 0;
constexpr int kYcrcb = 7;
constexpr int kRgbBoard = 8;
constexpr int kColourModeRow = 16;
constexpr int kPseudoColour = 0;
constexpr int kTrueColour = 1;

// Three boards: every frame memory, A0 and A1 only, A0 only.
enum MemoryFitted { kAllFrames, kNoB1, kOnlyA0 };

class Dq500MonitorTest : public Dq500Test {
protected:
    static constexpr const char *kBoards =
        "[SYSTEM:0]\n[DQ-500:0]\n      Pseudo_Color_Enabled\n[DQ-500:1]\n[DQ-500:2]\n";

    void SetUp() override {
        BindAndLoad(
            "[Board]\nKind = DQP\n[Board]\nKind = DQP\nMemoryModel = 1\n"
            "[Board]\nKind = DQP\nMemoryModel = 0\n",
            kBoards);
    }

    // Fresh boards: nothing armed, cleared, switched on or shown.
    void Reload() { ASSERT_EQ(Load(kBoards), QRX_LOAD_OK); }

    // The board, its container attached, with a camera delivering that image.
    Board WithCamera(MemoryFitted memory, int pixelFormat, int depth) {
        Board board = Open(BoardHandle(memory), memory);
        board.platform->SetModule(board.container.get());
        cameras_.push_back(std::make_unique<testing::TestCamera>(binding_.get(), pixelFormat, depth,
                                                                 0, std::pair{640, 480}));
        board.platform->SetAcquisitionModule(cameras_.back().get());
        ui.Clear();
        return board;
    }

    // A line of the board's frame and display state, from its register dump.
    std::string State(const Board &board, const std::string &start) const {
        return PrintedLine([&] { board.platform->DumpRegisters(); }, start);
    }

    std::vector<std::unique_ptr<testing::TestCamera>> cameras_;
};

TEST_F(Dq500MonitorTest, TheChosenFrameSuitsTheImageAndTheFittedMemory) {
    struct Case {
        MemoryFitted memory;
        int pixelFormat;
        int depth;
        int frame;
        const char *displaysOn;
        const char *message;
    };
    const Case cases[] = {
        {kAllFrames, kMonochrome, 8, DQP_FRAME_A0, "  display on: A0", nullptr},
        {kAllFrames, kMonochrome, 16, DQP_FRAME_A0_A1, "  display on: A1", nullptr},
        {kNoB1, kMonochrome, 10, DQP_FRAME_A0_A1, "  display on: A1", nullptr},
        {kOnlyA0, kMonochrome, 12, DQP_FRAME_A0, "  display on: A0",
         "16-bit display not supported on this DQP, displaying frame A0"},
        {kAllFrames, kYcrcb, 16, DQP_FRAME_A0, "  display on: A0", nullptr},
        {kAllFrames, kRgbBoard, 24, DQP_FRAME_TRUE_COLOR, "  display on: true colour", nullptr},
        {kNoB1, kRgbBoard, 24, DQP_FRAME_A0, "  display on: A0",
         "color display not supported on this DQP, displaying frame A0"},
        {kOnlyA0, kMonochrome, 24, DQP_FRAME_A0, "  display on: A0",
         "color display not supported on this DQP, displaying frame A0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "memory " << c.memory << ", format " << c.pixelFormat
                                          << ", depth " << c.depth);
        Reload();
        Board board = WithCamera(c.memory, c.pixelFormat, c.depth);
        EXPECT_EQ(board.platform->ChooseDisplayFrame(), c.frame);
        const std::vector<std::string> expected =
            c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
        EXPECT_EQ(ui.Errors(), expected);
        EXPECT_EQ(State(board, "  display on:"), c.displaysOn);
        EXPECT_EQ(State(board, "  paths:"), "  paths: 13->6 14->7 15->9");
    }

    // An 8-bit image after a 16-bit one shows A0 again.
    Reload();
    Board board = WithCamera(kAllFrames, kMonochrome, 16);
    board.platform->ChooseDisplayFrame();
    cameras_.back() = std::make_unique<testing::TestCamera>(binding_.get(), kMonochrome, 8, 0,
                                                            std::pair{640, 480});
    board.platform->SetAcquisitionModule(cameras_.back().get());
    EXPECT_EQ(board.platform->ChooseDisplayFrame(), DQP_FRAME_A0);
    EXPECT_EQ(State(board, "  display on:"), "  display on: A0");
}

TEST_F(Dq500MonitorTest, PseudoColourTurnsToTrueColourForAnRgbBoardAndOtherwiseOnYes) {
    Board rgb = WithCamera(kAllFrames, kRgbBoard, 24);
    rgb.platform->ChooseDisplayFrame();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(rgb.Row(kColourModeRow).GetIndex(), kTrueColour);
    EXPECT_THAT(Lines(Section(*rgb.container)), ::testing::Contains("      True_Color_Enabled"));

    Board other = WithCamera(kAllFrames, kMonochrome, 24);
    other.Row(kColourModeRow).SetIndex(kPseudoColour);
    ui.answers.push_back(MessageAnswer::No);
    other.platform->ChooseDisplayFrame();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "DQP display is set for pseudo color, do you want it set to true color?");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.questions[0].caption, "Warning");
    EXPECT_EQ(other.Row(kColourModeRow).GetIndex(), kPseudoColour);

    ui.answers.push_back(MessageAnswer::Yes);
    other.platform->ChooseDisplayFrame();
    EXPECT_EQ(other.Row(kColourModeRow).GetIndex(), kTrueColour);
    other.platform->ChooseDisplayFrame();
    EXPECT_EQ(ui.questions.size(), 2u) << "true colour already: nothing to ask";
}

TEST_F(Dq500MonitorTest, ShowPutsTheChosenFrameOnTheMonitorOnlyWithHardware) {
    struct Case {
        int pixelFormat;
        int depth;
        const char *shown;
    };
    const Case cases[] = {
        {kMonochrome, 8, "  shown: display 0 frame 0 at 0,0 640 x 480 mode 3"},
        {kMonochrome, 16, "  shown: display 0 frame 1 at 0,0 640 x 480 mode 3"},
        {kYcrcb, 16, "  shown: display 0 frame 2 at 0,0 640 x 480 mode 3"},
        {kRgbBoard, 24, "  shown: display 0 frame 7 at 0,0 640 x 480 mode 3"},
    };
    for (const Case &c : cases) {
        Board board = WithCamera(kAllFrames, c.pixelFormat, c.depth);
        board.platform->ShowDisplay();
        EXPECT_EQ(State(board, "  shown:"), c.shown);
    }

    Board board = WithCamera(kNoB1, kMonochrome, 8);
    SetHardwareEnabled(false);
    board.platform->ShowDisplay();
    SetHardwareEnabled(true);
    EXPECT_EQ(State(board, "  shown:"), "  shown: nothing");
}

TEST_F(Dq500MonitorTest, ArmedFrameIsTakenByASnapWhenTheTriggerModeEnds) {
    Board board = WithCamera(kAllFrames, kMonochrome, 16);
    auto get = binding_->Entry<&::qrx_get_param>();
    board.platform->SetTriggerMode(1);
    for (int param : {163, 194, 224}) EXPECT_EQ(get(board.platform->Handle(), param), 1.0);
    EXPECT_EQ(State(board, "  cleared:"), "  cleared: A0 1 A1 1 B1 1 overlay 1");
    EXPECT_EQ(State(board, "  shown:"), "  shown: display 0 frame 1 at 0,0 640 x 480 mode 3");

    board.platform->ArmTrigger();
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 armed A1 armed B1 idle");
    EXPECT_EQ(board.platform->TriggerDone(), 0);

    board.platform->SetTriggerMode(0);
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 idle A1 idle B1 idle");
    EXPECT_EQ(State(board, "  snaps:"), "  snaps: 2") << "A0 and A1 each finished by a snap";
    EXPECT_EQ(board.platform->TriggerDone(), 1);
    for (int param : {163, 194, 224}) EXPECT_EQ(get(board.platform->Handle(), param), 0.0);
    EXPECT_EQ(State(board, "  cleared:"), "  cleared: A0 2 A1 2 B1 2 overlay 2");

    // Stopping a running grab takes no snap.
    const QRX_XBOARD_REQUEST grab{QRX_XBOARD_GRAB, DQP_FRAME_B1, {}};
    ASSERT_EQ(binding_->Entry<&::qrx_xboard>()(board.platform->Handle(), &grab), 0);
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 idle A1 idle B1 grabbing");
    board.platform->StopAcquisition();
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 idle A1 idle B1 idle");
    EXPECT_EQ(State(board, "  snaps:"), "  snaps: 2");
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
}

TEST_F(Dq500MonitorTest, ClearingTouchesOnlyTheFittedFrames) {
    Board board = WithCamera(kOnlyA0, kMonochrome, 8);
    board.platform->ClearFrames();
    EXPECT_EQ(State(board, "  cleared:"), "  cleared: A0 1 overlay 1");
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 idle");

    board.platform->ArmTrigger();
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 armed");
    SetHardwareEnabled(false);
    Board other = WithCamera(kNoB1, kMonochrome, 8);
    other.platform->ArmTrigger();
    SetHardwareEnabled(true);
    EXPECT_EQ(State(other, "  frames:"), "  frames: A0 idle A1 idle")
        << "no arming without hardware";
}

// ---- the video-bus master check --------------------------------------------

class VideoBusTest : public Dq500Test {
protected:
    void Build() {
        for (int i = 0; i < 2; ++i) {
            platforms_.push_back(Platform(BoardHandle(i)));
            auto container = std::make_unique<QV_dq500_mod>(platforms_.back().get());
            platforms_.back()->FillParams(*container);
            containers_.push_back(container.get());
            system_.AddModElement(std::move(container));
        }
        ui.Clear();
    }

    int Role(int board) const {
        return containers_[board]->GetUsrParam(kVideoBusRowId)->GetIndex();
    }
    int Register(int board) const {
        return binding_->Entry<&::read_reg>()(platforms_[board]->Handle(), kVideoBusRegister);
    }

    std::vector<std::unique_ptr<DQP_plat_mod>> platforms_;  // outlive the system's containers
    QV_system system_;
    std::vector<QV_dq500_mod *> containers_;
};

TEST_F(VideoBusTest, YesMakesTheSecondMasterASlave) {
    Build();
    ASSERT_EQ(Role(0), kVideoBusMasterIndex);
    ASSERT_EQ(Role(1), kVideoBusMasterIndex);
    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_EQ(CheckVideoBusMasters(system_, {0, 1}), 1);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "Multiple DQP video bus masters detected. Only one master is allowed per video "
              "bus. Are the DQPs on the same video bus? Yes will set one DQP to master and the "
              "other DQP(s) to slave(s)");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.questions[0].caption, "Warning");
    EXPECT_EQ(Role(0), kVideoBusMasterIndex);
    EXPECT_EQ(Role(1), kVideoBusSlaveIndex);
    EXPECT_EQ(Register(0), 1);
    EXPECT_EQ(Register(1), 0);
}

TEST_F(VideoBusTest, NoLeavesBothMastersAndOneMasterOrOneBoardAsksNothing) {
    Build();
    ui.answers.push_back(MessageAnswer::No);
    EXPECT_EQ(CheckVideoBusMasters(system_, {0, 1}), 0);
    EXPECT_EQ(Role(0), kVideoBusMasterIndex);
    EXPECT_EQ(Role(1), kVideoBusMasterIndex);

    EXPECT_EQ(CheckVideoBusMasters(system_, {0}), 0);
    containers_[0]->GetUsrParam(kVideoBusRowId)->SetIndex(kVideoBusSlaveIndex);
    EXPECT_EQ(CheckVideoBusMasters(system_, {0, 1}), 0);
    EXPECT_EQ(ui.questions.size(), 1u) << "asked once, for the two masters";
}

}  // namespace
}  // namespace qvi
