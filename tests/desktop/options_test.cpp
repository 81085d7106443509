// The options of the main window: what each control's handling does and writes.
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "desktop/digit_spinner.h"
#include "desktop/file_list_box.h"
#include "desktop/option_check_box.h"
#include "program/session.h"
#include "window_fixture.h"

using tessaro::desktop::DigitSpinner;
using tessaro::desktop::OptionCheckBox;
using tessaro::testing::kNotStored;
using tessaro::testing::StartedWindow;

namespace {

constexpr char kAutoDeleteQuestion[] =
    "Turning this on will Automatically DELETE any RCM files that \r"
    "   do not have matching G-code files in the Source directory.\r"
    "\r"
    "                 Are You Sure You Want To Do This?";

QString Q(const std::string& text) { return QString::fromStdString(text); }

void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// Replaces the box's whole text by typing, as an operator does.
void TypeOver(QLineEdit* box, const QString& typed) {
  box->setFocus();
  box->selectAll();
  if (typed.isEmpty()) {
    QTest::keyClick(box, Qt::Key_Delete);
  } else {
    QTest::keyClicks(box, typed);
  }
}

// Types behind the box's text.
void TypeBehind(QLineEdit* box, const QString& typed) {
  box->setFocus();
  box->end(false);
  QTest::keyClicks(box, typed);
}

}  // namespace

class OptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void checkingAutomaticDeletionAsksAndNoLeavesItOff() {
    StartedWindow started("[Settings]\nAutoScan=1\n");
    started.asker().answers = {false};
    auto* autoDel = started.find<OptionCheckBox>("AutoDel");
    Click(autoDel);
    QCOMPARE(started.asker().questions.size(), size_t{1});
    QCOMPARE(Q(started.asker().questions[0].title), QString("Alert!"));
    QCOMPARE(Q(started.asker().questions[0].text), QString(kAutoDeleteQuestion));
    QCOMPARE(autoDel->value(), 0);
    QCOMPARE(started.stored("Settings/AutoDelete"), QString(" 0"));
  }

  void checkingAutomaticDeletionAnsweredYesStoresItOn() {
    StartedWindow started("[Settings]\nAutoScan=1\n");
    started.asker().answers = {true};
    auto* autoDel = started.find<OptionCheckBox>("AutoDel");
    Click(autoDel);
    QCOMPARE(started.asker().questions.size(), size_t{1});
    QCOMPARE(autoDel->value(), 1);
    QCOMPARE(started.stored("Settings/AutoDelete"), QString(" 1"));
  }

  void uncheckingAutomaticDeletionAsksNothing() {
    StartedWindow started("[Settings]\nAutoScan=1\nAutoDelete=1\n");
    Click(started.find<OptionCheckBox>("AutoDel"));
    QVERIFY(started.asker().questions.empty());
    QCOMPARE(started.stored("Settings/AutoDelete"), QString(" 0"));
  }

  void uncheckingAutomaticTranslationDisablesDeletionButKeepsIt() {
    StartedWindow started("[Settings]\nAutoScan=1\nAutoDelete=1\n");
    auto* autoScan = started.find<OptionCheckBox>("AutoScan");
    auto* autoDel = started.find<OptionCheckBox>("AutoDel");
    QVERIFY(autoDel->isEnabled());
    Click(autoScan);
    QCOMPARE(autoScan->value(), 0);
    QCOMPARE(started.stored("Settings/AutoScan"), QString(" 0"));
    QVERIFY(!autoDel->isEnabled());
    QCOMPARE(autoDel->value(), 1);
    QCOMPARE(started.stored("Settings/AutoDelete"), QString(" 1"));
  }

  void checkingAutomaticTranslationStoresItAndEnablesDeletion() {
    StartedWindow started;
    Click(started.find<OptionCheckBox>("AutoScan"));
    QCOMPARE(started.stored("Settings/AutoScan"), QString(" 1"));
    QVERIFY(started.find<OptionCheckBox>("AutoDel")->isEnabled());
  }

  void aGreyedBoxClickedBecomesUnticked() {
    StartedWindow started("[Settings]\nAutoScan=2\n");
    auto* autoScan = started.find<OptionCheckBox>("AutoScan");
    QCOMPARE(autoScan->value(), 2);
    Click(autoScan);
    QCOMPARE(autoScan->value(), 0);
    QCOMPARE(started.stored("Settings/AutoScan"), QString(" 0"));
    Click(autoScan);
    QCOMPARE(autoScan->value(), 1);
  }

  void settingABoxToTheValueItShowsRunsNothing() {
    StartedWindow started;
    started.find<OptionCheckBox>("AutoScan")->setValue(0);
    started.find<OptionCheckBox>("NoEmpties")->setValue(0);
    started.find<QLineEdit>("DrillEx")->setText("0");
    started.find<DigitSpinner>("VScrollDr")->setValue(0);
    QCOMPARE(started.stored("Settings/AutoScan"), QString(kNotStored));
    QCOMPARE(started.stored("Settings/NoEmpties"), QString(kNotStored));
  }

  void omissionRulesAreStoredWithoutABlank() {
    StartedWindow started("[HorizontalRename]\nMask1=A\nMask2=B\nMask3=C\nMask4=D\n");
    auto* noEmpties = started.find<OptionCheckBox>("NoEmpties");
    auto* noDupes = started.find<OptionCheckBox>("NoDupes");
    Click(noEmpties);
    QCOMPARE(started.stored("Settings/NoEmpties"), QString("1"));
    QCOMPARE(started.window().session().Settings().noEmpties, 1);
    Click(noDupes);
    QCOMPARE(started.stored("Settings/NoDuplicates"), QString("1"));
    Click(noDupes);
    QCOMPARE(started.stored("Settings/NoDuplicates"), QString("0"));
    QCOMPARE(started.window().session().Settings().noDupes, 0);
  }

  void exclusionTyping_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("behind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a second digit keeps the first") << "7" << true << "3"
                                                    << "7";
    QTest::newRow("a digit in place of the digit") << "7" << false << "4"
                                                   << "4";
    QTest::newRow("a letter in place of the digit") << "7" << false << "a"
                                                    << "0";
    QTest::newRow("a minus sign") << "7" << false << "-"
                                  << "0";
    QTest::newRow("cleared") << "7" << false << ""
                             << "0";
    QTest::newRow("a letter behind the digit") << "5" << true << "x"
                                               << "5";
  }
  void exclusionTyping() {
    QFETCH(QString, stored);
    QFETCH(bool, behind);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    StartedWindow started("[Settings]\nDrillExclusion=" + stored.toStdString() + "\n");
    auto* drillEx = started.find<QLineEdit>("DrillEx");
    QCOMPARE(drillEx->text(), stored);
    if (behind) {
      TypeBehind(drillEx, typed);
    } else {
      TypeOver(drillEx, typed);
    }
    QCOMPARE(drillEx->text(), shown);
    QCOMPARE(started.stored("Settings/DrillExclusion"), shown);
    QCOMPARE(started.find<DigitSpinner>("VScrollDr")->value(), shown.toInt());
    QCOMPARE(started.window().session().Settings().drillExclusion, shown.toInt());
  }

  void theUpperArrowRaisesTheDigitAndTheLowerOneLowersIt() {
    StartedWindow started("[Settings]\nDowellExclusion=8\n");
    auto* spinner = started.find<DigitSpinner>("VScrollDw");
    auto* dowelEx = started.find<QLineEdit>("DowelEx");
    Click(spinner->upArrow());
    QCOMPARE(dowelEx->text(), QString("9"));
    QCOMPARE(started.stored("Settings/DowellExclusion"), QString("9"));
    Click(spinner->upArrow());  // 9 is the top
    QCOMPARE(dowelEx->text(), QString("9"));
    Click(spinner->downArrow());
    Click(spinner->downArrow());
    QCOMPARE(dowelEx->text(), QString("7"));
    QCOMPARE(started.stored("Settings/DowellExclusion"), QString("7"));
    QCOMPARE(started.window().session().Settings().dowelExclusion, 7);
  }

  void choosingAnotherFolderClearsBothAutomaticModes() {
    tessaro::testing::TempFolder work;
    work.Write("out/P1.ACC", "x");
    StartedWindow started("[Settings]\nAutoScan=1\nAutoDelete=1\n");
    const std::string chosen = work.path() + "/out/";
    std::string offered;
    started.window().setFolderChooser([&](const std::string& initial) {
      offered = initial;
      return chosen;
    });
    Click(started.find<QToolButton>("DDir"));
    QCOMPARE(Q(offered), Q(started.current().path()));
    QCOMPARE(started.find<OptionCheckBox>("AutoDel")->value(), 0);
    QCOMPARE(started.find<OptionCheckBox>("AutoScan")->value(), 0);
    QCOMPARE(started.stored("Settings/AutoDelete"), QString(" 0"));
    QCOMPARE(started.stored("Settings/AutoScan"), QString(" 0"));
    QCOMPARE(started.find<QLabel>("DPath")->text(), Q(chosen));
    QCOMPARE(started.stored("Settings/DestinationPath"), Q(chosen));
    QCOMPARE(Q(started.window().file2()->path()), Q(work.path() + "/out"));
    QCOMPARE(started.window().file2()->listCount(), 1);
    QCOMPARE(Q(started.window().session().Settings().destinationFolder), Q(work.path() + "/out"));
    QVERIFY(started.asker().questions.empty());
  }

  void choosingTheFolderAlreadyShownClearsNeither() {
    tessaro::testing::TempFolder work;
    work.Write("src/PART", "G71\n");
    StartedWindow started("[Settings]\nAutoScan=1\nAutoDelete=1\nSourcePath=" + work.path() +
                          "/src\n");
    started.window().setFolderChooser([&](const std::string&) { return work.path() + "/src/"; });
    Click(started.find<QToolButton>("SDir"));
    QCOMPARE(started.find<OptionCheckBox>("AutoScan")->value(), 1);
    QCOMPARE(started.find<OptionCheckBox>("AutoDel")->value(), 1);
    QCOMPARE(started.stored("Settings/AutoScan"), QString(" 1"));
    QCOMPARE(started.find<QLabel>("SPath")->text(), Q(work.path() + "/src/"));
    QCOMPARE(started.stored("Settings/SourcePath"), Q(work.path() + "/src/"));
    QCOMPARE(started.window().file1()->listCount(), 1);
  }

  void cancellingTheFolderChoiceChangesNothing() {
    StartedWindow started("[Settings]\nAutoScan=1\nAutoDelete=1\n");
    const std::string before = started.home().Read("Tessaro.INI");
    started.window().setFolderChooser([](const std::string&) { return std::string(); });
    Click(started.find<QToolButton>("SDir"));
    QCOMPARE(Q(started.home().Read("Tessaro.INI")), Q(before));
    QCOMPARE(started.find<OptionCheckBox>("AutoScan")->value(), 1);
    QCOMPARE(started.find<QLabel>("SPath")->text(), QString(""));
  }

  void aChosenFolderThatCannotBeOpenedIsReported() {
    tessaro::testing::TempFolder work;
    StartedWindow started;
    const std::string gone = work.path() + "/gone/";
    started.window().setFolderChooser([&](const std::string&) { return gone; });
    Click(started.find<QToolButton>("SDir"));
    QCOMPARE(started.asker().told.size(), size_t{1});
    QVERIFY(Q(started.asker().told[0].text).contains("gone"));
    QCOMPARE(Q(started.window().file1()->path()), Q(started.current().path()));
  }
};

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
