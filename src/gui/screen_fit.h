#pragma once

#include <QRect>

class QWidget;

namespace qvi {

// `rect` (a window's frame, in global coordinates) moved, and shrunk where it
// is larger, into the available area of the screen it is on; a rect on no
// screen goes to `fallback`'s screen, else to the primary screen.
QRect FitToScreen(const QRect &rect, const QWidget *fallback = nullptr);

// Keeps a top-level window, its frame included, wholly on its screen. Called
// whenever the program itself places a window: a stored placement or a
// cascade may point past the screen's edge.
void KeepOnScreen(QWidget &window);

}  // namespace qvi
