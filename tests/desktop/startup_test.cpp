// Start-up from the settings file, and shutdown.
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "desktop/digit_spinner.h"
#include "desktop/file_list_box.h"
#include "desktop/option_check_box.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "window_fixture.h"

using tessaro::desktop::DigitSpinner;
using tessaro::desktop::FileListBox;
using tessaro::desktop::OptionCheckBox;
using tessaro::testing::kNotStored;
using tessaro::testing::StartedWindow;

namespace {

QStringList Names(const FileListBox& list) {
  QStringList names;
  for (int i = 0; i < list.count(); ++i) names << list.item(i)->text();
  return names;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutSettingsFileEverythingTakesItsDefault() {
    StartedWindow started;
    auto& window = started.window();
    QCOMPARE(window.windowTitle(), QString("Tessaro"));
    QCOMPARE(window.programExtension(), std::string("ACC"));
    QCOMPARE(window.rcmFormat(), false);
    QCOMPARE(started.find<QGroupBox>("DestFrame")->title(), QString("ACC Files (Destination)"));
    QCOMPARE(started.find<QPushButton>("RpAF")->text(), QString("Delete all ACC Files"));
    QVERIFY(started.find<QPushButton>("RpAF")->isHidden());
    QCOMPARE(Q(window.file1()->pattern()), QString("*."));
    QCOMPARE(Q(window.file2()->pattern()), QString("*.ACC"));
    QCOMPARE(window.timer1()->interval(), 5000);
    QVERIFY(window.timer1()->isActive());

    auto* autoScan = started.find<OptionCheckBox>("AutoScan");
    auto* autoDel = started.find<OptionCheckBox>("AutoDel");
    QCOMPARE(autoScan->value(), 0);
    QVERIFY(autoScan->isEnabled());
    QCOMPARE(autoDel->value(), 0);
    QVERIFY(!autoDel->isEnabled());
    // All masks blank: the omission rules are disabled.
    QVERIFY(!started.find<OptionCheckBox>("NoEmpties")->isEnabled());
    QVERIFY(!started.find<OptionCheckBox>("NoDupes")->isEnabled());
    QCOMPARE(started.find<OptionCheckBox>("NoEmpties")->value(), 0);

    QCOMPARE(started.find<QLineEdit>("DrillEx")->text(), QString("0"));
    QCOMPARE(started.find<QLineEdit>("DowelEx")->text(), QString("0"));
    QCOMPARE(started.find<DigitSpinner>("VScrollDr")->value(), 0);
    QCOMPARE(started.find<QLabel>("SPath")->text(), QString(""));
    QCOMPARE(started.find<QLabel>("DPath")->text(), QString(""));
    // Both lists stay on the process's current folder.
    QCOMPARE(Q(window.file1()->path()), Q(started.current().path()));
    QCOMPARE(Q(window.file2()->path()), Q(started.current().path()));
    QCOMPARE(window.pos(), QPoint(0, 0));

    const tessaro::TranslationSettings& settings = window.session().Settings();
    QCOMPARE(settings.rcmFormat, false);
    QCOMPARE(Q(settings.facePriority), QString("3412"));
    QCOMPARE(Q(settings.masks[1]), QString("        "));
    QCOMPARE(Q(settings.destinationFolder), Q(started.current().path()));
    QCOMPARE(Q(settings.appFolder), Q(started.home().PathWithSeparator()));
    QCOMPARE(settings.omissionRulesEnabled, false);

    QVERIFY(started.asker().questions.empty());
    QVERIFY(started.asker().told.empty());
    QVERIFY(!window.startingUp());
  }

  void withoutSettingsFileOnlyTheExclusionsAreWrittenBack() {
    StartedWindow started;
    const auto stored = tessaro::testing::StoredLines(started.home().Read("Tessaro.INI"));
    const std::map<std::string, std::string> expected = {{"Settings/DowellExclusion", "0"},
                                                         {"Settings/DrillExclusion", "0"}};
    QCOMPARE(stored, expected);
  }

  void rcmFormat_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("extension");
    QTest::newRow("YES") << "YES"
                         << "RCM";
    QTest::newRow("yes") << "yes"
                         << "RCM";
    QTest::newRow("Yes") << "Yes"
                         << "RCM";
    QTest::newRow("Y") << "Y"
                       << "ACC";
    QTest::newRow("TRUE") << "TRUE"
                          << "ACC";
    QTest::newRow("empty") << ""
                           << "ACC";
  }
  void rcmFormat() {
    QFETCH(QString, stored);
    QFETCH(QString, extension);
    StartedWindow started("[Settings]\nRCM=" + stored.toStdString() + "\n");
    QCOMPARE(Q(started.window().programExtension()), extension);
    QCOMPARE(started.window().session().Settings().rcmFormat, extension == "RCM");
    QCOMPARE(started.find<QGroupBox>("DestFrame")->title(), extension + " Files (Destination)");
    QCOMPARE(started.find<QPushButton>("RpAF")->text(), "Delete all " + extension + " Files");
    QCOMPARE(Q(started.window().file2()->pattern()), "*." + extension);
  }

