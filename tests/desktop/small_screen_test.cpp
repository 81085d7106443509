// The main window on the smallest screen shop PCs still have: 1280 by 720 pixels.
#include <QApplication>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "window_fixture.h"

using namespace tessaro::testing;

class SmallScreenTest : public DesktopTest {
  Q_OBJECT

 public:
  // The offscreen platform with one screen of 1280 by 720.
  // The platform's arguments are separated by colons, so the file is named without a
  // folder (a Windows path has a colon after its drive).
  static void initMain() {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    const char screens[] = "tessaro-screen-1280x720.json";
    std::ofstream(screens)
        << R"({"screens": [{"name": "shop", "x": 0, "y": 0, "width": 1280,)"
        << R"( "height": 720, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screens);
    DesktopTest::initMain();
  }

 private slots:
  void theWholeWindowFitsAndThePanelTakesTheWidthThatIsLeft() {
    ShownWindow shown;
    tessaro::desktop::MainWindow& window = shown.window();
    const QRect screen = window.screen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(1280, 720));
    QVERIFY(screen.contains(window.frameGeometry()));
    const auto placeOf = [](const QWidget* widget) {
      return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    };
    for (const char* name : {"HistoryButton", "PanelPreview", "DestFrame", "AutoScan"}) {
      QVERIFY2(screen.contains(placeOf(shown.find<QWidget>(name))), name);
    }
    QVERIFY(screen.contains(placeOf(window.statusBar())));

    // Widened, the window gives the drawing the room; the controls stay as they were.
    auto* drawing = shown.find<QWidget>("PanelPreview");
    const int narrow = drawing->width();
    const QRect dest = placeOf(shown.find<QWidget>("DestFrame"));
    window.resize(window.width() + 300, window.height());
    QTRY_COMPARE(drawing->width(), narrow + 300);
    QCOMPARE(placeOf(shown.find<QWidget>("DestFrame")), dest);
  }
};

QTEST_MAIN(SmallScreenTest)
#include "small_screen_test.moc"
