// The SX-400's image window on the real stand-in: live grab, snap, clear,
// scrolling, TIFF files and the display's release, for 8-, 16- and 24-bit
// acquisition modules, compared pixel by pixel with the synthetic video.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquire/image_stats.h"
#include "library/hardware.h"
#include "modules/boards/sx400.h"
#include "sim/test_pattern.h"
#include "support/acquisition_rigs.h"
#include "support/bound_stand_in.h"
#include "support/frame_sink.h"
#include "support/test_camera.h"
#include "system/image_document.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;
using testing::FrameSink;
using testing::TestCamera;

struct Depth {
    int system;
    int depth;
    int pixelFormat;
};
constexpr Depth kDepths[] = {{0, 8, 0}, {1, 16, 0}, {2, 24, 8}};

// A board with its acquisition module and image window.
struct Window {
    std::unique_ptr<SXP_plat_mod> board;
    std::unique_ptr<TestCamera> camera;
    std::unique_ptr<FrameSink> sink;
    ImageDocument document;
    int depth = 8;
    int width = 0;
    int height = 0;
};

class Sx400AcquireTest : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        BindAndLoad(testing::kOneBoardPerDepthRack, testing::kOneBoardPerDepth);
        for (int system = 0; system < 3; ++system)
            ASSERT_EQ(binding_->Entry<&::qrx_init_sys>()(system), 0);
        SetHardwareEnabled(true);
    }

    // The board of a system with a module of that depth and a window big
    // enough for its image.
    std::unique_ptr<Window> Open(const Depth &depth) {
        auto window = std::make_unique<Window>();
        const QRX_HANDLE handle = binding_->Entry<&::qrx_systop>()(depth.system);
        window->board = std::make_unique<SXP_plat_mod>(binding_.get(), handle);
        window->camera =
            std::make_unique<TestCamera>(binding_.get(), depth.pixelFormat, depth.depth, handle);
        window->board->SetAcquisitionModule(window->camera.get());
        window->depth = depth.depth;
        window->width = window->camera->GetImageWidth();
        window->height = window->camera->GetImageHeight();
        window->sink = std::make_unique<FrameSink>(
            window->width, window->height, depth.depth == 24 ? QRX_SINK_XRGB32 : QRX_SINK_GREY8);
        window->document.title = "Board";
        window->board->SetDocument(0, &window->document);
        return window;
    }

    int Acquire(Window &window, int code) {
        return window.board->Acquire(window.sink->Window(), window.document.width,
                                     window.document.height, code);
    }

    std::int32_t Pixel(Window &window, int x, int y) {
        return binding_->Entry<&::qrx_rpix>()(window.board->Handle(), window.board->Frame(), x, y);
    }

    // The frame number the frame's counter shows.
    std::uint64_t Counter(Window &window) {
        return testing::PatternFrame(
            [&](int x, int y) { return static_cast<std::uint32_t>(Pixel(window, x, y)); });
    }

    // What the window shows of a frame pixel: the grey byte, or 0x00RRGGBB.
    static std::uint32_t Shown(const Window &window, std::int32_t pixel) {
        if (window.depth == 24) return static_cast<std::uint32_t>(pixel);
        return static_cast<std::uint32_t>(pixel) >> (window.depth - 8) & 0xFFu;
    }

    const std::vector<std::pair<int, int>> kPoints{
        {0, 9}, {17, 40}, {130, 3}, {200, 101}, {301, 239}};
};

