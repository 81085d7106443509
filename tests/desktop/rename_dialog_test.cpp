// The filename assignment dialog: the characters it refuses, and OK.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "app/settings_file.h"
#include "desktop/rename_dialog.h"
#include "window_fixture.h"

using tessaro::desktop::RenameDialog;
using namespace tessaro::testing;

class RenameDialogTest : public DesktopTest {
  Q_OBJECT

 private slots:
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
};

QTEST_MAIN(RenameDialogTest)
#include "rename_dialog_test.moc"