  void facePriority_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("priority");
    QTest::newRow("five characters") << "12345"
                                     << "3412";
    QTest::newRow("two characters") << "21"
                                    << "21";
    QTest::newRow("four characters") << "4321"
                                     << "4321";
    QTest::newRow("empty") << ""
                           << "3412";
  }
  void facePriority() {
    QFETCH(QString, stored);
    QFETCH(QString, priority);
    StartedWindow started("[Settings]\nFacePriority=" + stored.toStdString() + "\n");
    QCOMPARE(Q(started.window().session().Settings().facePriority), priority);
  }

  void scanTime_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("interval");
    QTest::newRow("2.5 seconds") << "2.5" << 2500;
    QTest::newRow("zero") << "0" << 5000;
    QTest::newRow("letters") << "abc" << 5000;
    QTest::newRow("70 seconds, over the limit") << "70" << 5000;
    QTest::newRow("65.535 seconds") << "65.535" << 65535;
  }
  void scanTime() {
    QFETCH(QString, stored);
    QFETCH(int, interval);
    StartedWindow started("[Settings]\nScanTime=" + stored.toStdString() + "\n");
    QCOMPARE(started.window().timer1()->interval(), interval);
  }

  void exclusionsAreNormalisedAndWrittenBack_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("digit");
    QTest::addColumn<int>("spinner");
    QTest::newRow("12") << "12"
                        << "1" << 1;
    QTest::newRow("-3") << "-3"
                        << "0" << 0;
    QTest::newRow("letter") << "x"
                            << "0" << 0;
    QTest::newRow("7") << "7"
                       << "7" << 7;
    QTest::newRow("9 with blanks") << " 9 "
                                   << "9" << 9;
  }
  void exclusionsAreNormalisedAndWrittenBack() {
    QFETCH(QString, stored);
    QFETCH(QString, digit);
    QFETCH(int, spinner);
    StartedWindow started("[Settings]\nDowellExclusion=" + stored.toStdString() +
                          "\nDrillExclusion=" + stored.toStdString() + "\n");
    QCOMPARE(started.find<QLineEdit>("DowelEx")->text(), digit);
    QCOMPARE(started.find<QLineEdit>("DrillEx")->text(), digit);
    QCOMPARE(started.find<DigitSpinner>("VScrollDw")->value(), spinner);
    QCOMPARE(started.find<DigitSpinner>("VScrollDr")->value(), spinner);
    QCOMPARE(started.stored("Settings/DowellExclusion"), digit);
    QCOMPARE(started.stored("Settings/DrillExclusion"), digit);
    QCOMPARE(started.window().session().Settings().dowelExclusion, spinner);
    QCOMPARE(started.window().session().Settings().drillExclusion, spinner);
  }

  void masksTurnStarsIntoBlanks() {
    StartedWindow started(
        "[HorizontalRename]\nMask1=AB**CD**\nMask2=*******2\nMask3=*******3\nMask4=*******4\n"
        "[Settings]\nNoEmpties=1\nNoDuplicates=0\n");
    const tessaro::FaceMasks& masks = started.window().session().Settings().masks;
    QCOMPARE(Q(masks[1]), QString("AB  CD  "));
    QCOMPARE(Q(masks[4]), QString("       4"));
    QVERIFY(started.find<OptionCheckBox>("NoEmpties")->isEnabled());
    QVERIFY(started.find<OptionCheckBox>("NoDupes")->isEnabled());
    QCOMPARE(started.window().session().Settings().omissionRulesEnabled, true);
  }

  void aMissingMaskDisablesEmptiesAndDuplicates() {
    StartedWindow started(
        "[HorizontalRename]\nMask1=*******1\nMask2=*******2\nMask4=*******4\n"
        "[Settings]\nNoEmpties=1\nNoDuplicates=1\n");
    QCOMPARE(Q(started.window().session().Settings().masks[3]), QString("        "));
    auto* noEmpties = started.find<OptionCheckBox>("NoEmpties");
    auto* noDupes = started.find<OptionCheckBox>("NoDupes");
    QVERIFY(!noEmpties->isEnabled());
    QVERIFY(!noDupes->isEnabled());
    // Disabled, yet their ticks stay.
    QCOMPARE(noEmpties->value(), 1);
    QCOMPARE(noDupes->value(), 1);
    QCOMPARE(started.window().session().Settings().omissionRulesEnabled, false);
  }

  void omissionRulesReadStrictWholeNumbers_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("1") << "1" << 1 << "1";
    QTest::newRow("0") << "0" << 0 << "0";
    QTest::newRow("2, greyed") << "2" << 2 << "2";
    QTest::newRow("fraction") << "1.5" << 0 << "1.5";
    QTest::newRow("letters") << "yes" << 0 << "yes";
    QTest::newRow("3, no box value") << "3" << 0 << "3";
  }
  void omissionRulesReadStrictWholeNumbers() {
    QFETCH(QString, stored);
    QFETCH(int, value);
    QFETCH(QString, written);
    StartedWindow started("[Settings]\nNoDuplicates=" + stored.toStdString() + "\n");
    QCOMPARE(started.find<OptionCheckBox>("NoDupes")->value(), value);
    QCOMPARE(started.stored("Settings/NoDuplicates"), written);
    QCOMPARE(started.window().session().Settings().noDupes, value);
  }

  void autoDeleteWithoutAutoScanIsTickedButDisabledAndAsksNothing() {
    StartedWindow started("[Settings]\nAutoDelete=1\nAutoScan=0\n");
    auto* autoDel = started.find<OptionCheckBox>("AutoDel");
    QCOMPARE(autoDel->value(), 1);
    QVERIFY(!autoDel->isEnabled());
    QVERIFY(started.asker().questions.empty());
    QCOMPARE(started.stored("Settings/AutoDelete"), QString(" 1"));
    QCOMPARE(started.stored("Settings/AutoScan"), QString("0"));
  }

  void autoScanStoredOnEnablesAutoDeletion() {
    StartedWindow started("[Settings]\nAutoScan=1\nAutoDelete=0\n");
    QCOMPARE(started.find<OptionCheckBox>("AutoScan")->value(), 1);
    QVERIFY(started.find<OptionCheckBox>("AutoDel")->isEnabled());
    QCOMPARE(started.find<OptionCheckBox>("AutoDel")->value(), 0);
    QCOMPARE(started.stored("Settings/AutoScan"), QString(" 1"));
    QCOMPARE(started.stored("Settings/AutoDelete"), QString("0"));
  }

  void automaticModesOutsideZeroToTwoLeaveTheBoxesUnticked() {
    StartedWindow started("[Settings]\nAutoScan=5\nAutoDelete=2.4\n");
    QCOMPARE(started.find<OptionCheckBox>("AutoScan")->value(), 0);
    // 2.4 rounds to 2: greyed, which is no confirmation and not enabled.
    QCOMPARE(started.find<OptionCheckBox>("AutoDel")->value(), 2);
    QVERIFY(!started.find<OptionCheckBox>("AutoDel")->isEnabled());
    QCOMPARE(started.stored("Settings/AutoDelete"), QString(" 2"));
    QVERIFY(started.asker().questions.empty());
  }

  void storedFoldersAreListedAndShownAsStored() {
    tessaro::testing::TempFolder work;
    work.Write("src/PART", "G71\n");
    work.Write("src/PART.NC", "G71\n");
    work.Write("dst/PART1.RCM", "x");
    work.Write("dst/PART2.rcm", "x");
    work.Write("dst/PART3.ACC", "x");
    const std::string source = work.path() + "/src/";
    const std::string destination = work.path() + "/dst/";
    StartedWindow started("[Settings]\nRCM=YES\nSourcePath=" + source +
                          "\nDestinationPath=" + destination + "\n");
    auto& window = started.window();
    QCOMPARE(started.find<QLabel>("SPath")->text(), Q(source));
    QCOMPARE(started.find<QLabel>("DPath")->text(), Q(destination));
    QCOMPARE(Q(window.file1()->path()), Q(work.path() + "/src"));
    QCOMPARE(Q(window.file2()->path()), Q(work.path() + "/dst"));
    QCOMPARE(Names(*window.file1()), QStringList({"PART"}));
    QCOMPARE(Names(*window.file2()), QStringList({"PART1.RCM", "PART2.rcm"}));
    QCOMPARE(Q(window.session().Settings().destinationFolder), Q(work.path() + "/dst"));
  }

  void destinationListLeavesHiddenProgramsOut() {
    tessaro::testing::TempFolder work;
    work.Write("PART1.RCM", "x");
    const std::string hidden = work.Write("PART2.RCM", "x");
    tessaro::SetFileAttributes(hidden, tessaro::kHiddenAttribute);
    if (!tessaro::IsHidden(hidden)) QSKIP("this file system keeps no hidden attribute");
    StartedWindow started("[Settings]\nRCM=YES\nDestinationPath=" + work.path() + "\n");
    QCOMPARE(Names(*started.window().file2()), QStringList({"PART1.RCM"}));
  }

  void aFolderThatCannotBeOpenedLeavesTheListOnTheCurrentFolder() {
    tessaro::testing::TempFolder work;
    const std::string gone = work.path() + "/gone/";
    StartedWindow started("[Settings]\nSourcePath=" + gone + "\n");
    QCOMPARE(started.find<QLabel>("SPath")->text(), Q(gone));
    QCOMPARE(Q(started.window().file1()->path()), Q(started.current().path()));
    QVERIFY(started.asker().told.empty());
  }

  void aLongFolderPathIsRestoredWhole() {
    tessaro::testing::TempFolder work;
    const std::string deep =
        work.MakeFolder(
            "a-folder-name-of-forty-characters-long-1/another-folder-name-forty-"
            "characters-long2") +
        "/";
    QVERIFY(deep.size() > 79);
    StartedWindow started("[Settings]\nDestinationPath=" + deep + "\n");
    QCOMPARE(started.find<QLabel>("DPath")->text(), Q(deep));
    QCOMPARE(Q(started.window().file2()->path() + "/"), Q(deep));
  }

  void deleteButtonShowsForYesInAnyLetterCase_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("visible");
    QTest::newRow("yes") << "yes" << true;
    QTest::newRow("YES") << "YES" << true;
    QTest::newRow("no") << "NO" << false;
    QTest::newRow("1") << "1" << false;
  }
  void deleteButtonShowsForYesInAnyLetterCase() {
    QFETCH(QString, stored);
    QFETCH(bool, visible);
    StartedWindow started("[Settings]\nDeleteButtonVisible=" + stored.toStdString() + "\n");
    QCOMPARE(!started.find<QPushButton>("RpAF")->isHidden(), visible);
  }

  void windowPositionIsRestoredFromTwips() {
    StartedWindow started("[Window]\nTop=1500\nLeft=3000\n");
    QCOMPARE(started.window().pos(), QPoint(200, 100));
  }

  void aPositionOffEveryScreenMovesOntoThePrimaryScreen() {
    StartedWindow started("[Window]\nTop=-300000\nLeft=900000\n");
    const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(started.window().pos(), primary.topLeft());
  }

  void shutdownWritesOnlyTheWindowPosition() {
    const std::string ini =
        "[Settings]\nAutoScan= 1\nAutoDelete= 0\nDrillExclusion=3\nDowellExclusion=4\n"
        "[Window]\nTop=1500\nLeft=3000\n";
    StartedWindow started(ini);
    started.window().show();
    started.window().move(40, 20);
    auto before = tessaro::testing::StoredLines(started.home().Read("Tessaro.INI"));
    QSignalSpy shutDown(&started.window(), &tessaro::desktop::MainWindow::shutDown);
    QVERIFY(started.window().close());
    QCOMPARE(shutDown.count(), 1);
    auto after = tessaro::testing::StoredLines(started.home().Read("Tessaro.INI"));
    QCOMPARE(Q(after["Window/Top"]), QString("300"));
    QCOMPARE(Q(after["Window/Left"]), QString("600"));
    after.erase("Window/Top");
    after.erase("Window/Left");
    before.erase("Window/Top");
    before.erase("Window/Left");
    QCOMPARE(after, before);
  }

  void shutdownStoresAPositionLeftOfTheScreen() {
    StartedWindow started;
    started.window().move(-50, 10);
    QVERIFY(started.window().close());
    QCOMPARE(started.stored("Window/Top"), QString("150"));
    QCOMPARE(started.stored("Window/Left"), QString("-750"));
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
