// The program commands in the main window on real folders: loading, editing, New and Save.
#include <QApplication>
#include <QRadioButton>

#include "program/session.h"
#include "desktop/option_check_box.h"
#include "window_fixture.h"

using namespace tessaro::testing;

namespace {

bool PointerIsNormal() { return QApplication::overrideCursor() == nullptr; }

}  // namespace

class ProgramCommandsTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void aNameThatIsNotUtf8IsShownReadablyAndOpensAndSavesItsOwnFile() {
    ShownWindow shown;
    shown.programs.Write("T\xDCR1.RCM", RcmProgram("\"Latin-1\",0", ""));
    shown.programs.Write("T\u00DCR1.RCM", RcmProgram("\"UTF-8\",0", ""));
    const QString latin1 = QString("T") + QChar(0xFFFD) + "R1.RCM";
    QString loaded;
    for (const QString& name : {latin1, QString("T\u00DCR1.RCM"), latin1}) {
      QVERIFY(shown.Click(shown.file2(), name));
      loaded += shown.cmt1()->text() + " ";
    }
    shown.cmt1()->selectAll();
    QTest::keyClicks(shown.cmt1(), "Saved");
    QTest::keyClick(shown.cmt1(), Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(Listed(shown.file2()), QStringList({"T\u00DCR1.RCM", latin1}));
    QCOMPARE(loaded, QString("Latin-1 UTF-8 Latin-1 "));
    QCOMPARE(shown.programs.List().size(), size_t{2});
    QVERIFY(shown.programs.Read("T\xDCR1.RCM").find("\"Saved\"") != std::string::npos);
  }

  void ctrlSWritesTheEditedTableAndTheOpenCellThroughTheSelectedProgramAndNewShowsTheTemplate() {
    ShownWindow shown;
    shown.programs.Write("PART1.RCM", SmallTemplate());
    QVERIFY(shown.Click(shown.file2(), "PART1.RCM"));
    auto* grid = shown.find<QTableView>("HorzPrg");
    QVERIFY(grid->model()->setData(grid->model()->index(0, 0), "120"));
    shown.cmt1()->selectAll();
    QTest::keyClicks(shown.cmt1(), "Door, left");
    auto* metric = shown.find<QRadioButton>("Metric");
    QTest::mouseClick(metric, Qt::LeftButton, {}, QPoint(6, metric->height() / 2));
    // As an operator types: the first key opens the cell's editor, the others go to it,
    // and no Enter closes it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(1, 0)).center());
    for (const char c : std::string("500.25")) QTest::keyClick(QApplication::focusWidget(), c);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);

    const std::vector<std::string> lines = SplitCrLf(shown.programs.Read("PART1.RCM"));
    COMPARE_STD(lines.at(14) + " | " + lines.at(18) + " | " + lines.at(19) + " | " + lines.at(22),
                "\"Door, left\",7,8 | MET,0,0,0,0.000000,9 | HOL,1,0,0,120.000000,9 | "
                "HOL,2,0,0,500.250000,9");
    QVERIFY(PointerIsNormal());
    shown.Press("BtnNew");
    QCOMPARE(shown.Caption() + " " + shown.cmt1()->text() + ": " + shown.Rows(),
             QString("Untitled.RCM Template: 0 0 0, 0 0 0"));
    QVERIFY(shown.cmt1()->hasFocus());
  }

  void withAutomaticTranslationAFileIsTranslatedWhenClosedWithoutWaitingForTheTimer() {
    ShownWindow shown("AutoScan=1\n");  // its timer stopped
    shown.source.Write("PART", kPanelGcode);
    QTRY_VERIFY_WITH_TIMEOUT(shown.programs.Exists("PART4.RCM"), 10000);
    QTRY_COMPARE(shown.file2()->currentItem() ? shown.file2()->currentItem()->text() : QString(),
                 QString("PART1.RCM"));

    QVERIFY(shown.find<tessaro::desktop::OptionCheckBox>("AutoScan")->setValue(0));
    shown.source.Write("SIDE", kPanelGcode);
    QTest::qWait(500);
    QVERIFY(!shown.programs.Exists("SIDE1.RCM"));
  }
};

QTEST_MAIN(ProgramCommandsTest)
#include "program_commands_test.moc"
