// The three questions asked before deleting, as message boxes answered with the keyboard
// in a running window.
#include <QMessageBox>
#include <QPushButton>

#include "desktop/option_check_box.h"
#include "window_fixture.h"

using namespace tessaro::testing;

class MessageBoxOperatorTest : public DesktopTest {
  Q_OBJECT

 private slots:
  // Each question is left open across several ticks of a short scan period, answered
  // with a key, then asked again and answered Yes. The texts of the other two questions
  // are the core's; their line ends become new lines.
  void enterAndEscapeAnswerNoAndOnlyYesDeletes_data() {
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("key");
    for (const char* question : {"delete all", "automatic deletion", "refused file"}) {
      QTest::addRow("%s, Enter", question) << QString(question) << int(Qt::Key_Return);
      QTest::addRow("%s, Escape", question) << QString(question) << int(Qt::Key_Escape);
    }
  }
  void enterAndEscapeAnswerNoAndOnlyYesDeletes() {
    QFETCH(QString, question);
    QFETCH(int, key);
    const std::map<QString, QString> texts = {
        {"delete all", "Deleting all RCM files will allow all files in the source directory\n"},
        {"automatic deletion",
         "Turning this on will Automatically DELETE any RCM files that \n"
         "   do not have matching G-code files in the Source directory.\n\n"
         "                 Are You Sure You Want To Do This?"},
        {"refused file", "         Source file NOTES01\n    Is not of the correct file type.\n"}};
    const bool automatic = question == "automatic deletion";
    const bool refused = question == "refused file";
    ShownWindow shown(std::string("ScanTime=0.1\n") + (automatic ? "AutoScan=1\n" : ""), true);
    shown.programs.Write("ORPHAN1.RCM", "x");
    if (refused) shown.source.Write("NOTES01", "Cut list for cabinet 4\n");
    shown.window().timer1()->start();
    const auto ask = [&] {
      if (question == "delete all") shown.Press("RpAF");
      if (automatic) shown.Press("AutoDel");
      if (refused) shown.Click(shown.file1(), "NOTES01");
    };
    const auto kept = [&] {
      return refused ? shown.source.Exists("NOTES01") : shown.programs.Exists("ORPHAN1.RCM");
    };

    QString asked;
    WhenModal<QMessageBox>(&shown.window(), [&](QMessageBox& box) {
      QTest::qWait(350);  // three scan periods
      asked = QString("%1|%2|%3|kept %4")
                  .arg(box.windowTitle(), box.text().left(texts.at(question).size()))
                  .arg(box.standardButtons() == (QMessageBox::Yes | QMessageBox::No) &&
                               box.defaultButton() == box.button(QMessageBox::No)
                           ? "Yes, No by default"
                           : "other buttons")
                  .arg(kept() ? "yes" : "no");
      QTest::keyClick(box.focusWidget(), Qt::Key(key));
    });
    ask();
    QTest::qWait(250);

    QCOMPARE(asked, "Alert!|" + texts.at(question) + "|Yes, No by default|kept yes");
    QVERIFY(kept());
    QCOMPARE(shown.find<tessaro::desktop::OptionCheckBox>("AutoDel")->value(), 0);

    WhenModal<QMessageBox>(&shown.window(), [](QMessageBox& box) {
      QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
    });
    ask();
    QTRY_VERIFY(!kept());  // automatic deletion: at the next tick
    if (question == "delete all") QCOMPARE(shown.Status(), QString("Deleted 1 RCM programs"));
  }
};

QTEST_MAIN(MessageBoxOperatorTest)
#include "message_box_operator_test.moc"
