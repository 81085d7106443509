// The panel preview beside the main window's controls.
#include <QDialog>
#include <QImage>
#include <QLayout>

#include "desktop/panel_preview.h"
#include "program/panel_drawing.h"
#include "program/session.h"
#include "window_fixture.h"

using namespace tessaro::testing;
using tessaro::desktop::PanelPreview;

namespace {

// The drawing of a G-code file as a fresh read of it gives.
QByteArray DrawingOf(const std::string& gcodePath) {
  RecordingOperator asker;
  tessaro::Session reader(asker);
  if (!reader.ReadGcode(gcodePath).ok()) return {};
  return QByteArray::fromStdString(tessaro::DrawPanelSvg(reader.Holes()).value_or(""));
}

bool ShowsColour(QWidget* widget, QColor colour) {
  const QImage image = widget->grab().toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == colour) return true;
    }
  }
  return false;
}

}  // namespace

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

  // A click or a tick shows the drawing of the file it translated, a refusal a message; a
  // double-click opens a larger view that follows the drawings.
  void previewShowsTheDrawingOfTheLastTranslation() {
    ShownWindow shown("AutoScan=1\n");
    auto* preview = shown.find<PanelPreview>("PanelPreview");
    const std::string part = shown.source.Write("PART", kPartGcode);
    shown.Tick();
    QCOMPARE(preview->drawing(), DrawingOf(part));
    QVERIFY(ShowsColour(preview, QColor("#f3e3c3")));  // the panel's fill: it was rendered
    QTest::mouseDClick(preview, Qt::LeftButton);
    auto* larger = preview->largerView()->findChild<PanelPreview*>();
    QVERIFY(larger->isVisible() && larger->width() > preview->width());
    shown.source.Write("NOTES01", "Cut list\n");
    shown.Tick();
    QVERIFY(preview->message().contains("not G-code") && larger->drawing().isEmpty());
  }
};

QTEST_MAIN(PanelPreviewTest)
#include "panel_preview_test.moc"
