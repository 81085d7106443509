// Start-up from the settings file, and shutdown.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <iostream>
#include <sstream>

#include "program/session.h"
#include "window_fixture.h"

using namespace tessaro::testing;

class StartupTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void storedSettingsReachTheControlsAndTheSession() {
    StartedWindow started(
        "[Settings]\nRCM=yes\nFacePriority=21\nScanTime=2.5\nAutoDelete=1\nNoDuplicates=2\n"
        "DrillExclusion=12\n[HorizontalRename]\nMask1=1\nMask2=2\nMask3=**3\n");
    const tessaro::TranslationSettings& settings = started.window().session().Settings();
    QVERIFY(settings.rcmFormat);
    COMPARE_STD(settings.facePriority + "|" + settings.masks[3], "21|  3     ");
    QCOMPARE(settings.drillExclusion, 1);
    QCOMPARE(started.window().timer1()->interval(), 2500);
    COMPARE_STD(started.window().file2()->pattern(), "*.RCM");
    QVERIFY(started.find<QPushButton>("RpAF")->isHidden());
    // Deletion without translation is kept but disabled; so are the omission rules
    // without all four masks.
    QCOMPARE(started.Box("AutoDel", "AutoDelete"), QString("1 disabled, AutoDelete= 1"));
    QCOMPARE(started.Box("NoDupes", "NoDuplicates"), QString("2 disabled, NoDuplicates=2"));
    QCOMPARE(StoredLine(started.home, "DrillExclusion"), QString("DrillExclusion=1"));
    // The lists stay on the process's current folder.
    QCOMPARE(Q(started.window().file1()->path()), Q(started.current.path()));
    QVERIFY(started.asker.questions.empty() && started.asker.told.empty());
  }

  void withoutSettingsFileOnlyTheExclusionsAreWritten() {
    StartedWindow started;
    COMPARE_STD(started.home.Read("Tessaro.INI"),
                "[Settings]\nDowellExclusion=0\nDrillExclusion=0\n");
  }

  void storedFoldersAreListedAndShownWholeInTheirTooltip() {
    TempFolder work;
    work.Write("src/PART", "G71\n");
    work.Write("src/PART.NC", "G71\n");
    const std::string deepName =
        "a-folder-name-of-forty-characters-long-1/another-folder-name-forty-characters-long2";
    for (const char* name : {"/PART1.RCM", "/PART2.rcm", "/PART3.ACC"})
      work.Write(deepName + name, "x");
    const std::string deep = work.File(deepName);
    StartedWindow started("[Settings]\nRCM=YES\nSourcePath=" + work.path() +
                          "/src/\nDestinationPath=" + deep + "/\n");
    auto* dPath = started.find<QLabel>("DPath");
    QCOMPARE(dPath->text(), Q(deep + "/"));
    started.window().show();
    started.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&started.window()));
    QTest::mouseMove(dPath, QPoint(5, dPath->height() / 2));  // the pointer rests on it
    QTRY_COMPARE(QToolTip::text(), Q(deep + "/"));
    QCOMPARE(Listed(started.window().file1()), QStringList({"PART"}));
    QCOMPARE(Listed(started.window().file2()), QStringList({"PART1.RCM", "PART2.rcm"}));
    COMPARE_STD(started.window().session().Settings().destinationFolder, deep);
  }

  void aFolderThatCannotBeListedIsSkippedWithItsReasonOnStandardError() {
    TempFolder work;
    std::ostringstream errors;
    std::streambuf* const standardError = std::cerr.rdbuf(errors.rdbuf());
    StartedWindow started("[Settings]\nSourcePath=" + work.File("gone") + "/\n");
    std::cerr.rdbuf(standardError);
    COMPARE_STD(errors.str(), "Tessaro start-up: step skipped: Cannot read the folder " +
                                  work.File("gone") + ": No such file or directory\n");
    QCOMPARE(Q(started.window().file1()->path()), Q(started.current.path()));
    QVERIFY(started.asker.told.empty());
  }

  // Twips to pixels, onto the primary screen when off every screen, and back on closing.
  void windowPositionIsRestoredOntoAScreenAndStoredOnClosing() {
    StartedWindow offScreen("[Window]\nTop=-300000\nLeft=900000\n");
    QCOMPARE(offScreen.window().pos(),
             QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    StartedWindow started(
        "[Settings]\nDrillExclusion=3\nDowellExclusion=0\n[Window]\nTop=1500\nLeft=3000\n");
    QCOMPARE(started.window().pos(), QPoint(200, 100));
    started.window().show();
    started.window().move(-50, 10);  // partly left of the screen
    QSignalSpy shutDown(&started.window(), &tessaro::desktop::MainWindow::shutDown);
    QVERIFY(started.window().close());
    QCOMPARE(shutDown.count(), 1);
    COMPARE_STD(started.home.Read("Tessaro.INI"),
                "[Settings]\nDrillExclusion=3\nDowellExclusion=0\n[Window]\nTop=150\nLeft=-750\n");
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
