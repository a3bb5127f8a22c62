// The image tools' arithmetic on frames read out at every depth: pixel
// values, histograms and line profiles, at the edges of the image too.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "acquire/image_stats.h"

namespace qvi {
namespace {

using Layout = FramePixels::Layout;

FramePixels Frame(Layout layout, int depth, int width, int height,
                  std::initializer_list<std::uint8_t> bytes) {
    FramePixels pixels{layout, depth, width, height, bytes};
    pixels.bytes.resize(static_cast<std::size_t>(width * height * pixels.BytesPerPixel()));
    return pixels;
}

TEST(ImageStats, PixelValuesAtEveryDepthAndTheInspectorsText) {
    // 12-bit grey: the bits above the depth are not the pixel's.
    const FramePixels grey = Frame(Layout::Grey16, 12, 2, 1, {0xFF, 0xFF, 0x34, 0x02});
    EXPECT_EQ(SamplesAt(grey, 0, 0)->values[0], 0xFFF);
    EXPECT_EQ(InspectorText(grey, 1, 0), "x= 1  y=0  pix=564");
    const FramePixels rgb = Frame(Layout::Rgb24, 24, 1, 2, {0, 0, 0, 1, 2, 3});
    EXPECT_EQ(InspectorText(rgb, 0, 1), "x= 0  y=1  R=1 G=2 B=3");
    // YCrCb: each pixel takes the chroma of its pair, Cb from the even
    // column and Cr from the odd one; a last even column alone keeps its own.
    const FramePixels ycrcb = Frame(Layout::Ycrcb16, 16, 3, 1, {10, 100, 20, 200, 30, 77});
    EXPECT_EQ(InspectorText(ycrcb, 1, 0), "x= 1  y=0  Y=20 Cb=100 Cr=200");
    EXPECT_EQ(InspectorText(ycrcb, 2, 0), "x= 2  y=0  Y=30 Cb=77 Cr=77");
    // Outside the image, or past bytes the library did not deliver: nothing.
    EXPECT_EQ(InspectorText(grey, 2, 0), "");
    EXPECT_EQ(InspectorText(grey, -1, 0), "");
    FramePixels shortRead = grey;
    shortRead.bytes.resize(3);
    EXPECT_FALSE(SamplesAt(shortRead, 0, 0).has_value());
}

TEST(ImageStats, HistogramsHaveABinForEveryValueOfTheDepthAndEmptyImagesHaveThemAllZero) {
    const Histogram grey = HistogramOf(Frame(Layout::Grey16, 10, 3, 1, {0xFF, 0x03, 1, 0, 1, 0}));
    ASSERT_EQ(grey.channels.size(), 1u);
    ASSERT_EQ(grey.channels[0].size(), 1024u);
    EXPECT_EQ(grey.channels[0][1023], 1u);
    EXPECT_EQ(grey.channels[0][1], 2u);
    EXPECT_EQ(grey.Largest(), 2u);

    const Histogram rgb = HistogramOf(Frame(Layout::Rgb24, 24, 2, 1, {9, 8, 7, 9, 0, 7}));
    ASSERT_EQ(rgb.channels.size(), 3u);
    EXPECT_EQ(rgb.channels[0][9], 2u);
    EXPECT_EQ(rgb.channels[1][8], 1u);
    EXPECT_EQ(rgb.channels[1][0], 1u);
    EXPECT_EQ(rgb.channels[2][7], 2u);

    for (const FramePixels &empty :
         {Frame(Layout::Grey8, 8, 0, 0, {}), Frame(Layout::Grey16, 16, 0, 5, {})}) {
        const Histogram histogram = HistogramOf(empty);
        ASSERT_EQ(histogram.channels.size(), 1u);
        EXPECT_EQ(histogram.channels[0].size(), std::size_t{1} << empty.depth);
        EXPECT_EQ(histogram.Largest(), 0u);
    }
    const Histogram one = HistogramOf(Frame(Layout::Grey8, 8, 1, 1, {42}));
    EXPECT_EQ(one.channels[0][42], 1u);
    EXPECT_EQ(one.Largest(), 1u);
}

TEST(ImageStats, AProfileWalksThePixelsOfTheLineInOrderAndLeavesOutThoseOutside) {
    // A 4 x 4 grey image whose pixel value is 10 y + x.
    FramePixels pixels = Frame(Layout::Grey8, 8, 4, 4, {});
    for (int i = 0; i < 16; ++i)
        pixels.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(10 * (i / 4) + i % 4);
    auto values = [&](int x0, int y0, int x1, int y1) {
        std::vector<int> seen;
        for (const PixelSamples &samples : LineProfile(pixels, x0, y0, x1, y1))
            seen.push_back(samples.values[0]);
        return seen;
    };
    EXPECT_EQ(values(0, 1, 3, 1), (std::vector<int>{10, 11, 12, 13}));
    EXPECT_EQ(values(3, 3, 0, 0), (std::vector<int>{33, 22, 11, 0}));
    EXPECT_EQ(values(0, 0, 3, 1), (std::vector<int>{0, 1, 12, 13}));
    EXPECT_EQ(values(2, 2, 2, 2), (std::vector<int>{22}));
    EXPECT_EQ(values(-2, 0, 5, 0), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(values(-2000000000, 0, 2000000000, 0).empty());
}

}  // namespace
}  // namespace qvi
