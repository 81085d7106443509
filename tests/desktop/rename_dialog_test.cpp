// The filename assignment dialog: shown masks, OK, Cancel and the characters it refuses.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/options.h"
#include "app/settings_file.h"
#include "desktop/rename_dialog.h"
#include "desktop_test_support.h"

using tessaro::FaceMasks;
using tessaro::SettingsFile;
using tessaro::desktop::RenameDialog;
using tessaro::testing::kNotStored;
using tessaro::testing::StoredValue;
using tessaro::testing::TempFolder;

namespace {

// A dialog over masks and a settings file of its own.
struct MaskBench {
  TempFolder home;
  SettingsFile settings{home.File("Tessaro.INI")};
  FaceMasks masks{"", "    1   ", "    2   ", "    3   ", "      -3"};
  RenameDialog dialog{settings, masks};

  // Shows the dialog modally and lets `act` work on it while it is open.
  bool Run(const std::function<void(RenameDialog&)>& act) {
    QTimer::singleShot(0, &dialog, [this, act] { act(dialog); });
    return dialog.Run();
  }
  QString Cell(int face, int position) const {
    const QTableWidgetItem* item = dialog.horzName()->item(face - 1, position - 1);
    return item == nullptr ? QString("<none>") : item->text();
  }
  void SetCell(int face, int position, const QString& text) {
    dialog.horzName()->item(face - 1, position - 1)->setText(text);
  }
  QString Stored(int face) const {
    return StoredValue(home, "HorizontalRename/Mask" + std::to_string(face));
  }
  QString Mask(int face) const { return QString::fromStdString(masks[face]); }
};

void ClickOK(RenameDialog& dialog) {
  QTest::mouseClick(dialog.findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
}
void ClickCancel(RenameDialog& dialog) {
  QTest::mouseClick(dialog.findChild<QPushButton*>("BtnCan"), Qt::LeftButton);
}

// Types into a cell as the operator does: the first key opens the cell's editor and the
// rest go to the editor, which stays open. Characters no keyboard test can
// type are put in as the editor's input instead.
void TypeIntoCell(RenameDialog& dialog, int face, int position, const QString& keys,
                  bool typeable) {
  QTableWidget* grid = dialog.horzName();
  grid->setCurrentCell(face - 1, position - 1);
  QLineEdit* editor = nullptr;
  if (typeable) {
    QTest::keyClicks(grid, keys.left(1));
    editor = grid->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    QTest::keyClicks(editor, keys.mid(1));
  } else {
    grid->edit(grid->currentIndex());
    editor = grid->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    editor->insert(keys);
  }
}

}  // namespace

class RenameDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void hasItsCaptionLabelGridAndButtons() {
    MaskBench bench;
    QCOMPARE(bench.dialog.objectName(), QString("Rename"));
    QCOMPARE(bench.dialog.windowTitle(), QString("Filename Assignment"));
    QCOMPARE(bench.dialog.findChild<QLabel*>("Label1")->text(), QString("Horizontal Face"));
    QCOMPARE(bench.dialog.horzName()->objectName(), QString("HorzName"));
    QCOMPARE(bench.dialog.horzName()->rowCount(), 4);
    QCOMPARE(bench.dialog.horzName()->columnCount(), 8);
    QCOMPARE(bench.dialog.findChild<QPushButton*>("BtnOK")->text(), QString("OK"));
    QCOMPARE(bench.dialog.findChild<QPushButton*>("BtnCan")->text(), QString("Cancel"));
  }

  void showsEachMaskCharacterInItsCellAndBlanksAsEmptyCells() {
    MaskBench bench;
    QStringList row4;
    QStringList row1;
    bench.Run([&](RenameDialog& dialog) {
      for (int position = 1; position <= 8; ++position) {
        row4 << bench.Cell(4, position);
        row1 << bench.Cell(1, position);
      }
      ClickCancel(dialog);
    });
    QCOMPARE(row4, QStringList({"", "", "", "", "", "", "-", "3"}));
    QCOMPARE(row1, QStringList({"", "", "", "", "1", "", "", ""}));
  }

  void everyShowingStartsFromTheCurrentMasks() {
    MaskBench bench;
    bench.Run([&](RenameDialog& dialog) {
      bench.SetCell(1, 1, "Z");
      ClickCancel(dialog);
    });
    bench.masks[1] = "X       ";
    QString first;
    bench.Run([&](RenameDialog& dialog) {
      first = bench.Cell(1, 1);
      ClickCancel(dialog);
    });
    QCOMPARE(first, QString("X"));
  }

  void okStoresEveryRowWithBlanksWrittenAsStars() {
    MaskBench bench;
    const bool stored = bench.Run([&](RenameDialog& dialog) {
      bench.SetCell(1, 1, "A");
      ClickOK(dialog);
    });
    QVERIFY(stored);
    QCOMPARE(bench.Mask(1), QString("A   1   "));
    QCOMPARE(bench.Stored(1), QString("A***1***"));
    QCOMPARE(bench.Stored(2), QString("****2***"));
    QCOMPARE(bench.Stored(3), QString("****3***"));
    QCOMPARE(bench.Stored(4), QString("******-3"));
    QCOMPARE(bench.Mask(4), QString("      -3"));
  }

  void okWithAnEmptyRowMakesThatMaskBlank() {
    MaskBench bench;
    bench.Run([&](RenameDialog& dialog) {
      bench.SetCell(2, 5, "");
      ClickOK(dialog);
    });
    QCOMPARE(bench.Mask(2), QString("        "));
    QCOMPARE(bench.Stored(2), QString("********"));
    QVERIFY(!tessaro::AllMasksSet(bench.masks));
  }

