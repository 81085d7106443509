// Start-up from the settings file, and shutdown.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <iostream>
#include <sstream>

#include "desktop/about_box.h"
#include "desktop/digit_spinner.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "tessaro_version.h"
#include "window_fixture.h"

using tessaro::desktop::AboutBox;
using tessaro::desktop::DigitSpinner;
using namespace tessaro::testing;

class StartupTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void withoutSettingsFileEverythingTakesItsDefault() {
    StartedWindow started;
    auto& window = started.window();
    QCOMPARE(window.windowTitle(), QString("Tessaro"));
    QCOMPARE(window.timer1()->interval(), 5000);
    QVERIFY(window.timer1()->isActive());
    // All masks blank: the omission rules are disabled.
    QCOMPARE(started.boxState("NoEmpties"),
             QString("NoEmpties 0 disabled, stored \"<not stored>\""));
    // The lists stay on the process's current folder.
    QCOMPARE(Q(window.file1()->path()), Q(started.current().path()));
    QCOMPARE(Q(window.file2()->path()), Q(started.current().path()));
    QVERIFY(started.asker().questions.empty() && started.asker().told.empty());
    // Only the exclusions are written back.
    const std::map<std::string, std::string> expected = {{"Settings/DowellExclusion", "0"},
                                                         {"Settings/DrillExclusion", "0"}};
    QCOMPARE(StoredLines(started.home().Read("Tessaro.INI")), expected);
  }

  // Each row: the settings, what is read after start-up, and what it reads.
  void edgeCaseSettingsAreReadAsTheirKeysAllow_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* stored, const char* read,
                        const char* expected) {
      QTest::newRow(name) << QString(stored) << QString(read) << QString(expected);
    };
    const char* rcm = "RCM Files (Destination) *.RCM, delete button shown";
    row("RCM YES", "RCM=YES\nDeleteButtonVisible=YES", "format", rcm);
    row("RCM yes", "RCM=yes\nDeleteButtonVisible=yes", "format", rcm);
    row("RCM Y", "RCM=Y\nDeleteButtonVisible=Y", "format",
        "ACC Files (Destination) *.ACC, delete button hidden");
    row("priority of five", "FacePriority=12345", "priority", "3412");
    row("priority of two", "FacePriority=21", "priority", "21");
    row("2.5 seconds", "ScanTime=2.5", "interval", "2500");
    row("zero seconds", "ScanTime=0", "interval", "5000");
    row("letters", "ScanTime=abc", "interval", "5000");
    row("70 seconds, over the limit", "ScanTime=70", "interval", "5000");
    row("65.535 seconds", "ScanTime=65.535", "interval", "65535");
    row("exclusions 12", "DowellExclusion=12\nDrillExclusion=12", "exclusions",
        "shown 1 1, stored 1 1, used 1");
    row("exclusions -3", "DowellExclusion=-3\nDrillExclusion=-3", "exclusions",
        "shown 0 0, stored 0 0, used 0");
    row("rule 2", "NoDuplicates=2", "NoDupes", "NoDupes 2 disabled, stored \"2\"");
    row("deletion without translation", "AutoDelete=1\nAutoScan=0", "AutoDel",
        "AutoDel 1 disabled, stored \" 1\"");
    row("translation 5", "AutoScan=5", "AutoScan", "AutoScan 0 enabled, stored \"5\"");
  }
  void edgeCaseSettingsAreReadAsTheirKeysAllow() {
    QFETCH(QString, stored);
    QFETCH(QString, read);
    QFETCH(QString, expected);
    StartedWindow started("[Settings]\n" + stored.toStdString() + "\n");
    auto& window = started.window();
    QString actual;
    if (read == "format") {
      actual = QString("%1 %2, delete button %3")
                   .arg(started.find<QGroupBox>("DestFrame")->title(), Q(window.file2()->pattern()),
                        started.find<QPushButton>("RpAF")->isHidden() ? "hidden" : "shown");
    } else if (read == "priority") {
      actual = Q(window.session().Settings().facePriority);
    } else if (read == "interval") {
      actual = QString::number(window.timer1()->interval());
    } else if (read == "exclusions") {
      actual = QString("shown %1 %2, stored %3 %4, used %5")
                   .arg(started.find<QLineEdit>("DowelEx")->text())
                   .arg(started.find<DigitSpinner>("VScrollDr")->value())
                   .arg(started.stored("Settings/DowellExclusion"))
                   .arg(started.stored("Settings/DrillExclusion"))
                   .arg(window.session().Settings().drillExclusion);
    } else {
      actual = started.boxState(read);
    }
    QCOMPARE(actual, expected);
    QVERIFY(started.asker().questions.empty());
  }

  void masksTurnStarsIntoBlanksAndAMissingOneDisablesTheOmissionRules_data() {
    QTest::addColumn<QString>("masks");
    QTest::addColumn<QString>("mask3");
    QTest::addColumn<QString>("rules");
    QTest::newRow("all four") << QString("Mask1=*******1\nMask2=2\nMask3=3*\nMask4=*******4\n")
                              << "3       " << QString("1 enabled, stored \"1\"");
    QTest::newRow("third missing") << QString("Mask1=*******1\nMask2=2\nMask4=*******4\n")
                                   << "        " << QString("1 disabled, stored \"1\"");
  }
  void masksTurnStarsIntoBlanksAndAMissingOneDisablesTheOmissionRules() {
    QFETCH(QString, masks);
    QFETCH(QString, mask3);
    QFETCH(QString, rules);
    StartedWindow started("[HorizontalRename]\n" + masks.toStdString() +
                          "[Settings]\nNoEmpties=1\nNoDuplicates=1\n");
    const tessaro::TranslationSettings& settings = started.window().session().Settings();
    QCOMPARE(Q(settings.masks[3]), mask3);
    QCOMPARE(Q(settings.masks[4]), QString("       4"));
    QCOMPARE(settings.omissionRulesEnabled, rules.contains(" enabled"));
    // Enabled or not, their ticks stay.
    QCOMPARE(started.boxState("NoEmpties"), "NoEmpties " + rules);
    QCOMPARE(started.boxState("NoDupes"), "NoDupes " + rules);
  }

  void storedFoldersAreListedAndShownWhole() {
    TempFolder work;
    work.Write("src/PART", "G71\n");
    work.Write("src/PART.NC", "G71\n");
    const std::string deepName =
        "a-folder-name-of-forty-characters-long-1/another-folder-name-forty-characters-long2";
    for (const char* name : {"/PART1.RCM", "/PART2.rcm", "/PART3.ACC"})
      work.Write(deepName + name, "x");
    const std::string deep = work.File(deepName);
    QVERIFY(deep.size() > 79);
    StartedWindow started("[Settings]\nRCM=YES\nSourcePath=" + work.path() +
                          "/src/\nDestinationPath=" + deep + "/\n");
    auto* dPath = started.find<QLabel>("DPath");
    QCOMPARE(dPath->text(), Q(deep + "/"));
    // Shortened in the middle on screen, whole in its tooltip.
    started.window().show();
    started.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&started.window()));
    QTest::mouseMove(dPath, QPoint(5, dPath->height() / 2));  // the pointer rests on it
    QTRY_COMPARE(QToolTip::text(), Q(deep + "/"));
    QCOMPARE(Listed(started.window().file1()), QStringList({"PART"}));
    QCOMPARE(Listed(started.window().file2()), QStringList({"PART1.RCM", "PART2.rcm"}));
    QCOMPARE(Q(started.window().session().Settings().destinationFolder), Q(deep));
  }

  void aFolderThatCannotBeListedIsSkippedWithItsReasonOnStandardError() {
    TempFolder work;
    std::ostringstream errors;
    std::streambuf* const standardError = std::cerr.rdbuf(errors.rdbuf());
    StartedWindow started("[Settings]\nSourcePath=" + work.File("gone") + "/\n");
    std::cerr.rdbuf(standardError);
    COMPARE_STD(errors.str(), "Tessaro start-up: step skipped: Cannot read the folder " +
                                  work.File("gone") + ": No such file or directory\n");
    QCOMPARE(Q(started.window().file1()->path()), Q(started.current().path()));
    QVERIFY(started.asker().told.empty());
  }

  void startUpShowsTheAboutBoxFirstAndGoesOnOnceItIsClosed() {
    TempFolder home;
    home.Write("Tessaro.INI", "[Settings]\nScanTime=2\n");
    ScriptedOperator asker;
    tessaro::desktop::MainWindow window(asker, home.PathWithSeparator());
    QString shown;
    WhenModal<AboutBox>(&window, [&](AboutBox& about) {
      shown = about.windowTitle() + ", " + about.findChild<QLabel*>("lblVersion")->text() +
              ", interval " + QString::number(window.timer1()->interval());
      QTest::mouseClick(about.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    window.StartUp();
    QCOMPARE(shown, QString("About Tessaro, Version " TESSARO_VERSION ", interval 5000"));
    QCOMPARE(window.timer1()->interval(), 2000);
  }

  void destinationListLeavesHiddenProgramsOut() {
    TempFolder work;
    work.Write("PART1.RCM", "x");
    const std::string hidden = work.Write("PART2.RCM", "x");
    tessaro::SetFileAttributes(hidden, tessaro::kHiddenAttribute);
    if (!tessaro::IsHidden(hidden)) QSKIP("this file system keeps no hidden attribute");
    StartedWindow started("[Settings]\nRCM=YES\nDestinationPath=" + work.path() + "\n");
    QCOMPARE(Listed(started.window().file2()), QStringList({"PART1.RCM"}));
  }

  void windowPositionIsRestoredFromTwipsOntoAScreen_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("on the screen") << "Top=1500\nLeft=3000" << QPoint(200, 100);
    QTest::newRow("off every screen: onto the primary one")
        << "Top=-300000\nLeft=900000"
        << QGuiApplication::primaryScreen()->availableGeometry().topLeft();
  }
  void windowPositionIsRestoredFromTwipsOntoAScreen() {
    QFETCH(QString, stored);
    QFETCH(QPoint, position);
    StartedWindow started("[Window]\n" + stored.toStdString() + "\n");
    QCOMPARE(started.window().pos(), position);
  }

  void shutdownWritesOnlyTheWindowPositionInTwips() {
    StartedWindow started("[Settings]\nAutoScan= 1\nDrillExclusion=3\n[Window]\nTop=1500\n");
    started.window().show();
    started.window().move(-50, 10);  // partly left of the screen
    auto before = StoredLines(started.home().Read("Tessaro.INI"));
    QSignalSpy shutDown(&started.window(), &tessaro::desktop::MainWindow::shutDown);
    QVERIFY(started.window().close());
    QCOMPARE(shutDown.count(), 1);
    before["Window/Top"] = "150";
    before["Window/Left"] = "-750";
    QCOMPARE(StoredLines(started.home().Read("Tessaro.INI")), before);
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
