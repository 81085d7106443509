// The options of the main window: what each control's handling does and writes.
#include <QLabel>
#include <QToolButton>
#include <deque>

#include "desktop/digit_spinner.h"
#include "program/session.h"
#include "window_fixture.h"

using tessaro::desktop::DigitSpinner;
using tessaro::desktop::OptionCheckBox;
using namespace tessaro::testing;

namespace {

void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

}  // namespace

class OptionsTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void clickingAutomaticDeletion_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("state");
    QTest::newRow("No") << QString("AutoScan=1") << false << 1 << "0 enabled, stored \" 0\"";
    QTest::newRow("Yes") << QString("AutoScan=1") << true << 1 << "1 enabled, stored \" 1\"";
    QTest::newRow("unticking asks nothing")
        << QString("AutoScan=1\nAutoDelete=1") << true << 0 << "0 enabled, stored \" 0\"";
  }
  void clickingAutomaticDeletion() {
    QFETCH(QString, stored);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(QString, state);
    StartedWindow started("[Settings]\n" + stored.toStdString() + "\n");
    started.asker().answers = {answer};
    Click(started.find<OptionCheckBox>("AutoDel"));
    QCOMPARE(started.asker().questions.size(), size_t(questions));
    QCOMPARE(started.boxState("AutoDel"), "AutoDel " + state);
  }

  void clickingAutomaticTranslation_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("states");
    QTest::newRow("unticked") << QString("AutoScan=0")
                              << "AutoScan 1 enabled, stored \" 1\"; "
                                 "AutoDel 0 enabled, stored \"<not stored>\"";
    QTest::newRow("ticked: deletion disabled but kept")
        << QString("AutoScan=1\nAutoDelete=1")
        << "AutoScan 0 enabled, stored \" 0\"; AutoDel 1 disabled, stored \" 1\"";
  }
  void clickingAutomaticTranslation() {
    QFETCH(QString, stored);
    QFETCH(QString, states);
    StartedWindow started("[Settings]\n" + stored.toStdString() + "\n");
    Click(started.find<OptionCheckBox>("AutoScan"));
    QCOMPARE(started.boxState("AutoScan") + "; " + started.boxState("AutoDel"), states);
    QVERIFY(started.asker().questions.empty());
  }

  void omissionRulesAreStoredWithoutABlankAndOnlyWhenChanged() {
    StartedWindow started("[HorizontalRename]\nMask1=A\nMask2=B\nMask3=C\nMask4=D\n");
    started.find<OptionCheckBox>("NoEmpties")->setValue(0);  // the value shown: runs nothing
    QCOMPARE(started.stored("Settings/NoEmpties"), QString("<not stored>"));
    Click(started.find<OptionCheckBox>("NoEmpties"));
    QCOMPARE(started.boxState("NoEmpties"), QString("NoEmpties 1 enabled, stored \"1\""));
    QCOMPARE(started.window().session().Settings().noEmpties, 1);
    Click(started.find<OptionCheckBox>("NoDupes"));
    Click(started.find<OptionCheckBox>("NoDupes"));
    QCOMPARE(started.boxState("NoDupes"), QString("NoDupes 0 enabled, stored \"0\""));
  }

  void exclusionTyping_data() {
    QTest::addColumn<bool>("behind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, bool behind, const char* typed, const char* shown) {
      QTest::newRow(name) << behind << QString(typed) << QString(shown);
    };
    row("a second digit keeps the first", true, "3", "7");
    row("a digit in place of the digit", false, "4", "4");
    row("a letter in place of the digit", false, "a", "0");
    row("cleared", false, "", "0");
  }
  void exclusionTyping() {
    QFETCH(bool, behind);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    StartedWindow started("[Settings]\nDrillExclusion=7\n");
    auto* drillEx = started.find<QLineEdit>("DrillEx");
    drillEx->setFocus();
    behind ? drillEx->end(false) : drillEx->selectAll();
    // As an operator types: the typed keys, or Delete over the selection.
    if (typed.isEmpty()) QTest::keyClick(drillEx, Qt::Key_Delete);
    QTest::keyClicks(drillEx, typed);
    QCOMPARE(drillEx->text(), shown);
    QCOMPARE(started.stored("Settings/DrillExclusion"), shown);
    QCOMPARE(started.find<DigitSpinner>("VScrollDr")->value(), shown.toInt());
    QCOMPARE(started.window().session().Settings().drillExclusion, shown.toInt());
  }

  void theUpperArrowRaisesTheDigitAndTheLowerOneLowersIt() {
    StartedWindow started("[Settings]\nDowellExclusion=8\n");
    auto* spinner = started.find<DigitSpinner>("VScrollDw");
    QString shown;
    for (QAbstractButton* arrow :
         {spinner->upArrow(), spinner->upArrow(), spinner->downArrow(), spinner->downArrow()}) {
      Click(arrow);
      shown += started.find<QLineEdit>("DowelEx")->text();
    }
    QCOMPARE(shown, QString("9987"));  // 9 is the top
    QCOMPARE(started.window().session().Settings().dowelExclusion, 7);
  }

  void choosingAnotherFolderClearsBothAutomaticModes() {
    TempFolder work;
    work.Write("out/P1.ACC", "x");
    const std::string dst = work.MakeFolder("dst");
    StartedWindow started("[Settings]\nAutoScan=1\nAutoDelete=1\nDestinationPath=" + dst + "\n");
    QStringList offered;
    std::deque<std::string> answers = {"", dst + "/", work.path() + "/out/"};  // "" is Cancel
    started.window().setFolderChooser([&](const std::string& initial) {
      offered << Q(initial);
      const std::string answer = answers.front();
      answers.pop_front();
      return answer;
    });
    const auto states = [&] {
      return started.boxState("AutoScan") + "; " + started.boxState("AutoDel");
    };

    Click(started.find<QToolButton>("DDir"));
    Click(started.find<QToolButton>("DDir"));  // the folder shown: both modes stay
    QCOMPARE(states(),
             QString("AutoScan 1 enabled, stored \" 1\"; AutoDel 1 enabled, stored \" 1\""));
    Click(started.find<QToolButton>("DDir"));
    QCOMPARE(states(),
             QString("AutoScan 0 enabled, stored \" 0\"; AutoDel 0 disabled, stored \" 0\""));

    QCOMPARE(offered, QStringList({Q(dst), Q(dst), Q(dst)}));
    QCOMPARE(started.find<QLabel>("DPath")->text(), Q(work.path() + "/out/"));
    QCOMPARE(started.stored("Settings/DestinationPath"), Q(work.path() + "/out/"));
    QCOMPARE(Listed(started.window().file2()), QStringList({"P1.ACC"}));
    COMPARE_STD(started.window().session().Settings().destinationFolder, work.path() + "/out");
  }
};

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