  void okWithoutEditingWritesTheSameValuesAgain() {
    MaskBench bench;
    bench.Run([](RenameDialog& dialog) { ClickOK(dialog); });
    QCOMPARE(bench.Stored(1), QString("****1***"));
    QCOMPARE(bench.Mask(3), QString("    3   "));
  }

  void cancelAndTheCloseBoxChangeNothing_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
  }
  void cancelAndTheCloseBoxChangeNothing() {
    QFETCH(bool, closeBox);
    MaskBench bench;
    const bool stored = bench.Run([&](RenameDialog& dialog) {
      bench.SetCell(1, 1, "Q");
      bench.SetCell(3, 5, "");
      if (closeBox) {
        dialog.reject();
      } else {
        ClickCancel(dialog);
      }
    });
    QVERIFY(!stored);
    QCOMPARE(bench.Mask(1), QString("    1   "));
    QCOMPARE(bench.Mask(3), QString("    3   "));
    QCOMPARE(bench.Stored(1), QString(kNotStored));
    QVERIFY(!bench.home.Exists("Tessaro.INI"));
  }

  void typedCharactersAFileNameCannotHoldAreRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("typeable");
    QTest::addColumn<QString>("cell");
    QTest::newRow("letter") << QString("K") << true << QString("K");
    QTest::newRow("digit") << QString("7") << true << QString("7");
    QTest::newRow("hyphen") << QString("-") << true << QString("-");
    QTest::newRow("slash") << QString("/") << true << QString();
    QTest::newRow("backslash") << QString("\\") << true << QString();
    QTest::newRow("colon") << QString(":") << true << QString();
    QTest::newRow("star") << QString("*") << true << QString();
    QTest::newRow("question mark") << QString("?") << true << QString();
    QTest::newRow("double quote") << QString("\"") << true << QString();
    QTest::newRow("less than") << QString("<") << true << QString();
    QTest::newRow("greater than") << QString(">") << true << QString();
    QTest::newRow("bar") << QString("|") << true << QString();
    QTest::newRow("refused then accepted") << QString("*B") << true << QString("B");
    QTest::newRow("one character per cell") << QString("AB") << true << QString("A");
    QTest::newRow("control character") << QString(QChar(0x01)) << false << QString();
    QTest::newRow("accented letter") << QString(QChar(0xe9)) << false << QString();
  }
  void typedCharactersAFileNameCannotHoldAreRefused() {
    QFETCH(QString, typed);
    QFETCH(bool, typeable);
    QFETCH(QString, cell);
    MaskBench bench;
    bench.Run([&](RenameDialog& dialog) {
      TypeIntoCell(dialog, 2, 1, typed, typeable);
      ClickOK(dialog);
    });
    QCOMPARE(bench.Cell(2, 1), cell);
    QCOMPARE(bench.Mask(2), (cell.isEmpty() ? QString(" ") : cell) + "   2   ");
  }

  void refusedCharactersPutIntoACellCountAsBlank() {
    MaskBench bench;
    bench.Run([&](RenameDialog& dialog) {
      bench.SetCell(1, 1, "/");
      bench.SetCell(1, 2, "*");
      ClickOK(dialog);
    });
    QCOMPARE(bench.Mask(1), QString("    1   "));
    QCOMPARE(bench.Stored(1), QString("****1***"));
  }

  void aCellWithMoreCharactersMovesTheRestRight() {
    MaskBench bench;
    bench.Run([&](RenameDialog& dialog) {
      bench.SetCell(1, 1, "AB");
      ClickOK(dialog);
    });
    QCOMPARE(bench.Mask(1), QString("AB   1  "));
    QCOMPARE(bench.Stored(1), QString("AB***1***"));
  }

  void returnPutsTheTypedCharacterIntoItsCell() {
    MaskBench bench;
    QString cell;
    bool stillOpen = false;
    bench.Run([&](RenameDialog& dialog) {
      TypeIntoCell(dialog, 3, 8, "Z", true);
      QTest::keyClick(dialog.horzName()->findChild<QLineEdit*>(), Qt::Key_Return);
      QCoreApplication::processEvents();
      cell = bench.Cell(3, 8);
      stillOpen = dialog.isVisible();
      ClickOK(dialog);
    });
    QCOMPARE(cell, QString("Z"));
    QVERIFY(stillOpen);
    QCOMPARE(bench.Mask(3), QString("    3  Z"));
    QCOMPARE(bench.Stored(3), QString("****3**Z"));
  }

  void deleteKeyEmptiesTheCurrentCell() {
    MaskBench bench;
    bench.Run([&](RenameDialog& dialog) {
      dialog.horzName()->setCurrentCell(3, 6);
      QTest::keyClick(dialog.horzName(), Qt::Key_Delete);
      ClickOK(dialog);
    });
    QCOMPARE(bench.Mask(4), QString("       3"));
  }

  void maskCharactersArePrintableAsciiAFileNameCanHold() {
    QVERIFY(RenameDialog::IsMaskCharacter(QChar('a')));
    QVERIFY(RenameDialog::IsMaskCharacter(QChar('_')));
    QVERIFY(RenameDialog::IsMaskCharacter(QChar('~')));
    QVERIFY(RenameDialog::IsMaskCharacter(QChar(' ')));
    QVERIFY(!RenameDialog::IsMaskCharacter(QChar(0x7f)));
    QVERIFY(!RenameDialog::IsMaskCharacter(QChar('\t')));
    QVERIFY(!RenameDialog::IsMaskCharacter(QChar(0x20ac)));
  }
};

QTEST_MAIN(RenameDialogTest)
#include "rename_dialog_test.moc"
