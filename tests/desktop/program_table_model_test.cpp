// The grid's model over the program table.
#include <QSignalSpy>
#include <QtTest>

#include "desktop/program_table_model.h"
#include "program/program_table.h"

using tessaro::ProgramTable;
using tessaro::desktop::ProgramTableModel;

class ProgramTableModelTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTenRowsOfThreeColumnsWithCaptionsFromRowZero() {
    ProgramTable table;
    ProgramTableModel model(table);

    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Location"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("Drill"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString("Dowel"));
    QCOMPARE(model.headerData(3, Qt::Horizontal), QVariant());
    QCOMPARE(model.headerData(0, Qt::Vertical).toInt(), 1);
    QCOMPARE(model.headerData(9, Qt::Vertical).toInt(), 10);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::ToolTipRole), QVariant());
  }

  void showsTheCellsOfTheTable() {
    ProgramTable table;
    table.SetCell(3, 1, "12.5");
    table.SetCell(3, 2, "1");
    ProgramTableModel model(table);

    QCOMPARE(model.index(2, 0).data().toString(), QString("12.5"));
    QCOMPARE(model.index(2, 1).data(Qt::EditRole).toString(), QString("1"));
    QCOMPARE(model.index(2, 2).data().toString(), QString("0"));
    QCOMPARE(model.index(0, 0).data().toString(), QString(""));
    QCOMPARE(model.index(0, 0).data(Qt::DecorationRole), QVariant());
    // A caption in row 0 of the table is not a hole row.
    table.SetCell(0, 1, "Pos");
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Pos"));
  }

  void editWritesTheTrimmedTextIntoTheTableAndSignalsIt() {
    ProgramTable table;
    ProgramTableModel model(table);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(model.setData(model.index(2, 0), "  30.25 "));

    QCOMPARE(QString::fromStdString(table.GetCell(3, 1)), QString("30.25"));
    QCOMPARE(model.index(2, 0).data().toString(), QString("30.25"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].value<QModelIndex>(), model.index(2, 0));
    QCOMPARE(changed[0][1].value<QModelIndex>(), model.index(2, 0));
  }

  void refusesWhatItCannotSet() {
    ProgramTable table;
    ProgramTableModel model(table);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(!model.setData(model.index(0, 0), "5", Qt::DisplayRole));
    QVERIFY(!model.setData(QModelIndex(), "5"));
    QVERIFY(!model.setData(model.index(10, 0), "5"));  // past the last row: no index
    QVERIFY(!model.setData(model.index(0, 0), QVariant::fromValue(QSize(1, 2))));

    QCOMPARE(changed.count(), 0);
    QCOMPARE(QString::fromStdString(table.GetCell(1, 1)), QString(""));
    QCOMPARE(table.RowCount(), 10);
  }

  void cellsAreEditableAndAnInvalidIndexIsNot() {
    ProgramTable table;
    ProgramTableModel model(table);

    QVERIFY(model.flags(model.index(4, 2)).testFlag(Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(4, 2)).testFlag(Qt::ItemIsSelectable));
    QCOMPARE(model.flags(QModelIndex()), Qt::ItemFlags(Qt::NoItemFlags));
  }

  void reloadShowsRowsTheTableGrewAndLost() {
    ProgramTable table;
    ProgramTableModel model(table);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    table.SetCell(12, 1, "99");
    model.reload();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 12);
    QCOMPARE(model.index(11, 0).data().toString(), QString("99"));
    QCOMPARE(model.index(10, 1).data().toString(), QString("0"));

    table.ClearTable();
    model.reload();
    QCOMPARE(model.rowCount(), 10);
  }

  void hasNoChildRows() {
    ProgramTable table;
    ProgramTableModel model(table);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
  }
};

QTEST_MAIN(ProgramTableModelTest)
#include "program_table_model_test.moc"
