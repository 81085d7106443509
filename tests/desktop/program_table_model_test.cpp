// The grid's model over the program table.
#include <QtTest>

#include "desktop/program_table_model.h"
#include "program/program_table.h"
#include "window_fixture.h"

using tessaro::ProgramTable;
using tessaro::desktop::ProgramTableModel;

class ProgramTableModelTest : public tessaro::testing::DesktopTest {
  Q_OBJECT

 private slots:
  void showsTheCellsAndFollowsTheTableOnReload() {
    ProgramTable table;
    table.SetCell(3, 1, "12.5");
    ProgramTableModel model(table);

    QCOMPARE(model.index(2, 0).data().toString(), QString("12.5"));
    QVERIFY(!model.setData(model.index(0, 0), "5", Qt::DisplayRole));

    table.SetCell(12, 1, "99");
    model.reload();
    QCOMPARE(model.rowCount(), 12);
    QCOMPARE(model.index(11, 0).data().toString(), QString("99"));
    table.ClearTable();
    model.reload();
    QCOMPARE(model.rowCount(), 10);
  }
};

QTEST_MAIN(ProgramTableModelTest)
#include "program_table_model_test.moc"
