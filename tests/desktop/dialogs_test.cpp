// The dialogs: the filename assignment dialog's refusals and OK, the folder dialog's
// navigation.
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "app/settings_file.h"
#include "desktop/dir_dialog.h"
#include "desktop/rename_dialog.h"
#include "desktop/setup_dialog.h"
#include "window_fixture.h"

using tessaro::desktop::DirBrws;
using tessaro::desktop::RenameDialog;
using namespace tessaro::testing;

namespace {

void OpenItem(QListWidget* list, const QString& name) {
  const QRect place = list->visualItemRect(list->findItems(name, Qt::MatchExactly).value(0));
  // A double click as the window system delivers it: a click, then the second press.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

}  // namespace

class DialogsTest : public DesktopTest {
  Q_OBJECT

 private slots:
  // A first start: what the dialog writes, the headless tool takes; Cancel writes nothing.
  void setupDialogWritesSettingsThatTheHeadlessToolTakes() {
    TempFolder home;
    TempFolder work;
    tessaro::desktop::SetupDialog dialog(home.PathWithSeparator());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled());
    QTest::keyClicks(dialog.findChild<QLineEdit*>("SetupSource"), Q(work.MakeFolder("gcode")));
    QTest::keyClicks(dialog.findChild<QLineEdit*>("SetupDestination"),
                     Q(work.MakeFolder("programs")));
    QVERIFY(ok->isEnabled());
    auto* note = dialog.findChild<QLabel*>("SetupTemplateNote");
    QVERIFY(note->text().contains(Q(home.File("Template.RCM"))));
    QTest::mouseClick(dialog.findChild<QRadioButton*>("SetupAcc"), Qt::LeftButton);
    QVERIFY(note->text().isEmpty());
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QProcess status;
    status.start(TESSARO_CLI_PATH, {"status", "--home", Q(home.path())});
    QVERIFY(status.waitForFinished(30000));
    QCOMPARE(status.exitCode(), 0);

    TempFolder other;
    tessaro::desktop::SetupDialog cancelled(other.PathWithSeparator());
    cancelled.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cancelled));
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    QVERIFY(other.List().empty());
  }

  // A refused character leaves a short note in the dialog, and no message box.
  void typedCharactersAFileNameCannotHoldAreRefusedWithANote_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("note");
    const QString ascii("Only plain ASCII characters fit in a mask.");
    QTest::newRow("letter") << QString("K") << QString("K") << QString();
    for (const char* refused : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|"}) {
      QTest::newRow(refused) << QString(refused) << QString()
                             << QString("\"%1\" cannot be part of a file name.").arg(refused);
    }
    QTest::newRow("one character per cell") << QString("AB") << QString("A") << QString();
    QTest::newRow("control character") << QString(QChar(0x01)) << QString() << ascii;
    QTest::newRow("accented letter") << QString(QChar(0xe9)) << QString() << ascii;
    QTest::newRow("refused, then a letter") << QString("/K") << QString("K") << QString();
  }
  void typedCharactersAFileNameCannotHoldAreRefusedWithANote() {
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(QString, note);
    TempFolder home;
    tessaro::FaceMasks masks{"", "    1   ", "    2   ", "    3   ", "    4   "};
    const tessaro::SettingsFile settings(home.File("Tessaro.INI"));
    RenameDialog dialog(settings, masks);
    QString noted;
    WhenModal<RenameDialog>(&dialog, [&](RenameDialog& shown) {
      QTableWidget& grid = *shown.horzName();
      grid.setCurrentCell(1, 0);
      grid.edit(grid.currentIndex());
      QLineEdit* editor = grid.findChild<QLineEdit*>();
      QVERIFY(editor != nullptr);
      // Characters no keyboard test can type go in as the editor's input.
      if (typed.front().isPrint() && typed.front().unicode() < 0x80) {
        QTest::keyClicks(editor, typed);
      } else {
        editor->insert(typed);
      }
      noted = shown.refusalNote()->text();
      QCOMPARE(QApplication::activeModalWidget(), &shown);
      QTest::mouseClick(shown.findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    });
    QVERIFY(dialog.Run());
    QCOMPARE(noted, note);
    QCOMPARE(Q(masks[2]), (cell.isEmpty() ? QString(" ") : cell) + "   2   ");
    // Stored with every blank as a star.
    QCOMPARE(StoredLine(home, "Mask2"),
             "Mask2=" + (cell.isEmpty() ? QString("*") : cell) + "***2***");
  }

  // Folders open with a double click or Enter; a drive's own folder has no way up. OK
  // returns the shown folder with one separator and stores it.
  void openingFoldersInTheListMovesTheShownFolderAndOkReturnsIt() {
    TempFolder home;
    TempFolder drive;
    drive.MakeFolder("DATA/SUB");
    drive.MakeFolder("DATA/OTHER");
    drive.MakeFolder("WORK");
    const tessaro::SettingsFile settings(home.File("Tessaro.INI"));
    RecordingOperator asker;
    tessaro::desktop::DirDialogMemory memory;
    DirBrws dialog(settings, memory, asker, drive.File("DATA/SUB"), {drive.path()});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* dir1 = dialog.findChild<QListWidget*>("Dir1");
    OpenItem(dir1, "..");
    QCOMPARE(Listed(dir1), QStringList({"..", "OTHER", "SUB"}));
    QCOMPARE(dialog.findChild<QLabel*>("LabDir")->text(), Q(drive.File("DATA")));
    dir1->setFocus();
    dir1->setCurrentItem(dir1->findItems("..", Qt::MatchExactly).value(0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(Listed(dir1), QStringList({"DATA", "WORK"}));
    OpenItem(dir1, "DATA");
    dialog.findChild<QPushButton*>("BtnOK")->click();
    COMPARE_STD(dialog.chosenFolder(), drive.File("DATA/"));
    QCOMPARE(StoredLine(home, "LastDir"), Q("LastDir=" + drive.File("DATA")));
    QVERIFY(dialog.isHidden());
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
