// The panel preview beside the main window's controls.
#include <QLayout>

#include "window_fixture.h"

using namespace tessaro::testing;

class PanelPreviewTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void previewWidensTheWindowAndCoversNoOtherControl() {
    ShownWindow shown;
    tessaro::desktop::MainWindow* window = &shown.window();
    auto* frame = shown.find<QWidget>("PanelFrame");
    const QRect area(frame->mapTo(window, QPoint(0, 0)), frame->size());
    int controls = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (!control->isVisible() || control->isAncestorOf(frame) || frame->isAncestorOf(control) ||
          control == frame)
        continue;
      ++controls;
      const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
      QVERIFY2(!place.intersects(area), qPrintable(control->objectName()));
    }
    QVERIFY(controls > 30);
    // The controls have the width a window 1000 pixels wide gave them before.
    auto* dest = shown.find<QWidget>("DestFrame");
    const int right = dest->mapTo(window, QPoint(dest->width(), 0)).x();
    QCOMPARE(right + window->centralWidget()->layout()->contentsMargins().right(), 1000);
  }
};

QTEST_MAIN(PanelPreviewTest)
#include "panel_preview_test.moc"