// One window per depth runs through what its image goes through: a live
// grab, a snap, a save (which stops a grab), a clear and a load of the file.
TEST_F(Sx400AcquireTest, GrabSnapSaveClearAndLoadBackForEachDepth) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("qvi-sx400-" + std::to_string(::getpid()) + ".tif");
    for (const Depth &depth : kDepths) {
        SCOPED_TRACE(depth.depth);
        auto window = Open(depth);
        const ImageDocument &document = window->document;
        int width = 0, height = 0;
        ASSERT_EQ(window->board->GrabLive(window->sink->Window(), width, height), 1);
        EXPECT_EQ(width, window->width);
        EXPECT_EQ(document.state, ImageDocument::kLiveGrab);
        EXPECT_TRUE(document.grabRunning);
        const std::string size = std::to_string(width) + " x " + std::to_string(height);
        const std::string bits = " x " + std::to_string(depth.depth);
        EXPECT_EQ(document.caption, " Board -- " + size + bits);
        ASSERT_TRUE(window->sink->WaitFrames(1));
        const std::uint32_t before = window->sink->At(200, 101);
        bool moved = false;
        for (int i = 0; i < 20 && !moved; ++i) {
            window->sink->WaitFrames(1);
            moved = window->sink->At(200, 101) != before;
        }
        EXPECT_TRUE(moved) << "the live display never changed";

        ASSERT_EQ(Acquire(*window, 1), 1);
        EXPECT_FALSE(document.grabRunning);
        EXPECT_EQ(document.server, 0u) << "a snap has no display server";
        const std::uint64_t frame = Counter(*window);
        const quar::PixelLayout layout = quar::LayoutOf(depth.depth, depth.pixelFormat);
        FramePixels pixels;  // what the image tools read: every depth as it is
        ASSERT_TRUE(window->board->ReadFramePixels(pixels));
        for (const auto &[x, y] : kPoints) {
            SCOPED_TRACE(::testing::Message() << x << "," << y);
            const std::uint32_t expected = quar::PatternPixel(x, y, frame, layout);
            EXPECT_EQ(static_cast<std::uint32_t>(window->board->ReadPixel(x, y)), expected);
            EXPECT_EQ(window->sink->At(x, y), Shown(*window, Pixel(*window, x, y)));
            const PixelSamples samples = SamplesAt(pixels, x, y).value_or(PixelSamples{});
            const std::uint32_t read =
                depth.depth == 24
                    ? static_cast<std::uint32_t>(samples.values[0] << 16 | samples.values[1] << 8 |
                                                 samples.values[2])
                    : static_cast<std::uint32_t>(samples.values[0]);
            EXPECT_EQ(read, expected);
        }

        ASSERT_EQ(window->board->GrabLive(window->sink->Window(), width, height), 1);
        ASSERT_EQ(window->board->SaveImageFile(path), 0);
        EXPECT_EQ(document.state, ImageDocument::kSnapped);
        EXPECT_TRUE(document.frozen);
        EXPECT_FALSE(document.grabRunning) << "saving stops the grab";
        std::vector<std::int32_t> saved;
        for (const auto &[x, y] : kPoints) saved.push_back(Pixel(*window, x, y));

        ASSERT_EQ(Acquire(*window, 2), 1);
        for (const auto &[x, y] : kPoints) {
            EXPECT_EQ(Pixel(*window, x, y), 0);
            EXPECT_EQ(window->sink->At(x, y), 0u);
        }
        EXPECT_EQ(document.caption, " Board -- " + size) << "a cleared frame has no depth";

        ASSERT_EQ(window->board->LoadImageFile(path, window->sink->Window(), width, height), 1);
        EXPECT_EQ(document.state, ImageDocument::kFromFile);
        EXPECT_EQ(document.caption, " Board: " + path.string() + " -- " + size + bits);
        for (std::size_t i = 0; i < kPoints.size(); ++i) {
            const auto &[x, y] = kPoints[i];
            EXPECT_EQ(Pixel(*window, x, y), saved[i]) << x << "," << y;
            EXPECT_EQ(window->sink->At(x, y), Shown(*window, saved[i])) << x << "," << y;
        }
        EXPECT_TRUE(ui.messages.empty());
    }
    std::filesystem::remove(path);
}

