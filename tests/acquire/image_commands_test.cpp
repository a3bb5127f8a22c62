// The image window's commands, display options and view rules on a recording board.
#include "acquire/image_commands.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_board.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;

class ImageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        document = OpenImageDocument(board, nullptr, 2, "SXA:0 ch 2");
        board.calls.clear();
        board.selected.clear();
    }

    testing::RecordingBoard board;
    std::unique_ptr<ImageDocument> document;
    int window = 0;  // stands for the view's frame sink
};

TEST_F(ImageCommandsTest, OpeningTiesTheDocumentToBoardAndChannelAndAsksForDirectDraw) {
    testing::RecordingBoard fresh;
    auto opened = OpenImageDocument(fresh, nullptr, 1, "SX-400:0");
    EXPECT_EQ(fresh.Document(1), opened.get());
    EXPECT_EQ(fresh.Document(0), nullptr);
    EXPECT_THAT(fresh.calls, ElementsAre("Acquire -3 without window"));
}

TEST_F(ImageCommandsTest, CommandsSetTheStateClearFrozenAndTellTheBoardItsChannelFirst) {
    document->frozen = true;
    Grab(*document, &window);
    EXPECT_FALSE(document->frozen);
    EXPECT_EQ(document->width, 1024);  // the board's size comes back
    document->frozen = true;
    Snap(*document, &window);
    EXPECT_FALSE(document->frozen);
    EXPECT_EQ(document->state, ImageDocument::kSnapped);
    Clear(*document, &window);
    EXPECT_EQ(document->state, ImageDocument::kCleared);
    // A redisplay grabs again, draws the file's image or draws the still frame.
    for (int state :
         {ImageDocument::kLiveGrab, ImageDocument::kFromFile, ImageDocument::kSnapped}) {
        document->state = state;
        Redisplay(*document, &window);
    }
    // Closing ends a triggered acquisition, clears and forgets the document.
    document->state = ImageDocument::kTriggered;
    CloseImageDocument(*document);
    EXPECT_EQ(document->state, ImageDocument::kCleared);
    EXPECT_EQ(board.Document(2), nullptr);
    EXPECT_THAT(board.calls,
                ElementsAre("GrabLive", "Acquire 1", "Acquire 2", "GrabLive", "Acquire -3",
                            "Acquire -1", "TriggerMode 0", "Acquire 2 without window"));
    EXPECT_EQ(board.selected, std::vector<int>(7, 2));  // once per command, redisplay and closing
}

TEST_F(ImageCommandsTest, ScrollingRoundsXUpAndYDownOnlyForAShownCameraImage) {
    EXPECT_EQ(RoundedScrollX(16), 16);
    document->state = ImageDocument::kSnapped;
    ScrollTo(*document, 13, 13, &window);  // no connection yet
    EXPECT_EQ(document->scrollX, 0);
    document->imageValid = true;
    ScrollTo(*document, 13, 13, &window);
    EXPECT_EQ(document->scrollX, 16);
    EXPECT_EQ(document->scrollY, 8);
    document->state = ImageDocument::kFromFile;
    ScrollTo(*document, 40, 40, &window);
    document->state = ImageDocument::kSnapped;
    document->stretch = true;
    ScrollTo(*document, 40, 40, &window);
    EXPECT_EQ(document->scrollX, 16);
    EXPECT_THAT(board.calls, ElementsAre("Acquire -1"));
}

TEST_F(ImageCommandsTest, PixelReadoutAddsTheScrollOriginAndNeedsAStill8BitUnstretchedImage) {
    document->imageValid = true;
    document->state = ImageDocument::kSnapped;
    document->scrollX = 64;
    document->scrollY = 8;
    EXPECT_EQ(PixelReadout(*document, 10, 20), "x= 74  y=28 pix=74028\n");

    auto off = [&](auto change) {
        ImageDocument saved = *document;
        change(*document);
        const bool readout = PixelReadout(*document, 10, 20).has_value();
        *document = saved;
        return !readout;
    };
    EXPECT_TRUE(off([](ImageDocument &d) { d.imageValid = false; }));
    EXPECT_TRUE(off([](ImageDocument &d) { d.state = ImageDocument::kLiveGrab; }));
    EXPECT_TRUE(off([](ImageDocument &d) { d.bitsPerPixel = 16; }));
    EXPECT_TRUE(off([](ImageDocument &d) { d.frozen = true; }));
    EXPECT_TRUE(off([](ImageDocument &d) { d.stretch = true; }));
    EXPECT_FALSE(off([](ImageDocument &d) { d.state = ImageDocument::kFromFile; }));
}

TEST_F(ImageCommandsTest, StretchToFitZoomsToTheWindowAndStopsScrolling) {
    document->state = ImageDocument::kLiveGrab;
    ToggleStretch(*document, &window);
    EXPECT_TRUE(document->stretch);
    EXPECT_EQ(document->zoom, -1.0);
    EXPECT_EQ(ScrollRangeOf(*document).width, 1);
    EXPECT_EQ(ScrollRangeOf(*document).height, 1);
    document->state = ImageDocument::kSnapped;
    ToggleStretch(*document, &window);
    EXPECT_FALSE(document->stretch);
    EXPECT_EQ(document->zoom, 1.0);
    EXPECT_EQ(ScrollRangeOf(*document).width, 1024);
    EXPECT_THAT(board.calls, ElementsAre("GrabLive", "Acquire -1"));
}

