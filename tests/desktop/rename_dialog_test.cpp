// The filename assignment dialog: shown masks, OK, Cancel and the characters it refuses.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <functional>

#include "app/settings_file.h"
#include "desktop/rename_dialog.h"
#include "window_fixture.h"

using tessaro::desktop::RenameDialog;
using namespace tessaro::testing;

namespace {

// A dialog over masks and a settings file of its own.
struct MaskBench {
  TempFolder home;
  tessaro::SettingsFile settings{home.File("Tessaro.INI")};
  tessaro::FaceMasks masks{"", "    1   ", "    2   ", "    3   ", "      -3"};
  RenameDialog dialog{settings, masks};

  // Shows the dialog modally, lets `act` work on it while it is open, then presses
  // `button` unless `act` closed it.
  bool Run(const std::function<void(QTableWidget&)>& act, const char* button = "BtnOK") {
    WhenModal<RenameDialog>(&dialog, [act, button](RenameDialog& shown) {
      act(*shown.horzName());
      if (shown.isVisible())
        QTest::mouseClick(shown.findChild<QPushButton*>(button), Qt::LeftButton);
    });
    return dialog.Run();
  }
  QString Row(int face) const {
    QString row;
    for (int position = 0; position < 8; ++position) {
      const QTableWidgetItem* item = dialog.horzName()->item(face - 1, position);
      row += item == nullptr || item->text().isEmpty() ? QString("_") : item->text();
    }
    return row;
  }
};

}  // namespace

class RenameDialogTest : public DesktopTest {
  Q_OBJECT

 private slots:
  // Each showing shows the masks; Cancel changes nothing. On OK two characters in a cell
  // move the rest right, and every row is stored with blanks as stars.
  void okStoresEveryRowWithBlanksAsStarsAndCancelNothing() {
    MaskBench bench;
    QString shown;
    QVERIFY(!bench.Run(
        [&](QTableWidget& grid) {
          shown = bench.Row(1) + " " + bench.Row(4);
          grid.item(0, 0)->setText("Q");
        },
        "BtnCan"));
    QCOMPARE(shown, QString("____1___ ______-3"));
    COMPARE_STD(bench.masks[1], "    1   ");
    QVERIFY(!bench.home.Exists("Tessaro.INI"));
    QVERIFY(bench.Run([&](QTableWidget& grid) { grid.item(0, 0)->setText("AB"); }));
    COMPARE_STD(bench.masks[1], "AB   1  ");
    QCOMPARE(StoredLine(bench.home, "Mask1"), QString("Mask1=AB***1***"));
    QCOMPARE(StoredLine(bench.home, "Mask4"), QString("Mask4=******-3"));
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
    MaskBench bench;
    QString noted;
    bench.Run([&](QTableWidget& grid) {
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
      noted = bench.dialog.refusalNote()->text();
      QCOMPARE(QApplication::activeModalWidget(), &bench.dialog);
    });
    QCOMPARE(noted, note);
    QCOMPARE(Q(bench.masks[2]), (cell.isEmpty() ? QString(" ") : cell) + "   2   ");
  }
};

QTEST_MAIN(RenameDialogTest)
#include "rename_dialog_test.moc"
