// The options of the main window: what each control's handling does and writes.
#include <QLabel>
#include <QToolButton>
#include <deque>

#include "program/session.h"
#include "window_fixture.h"

using tessaro::desktop::OptionCheckBox;
using namespace tessaro::testing;

namespace {

void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

}  // namespace

class OptionsTest : public DesktopTest {
  Q_OBJECT

 private slots:
  // Automatic deletion asks before it is ticked and needs automatic translation; another
  // folder clears both. The omission rules are stored without a blank.
  void checkBoxesFollowClicksTheQuestionAndTheFolders() {
    TempFolder work;
    StartedWindow started("[Settings]\nAutoScan=1\nDestinationPath=" + work.path() +
                          "\n[HorizontalRename]\nMask1=A\nMask2=B\nMask3=C\nMask4=D\n");
    const auto states = [&] {
      return started.Box("AutoScan", "AutoScan") + "; " + started.Box("AutoDel", "AutoDelete");
    };
    Click(started.find<OptionCheckBox>("AutoDel"));  // answered No
    QCOMPARE(states(), QString("1 enabled, AutoScan= 1; 0 enabled, AutoDelete= 0"));
    started.asker.answer = true;
    Click(started.find<OptionCheckBox>("AutoDel"));
    Click(started.find<OptionCheckBox>("AutoScan"));
    QCOMPARE(states(), QString("0 enabled, AutoScan= 0; 1 disabled, AutoDelete= 1"));
    Click(started.find<OptionCheckBox>("AutoScan"));
    QCOMPARE(started.asker.questions.size(), size_t{2});

    const std::string out = work.MakeFolder("out") + "/";
    std::deque<std::string> answers = {"", work.path() + "/", out};  // "" is Cancel
    QStringList offered;
    started.window().setFolderChooser([&](const std::string& initial) {
      offered << Q(initial);
      const std::string answer = answers.front();
      answers.pop_front();
      return answer;
    });
    Click(started.find<QToolButton>("DDir"));
    Click(started.find<QToolButton>("DDir"));  // the folder shown: both modes stay
    QCOMPARE(states(), QString("1 enabled, AutoScan= 1; 1 enabled, AutoDelete= 1"));
    Click(started.find<QToolButton>("DDir"));
    QCOMPARE(states(), QString("0 enabled, AutoScan= 0; 0 disabled, AutoDelete= 0"));
    QCOMPARE(offered, QStringList(3, Q(work.path())));
    QCOMPARE(started.find<QLabel>("DPath")->text(), Q(out));
    QCOMPARE(StoredLine(started.home, "DestinationPath"), Q("DestinationPath=" + out));
    COMPARE_STD(started.window().session().Settings().destinationFolder, work.File("out"));

    Click(started.find<OptionCheckBox>("NoEmpties"));
    QCOMPARE(started.Box("NoEmpties", "NoEmpties"), QString("1 enabled, NoEmpties=1"));
    QCOMPARE(started.window().session().Settings().noEmpties, 1);
  }
};

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