TEST_F(ImageCommandsTest, DirectDrawTakesThe16BitModeOnlyOnBoardsAboveRevision35) {
    document->state = ImageDocument::kLiveGrab;
    document->bitsPerPixel = 16;
    ToggleDirectDraw(*document, &window);
    EXPECT_EQ(document->displayMode, ImageDocument::kDirectDraw);
    ToggleDirectDraw(*document, &window);
    EXPECT_EQ(document->displayMode, ImageDocument::kPlainDisplay);
    board.revision = 36;
    ToggleDirectDraw(*document, &window);
    EXPECT_EQ(document->displayMode, ImageDocument::kDirectDraw16);
    document->bitsPerPixel = 8;
    ToggleDirectDraw(*document, &window);
    ToggleDirectDraw(*document, &window);
    EXPECT_EQ(document->displayMode, ImageDocument::kDirectDraw);
    EXPECT_TRUE(board.calls.empty());  // a live grab is not redisplayed
    document->state = ImageDocument::kSnapped;
    ToggleDirectDraw(*document, &window);
    EXPECT_THAT(board.calls, ElementsAre("Acquire -1"));
}

TEST_F(ImageCommandsTest, PaintingFillsForDirectDrawDuringAGrabAndRedrawsAStillImage) {
    document->state = ImageDocument::kLiveGrab;
    document->imageValid = true;
    EXPECT_FALSE(Paint(*document).has_value());
    document->displayMode = ImageDocument::kDirectDraw;
    EXPECT_EQ(Paint(*document)->blue, 255);
    document->displayMode = ImageDocument::kDirectDraw16;
    const FillColour key = *Paint(*document);
    EXPECT_EQ(key.red, 128);
    EXPECT_EQ(key.green, 128);
    EXPECT_EQ(key.blue, 0);
    EXPECT_TRUE(board.calls.empty());
    document->state = ImageDocument::kSnapped;
    EXPECT_FALSE(Paint(*document).has_value());
    EXPECT_THAT(board.calls, ElementsAre("Redraw 2"));
}

TEST_F(ImageCommandsTest, SaveTitlesTheWindowAndLoadKeepsTheBoardsResult) {
    document->state = ImageDocument::kSnapped;
    SaveTiff(*document, "/tmp/a.tif", &window);
    EXPECT_EQ(document->caption, " SXA:0 ch 2 -- 640 x 480");
    EXPECT_THAT(board.calls, ElementsAre("Save /tmp/a.tif", "Acquire -1"));

    EXPECT_EQ(LoadTiff(*document, "/tmp/b.tif", &window), 1);
    EXPECT_TRUE(document->imageValid);
    EXPECT_EQ(document->width, 320);
    EXPECT_EQ(document->state, ImageDocument::kSnapped);
    board.loadResult = 0;
    LoadTiff(*document, "/tmp/c.tif", &window);
    EXPECT_FALSE(document->imageValid);
    EXPECT_EQ(document->state, ImageDocument::kFromFile);
}

TEST_F(ImageCommandsTest, MenusFollowTheTriggerDialogTheStateAndTheDisplayOptions) {
    ImageMenu menu = ImageMenuOf(*document, false, true);
    EXPECT_TRUE(menu.grab && menu.snap && menu.clear && menu.triggeredSnap && menu.loadTiff);
    EXPECT_TRUE(menu.saveTiff);
    EXPECT_FALSE(menu.registerViewer);  // an SXA board
    EXPECT_TRUE(menu.directDrawEnabled);
    EXPECT_TRUE(menu.stretchEnabled);

    menu = ImageMenuOf(*document, true, false);
    EXPECT_FALSE(menu.grab || menu.snap || menu.clear || menu.triggeredSnap || menu.loadTiff);
    EXPECT_FALSE(menu.saveTiff);
    EXPECT_TRUE(menu.registerViewer);

    document->frozen = true;
    EXPECT_FALSE(ImageMenuOf(*document, false, false).saveTiff);
    document->frozen = false;
    document->state = ImageDocument::kFromFile;
    EXPECT_FALSE(ImageMenuOf(*document, false, false).saveTiff);

    document->stretch = true;
    menu = ImageMenuOf(*document, false, false);
    EXPECT_TRUE(menu.stretchChecked);
    EXPECT_FALSE(menu.directDrawEnabled);
    document->stretch = false;
    board.directDraw = 0;
    EXPECT_FALSE(ImageMenuOf(*document, false, false).directDrawEnabled);
    document->displayMode = ImageDocument::kDirectDraw;
    menu = ImageMenuOf(*document, false, false);
    EXPECT_TRUE(menu.directDrawEnabled && menu.directDrawChecked);
    EXPECT_FALSE(menu.stretchEnabled);

    EXPECT_TRUE(MainFrameAcquisitionEnabled(true, true, true));
    EXPECT_FALSE(MainFrameAcquisitionEnabled(true, true, false));
    EXPECT_FALSE(MainFrameAcquisitionEnabled(false, true, true));
    EXPECT_FALSE(MainFrameAcquisitionEnabled(true, false, true));
}

}  // namespace
}  // namespace qvi
