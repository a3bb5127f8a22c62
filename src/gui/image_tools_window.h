#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>

#include "acquire/image_stats.h"

class QCheckBox;
class QLabel;
class QTimer;

namespace qvi {

// A plot of counts or samples per channel: grey in grey, colour channels in
// red, green and blue.
class ChannelPlot : public QWidget {
public:
    explicit ChannelPlot(QWidget *parent = nullptr);
    // One row of values per channel, drawn against `top` (the largest value
    // the plot holds); bars for a histogram, lines for a profile.
    void SetValues(std::vector<std::vector<double>> channels, double top, bool bars);
    const std::vector<std::vector<double>> &Values() const { return channels_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<std::vector<double>> channels_;
    double top_ = 1.0;
    bool bars_ = true;
};

// "Image Tools" of an image window: the histogram of the image, the profile
// along a line the user draws (the middle row until one is drawn) and the
// value under the mouse, at the image's own depth. While shown it reads the
// image a few times a second, so a live grab keeps its pace.
class ImageToolsWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 250;
    using Reader = std::function<bool(FramePixels &)>;

    ImageToolsWindow(const QString &title, Reader reader, QWidget *parent);

    void SetLine(QPoint from, QPoint to);
    void Inspect(QPoint position);
    // Reads the image and redraws now (the timer calls it).
    void Refresh();

    ChannelPlot *HistogramPlot() const { return histogram_; }
    ChannelPlot *ProfilePlot() const { return profile_; }
    QLabel *InspectorLabel() const { return inspector_; }
    QCheckBox *LogarithmicBox() const { return logarithmic_; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void ShowHistogram();
    void ShowProfile();
    void ShowInspector();

    Reader reader_;
    FramePixels pixels_;
    bool lineSet_ = false;
    QPoint from_, to_, inspected_{-1, -1};
    QTimer *timer_ = nullptr;
    ChannelPlot *histogram_ = nullptr;
    ChannelPlot *profile_ = nullptr;
    QLabel *inspector_ = nullptr;
    QLabel *lineLabel_ = nullptr;
    QCheckBox *logarithmic_ = nullptr;
};

}  // namespace qvi
