// The program commands as the main window wires them: the grid, the file lists, the
// buttons and shortcuts, the mask dialog, the timer, delete-all, the status line and
// the tab order.
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "command_bench.h"
#include "desktop/main_window.h"
#include "desktop/option_check_box.h"
#include "desktop/program_commands.h"
#include "desktop/program_table_model.h"
#include "desktop/rename_dialog.h"
#include "window_fixture.h"

using tessaro::desktop::FileListBox;
using tessaro::desktop::OptionCheckBox;
using tessaro::desktop::ProgramTableModel;
using tessaro::desktop::RenameDialog;
using tessaro::testing::CrLf;
using tessaro::testing::kPartGcode;
using tessaro::testing::StartedWindow;
using tessaro::testing::TempFolder;
using tessaro::testing::TwoHoleAccProgram;
using tessaro::testing::TwoHoleTemplate;

namespace {

// A started and shown main window on its own source and program folders, with a
// template in its home folder. Masks give PART1 .. PART4 for the G-code file PART.
class ShownWindow {
 public:
  // `realSaveDialog` keeps the window's own save dialog instead of the test's answer.
  explicit ShownWindow(bool rcm, const std::string& moreSettings = "", bool realSaveDialog = false)
      : started_(Settings(rcm, moreSettings)) {
    started_.home().Write("Template.RCM", TwoHoleTemplate());
    if (!realSaveDialog) {
      started_.window().commands().setSaveDialog([this](const tessaro::desktop::SaveRequest&) {
        ++saveDialogs;
        return saveAnswer;
      });
    }
    started_.window().show();
    started_.window().activateWindow();
    if (!QTest::qWaitForWindowActive(&started_.window())) throw std::runtime_error("not active");
  }

  tessaro::desktop::MainWindow& window() { return started_.window(); }
  tessaro::testing::ScriptedOperator& asker() { return started_.asker(); }
  const TempFolder& home() const { return started_.home(); }
  template <typename Control>
  Control* find(const char* name) const {
    return started_.find<Control>(name);
  }

  bool Click(FileListBox* list, const QString& name) {
    const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
    if (items.isEmpty()) return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
    QCoreApplication::processEvents();
    return true;
  }
  void Tick() { QVERIFY(QMetaObject::invokeMethod(window().timer1(), "timeout")); }
  QString Grid(int row, int column) {
    return find<QTableView>("HorzPrg")->model()->index(row - 1, column - 1).data().toString();
  }
  QString Caption() { return find<QGroupBox>("PrgFrame")->title(); }
  QString Selected(FileListBox* list) { return QString::fromStdString(list->fileName()); }
  QString Status() { return window().statusBar()->currentMessage(); }

  TempFolder source;
  TempFolder programs;
  int saveDialogs = 0;
  std::string saveAnswer;

 private:
  std::string Settings(bool rcm, const std::string& more) const {
    return std::string("[Settings]\n") + (rcm ? "RCM=YES\n" : "") +
           "SourcePath=" + source.PathWithSeparator() + "\n" +
           "DestinationPath=" + programs.PathWithSeparator() + "\n" + "DeleteButtonVisible=YES\n" +
           more + "[HorizontalRename]\nMask1=****1***\nMask2=****2***\nMask3=****3***\n" +
           "Mask4=****4***\n";
  }

  StartedWindow started_;  // after the folders it lists
};

bool PointerIsNormal() { return QApplication::overrideCursor() == nullptr; }

}  // namespace

class MainWindowCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void gridShowsTheProgramTableWithItsCaptions() {
    ShownWindow shown(true);
    auto* grid = shown.find<QTableView>("HorzPrg");
    QVERIFY(qobject_cast<ProgramTableModel*>(grid->model()) != nullptr);
    QCOMPARE(grid->model()->rowCount(), 10);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("Location"));
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QString("Dowel"));
    QCOMPARE(shown.Grid(1, 2), QString("0"));
    QVERIFY(!shown.find<QGroupBox>("Units")->isEnabled());
  }

  void clickOnGcodeFileSelectsAndLoadsPart1() {
    ShownWindow shown(true);
    shown.source.Write("PART", kPartGcode);
    shown.window().file1()->refresh();

    QVERIFY(shown.Click(shown.window().file1(), "PART"));

    QCOMPARE(shown.Selected(shown.window().file2()), QString("PART1.RCM"));
    QCOMPARE(shown.Caption(), QString("PART1.RCM"));
    QCOMPARE(shown.Grid(1, 1), QString("120"));
    QCOMPARE(shown.Grid(2, 1), QString("480.5"));
    QCOMPARE(shown.find<QLineEdit>("Cmt1")->text(), QString("G-code Import Face 1"));
    QVERIFY(shown.find<QGroupBox>("Units")->isEnabled());
    QVERIFY(PointerIsNormal());
  }

  void clickWithAutomaticTranslationOnDoesNothing() {
    ShownWindow shown(true, "AutoScan=1\n");
    shown.source.Write("PART", kPartGcode);
    shown.window().file1()->refresh();

    QVERIFY(shown.Click(shown.window().file1(), "PART"));

    QVERIFY(!shown.programs.Exists("PART1.RCM"));
    QCOMPARE(shown.Caption(), QString(""));
  }

  void saveWithNothingSelectedOpensSaveAsAndCtrlSDoesTheSame() {
    ShownWindow shown(false);
    QTest::mouseClick(shown.find<QPushButton>("SavBtn"), Qt::LeftButton);
    QCOMPARE(shown.saveDialogs, 1);
    QTest::keyClick(&shown.window(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(shown.saveDialogs, 2);
  }

  void saveAsDialogOffersTheProgramFolderOneFilterAndTheDefaultName() {
    ShownWindow shown(true, "", true);
    shown.programs.Write("OLD1.RCM", "old\r\n");
    QString folder;
    QStringList filters;
    QString typedName;
    bool confirmsOverwrite = true;
    QString suffix = "unset";
    QTimer::singleShot(0, &shown.window(), [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      folder = dialog->directory().absolutePath();
      filters = dialog->nameFilters();
      confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      suffix = dialog->defaultSuffix();
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      typedName = name->text();
      name->setText("OLD1.RCM");
      QTest::keyClick(name, Qt::Key_Return);
    });

    QTest::mouseClick(shown.find<QPushButton>("SavAsBtn"), Qt::LeftButton);

    QCOMPARE(folder, QString::fromStdString(shown.programs.path()));
    QCOMPARE(filters, QStringList({"*.RCM"}));
    QCOMPARE(typedName, QString("*.RCM"));
    QVERIFY(!confirmsOverwrite);
    QCOMPARE(suffix, QString(""));
    // Written over without a question, through the template.
    QVERIFY(shown.programs.Read("OLD1.RCM").rfind("USERLEVELS", 0) == 0);
    QCOMPARE(shown.Caption(), QString("OLD1.RCM"));
  }

  void saveAsOntoTemplateWritesUntitled() {
    ShownWindow shown(true);
    shown.saveAnswer = shown.programs.File("template.rcm");

    QTest::mouseClick(shown.find<QPushButton>("SavAsBtn"), Qt::LeftButton);

    QVERIFY(shown.programs.Exists("Untitled.RCM"));
    QVERIFY(!shown.programs.Exists("template.rcm"));
    QCOMPARE(shown.Caption(), QString("Untitled.RCM"));
    QCOMPARE(shown.window().file2()->item(0)->text(), QString("Untitled.RCM"));
  }

  void newThenSaveInAccEmptiesTheSelectedProgram() {
    ShownWindow shown(false);
    shown.programs.Write("A.ACC", TwoHoleAccProgram());
    shown.window().file2()->refresh();
    QVERIFY(shown.Click(shown.window().file2(), "A.ACC"));
    QCOMPARE(shown.find<QLineEdit>("Cmt1")->text(), QString("Rail"));

    QTest::keyClick(&shown.window(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(shown.find<QLineEdit>("Cmt1")->hasFocus());
    QTest::mouseClick(shown.find<QPushButton>("SavBtn"), Qt::LeftButton);

    QCOMPARE(QString::fromStdString(shown.programs.Read("A.ACC")),
             QString::fromStdString(CrLf({"", "100", "Zones", "4", "Number of holes", "2", "Hole 1",
                                          "0. 0 0 0", "Hole 2", "0. 0 0 0"})));
  }

  void maskDialogWithABlankRowDisablesTheOmissionRules() {
    ShownWindow shown(true);
    auto* noEmpties = shown.find<OptionCheckBox>("NoEmpties");
    auto* noDupes = shown.find<OptionCheckBox>("NoDupes");
    QVERIFY(noEmpties->isEnabled());
    QString shownMask;
    QTimer::singleShot(0, &shown.window(), [&] {
      auto* dialog = shown.window().findChild<RenameDialog*>("Rename");
      QTableWidget* grid = dialog->horzName();
      for (int position = 0; position < 8; ++position) shownMask += grid->item(2, position)->text();
      grid->item(2, 4)->setText("");
      QTest::mouseClick(dialog->findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    });

    QTest::mouseClick(shown.find<QPushButton>("tnHFName"), Qt::LeftButton);

    QCOMPARE(shownMask, QString("3"));
    QVERIFY(!noEmpties->isEnabled());
    QVERIFY(!noDupes->isEnabled());
    QVERIFY(!shown.window().session().Settings().omissionRulesEnabled);
    QCOMPARE(QString::fromStdString(shown.window().session().Settings().masks[3]),
             QString("        "));
    QCOMPARE(tessaro::testing::StoredValue(shown.home(), "HorizontalRename/Mask3"),
             QString("********"));
  }

  void maskDialogCancelledChangesNothing() {
    ShownWindow shown(true);
    QTimer::singleShot(0, &shown.window(), [&] {
      auto* dialog = shown.window().findChild<RenameDialog*>("Rename");
      dialog->horzName()->item(0, 4)->setText("");
      QTest::mouseClick(dialog->findChild<QPushButton*>("BtnCan"), Qt::LeftButton);
    });

    QTest::mouseClick(shown.find<QPushButton>("tnHFName"), Qt::LeftButton);

    QVERIFY(shown.find<OptionCheckBox>("NoEmpties")->isEnabled());
    QCOMPARE(QString::fromStdString(shown.window().session().Settings().masks[1]),
             QString("    1   "));
    QCOMPARE(tessaro::testing::StoredValue(shown.home(), "HorizontalRename/Mask1"),
             QString("****1***"));
  }

  void timerTickTranslatesANewFileAndSelectsItsProgram() {
    ShownWindow shown(true, "AutoScan=1\nScanTime=2.5\n");
    QCOMPARE(shown.window().timer1()->interval(), 2500);
    shown.source.Write("PART", kPartGcode);

    shown.Tick();

    QCOMPARE(shown.window().file1()->count(), 1);
    QCOMPARE(shown.window().file2()->count(), 4);
    QCOMPARE(shown.Selected(shown.window().file2()), QString("PART1.RCM"));
    QCOMPARE(shown.Caption(), QString("PART1.RCM"));
    QCOMPARE(shown.Grid(1, 1), QString("120"));
    QVERIFY(shown.Status().endsWith("  Translated PART"));
    QVERIFY(PointerIsNormal());
  }

  void folderButtonsAreDisabledWhileATickYields() {
    ShownWindow shown(true, "AutoScan=1\n");
    shown.source.Write("PART", kPartGcode);
    bool foldersDisabled = false;
    QTimer::singleShot(0, &shown.window(), [&] {
      foldersDisabled = !shown.find<QToolButton>("SDir")->isEnabled() &&
                        !shown.find<QToolButton>("DDir")->isEnabled() &&
                        !shown.find<QPushButton>("RpAF")->isEnabled();
    });

    shown.Tick();

    QVERIFY(foldersDisabled);
    QVERIFY(shown.find<QToolButton>("SDir")->isEnabled());
    QVERIFY(shown.find<QPushButton>("RpAF")->isEnabled());
  }

  void deleteAllAsksAndDeletesOnYesOnly_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("left");
    QTest::newRow("Yes") << true << false;
    QTest::newRow("No") << false << true;
  }
  void deleteAllAsksAndDeletesOnYesOnly() {
    QFETCH(bool, yes);
    QFETCH(bool, left);
    ShownWindow shown(true);
    shown.programs.Write("A1.RCM", "a");
    shown.window().file2()->refresh();
    shown.asker().answers = {yes};
    auto* rpAF = shown.find<QPushButton>("RpAF");
    QVERIFY(rpAF->isVisible());

    QTest::mouseClick(rpAF, Qt::LeftButton);

    QCOMPARE(shown.asker().questions.size(), size_t{1});
    QCOMPARE(QString::fromStdString(shown.asker().questions[0].title), QString("Alert!"));
    QCOMPARE(shown.programs.Exists("A1.RCM"), left);
    QCOMPARE(shown.window().file2()->count(), left ? 1 : 0);
    QVERIFY(shown.window().file2()->hasFocus());
  }

  void tabGoesThroughTheWindowAsItReads() {
    ShownWindow shown(true);
    shown.find<QToolButton>("SDir")->setFocus();
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

QTEST_MAIN(MainWindowCommandsTest)
#include "main_window_commands_test.moc"
