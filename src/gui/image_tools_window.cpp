// The image window's histogram, line profile and pixel inspector.
#include "gui/image_tools_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace qvi {

namespace {

constexpr int kPlotWidth = 360;
constexpr int kPlotHeight = 140;

QColor ChannelColour(std::size_t channel, std::size_t channels) {
    if (channels == 1) return QColor(40, 40, 40);
    static const QColor colours[] = {QColor(200, 30, 30), QColor(30, 150, 30), QColor(30, 60, 210)};
    return colours[std::min<std::size_t>(channel, 2)];
}

}  // namespace

ChannelPlot::ChannelPlot(QWidget *parent) : QWidget(parent) {
    setMinimumSize(kPlotWidth, kPlotHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChannelPlot::SetValues(std::vector<std::vector<double>> channels, double top, bool bars) {
    channels_ = std::move(channels);
    top_ = top > 0.0 ? top : 1.0;
    bars_ = bars;
    update();
}

// Each channel is one path over the plot's width: a bar outline for a
// histogram (whatever its number of bins), a polyline for a profile.
void ChannelPlot::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(180, 180, 180));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const double w = width() - 2, h = height() - 2;
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        const std::vector<double> &values = channels_[c];
        if (values.empty()) continue;
        const double step =
            w / static_cast<double>(bars_ ? values.size()
                                          : std::max<std::size_t>(values.size() - 1, 1));
        QPainterPath path;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double y = 1 + h - h * std::clamp(values[i] / top_, 0.0, 1.0);
            const double x = 1 + step * static_cast<double>(i);
            if (i == 0) path.moveTo(x, bars_ ? 1 + h : y);
            if (bars_) {
                path.lineTo(x, y);
                path.lineTo(x + step, y);
            } else {
                path.lineTo(x, y);
            }
        }
        QColor colour = ChannelColour(c, channels_.size());
        painter.setPen(colour);
        if (bars_) {
            path.lineTo(1 + w, 1 + h);
            colour.setAlpha(channels_.size() == 1 ? 160 : 70);
            painter.setBrush(colour);
        } else {
            painter.setBrush(Qt::NoBrush);
        }
        painter.drawPath(path);
    }
}

ImageToolsWindow::ImageToolsWindow(const QString &title, Reader reader, QWidget *parent)
    : QWidget(parent, Qt::Tool), reader_(std::move(reader)) {
    setWindowTitle("Image Tools - " + title);
    setObjectName("imageTools");
    auto *layout = new QVBoxLayout(this);
    inspector_ = new QLabel(this);
    layout->addWidget(inspector_);
    layout->addWidget(new QLabel("Histogram", this));
    histogram_ = new ChannelPlot(this);
    layout->addWidget(histogram_);
    logarithmic_ = new QCheckBox("Logarithmic counts", this);
    layout->addWidget(logarithmic_);
    lineLabel_ = new QLabel(this);
    layout->addWidget(lineLabel_);
    profile_ = new ChannelPlot(this);
    layout->addWidget(profile_);
    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &ImageToolsWindow::Refresh);
    connect(logarithmic_, &QCheckBox::toggled, this, [this] { ShowHistogram(); });
}

void ImageToolsWindow::SetLine(QPoint from, QPoint to) {
    from_ = from;
    to_ = to;
    lineSet_ = true;
    ShowProfile();
}

void ImageToolsWindow::Inspect(QPoint position) {
    inspected_ = position;
    ShowInspector();
}

void ImageToolsWindow::Refresh() {
    if (!reader_ || !reader_(pixels_)) pixels_ = FramePixels{};
    if (!lineSet_) {
        from_ = QPoint(0, pixels_.height / 2);
        to_ = QPoint(std::max(pixels_.width - 1, 0), pixels_.height / 2);
    }
    ShowHistogram();
    ShowProfile();
    ShowInspector();
}

void ImageToolsWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    Refresh();
    timer_->start();
}

void ImageToolsWindow::hideEvent(QHideEvent *event) {
    timer_->stop();
    QWidget::hideEvent(event);
}

void ImageToolsWindow::ShowHistogram() {
    const Histogram histogram = HistogramOf(pixels_);
    const bool logarithmic = logarithmic_->isChecked();
    auto scale = [logarithmic](double count) { return logarithmic ? std::log1p(count) : count; };
    std::vector<std::vector<double>> channels;
    for (const auto &counts : histogram.channels) {
        std::vector<double> &values = channels.emplace_back();
        values.reserve(counts.size());
        for (std::uint32_t count : counts) values.push_back(scale(count));
    }
    histogram_->SetValues(std::move(channels), scale(histogram.Largest()), true);
}

void ImageToolsWindow::ShowProfile() {
    lineLabel_->setText(QString("Profile from (%1, %2) to (%3, %4)")
                            .arg(from_.x())
                            .arg(from_.y())
                            .arg(to_.x())
                            .arg(to_.y()));
    const std::vector<PixelSamples> profile =
        LineProfile(pixels_, from_.x(), from_.y(), to_.x(), to_.y());
    const int channels = profile.empty() ? 0 : profile.front().count;
    std::vector<std::vector<double>> values(static_cast<std::size_t>(channels));
    for (const PixelSamples &samples : profile)
        for (int c = 0; c < channels; ++c)
            values[static_cast<std::size_t>(c)].push_back(
                samples.values[static_cast<std::size_t>(c)]);
    profile_->SetValues(std::move(values), SampleMaximum(pixels_), false);
}

void ImageToolsWindow::ShowInspector() {
    const std::string text = InspectorText(pixels_, inspected_.x(), inspected_.y());
    inspector_->setText(text.empty() ? QString("Move the mouse over the image")
                                     : QString::fromStdString(text));
}

}  // namespace qvi
