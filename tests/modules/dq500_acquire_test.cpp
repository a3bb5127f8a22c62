// The DQ-500's own monitor against the real stand-in with every memory model:
// which frame it shows for each image, what a trigger, grab or snap leaves in
// the frames and the overlay, and which TIFF files each board can load.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/hardware.h"
#include "modules/boards/dq500.h"
#include "params/usr_param.h"
#include "support/bound_stand_in.h"
#include "support/test_camera.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The memory models in the rack's order: every frame, A0 and A1, A0 alone,
// and the other model without B1.
constexpr int kModels[] = {2, 1, 0, 3};
constexpr const char *kRack =
    "[Board]\nKind = DQP\nMemoryModel = 2\n[Board]\nKind = DQP\nMemoryModel = 1\n"
    "[Board]\nKind = DQP\nMemoryModel = 0\n[Board]\nKind = DQP\nMemoryModel = 3\n";
constexpr const char *kBoards = "[SYSTEM:0]\n[DQ-500:0]\n[DQ-500:1]\n[DQ-500:2]\n[DQ-500:3]\n";

constexpr int kColourModeRow = 16;
constexpr int kTrueColour = 1;

struct Board {
    std::unique_ptr<DQP_plat_mod> platform;
    std::unique_ptr<QV_dq500_mod> container;
    std::unique_ptr<testing::TestCamera> camera;
};

class Dq500AcquireTest : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        BindAndLoad(kRack, kBoards);
        SetHardwareEnabled(true);
        dir_ = std::filesystem::temp_directory_path() / ("qvi-dq500-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        BoundStandInTest::TearDown();
    }

    Board Open(int index, int pixelFormat = 0, int depth = 8) {
        Board board;
        board.platform = std::make_unique<DQP_plat_mod>(binding_.get(), BoardHandle(index));
        board.container = std::make_unique<QV_dq500_mod>(board.platform.get());
        board.platform->FillParams(*board.container);
        board.platform->SetModule(board.container.get());
        board.camera = std::make_unique<testing::TestCamera>(binding_.get(), pixelFormat, depth, 0,
                                                             std::pair{64, 32});
        board.platform->SetAcquisitionModule(board.camera.get());
        return board;
    }

    std::string State(const Board &board, const std::string &start) const {
        return PrintedLine([&] { board.platform->DumpRegisters(); }, start);
    }

    // A 64 x 32 file of `planes` samples of `bits`, sample i of the buffer
    // holding i * 7 (cut to the sample).
    std::filesystem::path File(const std::string &name, int planes, int bits) {
        const int samples = 64 * 32 * planes;
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < samples; ++i) {
            const unsigned value = static_cast<unsigned>(i * 7) & ((1u << bits) - 1u);
            bytes.push_back(static_cast<std::uint8_t>(value));
            if (bits > 8) bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        }
        const std::filesystem::path path = dir_ / name;
        EXPECT_EQ(
            binding_->Entry<&::qrx_write_image>()(path.c_str(), bytes.data(), 64, 32, planes, bits),
            0);
        return path;
    }

    std::int32_t Pixel(const Board &board, int frame, int x, int y) const {
        return binding_->Entry<&::qrx_rpix>()(board.platform->Handle(), frame, x, y);
    }

    std::filesystem::path dir_;
};

