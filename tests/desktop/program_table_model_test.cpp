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
  void showsTheCellsUnderTheCaptionsOfRowZeroAndTakesTrimmedEdits() {
    ProgramTable table;
    table.SetCell(3, 1, "12.5");
    ProgramTableModel model(table);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QCOMPARE(model.rowCount() * 10 + model.columnCount(), 103);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString() + " " +
                 model.headerData(2, Qt::Horizontal).toString(),
             QString("Location Dowel"));
    QCOMPARE(model.headerData(9, Qt::Vertical).toInt(), 10);
    QCOMPARE(model.index(2, 0).data().toString() + " " + model.index(2, 2).data().toString(),
             QString("12.5 0"));
    QVERIFY(model.flags(model.index(2, 1)).testFlag(Qt::ItemIsEditable));
    QVERIFY(model.setData(model.index(2, 1), "  1 "));
    QCOMPARE(QString::fromStdString(table.GetCell(3, 2)), QString("1"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].value<QModelIndex>(), model.index(2, 1));
  }

  void refusesWhatItCannotSet() {
    ProgramTable table;
    ProgramTableModel model(table);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(!model.setData(model.index(0, 0), "5", Qt::DisplayRole));
    QVERIFY(!model.setData(model.index(10, 0), "5"));  // past the last row: no index
    QVERIFY(!model.setData(model.index(0, 0), QVariant::fromValue(QSize(1, 2))));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(QString::fromStdString(table.GetCell(1, 1)), QString(""));
    QCOMPARE(table.RowCount(), 10);
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
    table.ClearTable();
    model.reload();
    QCOMPARE(model.rowCount(), 10);
  }
};

QTEST_MAIN(ProgramTableModelTest)
#include "program_table_model_test.moc"
