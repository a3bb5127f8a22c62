// qvcfg's acquisition commands on the sample demo and its rack: what the
// boards write, show and read as a user sees it on stdout and in files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <bit>
#include <map>
#include <regex>
#include <sstream>

#include "qvcfg_fixture.h"

namespace qvi {
namespace {

using ::testing::HasSubstr;

// "KEY<TAB>VALUE" lines as a map.
std::map<std::string, std::string> Fields(const std::string &out) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) fields[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return fields;
}

// A file's size and depth: 24 for three planes, else the significant bits
// (10 and 12 bits are held in 16-bit samples whose largest value says so).
struct TiffShape {
    std::uint32_t width = 0, height = 0;
    int depth = 0;
};

TiffShape ShapeOf(const fs::path &path) {
    TiffShape shape;
    TIFF *tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) return shape;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &shape.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &shape.height);
    std::uint16_t bits = 0, planes = 0, largest = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &planes);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_MAXSAMPLEVALUE, &largest);
    TIFFClose(tiff);
    shape.depth = planes == 3 ? 24 : std::bit_width(static_cast<unsigned>(largest));
    if (shape.depth == 0) shape.depth = bits;
    return shape;
}

using QvcfgAcquireTest = QvcfgTest;

// Every acquisition board of the demo (an SXA by its channel, a DQ-500 on
// its monitor) writes a file of the size and depth its module reports.
TEST_F(QvcfgAcquireTest, SnapWritesTheModulesImageOnEveryAcquisitionBoard) {
    for (int element : {1, 2, 5, 8, 15, 17, 19, 21, 23}) {
        SCOPED_TRACE(element);
        const Outcome info = Qvcfg("-q info " + Demo() + " " + std::to_string(element));
        const fs::path file = dir_ / ("snap" + std::to_string(element) + ".tif");
        const Outcome snap =
            Qvcfg("-q snap " + Demo() + " " + std::to_string(element) + " -o " + file.string());
        ASSERT_EQ(snap.status, 0) << snap.err;
        std::map<std::string, std::string> shown = Fields(snap.out);
        std::map<std::string, std::string> module = Fields(info.out);
        const TiffShape shape = ShapeOf(file);
        EXPECT_EQ(std::to_string(shape.width), shown["width"]);
        EXPECT_EQ(std::to_string(shape.height), shown["height"]);
        EXPECT_EQ(std::to_string(shape.depth), shown["bits_per_pixel"]);
        // An SXA channel does not report its image size itself (the board does).
        if (module["width"] != "0") {
            EXPECT_EQ(shown["width"], module["width"]);
            EXPECT_EQ(shown["height"], module["height"]);
        }
        EXPECT_EQ(shown["bits_per_pixel"], module["bits_per_pixel"]);
    }
}

TEST_F(QvcfgAcquireTest, APixelReadAfterALoadIsTheFilesPixel) {
    const fs::path file = dir_ / "lumo.tif";
    ASSERT_EQ(Qvcfg("-q snap " + Demo() + " 1 -o " + file.string()).status, 0);
    const Outcome snapped = Qvcfg("-q pixel " + Demo() + " 1 10 20 --after load:" + file.string());
    ASSERT_EQ(snapped.status, 0) << snapped.err;
    TIFF *tiff = TIFFOpen(file.c_str(), "r");
    ASSERT_NE(tiff, nullptr);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tiff)));
    ASSERT_EQ(TIFFReadScanline(tiff, row.data(), 20), 1);
    TIFFClose(tiff);
    EXPECT_EQ(snapped.out, std::to_string(row[10]) + "\n");

    const Outcome loaded = Qvcfg("-q load-image " + Demo() + " 1 " + file.string());
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(Fields(loaded.out)["caption"], " Lumo:0: " + file.string() + " -- 768 x 576 x 8");
}

TEST_F(QvcfgAcquireTest, GrabCountsTheFramesShown) {
    Outcome run = Qvcfg("-q grab " + Demo() + " 1 --frames 5");
    ASSERT_EQ(run.status, 0) << run.err;
    std::map<std::string, std::string> fields = Fields(run.out);
    // The display server may draw once more before the grab ends.
    EXPECT_GE(std::stoi(fields["frames"]), 5);
    EXPECT_LE(std::stoi(fields["frames"]), 7);
    EXPECT_GT(std::stod(fields["frames_per_second"]), 0.0);
    run = Qvcfg("-q grab " + Demo() + " 1 --frames 200 --uncapped");
    ASSERT_EQ(run.status, 0) << run.err;
    fields = Fields(run.out);
    EXPECT_GE(std::stoi(fields["frames"]), 200);
    // 200 frames drawn on this thread cost measurable CPU time, where 5
    // frames may fall within one tick of the process's accounting.
    EXPECT_GT(std::stod(fields["cpu_ms_per_frame"]), 0.0);
}

// A software trigger comes at once; an external one at the rack's period,
// seen by the once-a-second poll; none at all ends at the time-out.
TEST_F(QvcfgAcquireTest, TriggeredSnapsBySoftwareAndExternalTriggerOrTimeOut) {
    const fs::path file = dir_ / "triggered.tif";
    Outcome run = Qvcfg("-q trigger " + Demo() + " 1 --source sw -o " + file.string());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Fields(run.out)["width"], "768");
    EXPECT_EQ(ShapeOf(file).width, 768u);
    run = Qvcfg("-q trigger " + Demo() + " 1 --source ext --timeout 5");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_LE(std::stoi(Fields(run.out)["triggered_after_ms"]), 3500);
    run = Qvcfg("-q trigger " + Demo() + " 5 --source sw --timeout 5");
    EXPECT_EQ(run.status, 0) << run.err;

    ASSERT_NO_FATAL_FAILURE(Edit(Config() / "rack.ini",
                                 "Slot0 = TX-10\nExternalTriggerPeriod = 1000", "Slot0 = TX-10"));
    run = Qvcfg("-q trigger " + Demo() + " 1 --source ext --timeout 1.5");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("trigger: no triggered frame within 1.5"));
    EXPECT_EQ(run.out, "");
}

TEST_F(QvcfgAcquireTest, DioSetsOutputsAndWatchesTheInputs) {
    // The SXA loops its outputs back to its inputs.
    Outcome run = Qvcfg("-q dio " + Demo() + " 4 --output 0=1 --output 3=1");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Fields(run.out)["outputs"], "0x09");
    EXPECT_EQ(Fields(run.out)["inputs"], "0x09");
    // The SX-400's inputs 0 and 7 toggle every 100 ms here.
    ASSERT_NO_FATAL_FAILURE(
        Edit(Config() / "rack.ini", "InputsPeriod = 1000", "InputsPeriod = 100"));
    run = Qvcfg("-q dio " + Demo() + " 1 --watch 0.55");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::regex change("(^|\n)[0-9]+\t0x(81|00)\n");
    EXPECT_TRUE(std::regex_search(run.out, change)) << run.out;
}

}  // namespace
}  // namespace qvi
