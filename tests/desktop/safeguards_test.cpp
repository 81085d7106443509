// What keeps the operator from harm: ticks and commands kept apart, the pointer over a
// question, the About box before the settings, the whole of a long program, the Save As
// filter, dialogs that change nothing when cancelled, the omission boxes, the tab order.
#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

#include "desktop/about_box.h"
#include "desktop/dir_dialog.h"
#include "desktop/rename_dialog.h"
#include "program/session.h"
#include "window_fixture.h"

using namespace tessaro::testing;
using tessaro::desktop::RenameDialog;

class SafeguardsTest : public DesktopTest {
  Q_OBJECT

 private slots:
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

  // A command shows the busy pointer while it works; a question over it shows the arrow.
  void aQuestionShowsTheNormalPointer() {
    ShownWindow shown("", true);
    shown.source.Write("NOTES01", "Cut list\n");
    int shape = -1;
    WhenModal<QMessageBox>(&shown.window(), [&shape](QMessageBox& box) {
      if (const QCursor* pointer = QApplication::overrideCursor()) shape = pointer->shape();
      QTest::keyClick(&box, Qt::Key_Escape);
    });
    QVERIFY(shown.Click(shown.file1(), "NOTES01"));
    QCOMPARE(shape, int(Qt::ArrowCursor));
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  // The operator reads the About box before anything the settings say takes effect.
  void theAboutBoxComesBeforeTheSettingsAreApplied() {
    TempFolder home;
    TempFolder source;
    home.Write("Tessaro.INI", "[Settings]\nRCM=YES\nSourcePath=" + source.path() + "\n");
    RecordingOperator asker;
    tessaro::desktop::MainWindow window(asker, home.PathWithSeparator());
    const auto applied = [&window] {
      return window.windowTitle() + "|" + window.findChild<QLabel*>("SPath")->text();
    };
    QString underAbout;
    WhenModal<tessaro::desktop::AboutBox>(&window, [&](QDialog& about) {
      underAbout = applied();
      about.accept();
    });
    window.StartUp();
    QCOMPARE(underAbout, QString("Tessaro|"));
    QCOMPARE(applied(), "Tessaro - RCM format|" + Q(source.path()));
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
    std::string ini = "[HorizontalRename]\n";
    for (int other = 1; other <= 4; ++other) {
      ini +=
          "Mask" + std::to_string(other) + "=" + (other == face ? "********" : "****K***") + "\n";
    }
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

QTEST_MAIN(SafeguardsTest)
#include "safeguards_test.moc"
