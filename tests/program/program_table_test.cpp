#include "program/program_table.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(ProgramTable, SetCellTrimsGrowsTheTableAndClearTableDropsTheGrownRows) {
  ProgramTable table;
  EXPECT_TRUE(table.Inch);
  EXPECT_FALSE(table.UnitsEnabled);
  table.Cmt1 = "one";
  table.SetCell(3, 1, "  12.5  ");
  table.SetCell(1, 4, "x");
  table.SetCell(-1, 1, "x");
  table.SetCell(13, 1, "7");
  EXPECT_EQ(table.GetCell(3, 1), "12.5");
  EXPECT_EQ(table.GetCell(1, 4), "");
  EXPECT_EQ(table.GetCell(0, 1), "Location");
  EXPECT_EQ(table.RowCount(), 13);
  EXPECT_EQ(table.GetCell(11, 2), "0");

  table.ClearTable();
  EXPECT_EQ(table.Cmt1, "");
  EXPECT_EQ(table.RowCount(), 10);
  EXPECT_EQ(table.GetCell(3, 1), "");
  EXPECT_EQ(table.GetCell(3, 3), "0");
  EXPECT_EQ(table.GetCell(0, 3), "Dowel");
}

}  // namespace
}  // namespace tessaro
