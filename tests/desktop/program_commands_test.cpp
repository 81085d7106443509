// The program commands in the main window on real folders: translating a G-code file
// picked in the source list, loading, New, Save, Save As, the mask dialog, the timer's
// scan, delete-all and the keyboard.
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTableWidget>

#include "desktop/rename_dialog.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "window_fixture.h"

using namespace tessaro::testing;

namespace {

constexpr bool kRcm = true;
constexpr bool kAcc = false;

bool PointerIsNormal() { return QApplication::overrideCursor() == nullptr; }

}  // namespace

class ProgramCommandsTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void clickOnGcodeFileSelectsAndLoadsItsFaceOneProgram() {
    ShownWindow shown(kRcm, "NoEmpties=1\n");
    shown.source.Write("PART", kPartGcode);
    shown.Refresh();

    QVERIFY(shown.Click(shown.file1(), "PART"));

    QCOMPARE(shown.Status(), QString("Translated PART: 4 programs written, 2 hidden"));
    if (!tessaro::IsHidden(shown.programs.File("PART3.RCM")))
      QSKIP("this file system keeps no hidden attribute");
    QCOMPARE(shown.Programs(), QStringList({"PART1.RCM", "PART2.RCM"}));
    QCOMPARE(shown.Selected(), QString("PART1.RCM"));
    QCOMPARE(shown.Program(),
             QString("PART1.RCM; G-code Import Face 1; 120 1 1, 480.5 1 1; metric"));
    QVERIFY(PointerIsNormal());
    QVERIFY(shown.asker().told.empty());