TEST_F(Dq500AcquireTest, EachMemoryModelLoadsTheFilesItHasFramesFor) {
    const std::filesystem::path grey8 = File("grey8.tif", 1, 8);
    const std::filesystem::path grey12 = File("grey12.tif", 1, 12);
    const std::filesystem::path grey16 = File("grey16.tif", 1, 16);
    const std::filesystem::path rgb = File("rgb.tif", 3, 8);
    const std::filesystem::path rgb16 = File("rgb16.tif", 3, 16);
    const std::string insufficient = "Insufficient frame memory to load file: ";
    struct Case {
        std::filesystem::path file;
        int frame;  // where a load puts it
        bool needsA1;
        bool needsB1;
    };
    const Case cases[] = {{grey8, DQP_FRAME_A0, false, false},
                          {grey12, DQP_FRAME_A0_A1, true, false},
                          {grey16, DQP_FRAME_A0_A1, true, false},
                          {rgb, DQP_FRAME_TRUE_COLOR, true, true}};
    for (std::size_t index = 0; index < std::size(kModels); ++index) {
        const int model = kModels[index];
        const bool hasA1 = model != 0;
        const bool hasB1 = model == 2;
        Board board = Open(static_cast<int>(index));
        for (const Case &c : cases) {
            SCOPED_TRACE(::testing::Message() << "model " << model << ", " << c.file.filename());
            ui.Clear();
            int width = 0, height = 0;
            const int result = board.platform->LoadImageFile(c.file, nullptr, width, height);
            if ((c.needsA1 && !hasA1) || (c.needsB1 && !hasB1)) {
                EXPECT_EQ(result, -1);
                EXPECT_THAT(ui.Errors(), ElementsAre(insufficient + c.file.string()));
                continue;
            }
            EXPECT_EQ(result, 1);
            EXPECT_THAT(ui.Texts(), IsEmpty());
            EXPECT_EQ(width, 64);
            EXPECT_EQ(height, 32);
            const int display = c.frame == DQP_FRAME_A0_A1 ? 1 : c.frame;
            EXPECT_EQ(
                State(board, "  shown:"),
                "  shown: display 0 frame " + std::to_string(display) + " at 0,0 64 x 32 mode 3");
            // Pixel (5, 3) is sample 3 * 64 + 5 of a grey file, its three
            // samples from 3 times that on in a colour file.
            const unsigned at = 3 * 64 + 5;
            if (c.frame == DQP_FRAME_TRUE_COLOR) {
                EXPECT_EQ(Pixel(board, c.frame, 5, 3),
                          static_cast<std::int32_t>((at * 3 * 7 & 0xFF) << 16 |
                                                    ((at * 3 + 1) * 7 & 0xFF) << 8 |
                                                    ((at * 3 + 2) * 7 & 0xFF)));
                EXPECT_EQ(board.container->GetUsrParam(kColourModeRow)->GetIndex(), kTrueColour);
            } else {
                const unsigned mask = c.frame == DQP_FRAME_A0 ? 0xFF : 0xFFFF;
                EXPECT_EQ(
                    Pixel(board, c.frame, 5, 3),
                    static_cast<std::int32_t>(at * 7 & mask & (c.file == grey12 ? 0xFFF : 0xFFFF)));
            }
        }
        ui.Clear();
        int width = 0, height = 0;
        EXPECT_EQ(board.platform->LoadImageFile(rgb16, nullptr, width, height), -1);
        EXPECT_THAT(ui.Errors(),
                    ElementsAre("ImageFile :" + rgb16.string() + " bit depth not supported."));
    }
}

TEST_F(Dq500AcquireTest, UnreadableFilesAreReportedWithoutLoading) {
    Board board = Open(0);
    const std::filesystem::path empty = dir_ / "empty.tif";
    std::ofstream{empty};
    int width = 0, height = 0;
    EXPECT_EQ(board.platform->LoadImageFile(empty, nullptr, width, height), -1);
    EXPECT_THAT(ui.Texts(), ElementsAre("Image file reading failed.\n"));
    EXPECT_EQ(State(board, "  shown:"), "  shown: nothing");
}

TEST_F(Dq500AcquireTest, GrabAndSnapLabelTheClearedOverlay) {
    Board board = Open(0);
    board.platform->GrabOnMonitor();
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 grabbing A1 idle B1 idle");
    EXPECT_EQ(State(board, "  overlay text:"), "  overlay text: \"Grab\" at 50,100");
    EXPECT_EQ(State(board, "  shown:"), "  shown: display 0 frame 0 at 0,0 64 x 32 mode 3");
    board.platform->SnapOnMonitor();
    EXPECT_EQ(State(board, "  overlay text:"), "  overlay text: \"Snap\" at 50,100");
    EXPECT_EQ(State(board, "  snaps:"), "  snaps: 1");
    EXPECT_EQ(State(board, "  cleared:"), "  cleared: overlay 2");

    // A YCrCb module fills the 16-bit pair; the monitor shows it as colour.
    Board colour = Open(1, QV_acq_plat_mod::kDecoderBoard, 16);
    colour.platform->GrabOnMonitor();
    EXPECT_EQ(State(colour, "  frames:"), "  frames: A0 grabbing A1 grabbing");
    EXPECT_EQ(State(colour, "  shown:"), "  shown: display 0 frame 2 at 0,0 64 x 32 mode 3");
}

