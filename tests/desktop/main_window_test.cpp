// The main window on real folders: start-up, loading, editing and saving a program,
// translation when a file is closed, the activity history, the panel preview's place, the
// three questions asked before deleting, as message boxes answered with the keyboard, and
// what keeps the operator from harm: ticks and commands kept apart, the About box first, dialogs
// that change nothing when cancelled, the tab order.
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDateTime>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <iostream>
#include <optional>
#include <sstream>

#include "desktop/about_box.h"
#include "desktop/activity_history.h"
#include "desktop/digit_spinner.h"
#include "desktop/option_check_box.h"
#include "desktop/panel_preview.h"
#include "desktop/rename_dialog.h"
#include "outside/folder_lock.h"
#include "program/session.h"
#include "window_fixture.h"

using namespace tessaro::testing;
using tessaro::desktop::RenameDialog;

class MainWindowTest : public DesktopTest {
  Q_OBJECT

 private slots:
  void storedFoldersAreListedAndShownWholeInTheirTooltip() {
    TempFolder work;
    work.Write("src/PART", "G71\n");
    work.Write("src/PART.NC", "G71\n");
    const std::string deepName =
        "a-folder-name-of-forty-characters-long-1/another-folder-name-forty-characters-long2";
    for (const char* name : {"/PART1.RCM", "/PART2.rcm", "/PART3.ACC"})
      work.Write(deepName + name, "x");
    const std::string deep = work.File(deepName);
    StartedWindow started("[Settings]\nRCM=YES\nSourcePath=" + work.path() +
                          "/src/\nDestinationPath=" + deep + "/\n");
    auto* dPath = started.find<QLabel>("DPath");
    QCOMPARE(dPath->text(), Q(deep + "/"));
    started.window().show();
    started.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&started.window()));
    QTest::mouseMove(dPath, QPoint(5, dPath->height() / 2));  // the pointer rests on it
    QTRY_COMPARE(QToolTip::text(), Q(deep + "/"));
    QCOMPARE(Listed(started.window().file1()), QStringList({"PART"}));
    QCOMPARE(Listed(started.window().file2()), QStringList({"PART1.RCM", "PART2.rcm"}));
    COMPARE_STD(started.window().session().Settings().destinationFolder, deep);
  }

  void aFolderThatCannotBeListedIsSkippedAndBadValuesAreToldInOneMessage() {
    TempFolder work;
    std::ostringstream errors;
    std::streambuf* const standardError = std::cerr.rdbuf(errors.rdbuf());
    StartedWindow started("[Settings]\nSourcePath=" + work.File("gone") + "/\nScanTime=abc\n");
    std::cerr.rdbuf(standardError);
    COMPARE_STD(errors.str(), "Tessaro start-up: step skipped: Cannot read the folder " +
                                  work.File("gone") + ": No such file or directory\n");
    QCOMPARE(Q(started.window().file1()->path()), Q(started.current.path()));
    // The values not used as they stand, all in one message.
    const std::string settings = started.home.File("Tessaro.INI");
    QCOMPARE(started.asker.told.size(), size_t{1});
    COMPARE_STD(started.asker.told.front(),
                "Alert|Tessaro.INI holds values that are not used as they stand:\r" + settings +
                    " line 2: SourcePath=" + work.File("gone") +
                    "/ names no folder that exists; the name as it stands is used instead\r" +
                    settings +
                    " line 3: ScanTime=abc is not a number of seconds from 0.001 to 86400; 5 is "
                    "used instead");
  }

  void aNameThatIsNotUtf8IsShownReadablyAndOpensAndSavesItsOwnFile() {
#ifdef _WIN32
    QSKIP("A Windows file name is UTF-16: none can be made that is not UTF-8 here");
#endif
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
    QVERIFY(QApplication::overrideCursor() == nullptr);
    shown.Press("BtnNew");
    QCOMPARE(shown.Caption() + " " + shown.cmt1()->text() + ": " + shown.Rows(),
             QString("Untitled.RCM Template: 0 0 0, 0 0 0"));
    QVERIFY(shown.cmt1()->hasFocus());
  }

  void withAutomaticTranslationAFileIsTranslatedWhenClosedWithoutWaitingForTheTimer() {
    ShownWindow shown("AutoScan=1\n");  // its timer stopped
    shown.source.Write("PART", kPanelGcode);
    QTRY_VERIFY_WITH_TIMEOUT(shown.programs.Exists("PART4.RCM"), 10000);
    QTRY_COMPARE(Q(shown.file2()->fileName()), QString("PART1.RCM"));
    QVERIFY(shown.find<tessaro::desktop::OptionCheckBox>("AutoScan")->setValue(0));
    shown.source.Write("SIDE", kPanelGcode);
    QTest::qWait(500);
    QVERIFY(!shown.programs.Exists("SIDE1.RCM"));
  }

  void aRefusedFileIsAskedAboutOnceAndMarkedUntilItChanges() {
    ShownWindow shown("ScanTime=0.1\nAutoScan=1\n");
    shown.source.Write("NOTES01", "Cut list\n");
    shown.window().timer1()->start();
    QTRY_COMPARE(shown.asker.questions.size(), size_t{1});
    QTest::qWait(350);  // three more ticks ask nothing
    QCOMPARE(shown.asker.questions.size(), size_t{1});
    const QList<QListWidgetItem*> items = shown.file1()->findItems("NOTES01", Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    QVERIFY(items.front()->toolTip().startsWith("Not G-code of the accepted kind"));
    shown.source.Write("NOTES01", "Cut list, second version\n");
    QTRY_COMPARE(shown.asker.questions.size(), size_t{2});
    QVERIFY(shown.source.Exists("NOTES01"));
  }

  // Each control writes its own key, and no other.
  void eachOptionControlWritesItsOwnKey() {
    ShownWindow shown("DrillExclusion=0\nDowellExclusion=0\nNoEmpties=0\nNoDuplicates=0\n");
    const auto keys = [&shown] {
      QStringList lines;
      for (const char* key : {"DrillExclusion", "DowellExclusion", "NoEmpties", "NoDuplicates"}) {
        lines << StoredLine(shown.home, key);
      }
      return lines.join(" ");
    };
    using tessaro::desktop::DigitSpinner;
    QTest::mouseClick(shown.find<DigitSpinner>("VScrollDr")->upArrow(), Qt::LeftButton);
    QCOMPARE(keys(), QString("DrillExclusion=1 DowellExclusion=0 NoEmpties=0 NoDuplicates=0"));
    QTest::mouseClick(shown.find<DigitSpinner>("VScrollDw")->upArrow(), Qt::LeftButton);
    QTest::mouseClick(shown.find<DigitSpinner>("VScrollDw")->upArrow(), Qt::LeftButton);
    QCOMPARE(keys(), QString("DrillExclusion=1 DowellExclusion=2 NoEmpties=0 NoDuplicates=0"));
    shown.find<QCheckBox>("NoEmpties")->click();
    QCOMPARE(keys(), QString("DrillExclusion=1 DowellExclusion=2 NoEmpties=1 NoDuplicates=0"));
    shown.find<QCheckBox>("NoDupes")->click();
    QCOMPARE(keys(), QString("DrillExclusion=1 DowellExclusion=2 NoEmpties=1 NoDuplicates=1"));
  }

  // A stored place off every screen (a second monitor gone) comes back onto the primary
  // one; closing stores the window's own corner, in twips (15 a pixel).
  void aPlaceOffEveryScreenOpensOnThePrimaryOneAndClosingStoresTheWindowsCorner() {
    StartedWindow started("[Window]\nLeft=900000\nTop=900000\n");
    QCOMPARE(started.window().pos(),
             QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    started.window().move(40, 30);
    started.window().close();
    QCOMPARE(StoredLine(started.home, "Left") + " " + StoredLine(started.home, "Top"),
             QString("Left=600 Top=450"));
  }

  // A new folder must not inherit a consent to delete given for the old one.
  void choosingANewFolderUnticksAutomaticTranslationAndDeletion() {
    ShownWindow shown("AutoScan=1\nAutoDelete=1\n");
    TempFolder elsewhere;
    shown.window().setFolderChooser([&elsewhere](const std::string&) { return elsewhere.path(); });
    shown.Press("SDir");
    QCOMPARE(shown.find<tessaro::desktop::OptionCheckBox>("AutoDel")->value(), 0);
    QCOMPARE(shown.find<tessaro::desktop::OptionCheckBox>("AutoScan")->value(), 0);
    QCOMPARE(StoredLine(shown.home, "AutoDelete"), QString("AutoDelete= 0"));
  }

  void clickingAnEmptyFileSaysSoAndWritesNothing() {
    ShownWindow shown;
    shown.source.Write("VOID", " \r\n");
    shown.programs.Write("VOID1.RCM", "kept");
    QVERIFY(shown.Click(shown.file1(), "VOID"));
    QCOMPARE(shown.Status(),
             QString("VOID is empty: nothing was translated, its programs are kept"));
    QCOMPARE(shown.programs.List(), std::vector<std::string>{"VOID1.RCM"});
    COMPARE_STD(shown.programs.Read("VOID1.RCM"), "kept");
    QVERIFY(shown.asker.questions.empty());
    QCOMPARE(shown.window().windowTitle(), QString("Tessaro - RCM format"));
  }

  // One automatic writer per program folder: the window, or the headless scan.
  void automaticTranslationHoldsTheProgramFolderAndStaysOffWhileAnotherHoldsIt() {
    using tessaro::FolderLock;
    ShownWindow shown("AutoScan=1\n");
    auto* automatic = shown.find<tessaro::desktop::OptionCheckBox>("AutoScan");
    QCOMPARE(FolderLock(shown.programs.path()).state(), FolderLock::State::kHeldElsewhere);
    QTest::mouseClick(automatic, Qt::LeftButton);
    QCOMPARE(automatic->value(), 0);
    {
      const FolderLock scan(shown.programs.path());
      QVERIFY(scan.held());
      QTest::mouseClick(automatic, Qt::LeftButton);
      QCOMPARE(automatic->value(), 0);
      QCOMPARE(StoredLine(shown.home, "AutoScan"), QString("AutoScan= 0"));
      QCOMPARE(shown.asker.told.size(), size_t{1});
      QVERIFY2(
          shown.asker.told.front().rfind(
              "Alert|Automatic Translation stays off: the program folder " + shown.programs.path() +
                  " is kept in step by process " + std::to_string(::getpid()) + " on ",
              0) == 0,
          shown.asker.told.front().c_str());
    }
    QTest::mouseClick(automatic, Qt::LeftButton);
    QCOMPARE(automatic->value(), 1);
  }

  void historyOpensFromTheStatusLineWithoutMovingAControlAndFollowsTheLog() {
    ShownWindow shown;
    auto* history = shown.find<QToolButton>("HistoryButton");
    const auto places = [&shown] {
      QStringList named;
      for (const QWidget* widget : shown.window().findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->objectName() == "HistoryButton") continue;
        const QRect at(widget->mapTo(&shown.window(), QPoint()), widget->size());
        named << QString("%1 %2,%3 %4x%5")
                     .arg(widget->objectName())
                     .arg(at.x())
                     .arg(at.y())
                     .arg(at.width())
                     .arg(at.height());
      }
      return named;
    };
    history->hide();
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QStringList without = places();
    history->show();
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCOMPARE(places(), without);

    shown.source.Write("PART", kPanelGcode);
    QVERIFY(shown.Click(shown.file1(), "PART"));
    QTest::mouseClick(history, Qt::LeftButton);
    auto* lines = shown.find<QTreeWidget>("ActivityLines");
    QVERIFY(lines->isVisible());
    const auto newest = [lines] {
      const QTreeWidgetItem* item = lines->topLevelItem(0);
      return item == nullptr ? QString()
                             : item->text(1) + " " + item->text(2) + " " + item->toolTip(2);
    };
    QCOMPARE(newest(), "translated PART " + Q(shown.source.File("PART")));
    QCOMPARE(history->autoRaise(), false);
    QCOMPARE(shown.find<QLabel>("ActivitySource")->text(),
             "The last line of " + Q(shown.window().activityLog().path()));

    // Written by tessaro-cli, say: the history follows the log while it is open.
    tessaro::ActivityLog(shown.window().activityLog().path()).Append({"", "deleted", "/x", ""});
    QTRY_COMPARE(newest(), QString("deleted x /x"));
  }

  void logThatCannotBeWrittenLeavesANoteInTheStatusLineAndTranslationGoesOn() {
    ShownWindow shown;
    shown.home.MakeFolder("Tessaro.log");
    shown.source.Write("PART", kPanelGcode);

    QVERIFY(shown.Click(shown.file1(), "PART"));

    QVERIFY(shown.programs.Exists("PART1.RCM"));
    auto* note = shown.find<QLabel>("LogNote");
    QVERIFY(note->isVisible());
#ifdef _WIN32
    const QString reason = "Permission denied";  // Windows' answer for a folder opened as a file
#else
    const QString reason = "Is a directory";
#endif
    QCOMPARE(note->toolTip(), "Cannot write " + Q(shown.home.File("Tessaro.log")) + ": " + reason);
  }

  void doubleClickOnThePanelOpensTheLargerViewWhichFollowsTheNextDrawing() {
    ShownWindow shown;
    shown.source.Write("PART", kPanelGcode);
    shown.source.Write("SIDE", kPanelGcode);
    QVERIFY(shown.Click(shown.file1(), "PART"));
    auto* preview = shown.find<tessaro::desktop::PanelPreview>("PanelPreview");
    QTest::mouseDClick(preview, Qt::LeftButton);
    QDialog* larger = preview->largerView();
    QVERIFY(larger != nullptr && larger->isVisible());
    auto* shownLarger = larger->findChild<tessaro::desktop::PanelPreview*>("LargerPanelPreview");
    const auto caption = [shownLarger] { return shownLarger->drawing()->texts.front().Text(); };
    COMPARE_STD(caption(), "PART");
    QVERIFY(shown.Click(shown.file1(), "SIDE"));
    COMPARE_STD(caption(), "SIDE");
    QVERIFY(shownLarger->width() > preview->width());
    const QImage painted = shownLarger->grab().toImage();
    QCOMPARE(painted.pixelColor(painted.width() / 2, painted.height() / 2), QColor(0xf3e3c3));
  }

  void panelAreaCoversNoOtherControlWhichKeepItsPlaces() {
    ShownWindow shown;
    tessaro::desktop::MainWindow* window = &shown.window();
    auto* frame = shown.find<QWidget>("PanelFrame");
    const QRect area(frame->mapTo(window, QPoint(0, 0)), frame->size());
    int controls = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (!control->isVisible() || control->isAncestorOf(frame) || frame->isAncestorOf(control) ||
          control == frame)
        continue;
      ++controls;
      const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
      QVERIFY2(!place.intersects(area), qPrintable(control->objectName()));
    }
    QVERIFY(controls > 30);
    // The controls have the width a window 1000 pixels wide gave them before.
    auto* dest = shown.find<QWidget>("DestFrame");
    const int right = dest->mapTo(window, QPoint(dest->width(), 0)).x();
    QCOMPARE(right + window->centralWidget()->layout()->contentsMargins().right(), 1000);
  }

  // Each question is left open across several ticks of a short scan period, answered
  // with a key, then asked again and answered Yes. The texts of the other two questions
  // are the core's; their line ends become new lines. A command may show the busy pointer
  // while it works, never over a question.
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
    // An empty source folder never deletes programs by itself.
    if (automatic) shown.source.Write("PART", tessaro::testing::kPanelGcode);
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
      const QCursor* pointer = QApplication::overrideCursor();
      asked = QString("%1|%2|%3|kept %4%5")
                  .arg(box.windowTitle() + (box.icon() == QMessageBox::Warning ? " (warning)" : ""),
                       box.text().left(texts.at(question).size()))
                  .arg(box.standardButtons() == (QMessageBox::Yes | QMessageBox::No) &&
                               box.defaultButton() == box.button(QMessageBox::No)
                           ? "Yes, No by default"
                           : "other buttons")
                  .arg(kept() ? "yes" : "no")
                  .arg(pointer != nullptr && pointer->shape() != Qt::ArrowCursor ? ", busy" : "");
      QTest::keyClick(box.focusWidget(), Qt::Key(key));
    });
    ask();
    QTest::qWait(250);
    QVERIFY(QApplication::overrideCursor() == nullptr);

    QCOMPARE(asked, "Alert! (warning)|" + texts.at(question) + "|Yes, No by default|kept yes");
    QVERIFY(kept());
    QCOMPARE(shown.find<tessaro::desktop::OptionCheckBox>("AutoDel")->value(), 0);

    WhenModal<QMessageBox>(&shown.window(), [](QMessageBox& box) {
      QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
    });
    ask();
    QTRY_VERIFY(!kept());  // automatic deletion: at the next tick
    if (question == "delete all") QCOMPARE(shown.Status(), QString("Deleted 1 RCM programs"));
  }

  // A tick holds the session and the program folder. While one runs (here, while it asks
  // about a file that is not G-code) every command that translates, deletes, loads or
  // saves is disabled, and a Save tried meanwhile neither writes nor says it saved.
  void aTickDisablesTheCommandsThatScanOrSaveUntilItEnds() {
    ShownWindow shown("AutoScan=1\n");
    shown.programs.Write("PART1.RCM", SmallTemplate());
    QVERIFY(shown.Click(shown.file2(), "PART1.RCM"));
    shown.cmt1()->selectAll();
    QTest::keyClicks(shown.cmt1(), "Edited");
    shown.source.Write("NOTES01", "Cut list\n");
    // Written a minute ago: the tick takes it at once, without waiting for it to settle.
    shown.source.SetModifiedSeconds("NOTES01", QDateTime::currentSecsSinceEpoch() - 60);
    QStringList enabled;
    shown.asker.whileAsking = [&] {
      for (const char* name :
           {"File1", "File2", "BtnNew", "SavBtn", "SavAsBtn", "tnHFName", "RpAF", "SDir", "DDir"}) {
        if (shown.find<QWidget>(name)->isEnabled()) enabled << name;
      }
      QTest::keyClick(shown.cmt1(), Qt::Key_S, Qt::ControlModifier);
    };
    shown.window().commands().Timer1_Timer();

    QCOMPARE(shown.asker.questions.size(), size_t{1});
    COMPARE_STD(shown.asker.questions.front(),
                "Alert!|         Source file NOTES01\r    Is not of the correct file type.\r\r"
                "      Do you wish to delete it?");
    QCOMPARE(enabled, QStringList());
    QVERIFY2(!shown.Status().contains("Saved"), qPrintable(shown.Status()));
    COMPARE_STD(shown.programs.Read("PART1.RCM"), SmallTemplate());
    QTest::keyClick(shown.cmt1(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(shown.programs.Read("PART1.RCM").find("\"Edited\"") != std::string::npos);
  }

  // The operator reads the About box before anything the settings say takes effect; the
  // window's stored place is the first thing applied.
  void theAboutBoxComesBeforeTheSettingsAreApplied() {
    TempFolder home;
    home.Write("Tessaro.INI", "[Window]\nLeft=600\nTop=450\n");
    RecordingOperator asker;
    tessaro::desktop::MainWindow window(asker, home.PathWithSeparator());
    std::optional<QPoint> underAbout;  // none unless the box opens
    WhenModal<tessaro::desktop::AboutBox>(&window, [&](QDialog& about) {
      underAbout = window.pos();
      about.accept();
    });
    window.StartUp();
    QVERIFY(underAbout.has_value() && *underAbout != QPoint(40, 30));
    QCOMPARE(window.pos(), QPoint(40, 30));
  }

  // A program of twelve holes: the grid has a row for each, past the ten it starts with.
  void theGridShowsEveryHoleOfALongProgram() {
    ShownWindow shown;
    std::string records;
    for (int hole = 1; hole <= 12; ++hole) {
      records += "HOL," + std::to_string(hole) + ",0,0," + std::to_string(50 * hole) + ".0,9\r\n";
    }
    shown.programs.Write("LONG1.RCM", RcmProgram("\"Long\",0", records));
    QVERIFY(shown.Click(shown.file2(), "LONG1.RCM"));
    auto* grid = shown.find<QTableView>("HorzPrg");
    QCOMPARE(grid->verticalHeader()->count(), 12);
    QCOMPARE(grid->model()->index(11, 0).data().toString(), QString("600"));
  }

  void saveAsOffersTheProgramsOfTheFormatInUse_data() {
    QTest::addColumn<QString>("rcm");
    QTest::addColumn<QString>("filter");
    QTest::newRow("RCM") << QString("YES") << QString("*.RCM");
    QTest::newRow("ACC") << QString("NO") << QString("*.ACC");
  }
  void saveAsOffersTheProgramsOfTheFormatInUse() {
    QFETCH(QString, rcm);
    QFETCH(QString, filter);
    StartedWindow started("[Settings]\nRCM=" + rcm.toStdString() + "\n");
    QStringList offered;
    WhenModal<QFileDialog>(&started.window(), [&offered](QFileDialog& dialog) {
      offered = dialog.nameFilters();
      dialog.reject();
    });
    started.find<QPushButton>("SavAsBtn")->click();
    QCOMPARE(offered, QStringList({filter}));
  }

  // The folder dialog keeps its own place and last folder ([DirDialogBox]); the rest of
  // the settings, the masks and the window stay as they were.
  void cancelInTheNameAndFolderDialogsChangesNothing_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("filename assignment") << "tnHFName";
    QTest::newRow("G-code folder") << "SDir";
    QTest::newRow("program folder") << "DDir";
  }
  void cancelInTheNameAndFolderDialogsChangesNothing() {
    QFETCH(QString, button);
    ShownWindow shown("AutoScan=1\nAutoDelete=1\n");
    // Each option box writes its key when it changes: the settings file shows them too.
    const auto state = [&shown] {
      const std::string settings = shown.home.Read("Tessaro.INI");
      QStringList seen = {Q(settings.substr(0, settings.find("[DirDialogBox]"))),
                          shown.find<QLabel>("SPath")->text(), shown.find<QLabel>("DPath")->text()};
      for (const std::string& mask : shown.window().session().Settings().masks) seen << Q(mask);
      return seen;
    };
    const QStringList before = state();
    WhenModal<QDialog>(&shown.window(), [](QDialog& dialog) {
      if (auto* names = qobject_cast<RenameDialog*>(&dialog)) {
        names->horzName()->item(0, 0)->setText("K");
      } else {
        auto* folders = dialog.findChild<QListWidget*>("Dir1");
        folders->setCurrentRow(0);  // ".."
        QTest::keyClick(folders, Qt::Key_Return);
      }
      QTest::mouseClick(dialog.findChild<QPushButton*>("BtnCan"), Qt::LeftButton);
    });
    shown.Press(button.toLatin1().constData());
    QCOMPARE(state(), before);
  }

  // Empties and Duplicates need every face's mask: blank at start, the boxes are off;
  // a mask given in the filename assignment dialog turns them on.
  void theOmissionBoxesAreOffWhileAMaskIsBlank_data() {
    QTest::addColumn<int>("face");
    for (int face = 1; face <= 4; ++face) QTest::addRow("face %d", face) << face;
  }
  void theOmissionBoxesAreOffWhileAMaskIsBlank() {
    QFETCH(int, face);
    std::string ini = "[HorizontalRename]\nMask1=1\nMask2=2\nMask3=3\nMask4=4\n";
    ini.replace(ini.find("=" + std::to_string(face)), 2, "=*");  // blank
    StartedWindow started(ini);
    const auto enabled = [&started] {
      return QString("%1 %2")
          .arg(started.find<QWidget>("NoEmpties")->isEnabled())
          .arg(started.find<QWidget>("NoDupes")->isEnabled());
    };
    QCOMPARE(enabled(), QString("0 0"));
    WhenModal<RenameDialog>(&started.window(), [face](RenameDialog& dialog) {
      dialog.horzName()->item(face - 1, 4)->setText("K");
      QTest::mouseClick(dialog.findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    });
    started.find<QPushButton>("tnHFName")->click();
    QCOMPARE(enabled(), QString("1 1"));
  }

  // Tab walks the window as it reads, left to right: the G-code folder and list, the
  // program (out of the grid at once), the program folder and list, then the options.
  void tabWalksTheControlsInReadingOrder() {
    ShownWindow shown("AutoScan=1\n");
    shown.programs.Write("PART1.RCM", SmallTemplate());
    QVERIFY(shown.Click(shown.file2(), "PART1.RCM"));  // the unit buttons take part
    shown.find<QWidget>("SDir")->setFocus();
    QStringList walked;
    for (int step = 0; step < 20; ++step) {
      walked << QApplication::focusWidget()->objectName();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walked.join(" "), QString("SDir File1 HorzPrg Cmt1 Cmt2 Inch BtnNew SavBtn SavAsBtn "
                                       "tnHFName DDir File2 RpAF AutoScan AutoDel NoEmpties "
                                       "NoDupes DrillEx DowelEx SDir"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
