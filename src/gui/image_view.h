#pragma once

#include <QAbstractScrollArea>
#include <atomic>

#include "acquire/frame_sink.h"
#include "system/image_document.h"

namespace qvi {

// The scrolling view of an image window. The library renders into the
// view's frame sink, on its own thread during a live grab; the view repaints
// on the GUI thread when the library says a frame is ready. A frame that
// comes while a repaint is still pending is dropped, never queued.
class CFrmView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CFrmView(ImageDocument &document, QWidget *parent = nullptr);
    ~CFrmView() override;

    // What the board hands the library as the window.
    void *Window() { return sink_.Window(); }
    const FrameSink &Sink() const { return sink_; }
    // Frames painted and frames dropped since the last call.
    struct FrameCounts {
        int painted = 0;
        int dropped = 0;
    };
    FrameCounts TakeFrameCounts();
    // The scroll range follows the image size and Stretch To Fit.
    void UpdateScrollRange();

signals:
    // The pixel readout's text while the left button is held; empty after.
    void pixelText(const QString &text);
    void contextMenuAt(const QPoint &globalPosition);
    void editRequested();
    // F1 while the view has the focus.
    void helpRequested();
    // For the image tools: the image point under the mouse, and a line drawn
    // with Shift and the left button, in image coordinates.
    void imagePointed(const QPoint &imagePoint);
    void lineDrawn(const QPoint &from, const QPoint &to);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Runs on the thread that rendered the frame.
    void OnFrameRendered();
    void ShowReadout(const QPoint &position);
    // A point of the viewport in the image: scrolled, or scaled when stretched.
    QPoint ImagePoint(const QPoint &position) const;
    // Where the pop-up menu opens when the keyboard asks for it.
    QPoint KeyboardMenuPosition() const;
    void PaintSink(class QPainter &painter);

    ImageDocument &document_;
    FrameSink sink_;
    std::atomic<bool> repaintPending_{false};
    std::atomic<int> dropped_{0};
    int painted_ = 0;
    bool readout_ = false;
    bool drawingLine_ = false;
    QPoint lineStart_;
};

}  // namespace qvi