TEST_F(Dq500AcquireTest, SavedFrameLoadsBackAndTenBitsAreRefused) {
    const std::filesystem::path path = dir_ / "saved.tif";
    Board board = Open(0, 0, 16);
    board.platform->GrabOnMonitor();
    ASSERT_EQ(board.platform->SaveImageFile(path), 0);
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 idle A1 idle B1 idle") << "saving stops";
    // A stretch of a row: the pattern has at most one 0 in it, whatever frame
    // the grab had reached.
    const auto row = [this](const Board &of) {
        std::vector<std::int32_t> pixels;
        for (int x = 32; x < 48; ++x) pixels.push_back(Pixel(of, DQP_FRAME_A0_A1, x, 20));
        return pixels;
    };
    const std::vector<std::int32_t> saved = row(board);
    // Loaded on another board, whose frames were cleared.
    Board other = Open(3);
    other.platform->ClearFrames();
    ASSERT_EQ(row(other), std::vector<std::int32_t>(saved.size(), 0));
    int width = 0, height = 0;
    ASSERT_EQ(other.platform->LoadImageFile(path, nullptr, width, height), 1);
    EXPECT_EQ(row(other), saved);

    Board tenBits = Open(1, 0, 10);
    ui.Clear();
    EXPECT_EQ(tenBits.platform->SaveImageFile(dir_ / "refused.tif"), -1);
    EXPECT_THAT(ui.Errors(), ElementsAre("Current acquire bit depth precludes saving to file."));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "refused.tif"));
}

// ---- the monitor -----------------------------------------------------------

constexpr int kMonochrome = 0;
constexpr int kYcrcb = 7;
constexpr int kRgbBoard = 8;
constexpr int kPseudoColour = 0;

// The boards by what memory they have fitted: every frame, A0 and A1, A0 alone.
enum MemoryFitted { kAllFrames, kNoB1, kOnlyA0 };

TEST_F(Dq500AcquireTest, TheChosenFrameSuitsTheImageAndTheFittedMemoryAndIsShown) {
    struct Case {
        MemoryFitted memory;
        int pixelFormat;
        int depth;
        int frame;
        const char *displaysOn;
        const char *message;
        int shown;  // the display the monitor shows
    };
    const Case cases[] = {
        {kAllFrames, kMonochrome, 8, DQP_FRAME_A0, "  display on: A0", nullptr, 0},
        {kAllFrames, kMonochrome, 16, DQP_FRAME_A0_A1, "  display on: A1", nullptr, 1},
        {kNoB1, kMonochrome, 10, DQP_FRAME_A0_A1, "  display on: A1", nullptr, 1},
        {kOnlyA0, kMonochrome, 12, DQP_FRAME_A0, "  display on: A0",
         "16-bit display not supported on this DQP, displaying frame A0", 0},
        {kAllFrames, kYcrcb, 16, DQP_FRAME_A0, "  display on: A0", nullptr, 2},
        {kAllFrames, kRgbBoard, 24, DQP_FRAME_TRUE_COLOR, "  display on: true colour", nullptr, 7},
        {kNoB1, kRgbBoard, 24, DQP_FRAME_A0, "  display on: A0",
         "color display not supported on this DQP, displaying frame A0", 0},
        {kOnlyA0, kMonochrome, 24, DQP_FRAME_A0, "  display on: A0",
         "color display not supported on this DQP, displaying frame A0", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "memory " << c.memory << ", format " << c.pixelFormat
                                          << ", depth " << c.depth);
        ASSERT_EQ(Load(kBoards), QRX_LOAD_OK);  // fresh boards: nothing switched on or shown
        Board board = Open(c.memory, c.pixelFormat, c.depth);
        ui.Clear();
        EXPECT_EQ(board.platform->ChooseDisplayFrame(), c.frame);
        const std::vector<std::string> expected =
            c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
        EXPECT_EQ(ui.Errors(), expected);
        EXPECT_EQ(State(board, "  display on:"), c.displaysOn);
        EXPECT_EQ(State(board, "  paths:"), "  paths: 13->6 14->7 15->9");
        board.platform->ShowDisplay();
        EXPECT_EQ(State(board, "  shown:"),
                  "  shown: display 0 frame " + std::to_string(c.shown) + " at 0,0 64 x 32 mode 3");
    }

    // An 8-bit image after a 16-bit one shows A0 again.
    ASSERT_EQ(Load(kBoards), QRX_LOAD_OK);
    Board board = Open(kAllFrames, kMonochrome, 16);
    board.platform->ChooseDisplayFrame();
    board.camera =
        std::make_unique<testing::TestCamera>(binding_.get(), kMonochrome, 8, 0, std::pair{64, 32});
    board.platform->SetAcquisitionModule(board.camera.get());
    EXPECT_EQ(board.platform->ChooseDisplayFrame(), DQP_FRAME_A0);
    EXPECT_EQ(State(board, "  display on:"), "  display on: A0");
}

