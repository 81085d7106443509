// The activity log in the main window: its history, opened from the status line, and the
// note when the log cannot be written.
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>

#include "desktop/activity_history.h"
#include "window_fixture.h"

using namespace tessaro::testing;

class ActivityHistoryTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void historyOpensFromTheStatusLineWithoutMovingAControlAndFollowsTheLog() {
    ShownWindow shown;
    auto* history = shown.find<QToolButton>("HistoryButton");
    const auto places = [&shown] {
      QStringList named;
      for (const QWidget* widget : shown.window().findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->objectName() == "HistoryButton") continue;
        const QRect at(widget->mapTo(&shown.window(), QPoint()), widget->size());
        named << QString("%1 %2,%3 %4x%5")
                     .arg(widget->objectName())
                     .arg(at.x())
                     .arg(at.y())
                     .arg(at.width())
                     .arg(at.height());
      }
      return named;
    };
    history->hide();
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QStringList without = places();
    history->show();
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCOMPARE(places(), without);

    shown.source.Write("PART", kPanelGcode);
    QVERIFY(shown.Click(shown.file1(), "PART"));
    QTest::mouseClick(history, Qt::LeftButton);
    auto* lines = shown.find<QTreeWidget>("ActivityLines");
    QVERIFY(lines->isVisible());
    const auto newest = [lines] {
      const QTreeWidgetItem* item = lines->topLevelItem(0);
      return item == nullptr ? QString() : item->text(1) + " " + item->text(2);
    };
    QCOMPARE(newest(), "translated " + Q(shown.source.File("PART")));

    // Written by tessaro-cli, say: the history follows the log while it is open.
    tessaro::ActivityLog(shown.window().activityLog().path()).Append({"", "deleted", "/x", ""});
    QTRY_COMPARE(newest(), QString("deleted /x"));
  }

  void logThatCannotBeWrittenLeavesANoteInTheStatusLineAndTranslationGoesOn() {
    ShownWindow shown;
    shown.home.MakeFolder("Tessaro.log");
    shown.source.Write("PART", kPanelGcode);

    QVERIFY(shown.Click(shown.file1(), "PART"));

    QVERIFY(shown.programs.Exists("PART1.RCM"));
    auto* note = shown.find<QLabel>("LogNote");
    QVERIFY(note->isVisible());
    QCOMPARE(note->toolTip(),
             "Cannot write " + Q(shown.home.File("Tessaro.log")) + ": Is a directory");
  }
};

QTEST_MAIN(ActivityHistoryTest)
#include "activity_history_test.moc"
