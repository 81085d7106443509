// The filename assignment dialog: shown masks, OK, Cancel and the characters it refuses.
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/settings_file.h"
#include "desktop/rename_dialog.h"
#include "desktop_test_support.h"

using tessaro::desktop::RenameDialog;

namespace {

// A dialog over masks and a settings file of its own.
struct MaskBench {
  tessaro::testing::TempFolder home;
  tessaro::SettingsFile settings{home.File("Tessaro.INI")};
  tessaro::FaceMasks masks{"", "    1   ", "    2   ", "    3   ", "      -3"};
  RenameDialog dialog{settings, masks};

  // Shows the dialog modally, lets `act` work on it while it is open, then presses
  // `button` unless `act` closed it.
  bool Run(const std::function<void(QTableWidget&)>& act, const char* button = "BtnOK") {
    QTimer::singleShot(0, &dialog, [this, act, button] {
      act(*dialog.horzName());
      if (dialog.isVisible())
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
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
  QString Stored(int face) const {
    return tessaro::testing::StoredValue(home, "HorizontalRename/Mask" + std::to_string(face));
  }
  QString Mask(int face) const { return QString::fromStdString(masks[face]); }
};

// Puts text into a cell's editor: typed where a keyboard test can type it, else as the
// editor's input.
void TypeIntoCell(QTableWidget& grid, int face, int position, const QString& keys, bool typeable) {
  grid.setCurrentCell(face - 1, position - 1);
  grid.edit(grid.currentIndex());
  QLineEdit* editor = grid.findChild<QLineEdit*>();
  QVERIFY(editor != nullptr);
  if (typeable) {
    QTest::keyClicks(editor, keys);
  } else {
    editor->insert(keys);
  }
}

}  // namespace

class RenameDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // One cell set, then OK: every row is stored with blanks written as stars.
  void okStoresEveryRowWithBlanksAsStars_data() {
    QTest::addColumn<int>("face");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::newRow("a letter") << 1 << 1 << "A" << QString("A   1   ") << "A***1***";
    QTest::newRow("unchanged") << 1 << 5 << "1" << QString("    1   ") << "****1***";
    QTest::newRow("an emptied row") << 2 << 5 << "" << QString("        ") << "********";
    QTest::newRow("a refused character: blank")
        << 1 << 1 << "/" << QString("    1   ") << "****1***";
    QTest::newRow("two characters move the rest right")
        << 1 << 1 << "AB" << QString("AB   1  ") << "AB***1***";
  }
  void okStoresEveryRowWithBlanksAsStars() {
    QFETCH(int, face);
    QFETCH(int, position);
    QFETCH(QString, cell);
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    MaskBench bench;
    QVERIFY(
        bench.Run([&](QTableWidget& grid) { grid.item(face - 1, position - 1)->setText(cell); }));
    QCOMPARE(bench.Mask(face), mask);
    QCOMPARE(bench.Stored(face), stored);
    QCOMPARE(bench.Stored(3), QString("****3***"));
    QCOMPARE(bench.Stored(4), QString("******-3"));
    QCOMPARE(bench.Mask(4), QString("      -3"));
  }

  void cancelAndTheCloseBoxChangeNothingAndEachShowingShowsTheMasks_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
  }
  void cancelAndTheCloseBoxChangeNothingAndEachShowingShowsTheMasks() {
    QFETCH(bool, closeBox);
    MaskBench bench;
    QCOMPARE(bench.dialog.windowTitle(), QString("Filename Assignment"));
    QString shown;
    const bool stored = bench.Run(
        [&](QTableWidget& grid) {
          shown = bench.Row(1) + " " + bench.Row(4);
          grid.item(0, 0)->setText("Q");
          grid.item(2, 4)->setText("");
          if (closeBox) bench.dialog.reject();
        },
        "BtnCan");
    QVERIFY(!stored);
    QCOMPARE(shown, QString("____1___ ______-3"));
    QCOMPARE(bench.Mask(1) + bench.Mask(3), QString("    1       3   "));
    QVERIFY(!bench.home.Exists("Tessaro.INI"));
    bench.masks[4] = "X       ";
    bench.Run([&](QTableWidget&) { shown = bench.Row(1) + " " + bench.Row(4); }, "BtnCan");
    QCOMPARE(shown, QString("____1___ X_______"));
  }

  void typedCharactersAFileNameCannotHoldAreRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("typeable");
    QTest::addColumn<QString>("cell");
    QTest::newRow("letter") << QString("K") << true << QString("K");
    QTest::newRow("hyphen") << QString("-") << true << QString("-");
    for (const char* refused : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|"}) {
      QTest::newRow(refused) << QString(refused) << true << QString();
    }
    QTest::newRow("refused then accepted") << QString("*B") << true << QString("B");
    QTest::newRow("one character per cell") << QString("AB") << true << QString("A");
    QTest::newRow("control character") << QString(QChar(0x01)) << false << QString();
    QTest::newRow("delete character") << QString(QChar(0x7f)) << false << QString();
    QTest::newRow("accented letter") << QString(QChar(0xe9)) << false << QString();
  }
  void typedCharactersAFileNameCannotHoldAreRefused() {
    QFETCH(QString, typed);
    QFETCH(bool, typeable);
    QFETCH(QString, cell);
    MaskBench bench;
    bench.Run([&](QTableWidget& grid) { TypeIntoCell(grid, 2, 1, typed, typeable); });
    QCOMPARE(bench.Mask(2), (cell.isEmpty() ? QString(" ") : cell) + "   2   ");
  }

  void returnPutsTheTypedCharacterIntoItsCellAndDeleteEmptiesACell() {
    MaskBench bench;
    QString row3;
    bool stillOpen = false;
    bench.Run([&](QTableWidget& grid) {
      grid.setCurrentCell(2, 7);
      QTest::keyClicks(&grid, "Z");  // the first key opens the cell's editor
      QTest::keyClick(grid.findChild<QLineEdit*>(), Qt::Key_Return);
      QCoreApplication::processEvents();
      row3 = bench.Row(3);
      stillOpen = bench.dialog.isVisible();
      grid.setCurrentCell(3, 6);
      QTest::keyClick(&grid, Qt::Key_Delete);
    });
    QCOMPARE(row3, QString("____3__Z"));
    QVERIFY(stillOpen);
    QCOMPARE(bench.Stored(3), QString("****3**Z"));
    QCOMPARE(bench.Mask(4), QString("       3"));
  }
};

QTEST_MAIN(RenameDialogTest)
#include "rename_dialog_test.moc"
