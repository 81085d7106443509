// Start-up from the settings file.
#include <QLabel>
#include <QToolTip>
#include <iostream>
#include <sstream>

#include "program/session.h"
#include "window_fixture.h"

using namespace tessaro::testing;

class StartupTest : public DesktopTest {
  Q_OBJECT

 private slots:
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
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
