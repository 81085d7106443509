// Start-up from the settings file, and shutdown.
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <tuple>

#include "desktop/digit_spinner.h"
#include "desktop/option_check_box.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "window_fixture.h"

using tessaro::desktop::DigitSpinner;
using tessaro::desktop::OptionCheckBox;
using tessaro::testing::Q;
using tessaro::testing::ShownWindow;
using tessaro::testing::StartedWindow;
using tessaro::testing::StoredLines;

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutSettingsFileEverythingTakesItsDefault() {
    StartedWindow started;
    auto& window = started.window();
    QCOMPARE(window.windowTitle(), QString("Tessaro"));
    QCOMPARE(Q(window.file1()->pattern()), QString("*."));
    QCOMPARE(window.timer1()->interval(), 5000);
    QVERIFY(window.timer1()->isActive());
    QCOMPARE(started.boxState("AutoScan"), QString("AutoScan 0 enabled, stored \"<not stored>\""));
    QCOMPARE(started.boxState("AutoDel"), QString("AutoDel 0 disabled, stored \"<not stored>\""));
    // All masks blank: the omission rules are disabled.
    QCOMPARE(started.boxState("NoEmpties"),
             QString("NoEmpties 0 disabled, stored \"<not stored>\""));
    // Both lists stay on the process's current folder.
    QCOMPARE(Q(window.file1()->path()), Q(started.current().path()));
    QCOMPARE(Q(window.file2()->path()), Q(started.current().path()));
    QCOMPARE(Q(window.session().Settings().destinationFolder), Q(started.current().path()));
    QVERIFY(!window.session().Settings().omissionRulesEnabled);
    QVERIFY(started.asker().questions.empty() && started.asker().told.empty());
    // Only the exclusions are written back.
    const std::map<std::string, std::string> expected = {{"Settings/DowellExclusion", "0"},
                                                         {"Settings/DrillExclusion", "0"}};
    QCOMPARE(StoredLines(started.home().Read("Tessaro.INI")), expected);
  }

  void yesInAnyLetterCaseChoosesRcmAndShowsTheDeleteButton_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("extension");
    QTest::newRow("YES") << QString("YES") << "RCM";
    QTest::newRow("yes") << QString("yes") << "RCM";
    QTest::newRow("Y") << QString("Y") << "ACC";
    QTest::newRow("empty") << QString("") << "ACC";
  }
  void yesInAnyLetterCaseChoosesRcmAndShowsTheDeleteButton() {
    QFETCH(QString, stored);
    QFETCH(QString, extension);
    StartedWindow started("[Settings]\nRCM=" + stored.toStdString() +
                          "\nDeleteButtonVisible=" + stored.toStdString() + "\n");
    QCOMPARE(started.window().session().Settings().rcmFormat, extension == "RCM");
    QCOMPARE(started.find<QGroupBox>("DestFrame")->title(), extension + " Files (Destination)");
    QCOMPARE(started.find<QPushButton>("RpAF")->text(), "Delete all " + extension + " Files");
    QCOMPARE(Q(started.window().file2()->pattern()), "*." + extension);
    QCOMPARE(started.find<QPushButton>("RpAF")->isHidden(), extension == "ACC");
  }

  void facePriorityAndScanTime_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("priority");
    QTest::addColumn<int>("interval");
    QTest::newRow("priority of five") << QString("FacePriority=12345") << "3412" << 5000;
    QTest::newRow("priority of two") << QString("FacePriority=21") << "21" << 5000;
    QTest::newRow("2.5 seconds") << QString("ScanTime=2.5") << "3412" << 2500;
    QTest::newRow("zero seconds") << QString("ScanTime=0") << "3412" << 5000;
    QTest::newRow("letters") << QString("ScanTime=abc") << "3412" << 5000;
    QTest::newRow("70 seconds, over the limit") << QString("ScanTime=70") << "3412" << 5000;
    QTest::newRow("65.535 seconds") << QString("ScanTime=65.535") << "3412" << 65535;
  }
  void facePriorityAndScanTime() {
    QFETCH(QString, stored);
    QFETCH(QString, priority);
    QFETCH(int, interval);
    StartedWindow started("[Settings]\n" + stored.toStdString() + "\n");
    QCOMPARE(Q(started.window().session().Settings().facePriority), priority);
    QCOMPARE(started.window().timer1()->interval(), interval);
  }

  void exclusionsAreNormalisedAndWrittenBack_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("digit");
    QTest::newRow("12") << "12" << 1;
    QTest::newRow("-3") << "-3" << 0;
    QTest::newRow("letter") << "x" << 0;
    QTest::newRow("9 with blanks") << " 9 " << 9;
  }
  void exclusionsAreNormalisedAndWrittenBack() {
    QFETCH(QString, stored);
    QFETCH(int, digit);
    StartedWindow started("[Settings]\nDowellExclusion=" + stored.toStdString() +
                          "\nDrillExclusion=" + stored.toStdString() + "\n");
    const tessaro::TranslationSettings& settings = started.window().session().Settings();
    QCOMPARE(started.find<QLineEdit>("DowelEx")->text(), QString::number(digit));
    QCOMPARE(started.find<QLineEdit>("DrillEx")->text(), QString::number(digit));
    QCOMPARE(started.find<DigitSpinner>("VScrollDw")->value(), digit);
    QCOMPARE(started.find<DigitSpinner>("VScrollDr")->value(), digit);
    QCOMPARE(started.stored("Settings/DowellExclusion"), QString::number(digit));
    QCOMPARE(started.stored("Settings/DrillExclusion"), QString::number(digit));
    QCOMPARE(settings.dowelExclusion, digit);
    QCOMPARE(settings.drillExclusion, digit);
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

  void checkBoxesTakeOnlyTheirValues_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("state");
    QTest::newRow("rule 2") << QString("NoDuplicates=2") << "NoDupes 2 disabled, stored \"2\"";
    QTest::newRow("rule 1.5") << QString("NoDuplicates=1.5")
                              << "NoDupes 0 disabled, stored \"1.5\"";
    QTest::newRow("deletion without translation")
        << QString("AutoDelete=1\nAutoScan=0") << "AutoDel 1 disabled, stored \" 1\"";
    QTest::newRow("deletion with translation")
        << QString("AutoScan=1\nAutoDelete=0") << "AutoDel 0 enabled, stored \"0\"";
    QTest::newRow("translation 5") << QString("AutoScan=5") << "AutoScan 0 enabled, stored \"5\"";
    // 2.4 rounds to 2: greyed, which is no confirmation and not enabled.
    QTest::newRow("deletion 2.4") << QString("AutoDelete=2.4")
                                  << "AutoDel 2 disabled, stored \" 2\"";
  }
  void checkBoxesTakeOnlyTheirValues() {
    QFETCH(QString, stored);
    QFETCH(QString, state);
    StartedWindow started("[Settings]\n" + stored.toStdString() + "\n");
    QCOMPARE(started.boxState(state.section(' ', 0, 0)), state);
    QVERIFY(started.asker().questions.empty());
  }

  void storedFoldersAreListedAndShownWhole() {
    tessaro::testing::TempFolder work;
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
    QCOMPARE(started.find<QLabel>("SPath")->text(), Q(work.path() + "/src/"));
    QCOMPARE(started.find<QLabel>("DPath")->text(), Q(deep + "/"));
    QCOMPARE(ShownWindow::Listed(started.window().file1()), QStringList({"PART"}));
    QCOMPARE(ShownWindow::Listed(started.window().file2()),
             QStringList({"PART1.RCM", "PART2.rcm"}));
    QCOMPARE(Q(started.window().session().Settings().destinationFolder), Q(deep));
  }

  void destinationListLeavesHiddenProgramsOut() {
    tessaro::testing::TempFolder work;
    work.Write("PART1.RCM", "x");
    const std::string hidden = work.Write("PART2.RCM", "x");
    tessaro::SetFileAttributes(hidden, tessaro::kHiddenAttribute);
    if (!tessaro::IsHidden(hidden)) QSKIP("this file system keeps no hidden attribute");
    StartedWindow started("[Settings]\nRCM=YES\nDestinationPath=" + work.path() + "\n");
    QCOMPARE(ShownWindow::Listed(started.window().file2()), QStringList({"PART1.RCM"}));
  }

  void aFolderThatCannotBeOpenedLeavesTheListOnTheCurrentFolder() {
    tessaro::testing::TempFolder work;
    StartedWindow started("[Settings]\nSourcePath=" + work.path() + "/gone/\n");
    QCOMPARE(started.find<QLabel>("SPath")->text(), Q(work.path() + "/gone/"));
    QCOMPARE(Q(started.window().file1()->path()), Q(started.current().path()));
    QVERIFY(started.asker().told.empty());
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
    auto after = StoredLines(started.home().Read("Tessaro.INI"));
    QCOMPARE(Q(after["Window/Top"] + " " + after["Window/Left"]), QString("150 -750"));
    after.erase("Window/Top");
    after.erase("Window/Left");
    before.erase("Window/Top");
    QCOMPARE(after, before);
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
