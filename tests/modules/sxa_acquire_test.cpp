// The SXA board's channel windows on the real stand-in: each channel grabs,
// snaps, clears and saves on its own camera frame.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/hardware.h"
#include "modules/boards/sxa_board.h"
#include "support/acquisition_rigs.h"
#include "support/bound_stand_in.h"
#include "support/frame_sink.h"
#include "system/image_document.h"

namespace qvi {
namespace {

using testing::FrameSink;

class SxaAcquireTest : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        BindAndLoad(testing::kSxaRack, std::string("[SYSTEM:0]\n") + testing::kSxaTwoChannels);
        ASSERT_EQ(binding_->Entry<&::qrx_init_sys>()(0), 0);
        SetHardwareEnabled(true);
        board = std::make_unique<SXA_plat_mod>(binding_.get(), binding_->Entry<&::qrx_systop>()(0));
        for (int c = 0; c < 2; ++c) {
            documents[c].title = "Channel " + std::to_string(c);
            documents[c].channel = c;
            board->SetDocument(c, &documents[c]);
        }
    }

    std::int32_t Pixel(int channel, int x, int y) {
        board->SelectChannel(channel);
        return binding_->Entry<&::qrx_rpix>()(board->ChannelHandle(), 0, x, y);
    }

    std::unique_ptr<SXA_plat_mod> board;
    ImageDocument documents[2];
};

TEST_F(SxaAcquireTest, EachChannelGrabsAndSnapsIntoItsOwnWindow) {
    FrameSink sinks[2] = {{640, 480, QRX_SINK_GREY8}, {640, 480, QRX_SINK_GREY8}};
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        board->SelectChannel(c);
        ASSERT_NE(board->ChannelHandle(), 0u);
        EXPECT_FALSE(board->DualTap());
        int width = 0, height = 0;
        ASSERT_EQ(board->GrabLive(sinks[c].Window(), width, height), 1);
        EXPECT_EQ(width, 640);
        EXPECT_EQ(documents[c].caption, " Channel " + std::to_string(c) + " -- " +
                                            std::to_string(width) + " x " + std::to_string(height) +
                                            " x 8");
        EXPECT_TRUE(sinks[c].WaitFrames(2));
    }
    board->SelectChannel(0);
    ASSERT_EQ(board->Acquire(sinks[0].Window(), documents[0].width, documents[0].height, 1), 1);
    EXPECT_FALSE(documents[0].grabRunning);
    EXPECT_TRUE(documents[1].grabRunning) << "the other channel's grab goes on";
    EXPECT_EQ(sinks[0].At(100, 50), static_cast<std::uint32_t>(Pixel(0, 100, 50)));
    board->SelectChannel(0);
    EXPECT_EQ(board->ReadPixel(100, 50), Pixel(0, 100, 50));

    board->SelectChannel(0);
    ASSERT_EQ(board->Acquire(sinks[0].Window(), documents[0].width, documents[0].height, 2), 1);
    EXPECT_EQ(Pixel(0, 100, 50), 0);
    EXPECT_EQ(sinks[0].At(100, 50), 0u);
    board->SelectChannel(1);
    board->ReleaseDisplay();
    EXPECT_EQ(documents[1].connection, 0u);
    EXPECT_EQ(documents[1].server, 0u);
}

// Channel 0 with parameter 70 set acquires together with channel 1, each
// giving every other column of one image.
TEST_F(SxaAcquireTest, DualTapGrabsWithTheNextChannelAndTakesTriggeredFramesIntoAMegabyte) {
    board->SelectChannel(1);
    binding_->Entry<&::qrx_set_param>()(board->ChannelHandle(), 70, 1.0);
    EXPECT_FALSE(board->DualTap()) << "only channels 0 and 2 lead a pair";
    board->SelectChannel(0);
    const QRX_HANDLE channel = board->ChannelHandle();
    binding_->Entry<&::qrx_set_param>()(channel, 70, 1.0);
    ASSERT_TRUE(board->DualTap());

    FrameSink sink(640, 480, QRX_SINK_GREY8);
    int width = 0, height = 0;
    ASSERT_EQ(board->GrabLive(sink.Window(), width, height), 1);
    const std::string caption = " Channel 0 -- " + std::to_string(width) + " x " +
                                std::to_string(height) + " x 8  Dual Tap Mode";
    EXPECT_EQ(documents[0].caption, caption);
    EXPECT_NE(documents[0].grab, 0u);
    EXPECT_TRUE(sink.WaitFrames(2));

    board->StartHostAcquisition();
    EXPECT_EQ(documents[0].state, ImageDocument::kTriggered);
    EXPECT_EQ(documents[0].caption, caption);
    ASSERT_EQ(documents[0].hostBuffer.size(), 1048576u);
    ASSERT_EQ(binding_->Entry<&::qrx_gen_swtrig>()(channel), 0);
    void *address = nullptr;
    ASSERT_GE(binding_->Entry<&::qrx_host_wait_acq>()(documents[0].grab, -1, 2000, 0, &address), 0);
    EXPECT_EQ(address, documents[0].hostBuffer.data());
    const std::vector<std::uint8_t> &image = documents[0].hostBuffer;
    for (const std::size_t at : {20u * 640u + 40u, 100u * 640u + 300u}) {
        EXPECT_EQ(image[at], image[at + 1]) << "both taps give the same image column";
        EXPECT_NE(image[at], image[at + 2]);
    }
    board->ReleaseDisplay();
    EXPECT_EQ(documents[0].grab, 0u);
}

TEST_F(SxaAcquireTest, ChannelFrameSavesAndLoadsBack) {
    FrameSink sink(640, 480, QRX_SINK_GREY8);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("qvi-sxa-" + std::to_string(::getpid()) + ".tif");
    board->SelectChannel(1);
    ASSERT_EQ(board->Acquire(sink.Window(), documents[1].width, documents[1].height, 1), 1);
    const std::int32_t saved = Pixel(1, 200, 100);
    board->SelectChannel(1);
    ASSERT_EQ(board->SaveImageFile(path), 0);
    EXPECT_TRUE(documents[1].frozen);
    ASSERT_EQ(board->Acquire(sink.Window(), documents[1].width, documents[1].height, 2), 1);
    int width = 0, height = 0;
    ASSERT_EQ(board->LoadImageFile(path, sink.Window(), width, height), 1);
    EXPECT_EQ(Pixel(1, 200, 100), saved);
    EXPECT_EQ(documents[1].state, ImageDocument::kFromFile);
    EXPECT_EQ(documents[1].caption, " Channel 1: " + path.string() + " -- 640 x 480 x 8");
    EXPECT_TRUE(ui.messages.empty());
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace qvi
