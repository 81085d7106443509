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
  // Automatic deletion asks before it is ticked, and needs automatic translation.
  void automaticModesFollowClicksAndTheQuestion() {
    StartedWindow started("[Settings]\nAutoScan=1\n");
    const auto states = [&] {
      return started.Box("AutoScan", "AutoScan") + "; " + started.Box("AutoDel", "AutoDelete");
    };
    Click(started.find<OptionCheckBox>("AutoDel"));  // answered No
    QCOMPARE(states(), QString("1 enabled, AutoScan= 1; 0 enabled, AutoDelete= 0"));
    started.asker.answer = true;
    Click(started.find<OptionCheckBox>("AutoDel"));
    QCOMPARE(states(), QString("1 enabled, AutoScan= 1; 1 enabled, AutoDelete= 1"));
    Click(started.find<OptionCheckBox>("AutoScan"));
    QCOMPARE(states(), QString("0 enabled, AutoScan= 0; 1 disabled, AutoDelete= 1"));
    Click(started.find<OptionCheckBox>("AutoScan"));
    Click(started.find<OptionCheckBox>("AutoDel"));  // unticking asks nothing
    QCOMPARE(states(), QString("1 enabled, AutoScan= 1; 0 enabled, AutoDelete= 0"));
    QCOMPARE(started.asker.questions.size(), size_t{2});
  }

  void omissionRulesAreStoredWithoutABlankAndOnlyWhenChanged() {
    StartedWindow started("[HorizontalRename]\nMask1=A\nMask2=B\nMask3=C\nMask4=D\n");
    started.find<OptionCheckBox>("NoEmpties")->setValue(0);  // the value shown: runs nothing
    QCOMPARE(StoredLine(started.home, "NoEmpties"), QString());
    Click(started.find<OptionCheckBox>("NoEmpties"));
    QCOMPARE(started.Box("NoEmpties", "NoEmpties"), QString("1 enabled, NoEmpties=1"));
    QCOMPARE(started.window().session().Settings().noEmpties, 1);
  }

  void exclusionTyping_data() {
    QTest::addColumn<bool>("behind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a second digit keeps the first") << true << "3"
                                                    << "7";
    QTest::newRow("a digit in place of the digit") << false << "4"
                                                   << "4";
    QTest::newRow("a letter in place of the digit") << false << "a"
                                                    << "0";
    QTest::newRow("cleared") << false << ""
                             << "0";
  }
  void exclusionTyping() {
    QFETCH(bool, behind);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    StartedWindow started("[Settings]\nDrillExclusion=7\n");
    auto* drillEx = started.find<QLineEdit>("DrillEx");
    drillEx->setFocus();
    behind ? drillEx->end(false) : drillEx->selectAll();
    if (typed.isEmpty()) QTest::keyClick(drillEx, Qt::Key_Delete);
    QTest::keyClicks(drillEx, typed);
    QCOMPARE(drillEx->text(), shown);
    QCOMPARE(StoredLine(started.home, "DrillExclusion"), "DrillExclusion=" + shown);
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
      return started.Box("AutoScan", "AutoScan") + "; " + started.Box("AutoDel", "AutoDelete");
    };
    Click(started.find<QToolButton>("DDir"));
    Click(started.find<QToolButton>("DDir"));  // the folder shown: both modes stay
    QCOMPARE(states(), QString("1 enabled, AutoScan= 1; 1 enabled, AutoDelete= 1"));
    Click(started.find<QToolButton>("DDir"));
    QCOMPARE(states(), QString("0 enabled, AutoScan= 0; 0 disabled, AutoDelete= 0"));
    QCOMPARE(offered, QStringList({Q(dst), Q(dst), Q(dst)}));
    QCOMPARE(started.find<QLabel>("DPath")->text(), Q(work.path() + "/out/"));
    QCOMPARE(StoredLine(started.home, "DestinationPath"),
             Q("DestinationPath=" + work.path() + "/out/"));
    QCOMPARE(Listed(started.window().file2()), QStringList({"P1.ACC"}));
    COMPARE_STD(started.window().session().Settings().destinationFolder, work.path() + "/out");
  }
};

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