TEST_F(Dq500AcquireTest, PseudoColourTurnsToTrueColourForAnRgbBoardAndOtherwiseOnYes) {
    Board rgb = Open(kAllFrames, kRgbBoard, 24);
    QV_usr_param &rgbMode = *rgb.container->GetUsrParam(kColourModeRow);
    rgbMode.SetIndex(kPseudoColour);
    rgb.platform->ChooseDisplayFrame();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(rgbMode.GetIndex(), kTrueColour);
    EXPECT_THAT(testing::Lines(testing::Section(*rgb.container)),
                ::testing::Contains("      True_Color_Enabled"));

    Board other = Open(kAllFrames, kMonochrome, 24);
    QV_usr_param &mode = *other.container->GetUsrParam(kColourModeRow);
    mode.SetIndex(kPseudoColour);
    ui.answers.push_back(MessageAnswer::No);
    other.platform->ChooseDisplayFrame();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "DQP display is set for pseudo color, do you want it set to true color?");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.questions[0].caption, "Warning");
    EXPECT_EQ(mode.GetIndex(), kPseudoColour);

    ui.answers.push_back(MessageAnswer::Yes);
    other.platform->ChooseDisplayFrame();
    EXPECT_EQ(mode.GetIndex(), kTrueColour);
    other.platform->ChooseDisplayFrame();
    EXPECT_EQ(ui.questions.size(), 2u) << "true colour already: nothing to ask";
}

TEST_F(Dq500AcquireTest, ArmedFrameIsTakenByASnapWhenTheTriggerModeEnds) {
    Board board = Open(kAllFrames, kMonochrome, 16);
    auto get = binding_->Entry<&::qrx_get_param>();
    board.platform->SetTriggerMode(1);
    for (int param : {163, 194, 224}) EXPECT_EQ(get(board.platform->Handle(), param), 1.0);
    EXPECT_EQ(State(board, "  cleared:"), "  cleared: A0 1 A1 1 B1 1 overlay 1");
    EXPECT_EQ(State(board, "  shown:"), "  shown: display 0 frame 1 at 0,0 64 x 32 mode 3");

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

// Without hardware nothing is armed or shown.
TEST_F(Dq500AcquireTest, ClearingTouchesOnlyTheFittedFrames) {
    Board board = Open(kOnlyA0);
    board.platform->ClearFrames();
    EXPECT_EQ(State(board, "  cleared:"), "  cleared: A0 1 overlay 1");
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 idle");

    board.platform->ArmTrigger();
    EXPECT_EQ(State(board, "  frames:"), "  frames: A0 armed");
    SetHardwareEnabled(false);
    Board other = Open(kNoB1);
    other.platform->ArmTrigger();
    other.platform->ShowDisplay();
    SetHardwareEnabled(true);
    EXPECT_EQ(State(other, "  frames:"), "  frames: A0 idle A1 idle");
    EXPECT_EQ(State(other, "  shown:"), "  shown: nothing");
}

}  // namespace
}  // namespace qvi
