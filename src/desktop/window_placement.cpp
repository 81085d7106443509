#include "desktop/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "desktop/qt_text.h"

namespace tessaro::desktop {

namespace {

// A window is within reach when this much of it can be seen and grabbed.
constexpr int kVisibleMargin = 40;

int ClampedPixels(double twips) {
  const double pixels = std::round(twips / kTwipsPerPixel);
  constexpr double kLimit = 1'000'000;
  if (!(pixels > -kLimit)) return static_cast<int>(-kLimit);
  if (!(pixels < kLimit)) return static_cast<int>(kLimit);
  return static_cast<int>(pixels);
}

}  // namespace

QPoint PixelsFromTwips(double leftTwips, double topTwips) {
  return QPoint(ClampedPixels(leftTwips), ClampedPixels(topTwips));
}

QPoint PlacedOnScreen(QPoint topLeft, QSize size) {
  const QRect window(topLeft, size.expandedTo(QSize(1, 1)));
  const QList<QScreen*> screens = QGuiApplication::screens();
  for (const QScreen* screen : screens) {
    const QRect seen = window.intersected(screen->availableGeometry());
    if (seen.width() >= std::min(kVisibleMargin, window.width()) &&
        seen.height() >= std::min(kVisibleMargin, window.height())) {
      return topLeft;
    }
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) return topLeft;
  return primary->availableGeometry().topLeft();
}

void RestorePosition(QWidget& window, double leftTwips, double topTwips) {
  const QPoint stored = PixelsFromTwips(leftTwips, topTwips);
  window.move(PlacedOnScreen(stored, window.frameGeometry().size()));
}

int TopTwips(const QWidget& window) { return window.y() * kTwipsPerPixel; }
int LeftTwips(const QWidget& window) { return window.x() * kTwipsPerPixel; }

}  // namespace tessaro::desktop