TEST_F(Sx400AcquireTest, ScrolledWindowShowsTheRestRoundedDownToEightColumns) {
    auto window = Open(kDepths[0]);
    ASSERT_EQ(Acquire(*window, 1), 1);
    window->document.state = ImageDocument::kSnapped;
    window->document.scrollX = 13;
    window->document.scrollY = 8;
    // A fresh window, so that what the redraw leaves out is still undrawn.
    window->sink = std::make_unique<FrameSink>(window->width, window->height, QRX_SINK_GREY8);
    window->document.window = window->sink->Window();
    ASSERT_EQ(window->board->Redraw(0), 1);
    // 640 - 13 = 627 columns, shown as 624.
    EXPECT_EQ(window->sink->At(0, 0), Shown(*window, Pixel(*window, 13, 8)));
    EXPECT_EQ(window->sink->At(623, 30), Shown(*window, Pixel(*window, 636, 38)));
    // Columns 624 to 626 stay undrawn (one row could match the marker by chance).
    int undrawn = 0;
    for (int y = 30; y < 34; ++y)
        for (int x = 624; x < 627; ++x) undrawn += window->sink->At(x, y) == FrameSink::kUndrawn;
    EXPECT_EQ(undrawn, 12);
}

TEST_F(Sx400AcquireTest, ReleasingTheDisplayStopsTheGrabAndLeavesNoHandle) {
    auto window = Open(kDepths[0]);
    int width = 0, height = 0;
    ASSERT_EQ(window->board->GrabLive(window->sink->Window(), width, height), 1);
    ASSERT_TRUE(window->sink->WaitFrames(1));
    const ImageDocument &document = window->document;
    EXPECT_NE(document.server, 0u);
    window->board->ReleaseDisplay();
    EXPECT_EQ(document.source, 0u);
    EXPECT_EQ(document.sink, 0u);
    EXPECT_EQ(document.connection, 0u);
    EXPECT_EQ(document.server, 0u);
    EXPECT_FALSE(document.grabRunning);
    EXPECT_FALSE(document.imageValid);
    const int frames = window->sink->Frames();
    const std::uint64_t counter = Counter(*window);
    EXPECT_FALSE(window->sink->WaitFrames(1)) << "the server still draws";
    EXPECT_EQ(window->sink->Frames(), frames);
    EXPECT_EQ(Counter(*window), counter) << "the acquisition still runs";
}

TEST_F(Sx400AcquireTest, ASinkTheLibraryRefusesShowsTheWarningAndNoConnection) {
    auto window = Open(kDepths[0]);
    QRX_FRAME_SINK refused{};  // no buffer
    for (int mode : {ImageDocument::kPlainDisplay, ImageDocument::kDirectDraw}) {
        SCOPED_TRACE(mode);
        ui.Clear();
        window->document.displayMode = mode;
        int width = 0, height = 0;
        EXPECT_EQ(window->board->GrabLive(&refused, width, height), 0);
        EXPECT_THAT(ui.Texts(), ElementsAre("qrx_create_image_conn() failed.\n"));
        EXPECT_EQ(window->document.connection, 0u);
        EXPECT_EQ(window->document.sink, 0u);
        EXPECT_FALSE(window->document.imageValid);
    }
}

TEST_F(Sx400AcquireTest, UnsavableDepthsAndUnreadableFilesAreRefused) {
    auto window = Open(kDepths[1]);
    window->camera = std::make_unique<TestCamera>(binding_.get(), 0, 10, window->board->Handle());
    window->board->SetAcquisitionModule(window->camera.get());
    int width = 0, height = 0;
    window->board->GrabLive(window->sink->Window(), width, height);
    EXPECT_EQ(window->board->SaveImageFile("/tmp/never-written.tif"), -1);
    EXPECT_THAT(ui.Errors(), ElementsAre("Current acquire bit depth precludes saving to file."));
    EXPECT_TRUE(window->document.grabRunning) << "a refused save leaves the grab running";
    EXPECT_FALSE(std::filesystem::exists("/tmp/never-written.tif"));

    ui.Clear();
    const std::filesystem::path text =
        std::filesystem::temp_directory_path() / ("qvi-not-tiff-" + std::to_string(::getpid()));
    std::ofstream(text) << "not an image";
    EXPECT_EQ(window->board->LoadImageFile(text, window->sink->Window(), width, height), 0);
    EXPECT_THAT(ui.Texts(), ElementsAre("Image file reading failed.\n"));
    std::filesystem::remove(text);
}

}  // namespace
}  // namespace qvi
