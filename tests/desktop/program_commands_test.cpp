// The program commands on real folders: translating a G-code file picked in the source
// list, loading, New, Save, Save As, the timer's scan and delete-all.
#include <QApplication>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include "command_bench.h"
#include "desktop/rename_dialog.h"
#include "outside/file_ops.h"

using tessaro::TickOutcome;
using tessaro::desktop::CommandGate;
using tessaro::desktop::TickSummary;
using tessaro::testing::CommandBench;
using tessaro::testing::CrLf;
using tessaro::testing::kNotGcode;
using tessaro::testing::kPartGcode;
using tessaro::testing::TwoHoleAccProgram;
using tessaro::testing::TwoHoleTemplate;

Q_DECLARE_METATYPE(tessaro::TickOutcome)

namespace {

constexpr bool kRcm = true;
constexpr bool kAcc = false;

// PART1.RCM as the translation of kPartGcode writes it through TwoHoleTemplate.
std::string PartFaceOneProgram() {
  return CrLf({"USERLEVELS,1,0",
               "L2",
               "L3",
               "L4",
               "L5",
               "L6",
               "L7",
               "L8",
               "L9",
               "L10",
               "L11",
               "L12",
               "L13",
               "L14",
               "\"G-code Import Face 1\",0",
               "L16",
               "LOCK,1",
               "L18",
               "MET,0,0,0,0.000000,0",
               "HOL,1,0,0,120.000000,0",
               "DRI,1,0,0,1.000000,0",
               "DOW,1,0,0,1.000000,0",
               "HOL,2,0,0,480.500000,0",
               "DRI,2,0,0,1.000000,0",
               "DOW,2,0,0,1.000000,0",
               "END"});
}

// The timer's period has come.
void Tick(CommandBench& bench) {
  QVERIFY(QMetaObject::invokeMethod(bench.timer1, "timeout", Qt::DirectConnection));
}

bool PointerIsNormal() { return QApplication::overrideCursor() == nullptr; }

}  // namespace

class ProgramCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  // --- File1: translating a G-code file -------------------------------------------------

  void clickOnGcodeFileSelectsAndLoadsItsFaceOneProgram() {
    CommandBench bench(kRcm);
    bench.source.Write("PART", kPartGcode);
    bench.RefreshLists();

    QVERIFY(bench.Click(bench.file1, "PART"));

    QCOMPARE(bench.Listed(bench.file2),
             QStringList({"PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"}));
    QCOMPARE(bench.Selected(bench.file2), QString("PART1.RCM"));
    QCOMPARE(QString::fromStdString(bench.programs.Read("PART1.RCM")),
             QString::fromStdString(PartFaceOneProgram()));
    QCOMPARE(bench.GridText(1, 1), QString("120"));
    QCOMPARE(bench.GridText(1, 2), QString("1"));
    QCOMPARE(bench.GridText(1, 3), QString("1"));
    QCOMPARE(bench.GridText(2, 1), QString("480.5"));
    QCOMPARE(bench.GridText(3, 1), QString(""));
    QCOMPARE(bench.cmt1->text(), QString("G-code Import Face 1"));
    QCOMPARE(bench.prgFrame->title(), QString("PART1.RCM"));
    QVERIFY(bench.metric->isChecked());
    QVERIFY(bench.units->isEnabled());
    QVERIFY(PointerIsNormal());
    QVERIFY(bench.asker.told.empty());
  }

  void clickAgainOnTheSameGcodeFileTranslatesItAgain() {
    CommandBench bench(kRcm);
    bench.source.Write("PART", kPartGcode);
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file1, "PART"));
    bench.programs.Write("PART2.RCM", "edited by hand\r\n");

    QVERIFY(bench.Click(bench.file1, "PART"));

    QVERIFY(bench.programs.Read("PART2.RCM") != "edited by hand\r\n");
  }

  void withoutFaceOneNameTheFirstListedProgramIsLoaded() {
    CommandBench bench(kRcm);
    bench.session.Settings().masks = {"", "    A   ", "    B   ", "    C   ", "    D   "};
    bench.source.Write("PART", kPartGcode);
    bench.RefreshLists();

    QVERIFY(bench.Click(bench.file1, "PART"));

    QCOMPARE(bench.Selected(bench.file2), QString("PARTA.RCM"));
    QCOMPARE(bench.GridText(1, 1), QString("120"));
  }

  void clickDoesNothingWhileAutomaticTranslationIsOn_data() {
    QTest::addColumn<int>("autoScan");
    QTest::newRow("ticked") << 1;
    QTest::newRow("greyed") << 2;
  }
  void clickDoesNothingWhileAutomaticTranslationIsOn() {
    QFETCH(int, autoScan);
    CommandBench bench(kRcm);
    bench.source.Write("PART", kPartGcode);
    bench.RefreshLists();
    QVERIFY(bench.autoScan->setValue(autoScan));

    QVERIFY(bench.Click(bench.file1, "PART"));

    QCOMPARE(bench.Listed(bench.file2), QStringList());
    QVERIFY(!bench.programs.Exists("PART1.RCM"));
    QCOMPARE(bench.prgFrame->title(), QString(""));
    QCOMPARE(bench.GridText(1, 1), QString(""));
  }

  void refusedGcodeFileLeavesTableAndSelectionAsTheyWere() {
    CommandBench bench(kRcm);
    bench.programs.Write("KEEP1.RCM", PartFaceOneProgram());
    bench.source.Write("NOTES01", kNotGcode);
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "KEEP1.RCM"));
    QVERIFY(bench.horzPrg->model()->setData(bench.horzPrg->model()->index(1, 0), "481"));

    QVERIFY(bench.Click(bench.file1, "NOTES01"));

    QCOMPARE(bench.asker.questions.size(), size_t{1});  // delete the file? answered No
    QVERIFY(bench.source.Exists("NOTES01"));
    QCOMPARE(bench.Listed(bench.file2), QStringList({"KEEP1.RCM"}));
    QCOMPARE(bench.Selected(bench.file2), QString("KEEP1.RCM"));
    QCOMPARE(bench.GridText(1, 1), QString("120"));
    QCOMPARE(bench.GridText(2, 1), QString("481"));  // the edit is still there
    QCOMPARE(bench.prgFrame->title(), QString("KEEP1.RCM"));
    QVERIFY(PointerIsNormal());
  }

  void accTranslationLoadsTheFirstListedProgram() {
    CommandBench bench(kAcc);
    bench.programs.Write("AAA.ACC", TwoHoleAccProgram());
    bench.source.Write("PART", kPartGcode);
    bench.RefreshLists();

    QVERIFY(bench.Click(bench.file1, "PART"));

    QCOMPARE(bench.Listed(bench.file2),
             QStringList({"AAA.ACC", "PART1.ACC", "PART2.ACC", "PART3.ACC", "PART4.ACC"}));
    QCOMPARE(bench.Selected(bench.file2), QString("AAA.ACC"));
    QCOMPARE(bench.cmt1->text(), QString("Rail"));
    QCOMPARE(bench.GridText(1, 1), QString("12.5"));
    QCOMPARE(bench.GridText(2, 1), QString("30."));
    QVERIFY(bench.inch->isChecked());
    QVERIFY(!bench.units->isEnabled());
  }

  // --- File2: loading a program ---------------------------------------------------------

  void keyboardMoveInProgramListLoadsTheProgram() {
    CommandBench bench(kAcc);
    bench.programs.Write("A.ACC", TwoHoleAccProgram());
    bench.programs.Write("B.ACC", CrLf({"Second", "100", "Zones", "4", "Number of holes", "1",
                                        "Hole 1", "7.25 0 0 1"}));
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "A.ACC"));
    QCOMPARE(bench.cmt1->text(), QString("Rail"));

    bench.file2->setFocus();
    QTest::keyClick(bench.file2, Qt::Key_Down);
    QCoreApplication::processEvents();

    QCOMPARE(bench.Selected(bench.file2), QString("B.ACC"));
    QCOMPARE(bench.cmt1->text(), QString("Second"));
    QCOMPARE(bench.GridText(1, 1), QString("7.25"));
    QCOMPARE(bench.GridText(2, 1), QString(""));
    QCOMPARE(bench.prgFrame->title(), QString("B.ACC"));
  }

  void clickOnTheSelectedProgramLoadsItAgain() {
    CommandBench bench(kAcc);
    bench.programs.Write("A.ACC", TwoHoleAccProgram());
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "A.ACC"));
    QVERIFY(bench.horzPrg->model()->setData(bench.horzPrg->model()->index(0, 0), "99"));

    QVERIFY(bench.Click(bench.file2, "A.ACC"));

    QCOMPARE(bench.GridText(1, 1), QString("12.5"));
  }

  void programThatCannotBeReadIsReportedAndTableStays() {
    CommandBench bench(kRcm);
    bench.programs.Write("KEEP1.RCM", PartFaceOneProgram());
    bench.programs.Write("GONE1.RCM", PartFaceOneProgram());
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "KEEP1.RCM"));
    std::filesystem::remove(bench.programs.File("GONE1.RCM"));

    QVERIFY(bench.Click(bench.file2, "GONE1.RCM"));

    QCOMPARE(bench.asker.told.size(), size_t{1});
    QCOMPARE(QString::fromStdString(bench.asker.told[0].title), QString("Alert"));
    QVERIFY(bench.asker.told[0].text.find(bench.programs.File("GONE1.RCM")) != std::string::npos);
    QCOMPARE(bench.prgFrame->title(), QString("KEEP1.RCM"));
    QCOMPARE(bench.GridText(1, 1), QString("120"));
    QVERIFY(PointerIsNormal());
  }

  // --- New, Save, Save As --------------------------------------------------------------

  void newInRcmShowsTheTemplateAsUntitled() {
    CommandBench bench(kRcm);
    bench.programs.Write("KEEP1.RCM", PartFaceOneProgram());
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "KEEP1.RCM"));

    QTest::mouseClick(bench.btnNew, Qt::LeftButton);

    QCOMPARE(bench.prgFrame->title(), QString("Untitled.RCM"));
    QCOMPARE(bench.cmt1->text(), QString("Template"));
    QCOMPARE(bench.GridText(1, 1), QString("0"));
    QCOMPARE(bench.GridText(2, 2), QString("0"));
    QVERIFY(bench.inch->isChecked());
    QVERIFY(bench.cmt1->hasFocus());
  }

  void ctrlNStartsNewProgram() {
    CommandBench bench(kAcc);
    bench.programs.Write("A.ACC", TwoHoleAccProgram());
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "A.ACC"));

    QTest::keyClick(&bench.window, Qt::Key_N, Qt::ControlModifier);

    QCOMPARE(bench.cmt1->text(), QString(""));
    QCOMPARE(bench.GridText(1, 1), QString(""));
  }

  void newThenSaveInAccWritesTheEmptyTableOverTheSelectedProgram() {
    CommandBench bench(kAcc);
    bench.programs.Write("A.ACC", TwoHoleAccProgram());
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "A.ACC"));

    QTest::mouseClick(bench.btnNew, Qt::LeftButton);
    QCOMPARE(bench.prgFrame->title(), QString("A.ACC"));  // ACC: the caption stays
    QTest::mouseClick(bench.savBtn, Qt::LeftButton);

    QCOMPARE(QString::fromStdString(bench.programs.Read("A.ACC")),
             QString::fromStdString(CrLf({"", "100", "Zones", "4", "Number of holes", "2", "Hole 1",
                                          "0. 0 0 0", "Hole 2", "0. 0 0 0"})));
    QVERIFY(bench.saveRequests.empty());
  }

  void saveWritesTheEditedTableThroughTheSelectedProgram() {
    CommandBench bench(kRcm);
    bench.programs.Write("PART1.RCM", PartFaceOneProgram());
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "PART1.RCM"));
    auto* model = bench.horzPrg->model();
    QVERIFY(model->setData(model->index(1, 0), " 500.25 "));
    QVERIFY(model->setData(model->index(1, 2), "0"));
    bench.cmt1->selectAll();
    QTest::keyClicks(bench.cmt1, "Door, left");
    QTest::mouseClick(bench.inch, Qt::LeftButton, {}, QPoint(6, bench.inch->height() / 2));
    QVERIFY(bench.inch->isChecked());

    QTest::keyClick(&bench.window, Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(QString::fromStdString(bench.programs.Read("PART1.RCM")),
             QString::fromStdString(CrLf({"USERLEVELS,1,0",
                                          "L2",
                                          "L3",
                                          "L4",
                                          "L5",
                                          "L6",
                                          "L7",
                                          "L8",
                                          "L9",
                                          "L10",
                                          "L11",
                                          "L12",
                                          "L13",
                                          "L14",
                                          "\"Door, left\",0",
                                          "L16",
                                          "LOCK,1",
                                          "L18",
                                          "MET,0,0,0,-1.000000,0",
                                          "HOL,1,0,0,120.000000,0",
                                          "DRI,1,0,0,1.000000,0",
                                          "DOW,1,0,0,1.000000,0",
                                          "HOL,2,0,0,500.250000,0",
                                          "DRI,2,0,0,1.000000,0",
                                          "DOW,2,0,0,0.000000,0",
                                          "END"})));
    QCOMPARE(bench.statuses.back(),
             "Saved " + QString::fromStdString(bench.programs.File("PART1.RCM")));
    QVERIFY(PointerIsNormal());
  }

  void saveWithNothingSelectedOpensSaveAs_data() {
    QTest::addColumn<bool>("rcm");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("RCM") << true << "*.RCM";
    QTest::newRow("ACC") << false << "*.ACC";
  }
  void saveWithNothingSelectedOpensSaveAs() {
    QFETCH(bool, rcm);
    QFETCH(QString, pattern);
    CommandBench bench(rcm);

    QTest::mouseClick(bench.savBtn, Qt::LeftButton);  // the dialog is cancelled

    QCOMPARE(bench.saveRequests.size(), size_t{1});
    QCOMPARE(QString::fromStdString(bench.saveRequests[0].initialFolder),
             QString::fromStdString(bench.programs.path()));
    QCOMPARE(QString::fromStdString(bench.saveRequests[0].filter), pattern);
    QCOMPARE(QString::fromStdString(bench.saveRequests[0].defaultName), pattern);
    QVERIFY(std::filesystem::is_empty(bench.programs.path()));
    QVERIFY(bench.asker.told.empty());
  }

  void saveAsOntoTemplateWritesUntitledBesideIt() {
    CommandBench bench(kRcm);
    bench.programs.Write("template.rcm", "left alone\r\n");
    bench.RefreshLists();
    QTest::keyClicks(bench.cmt1, "Shelf");
    QVERIFY(bench.horzPrg->model()->setData(bench.horzPrg->model()->index(0, 0), "64"));
    bench.saveAnswers.push_back(bench.programs.File("template.rcm"));

    QTest::mouseClick(bench.savAsBtn, Qt::LeftButton);

    QCOMPARE(QString::fromStdString(bench.programs.Read("template.rcm")),
             QString("left alone\r\n"));
    // No program selected: the application folder's template is the base.
    QCOMPARE(QString::fromStdString(bench.programs.Read("Untitled.RCM")),
             QString::fromStdString(CrLf({"USERLEVELS,1,0",
                                          "L2",
                                          "L3",
                                          "L4",
                                          "L5",
                                          "L6",
                                          "L7",
                                          "L8",
                                          "L9",
                                          "L10",
                                          "L11",
                                          "L12",
                                          "L13",
                                          "L14",
                                          "\"Shelf\",0",
                                          "L16",
                                          "LOCK,1",
                                          "L18",
                                          "MET,0,0,0,-1.000000,0",
                                          "HOL,1,0,0,64.000000,0",
                                          "DRI,1,0,0,0.000000,0",
                                          "DOW,1,0,0,0.000000,0",
                                          "HOL,2,0,0,0.000000,0",
                                          "DRI,2,0,0,0.000000,0",
                                          "DOW,2,0,0,0.000000,0",
                                          "END"})));
    QCOMPARE(bench.prgFrame->title(), QString("Untitled.RCM"));
    QCOMPARE(bench.Listed(bench.file2), QStringList({"template.rcm", "Untitled.RCM"}));
  }

  void saveAsInRcmMergesIntoTheSelectedProgram() {
    CommandBench bench(kRcm);
    bench.programs.Write("PART1.RCM", PartFaceOneProgram());
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "PART1.RCM"));
    QVERIFY(bench.horzPrg->model()->setData(bench.horzPrg->model()->index(0, 0), "121"));
    bench.saveAnswers.push_back(bench.programs.File("COPY1.RCM"));

    QTest::mouseClick(bench.savAsBtn, Qt::LeftButton);

    const std::string copy = bench.programs.Read("COPY1.RCM");
    QVERIFY(copy.find("\r\nHOL,1,0,0,121.000000,0\r\n") != std::string::npos);
    QVERIFY(copy.find("\r\nHOL,2,0,0,480.500000,0\r\n") != std::string::npos);
    QVERIFY(copy.find("\"G-code Import Face 1\",0") != std::string::npos);
    QCOMPARE(QString::fromStdString(bench.programs.Read("PART1.RCM")),
             QString::fromStdString(PartFaceOneProgram()));
    QCOMPARE(bench.prgFrame->title(), QString("COPY1.RCM"));
    QCOMPARE(bench.Listed(bench.file2), QStringList({"COPY1.RCM", "PART1.RCM"}));
    QCOMPARE(bench.Selected(bench.file2), QString("PART1.RCM"));
  }

  void tickComingDueWhileTheSaveDialogIsOpenIsSkipped() {
    CommandBench bench(kRcm);
    QVERIFY(bench.autoScan->setValue(1));
    bench.source.Write("PART", kPartGcode);
    bench.commands->setSaveDialog([&bench](const tessaro::desktop::SaveRequest&) {
      Tick(bench);  // the dialog's own event loop delivers the timer
      return std::string();
    });

    QTest::mouseClick(bench.savAsBtn, Qt::LeftButton);

    QVERIFY(!bench.programs.Exists("PART1.RCM"));
    QCOMPARE(bench.prgFrame->title(), QString(""));
  }

  void saveAsWithoutExtensionWritesTheNameAsTyped() {
    CommandBench bench(kAcc);
    bench.session.Table().SetCell(1, 1, "12.5");
    bench.session.State().HoleCounter = 1;
    bench.saveAnswers.push_back(bench.programs.File("RAIL"));

    QTest::mouseClick(bench.savAsBtn, Qt::LeftButton);

    QCOMPARE(QString::fromStdString(bench.programs.Read("RAIL")),
             QString::fromStdString(
                 CrLf({"", "100", "Zones", "4", "Number of holes", "1", "Hole 1", "12.5 0 0 0"})));
    QCOMPARE(bench.prgFrame->title(), QString("RAIL"));
    QCOMPARE(bench.Listed(bench.file2), QStringList());  // the list shows *.ACC only
  }

  void saveAsThatCannotWriteIsReportedAndKeepsTheCaption() {
    CommandBench bench(kAcc);
    bench.programs.Write("A.ACC", TwoHoleAccProgram());
    bench.programs.MakeFolder("BOX.ACC");  // a folder where the program should go
    bench.RefreshLists();
    QVERIFY(bench.Click(bench.file2, "A.ACC"));
    bench.saveAnswers.push_back(bench.programs.File("BOX.ACC"));

    QTest::mouseClick(bench.savAsBtn, Qt::LeftButton);

    QCOMPARE(bench.asker.told.size(), size_t{1});
    QVERIFY(bench.asker.told[0].text.find("Cannot write " + bench.programs.File("BOX.ACC")) !=
            std::string::npos);
    QCOMPARE(bench.prgFrame->title(), QString("A.ACC"));
    QVERIFY(std::filesystem::is_directory(bench.programs.File("BOX.ACC")));
    QVERIFY(PointerIsNormal());
  }

  // --- Timer ---------------------------------------------------------------------------

  void tickTranslatesNewFileAndSelectsItsProgram() {
    CommandBench bench(kRcm);
    bench.programs.Write("SIDE1.RCM", PartFaceOneProgram());
    bench.RefreshLists();
    QVERIFY(bench.autoScan->setValue(1));
    bench.source.Write("PART", kPartGcode);
    bench.source.Write("SIDE", kPartGcode);
    bench.source.SetModifiedSeconds("SIDE", 1000000000);  // older than its program

    Tick(bench);

    QCOMPARE(bench.Listed(bench.file1), QStringList({"PART", "SIDE"}));
    QCOMPARE(bench.Listed(bench.file2),
             QStringList({"PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM", "SIDE1.RCM"}));
    QCOMPARE(bench.Selected(bench.file2), QString("PART1.RCM"));
    QCOMPARE(bench.prgFrame->title(), QString("PART1.RCM"));
    QCOMPARE(bench.GridText(2, 1), QString("480.5"));
    QVERIFY(bench.statuses.back().endsWith("  Translated PART"));
    QVERIFY(PointerIsNormal());
    QVERIFY(bench.file1->isEnabled() && bench.btnNew->isEnabled() &&
            bench.folderButton->isEnabled());
  }

  void tickWithAutomaticTranslationOffDoesNothing() {
    CommandBench bench(kRcm);
    bench.source.Write("PART", kPartGcode);

    Tick(bench);

    QVERIFY(!bench.programs.Exists("PART1.RCM"));
    QVERIFY(bench.statuses.empty());
  }

  void tickThatCannotListAFolderSaysSoInTheStatusLine() {
    CommandBench bench(kRcm);
    QVERIFY(bench.autoScan->setValue(1));
    bench.file1->setPath(bench.source.MakeFolder("later-gone"));
    std::filesystem::remove(bench.source.File("later-gone"));

    Tick(bench);

    QCOMPARE(bench.statuses.size(), size_t{1});
    QVERIFY(bench.statuses[0].contains("Cannot read the folder " +
                                       QString::fromStdString(bench.source.File("later-gone"))));
    QVERIFY(bench.asker.told.empty());
  }

  void tickComingDueWhileACommandRunsIsSkipped() {
    CommandBench bench(kRcm);
    QVERIFY(bench.autoScan->setValue(1));
    bench.source.Write("PART", kPartGcode);
    {
      CommandGate::Scope running(bench.commands->gate());
      Tick(bench);
      QVERIFY(!bench.programs.Exists("PART1.RCM"));
    }
    Tick(bench);
    QVERIFY(bench.programs.Exists("PART1.RCM"));
  }

  void whileATickYieldsScanCommandsAreDisabledAndDoNotRun() {
    CommandBench bench(kRcm);
    QVERIFY(bench.autoScan->setValue(1));
    bench.source.Write("PART", kPartGcode);
    bench.programs.Write("KEEP1.RCM", PartFaceOneProgram());
    bench.RefreshLists();
    {
      const QSignalBlocker quiet(bench.file2);
      bench.file2->setCurrentRow(0);  // KEEP1.RCM selected, not loaded
    }
    // Runs when the tick first lets the window handle events, after translating PART.
    bool ran = false;
    bool controlsDisabled = false;
    bool pointerBusy = false;
    QString captionAfterClick;
    QTimer::singleShot(0, &bench.window, [&] {
      ran = true;
      controlsDisabled = !bench.file1->isEnabled() && !bench.file2->isEnabled() &&
                         !bench.btnNew->isEnabled() && !bench.savBtn->isEnabled() &&
                         !bench.savAsBtn->isEnabled() && !bench.tnHFName->isEnabled() &&
                         !bench.rpAF->isEnabled() && !bench.folderButton->isEnabled();
      pointerBusy = QApplication::overrideCursor() != nullptr;
      bench.commands->File2_Click();  // would nest a scan: refused
      captionAfterClick = bench.prgFrame->title();
      Tick(bench);  // would overlap: skipped
    });

    Tick(bench);

    QVERIFY(ran);
    QVERIFY(controlsDisabled);
    QVERIFY(pointerBusy);
    QCOMPARE(captionAfterClick, QString(""));
    QCOMPARE(bench.Listed(bench.file2),
             QStringList({"KEEP1.RCM", "PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"}));
    QCOMPARE(bench.Selected(bench.file2), QString("PART1.RCM"));
    QCOMPARE(bench.prgFrame->title(), QString("PART1.RCM"));
    QVERIFY(bench.file1->isEnabled() && bench.file2->isEnabled() && bench.savBtn->isEnabled() &&
            bench.folderButton->isEnabled());
    QVERIFY(PointerIsNormal());
  }

  void tickSummaryNamesWhatTheTickDid_data() {
    QTest::addColumn<TickOutcome>("outcome");
    QTest::addColumn<QString>("summary");
    TickOutcome nothing;
    QTest::newRow("nothing") << nothing << "";
    TickOutcome one;
    one.translatedFiles = {"/src/PART"};
    QTest::newRow("one file") << one << "Translated PART";
    TickOutcome many;
    many.translatedFiles = {"/s/A", "/s/B", "/s/C", "/s/D", "/s/E", "/s/F"};
    QTest::newRow("many files") << many << "Translated A, B, C, D and 2 more";
    TickOutcome mixed;
    mixed.translatedFiles = {"/s/A"};
    mixed.refusedFiles = {"/s/NOTES"};
    mixed.deletedPrograms = {"/p/OLD1.RCM", "/p/OLD2.RCM"};
    mixed.errors = {"Cannot write /p/A1.RCM: No space left on device"};
    QTest::newRow("mixed")
        << mixed
        << "Translated A; not G-code of the accepted kind: NOTES; deleted OLD1.RCM, OLD2.RCM; "
           "Cannot write /p/A1.RCM: No space left on device";
    TickOutcome deletedOnly;
    deletedOnly.deletedPrograms = {"/p/X1.ACC"};
    QTest::newRow("deleted only") << deletedOnly << "Deleted X1.ACC";
  }
  void tickSummaryNamesWhatTheTickDid() {
    QFETCH(TickOutcome, outcome);
    QFETCH(QString, summary);
    QCOMPARE(QString::fromStdString(TickSummary(outcome)), summary);
  }

  // --- Delete all, source frame, mask button --------------------------------------------

  void deleteAllAnsweredYesDeletesEveryProgramOfTheFormat() {
    CommandBench bench(kRcm);
    bench.programs.Write("A1.RCM", "a");
    bench.programs.Write("template.rcm", "t");
    bench.programs.Write("KEEP.ACC", "k");
    bench.RefreshLists();
    bench.asker.answers = {true};

    QTest::mouseClick(bench.rpAF, Qt::LeftButton);

    QCOMPARE(bench.asker.questions.size(), size_t{1});
    QCOMPARE(QString::fromStdString(bench.asker.questions[0].title), QString("Alert!"));
    QCOMPARE(QString::fromStdString(bench.asker.questions[0].text),
             QString("Deleting all RCM files will allow all files in the source directory\r"
                     "     to be reprocessed if Automatic Translation is turned on.\r\r"
                     "                Do You Wish To Continue With Deletion?"));
    QVERIFY(!bench.programs.Exists("A1.RCM"));
    QVERIFY(!bench.programs.Exists("template.rcm"));
    QVERIFY(bench.programs.Exists("KEEP.ACC"));
    QCOMPARE(bench.Listed(bench.file2), QStringList());
    QCOMPARE(bench.statuses.back(), QString("Deleted 2 RCM programs"));
    QVERIFY(bench.file2->hasFocus());
  }

  void deleteAllAnsweredNoDeletesNothingAndRefreshesTheList() {
    CommandBench bench(kAcc);
    bench.programs.Write("A1.ACC", "a");
    bench.RefreshLists();
    bench.programs.Write("B1.ACC", "b");  // listed only after the refresh
    bench.asker.answers = {false};

    QTest::mouseClick(bench.rpAF, Qt::LeftButton);

    QCOMPARE(bench.asker.questions.size(), size_t{1});
    QVERIFY(QString::fromStdString(bench.asker.questions[0].text).startsWith("Deleting all ACC"));
    QVERIFY(bench.programs.Exists("A1.ACC"));
    QCOMPARE(bench.Listed(bench.file2), QStringList({"A1.ACC", "B1.ACC"}));
    QVERIFY(bench.file2->hasFocus());
    QVERIFY(bench.statuses.empty());
  }

  void sourceFrameClickReadsTheSourceFolderAgain() {
    CommandBench bench(kRcm);
    bench.source.Write("NEW", kPartGcode);
    QCOMPARE(bench.Listed(bench.file1), QStringList());

    QTest::mouseClick(bench.sourceFrame, Qt::LeftButton, {}, QPoint(2, 2));

    QCOMPARE(bench.Listed(bench.file1), QStringList({"NEW"}));
  }

  void maskButtonStoresTheMasksAndReportsTheChange() {
    CommandBench bench(kRcm);
    QTimer::singleShot(0, &bench.window, [&] {
      auto* dialog = bench.commands->renameDialog();
      QVERIFY(dialog != nullptr && dialog->isVisible());
      dialog->horzName()->item(1, 4)->setText("");
      QTest::mouseClick(dialog->findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    });

    QTest::mouseClick(bench.tnHFName, Qt::LeftButton);

    QCOMPARE(bench.masksChanged, 1);
    QCOMPARE(QString::fromStdString(bench.session.Settings().masks[2]), QString("        "));
    QCOMPARE(bench.Stored("HorizontalRename/Mask2"), QString("********"));
  }
};

QTEST_MAIN(ProgramCommandsTest)
#include "program_commands_test.moc"
