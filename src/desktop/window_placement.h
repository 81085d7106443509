#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace tessaro::desktop {

// The top-left corner in pixels for a position stored in twips.
QPoint PixelsFromTwips(double leftTwips, double topTwips);

// `topLeft` when a window of `size` placed there shows a usable part on some screen;
// else the top-left corner of the primary screen's available area.
QPoint PlacedOnScreen(QPoint topLeft, QSize size);

// Moves a top-level window to a stored position, onto the primary screen when that
// position lies off every screen.
void RestorePosition(QWidget& window, double leftTwips, double topTwips);

// The window's top and left edges in twips, as stored.
int TopTwips(const QWidget& window);
int LeftTwips(const QWidget& window);

}  // namespace tessaro::desktop
