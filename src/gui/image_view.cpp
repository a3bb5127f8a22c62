// The image window's view: paints the frame sink, scrolls, reads pixels out.
#include "gui/image_view.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThread>

#include "acquire/image_commands.h"

namespace qvi {

namespace {

// The keyboard's context menu opens this far inside the view's corner.
constexpr int kKeyboardMenuInset = 5;

QImage::Format ImageFormatOf(FrameSink::Format format) {
    return format == FrameSink::Format::Grey8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
}

}  // namespace

CFrmView::CFrmView(ImageDocument &document, QWidget *parent)
    : QAbstractScrollArea(parent),
      document_(document),
      sink_(document.width, document.height, SinkFormatOf(document)) {
    setObjectName("imageView");
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);  // the image tools' inspector follows the mouse
    sink_.OnFrameReady([this] { OnFrameRendered(); });
    UpdateScrollRange();
}

CFrmView::~CFrmView() {
    sink_.OnFrameReady({});
}

void CFrmView::OnFrameRendered() {
    // A frame drawn on this thread (a redisplay, the paint's own redraw) is
    // painted by the paint that follows anyway.
    if (QThread::currentThread() == thread()) return;
    if (repaintPending_.exchange(true)) {
        dropped_.fetch_add(1);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            repaintPending_ = false;
            viewport()->update();
        },
        Qt::QueuedConnection);
}

CFrmView::FrameCounts CFrmView::TakeFrameCounts() {
    FrameCounts counts{painted_, dropped_.exchange(0)};
    painted_ = 0;
    return counts;
}

void CFrmView::UpdateScrollRange() {
    const ScrollRange range = ScrollRangeOf(document_);
    const QSize room = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, range.width - room.width()));
    verticalScrollBar()->setRange(0, std::max(0, range.height - room.height()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setPageStep(room.height());
}

// F1 in the view asks for the image window's page, not the main frame's
// Help Topics: the view takes the key before the shortcut sees it.
bool CFrmView::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void CFrmView::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F1) {
        emit helpRequested();
        return;
    }
    // The window system turns the menu key into a context-menu event; the
    // other keyboard way to the menu is the view's own.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        emit contextMenuAt(KeyboardMenuPosition());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CFrmView::paintEvent(QPaintEvent *) {
    // An 8-bit image goes into a grey sink byte for byte; the library would
    // otherwise widen every pixel to four bytes on each frame. A still image
    // is redrawn below in the new format; a live grab's next frame is.
    sink_.SetFormat(SinkFormatOf(document_));
    QPainter painter(viewport());
    // The DirectDraw fill comes first; this library's DirectDraw path renders
    // into the sink like the plain one, so the sink is painted over it.
    if (const std::optional<FillColour> fill = Paint(document_))
        painter.fillRect(viewport()->rect(), QColor(fill->red, fill->green, fill->blue));
    if (!document_.imageValid) {
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
        return;
    }
    PaintSink(painter);
    ++painted_;
}

void CFrmView::PaintSink(QPainter &painter) {
    sink_.Read([&](const std::uint8_t *pixels) {
        const QImage image(pixels, sink_.Width(), sink_.Height(), sink_.Stride(),
                           ImageFormatOf(sink_.PixelFormat()));
        painter.drawImage(0, 0, image);
    });
    const QRect drawn(0, 0, sink_.Width(), sink_.Height());
    const QRegion rest = QRegion(viewport()->rect()).subtracted(drawn);
    for (const QRect &part : rest) painter.fillRect(part, palette().color(QPalette::Dark));
}

void CFrmView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    sink_.Resize(viewport()->width(), viewport()->height());
    UpdateScrollRange();
    if (document_.stretch && document_.imageValid)
        Redisplay(document_, Window());
    else
        ScrollTo(document_, horizontalScrollBar()->value(), verticalScrollBar()->value(), Window());
    viewport()->update();
}

void CFrmView::scrollContentsBy(int, int) {
    ScrollTo(document_, horizontalScrollBar()->value(), verticalScrollBar()->value(), Window());
    viewport()->update();
}

void CFrmView::ShowReadout(const QPoint &position) {
    const std::optional<std::string> text = PixelReadout(document_, position.x(), position.y());
    if (text) emit pixelText(QString::fromStdString(*text).trimmed());
}

QPoint CFrmView::ImagePoint(const QPoint &position) const {
    const QSize room = viewport()->size();
    if (document_.stretch && room.width() > 0 && room.height() > 0)
        return {position.x() * document_.width / room.width(),
                position.y() * document_.height / room.height()};
    return {document_.scrollX + position.x(), document_.scrollY + position.y()};
}

void CFrmView::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && event->modifiers() & Qt::ShiftModifier) {
        drawingLine_ = true;
        lineStart_ = ImagePoint(event->position().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !PixelReadoutOn(document_)) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    readout_ = true;
    viewport()->setCursor(Qt::CrossCursor);
    ShowReadout(event->position().toPoint());
}

void CFrmView::mouseMoveEvent(QMouseEvent *event) {
    emit imagePointed(ImagePoint(event->position().toPoint()));
    if (readout_) ShowReadout(event->position().toPoint());
}

void CFrmView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    if (drawingLine_) {
        drawingLine_ = false;
        emit lineDrawn(lineStart_, ImagePoint(event->position().toPoint()));
        return;
    }
    if (!readout_) return;
    readout_ = false;
    viewport()->unsetCursor();
    emit pixelText(QString());
}

void CFrmView::mouseDoubleClickEvent(QMouseEvent *) {
    emit editRequested();
}

void CFrmView::contextMenuEvent(QContextMenuEvent *event) {
    emit contextMenuAt(event->reason() == QContextMenuEvent::Keyboard ? KeyboardMenuPosition()
                                                                      : event->globalPos());
}

QPoint CFrmView::KeyboardMenuPosition() const {
    return viewport()->mapToGlobal(QPoint(kKeyboardMenuInset, kKeyboardMenuInset));
}

}  // namespace qvi