    shown.programs.Write("PART2.RCM", "edited by hand\r\n");
    QVERIFY(shown.Click(shown.file1(), "PART"));  // the same file again: translated again
    QVERIFY(shown.programs.Read("PART2.RCM") != "edited by hand\r\n");
  }

  void clickDoesNothingWhileAutomaticTranslationIsOn() {
    ShownWindow shown(kRcm, "AutoScan=1\n");
    shown.source.Write("PART", kPartGcode);
    shown.Refresh();

    QVERIFY(shown.Click(shown.file1(), "PART"));

    QCOMPARE(shown.Programs(), QStringList());
    QCOMPARE(shown.Caption(), QString(""));
  }

  void refusedGcodeFileAndUnreadableProgramLeaveTheTableAsItWas() {
    ShownWindow shown(kRcm);
    shown.programs.Write("KEEP1.RCM", PartFaceOneProgram());
    shown.programs.Write("GONE1.RCM", PartFaceOneProgram());
    shown.source.Write("NOTES01", "Cut list for cabinet 4\n");
    shown.Refresh();
    QVERIFY(shown.ClickProgram("KEEP1.RCM"));
    QVERIFY(shown.SetGrid(2, 1, "481"));
    const QString edited("KEEP1.RCM; G-code Import Face 1; 120 1 1, 481 1 1; metric");

    QVERIFY(shown.Click(shown.file1(), "NOTES01"));

    QCOMPARE(shown.asker().questions.size(), size_t{1});  // delete the file? answered No
    QVERIFY(shown.source.Exists("NOTES01"));
    QCOMPARE(shown.Selected(), QString("KEEP1.RCM"));
    QCOMPARE(shown.Program(), edited);

    std::filesystem::remove(shown.programs.File("GONE1.RCM"));
    QVERIFY(shown.ClickProgram("GONE1.RCM"));

    QCOMPARE(shown.asker().told.size(), size_t{1});
    QVERIFY(shown.asker().told[0].text.find(shown.programs.File("GONE1.RCM")) != std::string::npos);
    QCOMPARE(shown.Program(), edited);
    QVERIFY(PointerIsNormal());
  }

  void aNameThatIsNotUtf8IsShownReadablyAndOpensAndSavesItsOwnFile() {
    ShownWindow shown(kRcm);
    shown.programs.Write("T\xDCR1.RCM", Rcm("Latin-1", {"MET,0,0,0,0.000000,0"}));
    shown.programs.Write("T\u00DCR1.RCM", Rcm("UTF-8", {"MET,0,0,0,0.000000,0"}));
    shown.Refresh();
    const QString latin1 = QString("T") + QChar(0xFFFD) + "R1.RCM";
    QCOMPARE(shown.Programs(), QStringList({"T\u00DCR1.RCM", latin1}));

    QString loaded;
    for (const QString& name : {latin1, QString("T\u00DCR1.RCM"), latin1}) {
      QVERIFY(shown.ClickProgram(name));
      loaded += shown.cmt1()->text() + " ";
    }
    shown.cmt1()->selectAll();
    QTest::keyClicks(shown.cmt1(), "Saved");
    QTest::keyClick(shown.cmt1(), Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(loaded, QString("Latin-1 UTF-8 Latin-1 "));
    QCOMPARE(shown.programs.List().size(), size_t{2});
    QVERIFY(shown.programs.Read("T\xDCR1.RCM").find("\"Saved\"") != std::string::npos);
  }

  void accTranslationLoadsTheFirstListedProgramAndCtrlNThenSaveEmptiesIt() {
    ShownWindow shown(kAcc);
    shown.programs.Write("A.ACC", TwoHoleAccProgram());
    shown.source.Write("PART", kPartGcode);
    shown.Refresh();

    QVERIFY(shown.Click(shown.file1(), "PART"));
    QCOMPARE(shown.Status(), QString("Translated PART: 4 programs written"));
    QCOMPARE(shown.Programs(),
             QStringList({"A.ACC", "PART1.ACC", "PART2.ACC", "PART3.ACC", "PART4.ACC"}));
    QCOMPARE(shown.Program(), QString("A.ACC; Rail; 12.5 1 0, 30. 0 1; inch locked"));

    QTest::keyClick(&shown.window(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(shown.Caption(), QString("A.ACC"));  // ACC: the caption stays
    shown.Press("SavBtn");

    COMPARE_STD(shown.programs.Read("A.ACC"), CrLf({"", "100", "Zones", "4", "Number of holes", "2",
                                                    "Hole 1", "0. 0 0 0", "Hole 2", "0. 0 0 0"}));
    QVERIFY(shown.saveRequests.empty());
  }

  void ctrlSWritesTheEditedTableAndTheOpenCellThroughTheSelectedProgramAndNewShowsTheTemplate() {
    ShownWindow shown(kRcm);
    shown.programs.Write("PART1.RCM", PartFaceOneProgram());
    shown.Refresh();
    QVERIFY(shown.ClickProgram("PART1.RCM"));
    QVERIFY(shown.SetGrid(2, 3, "0"));
    shown.cmt1()->selectAll();
    QTest::keyClicks(shown.cmt1(), "Door, left");
    auto* inch = shown.find<QRadioButton>("Inch");
    QTest::mouseClick(inch, Qt::LeftButton, {}, QPoint(6, inch->height() / 2));
    shown.TypeIntoGrid(2, 1, "500.25");  // no Enter: the cell's editor is still open

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);

    COMPARE_STD(
        shown.programs.Read("PART1.RCM"),
        Rcm("Door, left", {"MET,0,0,0,-1.000000,0", "HOL,1,0,0,120.000000,0",
                           "DRI,1,0,0,1.000000,0", "DOW,1,0,0,1.000000,0", "HOL,2,0,0,500.250000,0",
                           "DRI,2,0,0,1.000000,0", "DOW,2,0,0,0.000000,0"}));
    QVERIFY(PointerIsNormal());

    shown.Press("BtnNew");

    QCOMPARE(shown.Program(), QString("Untitled.RCM; Template; 0 0 0, 0 0 0; inch"));
    QVERIFY(shown.cmt1()->hasFocus());
  }

  void saveAsDialogOffersTheProgramFolderOneFilterAndTheDefaultName() {
    ShownWindow shown(kRcm, "", Dialogs::kReal);
    shown.programs.Write("OLD1.RCM", "old\r\n");
    QStringList offered;
    WhenModal<QFileDialog>(&shown.window(), [&](QFileDialog& dialog) {
      auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
      offered << dialog.directory().absolutePath() << dialog.nameFilters() << name->text()
              << dialog.defaultSuffix()
              << (dialog.testOption(QFileDialog::DontConfirmOverwrite) ? "no question" : "asks");
      name->setText("OLD1.RCM");
      QTest::keyClick(name, Qt::Key_Return);
    });

    shown.Press("SavAsBtn");

    QCOMPARE(offered, QStringList({Q(shown.programs.path()), "*.RCM", "*.RCM", "", "no question"}));
    // Written over without a question, through the template.
    QVERIFY(shown.programs.Read("OLD1.RCM").rfind("USERLEVELS", 0) == 0);
    QCOMPARE(shown.Caption(), QString("OLD1.RCM"));
  }

  void saveWithNothingSelectedOpensSaveAsAndTemplateBecomesUntitled() {
    ShownWindow shown(kRcm);
    shown.programs.Write("template.rcm", "left alone\r\n");
    shown.Refresh();
    QTest::keyClicks(shown.cmt1(), "Shelf");
    QVERIFY(shown.SetGrid(1, 1, "64"));
    shown.saveAnswers.push_back(shown.programs.File("template.rcm"));

    shown.Press("SavBtn");

    QCOMPARE(shown.saveRequests.size(), size_t{1});
    COMPARE_STD(shown.programs.Read("template.rcm"), "left alone\r\n");
    // No program selected: the application folder's template is the base.
    COMPARE_STD(
        shown.programs.Read("Untitled.RCM"),
        Rcm("Shelf", {"MET,0,0,0,-1.000000,0", "HOL,1,0,0,64.000000,0", "DRI,1,0,0,0.000000,0",
                      "DOW,1,0,0,0.000000,0", "HOL,2,0,0,0.000000,0", "DRI,2,0,0,0.000000,0",
                      "DOW,2,0,0,0.000000,0"}));
    QCOMPARE(shown.Caption(), QString("Untitled.RCM"));
    QCOMPARE(shown.Programs(), QStringList({"template.rcm", "Untitled.RCM"}));
  }

  void saveAsThatCannotWriteIsReportedAndKeepsTheCaption() {
    ShownWindow shown(kAcc);
    shown.programs.Write("A.ACC", TwoHoleAccProgram());
    shown.programs.MakeFolder("BOX.ACC");  // a folder where the program should go
    shown.Refresh();
    QVERIFY(shown.ClickProgram("A.ACC"));
    shown.saveAnswers.push_back(shown.programs.File("BOX.ACC"));

    shown.Press("SavAsBtn");

    COMPARE_STD(shown.saveRequests.at(0).filter + " " + shown.saveRequests.at(0).defaultName,
                "*.ACC *.ACC");
    QCOMPARE(shown.asker().told.size(), size_t{1});
    QVERIFY(shown.asker().told[0].text.find("Cannot write " + shown.programs.File("BOX.ACC")) !=
            std::string::npos);
    QCOMPARE(shown.Caption(), QString("A.ACC"));
    QVERIFY(PointerIsNormal());
  }

  void maskDialogWithABlankRowDisablesTheOmissionRules() {
    ShownWindow shown(kRcm);
    QVERIFY(shown.find<QWidget>("NoEmpties")->isEnabled());
    using tessaro::desktop::RenameDialog;
    WhenModal<RenameDialog>(&shown.window(), [](RenameDialog& dialog) {
      dialog.horzName()->item(2, 4)->setText("");
      QTest::mouseClick(dialog.findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    });

    shown.Press("tnHFName");

    QVERIFY(!shown.find<QWidget>("NoEmpties")->isEnabled());
    QVERIFY(!shown.find<QWidget>("NoDupes")->isEnabled());
    QVERIFY(!shown.window().session().Settings().omissionRulesEnabled);
    QCOMPARE(StoredValue(shown.home(), "HorizontalRename/Mask3"), QString("********"));
  }

  void tickTranslatesNewFileAndSelectsItsProgramOnlyWithAutomaticTranslation() {
    ShownWindow shown(kRcm);
    shown.programs.Write("SIDE1.RCM", PartFaceOneProgram());
    shown.source.Write("PART", kPartGcode);
    shown.source.Write("SIDE", kPartGcode);
    shown.source.SetModifiedSeconds("SIDE", 1000000000);  // older than its program
    shown.Tick();
    QVERIFY(!shown.programs.Exists("PART1.RCM"));
    QVERIFY(shown.find<tessaro::desktop::OptionCheckBox>("AutoScan")->setValue(1));

    shown.Tick();

    QCOMPARE(Listed(shown.file1()), QStringList({"PART", "SIDE"}));
    QCOMPARE(shown.Programs(),
             QStringList({"PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM", "SIDE1.RCM"}));
    QCOMPARE(shown.Program(),
             QString("PART1.RCM; G-code Import Face 1; 120 1 1, 480.5 1 1; metric"));
    QVERIFY(shown.Status().endsWith("  Translated PART"));
  }

  void withAutomaticTranslationAFileIsTranslatedWhenClosedWithoutWaitingForTheTimer() {
    ShownWindow shown(kRcm, "AutoScan=1\n");  // its timer stopped
    shown.source.Write("PART", kPartGcode);
    QTRY_VERIFY_WITH_TIMEOUT(shown.programs.Exists("PART4.RCM"), 10000);
    QTRY_COMPARE(shown.Selected(), QString("PART1.RCM"));

    QVERIFY(shown.find<tessaro::desktop::OptionCheckBox>("AutoScan")->setValue(0));
    shown.source.Write("SIDE", kPartGcode);
    QTest::qWait(500);
    QVERIFY(!shown.programs.Exists("SIDE1.RCM"));
  }

  void tickThatCannotListAFolderSaysSoInTheStatusLine() {
    ShownWindow shown(kRcm, "AutoScan=1\n");
    shown.file1()->setPath(shown.source.MakeFolder("later-gone"));
    std::filesystem::remove(shown.source.File("later-gone"));

    shown.Tick();

    QVERIFY(
        shown.Status().contains("Cannot read the folder " + Q(shown.source.File("later-gone"))));
    QVERIFY(shown.asker().told.empty());
  }

  void tickComingDueWhileTheSaveDialogIsOpenIsSkipped() {
    ShownWindow shown(kRcm, "AutoScan=1\n");
    shown.source.Write("PART", kPartGcode);
    shown.commands().setSaveDialog([&shown](const tessaro::desktop::SaveRequest&) {
      shown.Tick();  // the dialog's own event loop delivers the timer
      return std::string();
    });

    shown.Press("SavAsBtn");
    QVERIFY(!shown.programs.Exists("PART1.RCM"));

    shown.Tick();
    QVERIFY(shown.programs.Exists("PART1.RCM"));
  }

  void whileATickYieldsScanCommandsAreDisabledAndDoNotRun() {
    ShownWindow shown(kRcm, "AutoScan=1\n");
    shown.source.Write("PART", kPartGcode);
    shown.programs.Write("KEEP1.RCM", PartFaceOneProgram());
    shown.Refresh();
    {
      const QSignalBlocker quiet(shown.file2());
      shown.file2()->setCurrentRow(0);  // KEEP1.RCM selected, not loaded
    }
    const auto enabled = [&shown] {
      QStringList names;
      for (const char* name :
           {"File1", "File2", "BtnNew", "SavBtn", "SavAsBtn", "tnHFName", "RpAF", "SDir", "DDir"}) {
        if (shown.find<QWidget>(name)->isEnabled()) names << name;
      }
      return names.join(" ");
    };
    // Runs when the tick first lets the window handle events, after translating PART.
    QString whileYielding = "not run";
    QTimer::singleShot(0, &shown.window(), [&] {
      whileYielding = enabled() + (PointerIsNormal() ? "" : "busy");
      shown.commands().File2_Click();  // would nest a scan: refused
      whileYielding += shown.Caption();
      shown.Tick();  // would overlap: skipped
    });

    shown.Tick();

    QCOMPARE(whileYielding, QString("busy"));
    QCOMPARE(shown.Caption(), QString("PART1.RCM"));
    QCOMPARE(enabled(), QString("File1 File2 BtnNew SavBtn SavAsBtn tnHFName RpAF SDir DDir"));
    QVERIFY(PointerIsNormal());
  }

  void deleteAllAnsweredNoRefreshesTheListAndYesDeletesEveryProgramOfTheFormat() {
    ShownWindow shown(kRcm);
    for (const char* name : {"A1.RCM", "template.rcm", "KEEP.ACC"}) shown.programs.Write(name, "x");
    shown.Refresh();
    shown.programs.Write("B1.RCM", "x");  // listed only after a refresh
    shown.asker().answers = {false, true};

    shown.Press("RpAF");

    QCOMPARE(shown.asker().questions.size(), size_t{1});
    QCOMPARE(shown.programs.List().size(), size_t{4});
    QCOMPARE(shown.Programs(), QStringList({"A1.RCM", "B1.RCM", "template.rcm"}));

    shown.Press("RpAF");

    QCOMPARE(shown.programs.List(), std::vector<std::string>({"KEEP.ACC"}));
    QCOMPARE(shown.Programs(), QStringList());
    QCOMPARE(shown.Status(), QString("Deleted 3 RCM programs"));
  }

  void tabGoesThroughTheWindowAsItReads() {
    ShownWindow shown(kRcm);
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
