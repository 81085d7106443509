// The program commands in the main window on real folders: translating a G-code file
// picked in the source list, loading, New, Save, Save As, the mask dialog, the timer's
// scan and the keyboard.
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "desktop/rename_dialog.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "window_fixture.h"

using namespace tessaro::testing;

namespace {

bool PointerIsNormal() { return QApplication::overrideCursor() == nullptr; }

}  // namespace

class ProgramCommandsTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void clickTranslatesTheGcodeFileOnlyWithoutAutomaticTranslationAndLoadsFaceOne() {
    ShownWindow shown("NoEmpties=1\nAutoScan=1\n");
    shown.source.Write("PART", kPartGcode);
    QVERIFY(shown.Click(shown.file1(), "PART"));
    QCOMPARE(shown.Programs(), QStringList());
    QVERIFY(shown.find<tessaro::desktop::OptionCheckBox>("AutoScan")->setValue(0));

    QVERIFY(shown.Click(shown.file1(), "PART"));  // the same item again

    QCOMPARE(shown.Status(), QString("Translated PART: 4 programs written, 2 hidden"));
    if (!tessaro::IsHidden(shown.programs.File("PART3.RCM")))
      QSKIP("this file system keeps no hidden attribute");
    QCOMPARE(shown.Programs(), QStringList({"PART1.RCM", "PART2.RCM"}));
    COMPARE_STD(shown.file2()->fileName(), "PART1.RCM");
    QCOMPARE(shown.Caption() + " " + shown.cmt1()->text() + ": " + shown.Rows(),
             QString("PART1.RCM G-code Import Face 1: 120 1 1, 480.5 1 1"));
    QVERIFY(PointerIsNormal() && shown.asker.told.empty());
  }

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

    QCOMPARE(shown.Programs(), QStringList({"T\u00DCR1.RCM", latin1}));
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

  // With no program selected Save is Save As, from the application folder's template;
  // the template's name saves as Untitled beside it.
  void saveWithNothingSelectedOffersTheProgramFolderOneFilterAndTheDefaultName() {
    ShownWindow shown;
    shown.programs.Write("template.rcm", "left alone\r\n");
    auto* grid = shown.find<QTableView>("HorzPrg");
    QVERIFY(grid->model()->setData(grid->model()->index(0, 0), "64"));
    QStringList offered;
    WhenModal<QFileDialog>(&shown.window(), [&](QFileDialog& dialog) {
      auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
      offered << dialog.directory().absolutePath() << dialog.nameFilters() << name->text()
              << dialog.defaultSuffix()
              << (dialog.testOption(QFileDialog::DontConfirmOverwrite) ? "no question" : "asks");
      name->setText("template.rcm");
      QTest::keyClick(name, Qt::Key_Return);
    });

    shown.Press("SavBtn");

    QCOMPARE(offered, QStringList({Q(shown.programs.path()), "*.RCM", "*.RCM", "", "no question"}));
    COMPARE_STD(shown.programs.Read("template.rcm"), "left alone\r\n");
    COMPARE_STD(SplitCrLf(shown.programs.Read("Untitled.RCM")).at(19), "HOL,1,0,0,64.000000,9");
    QCOMPARE(shown.Caption(), QString("Untitled.RCM"));
  }

  void maskDialogWithABlankRowDisablesTheOmissionRules() {
    ShownWindow shown;
    QVERIFY(shown.find<QWidget>("NoEmpties")->isEnabled());
    using tessaro::desktop::RenameDialog;
    WhenModal<RenameDialog>(&shown.window(), [](RenameDialog& dialog) {
      dialog.horzName()->item(2, 4)->setText("");
      QTest::mouseClick(dialog.findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    });
    shown.Press("tnHFName");
    QVERIFY(!shown.find<QWidget>("NoEmpties")->isEnabled());
    QVERIFY(!shown.window().session().Settings().omissionRulesEnabled);
  }

  // Only with automatic translation; while it yields, the scan commands are disabled and
  // do not run, and a tick coming due is skipped.
  void tickTranslatesNewFilesAndSelectsTheProgram() {
    ShownWindow shown;
    shown.source.Write("PART", kPartGcode);
    shown.programs.Write("KEEP1.RCM", "x");
    shown.Tick();
    QVERIFY(!shown.programs.Exists("PART1.RCM"));
    QVERIFY(shown.find<tessaro::desktop::OptionCheckBox>("AutoScan")->setValue(1));
    const auto enabled = [&shown] {
      QStringList names;
      for (const char* name :
           {"File1", "File2", "BtnNew", "SavBtn", "SavAsBtn", "tnHFName", "RpAF", "SDir", "DDir"}) {
        if (shown.find<QWidget>(name)->isEnabled()) names << name;
      }
      return names.join(" ");
    };
    shown.file2()->refresh();
    {
      const QSignalBlocker quiet(shown.file2());
      shown.file2()->setCurrentRow(0);  // KEEP1.RCM selected, not loaded
    }
    QString whileYielding = "not run";
    QTimer::singleShot(0, &shown.window(), [&] {
      whileYielding = enabled() + (PointerIsNormal() ? "" : "busy");
      shown.window().commands().File2_Click();  // would nest a scan: refused
      whileYielding += shown.Caption();
      shown.Tick();  // would overlap: skipped
    });

    shown.Tick();

    QCOMPARE(whileYielding, QString("busy"));
    QCOMPARE(shown.Caption(), QString("PART1.RCM"));
    QCOMPARE(enabled(), QString("File1 File2 BtnNew SavBtn SavAsBtn tnHFName RpAF SDir DDir"));
    QVERIFY(PointerIsNormal());
    QVERIFY(shown.Status().endsWith("  Translated PART"));
  }

  void tickComingDueWhileTheSaveDialogIsOpenIsSkipped() {
    ShownWindow shown("AutoScan=1\n");
    shown.source.Write("PART", kPartGcode);
    shown.window().commands().setSaveDialog([&shown](const tessaro::desktop::SaveRequest&) {
      shown.Tick();  // the dialog's own event loop delivers the timer
      return std::string();
    });
    shown.Press("SavAsBtn");
    QVERIFY(!shown.programs.Exists("PART1.RCM"));
    shown.Tick();
    QVERIFY(shown.programs.Exists("PART1.RCM"));
  }

  void tabGoesThroughTheWindowAsItReads() {
    ShownWindow shown;
    shown.find<QWidget>("SDir")->setFocus();
    QStringList visited;
    // The unit buttons are disabled until an RCM program with a unit record is loaded.
    for (int i = 0; i < 13; ++i) {
      visited << QApplication::focusWidget()->objectName();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, QStringList({"SDir", "File1", "HorzPrg", "Cmt1", "Cmt2", "BtnNew", "SavBtn",
                                   "SavAsBtn", "tnHFName", "DDir", "File2", "RpAF", "AutoScan"}));
  }
};

QTEST_MAIN(ProgramCommandsTest)
#include "program_commands_test.moc"
