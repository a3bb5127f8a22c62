// Moving and shrinking a window's frame into the available area of its screen.
#include "gui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/window_placement.h"

namespace qvi {

namespace {

const QScreen *ScreenFor(const QRect &rect, const QWidget *fallback) {
    if (const QScreen *under = QGuiApplication::screenAt(rect.center())) return under;
    if (fallback != nullptr && fallback->screen() != nullptr) return fallback->screen();
    return QGuiApplication::primaryScreen();
}

WindowRect FromQt(const QRect &rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QRect ToQt(const WindowRect &rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

}  // namespace

QRect FitToScreen(const QRect &rect, const QWidget *fallback) {
    const QScreen *screen = ScreenFor(rect, fallback);
    if (screen == nullptr) return rect;
    return ToQt(KeepInside(FromQt(rect), FromQt(screen->availableGeometry())));
}

void KeepOnScreen(QWidget &window) {
    if (!window.isWindow() || window.isMaximized() || window.isFullScreen()) return;
    const QRect frame = window.frameGeometry();
    const QRect fitted = FitToScreen(frame, window.parentWidget());
    if (fitted == frame) return;
    // The frame's extra size around the client area stays as it is.
    const QSize decoration = frame.size() - window.size();
    if (fitted.size() != frame.size()) window.resize(fitted.size() - decoration);
    window.move(fitted.topLeft());
}

}  // namespace qvi
