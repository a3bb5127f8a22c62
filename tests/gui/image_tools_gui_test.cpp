// The Image Tools window over a reader whose image changes between reads:
// the histogram and the profile follow each refresh, the inspector reads the
// pixel under the mouse, and a hidden window stops reading.
#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include "gui/image_tools_window.h"

using qvi::FramePixels;
using qvi::ImageToolsWindow;

class ImageToolsGuiTest : public QObject {
    Q_OBJECT

    // A 12-bit grey image of 4 x 3 pixels; every read adds `step` to each pixel.
    int reads = 0;
    int step = 100;
    bool Read(FramePixels &pixels) {
        ++reads;
        pixels = FramePixels{FramePixels::Layout::Grey16, 12, 4, 3, {}};
        for (int i = 0; i < 12; ++i) {
            const int value = (i * 10 + reads * step) & 0xFFF;
            pixels.bytes.push_back(static_cast<std::uint8_t>(value));
            pixels.bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        }
        return true;
    }

private slots:
    void histogramAndProfileFollowTheImageAndAFailedReadShowsNone() {
        reads = 0;
        ImageToolsWindow tools(
            "Lumo:0", [this](FramePixels &p) { return Read(p); }, nullptr);
        tools.show();
        QCOMPARE(reads, 1);
        const auto &histogram = tools.HistogramPlot()->Values();
        QCOMPARE(histogram.size(), std::size_t{1});
        QCOMPARE(histogram[0].size(), std::size_t{4096});
        QCOMPARE(histogram[0][100], 1.0);  // pixel 0 after one read
        // The middle row until a line is drawn: pixels 4 to 7.
        QCOMPARE(tools.ProfilePlot()->Values()[0], (std::vector<double>{140, 150, 160, 170}));

        tools.SetLine(QPoint(3, 0), QPoint(3, 2));
        QCOMPARE(tools.ProfilePlot()->Values()[0], (std::vector<double>{130, 170, 210}));
        tools.Inspect(QPoint(1, 2));
        QCOMPARE(tools.InspectorLabel()->text(), QString("x= 1  y=2  pix=190"));

        QTRY_VERIFY_WITH_TIMEOUT(reads >= 2, 3 * ImageToolsWindow::kRefreshMs);
        tools.Refresh();
        const int seen = reads;
        QCOMPARE(tools.HistogramPlot()->Values()[0][seen * step], 1.0);
        QCOMPARE(tools.ProfilePlot()->Values()[0].front(), double(30 + seen * step));
        QCOMPARE(tools.InspectorLabel()->text(),
                 QString("x= 1  y=2  pix=%1").arg(90 + seen * step));

        tools.hide();
        const int hidden = reads;
        QTest::qWait(3 * ImageToolsWindow::kRefreshMs);
        QCOMPARE(reads, hidden);

        // A failed read shows an empty image.
        ImageToolsWindow failed(
            "Lumo:0", [](FramePixels &) { return false; }, nullptr);
        failed.show();
        QCOMPARE(failed.HistogramPlot()->Values()[0].size(), std::size_t{256});
        QVERIFY(failed.ProfilePlot()->Values().empty());
        failed.Inspect(QPoint(0, 0));
        QCOMPARE(failed.InspectorLabel()->text(), QString("Move the mouse over the image"));
        failed.LogarithmicBox()->setChecked(true);  // no division by a zero count
        QCOMPARE(failed.HistogramPlot()->Values()[0][0], 0.0);
    }
};

QTEST_MAIN(ImageToolsGuiTest)
#include "image_tools_gui_test.moc"
