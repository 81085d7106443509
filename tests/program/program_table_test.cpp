#include "program/program_table.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(ProgramTable, StartsWithCaptionsAndTenClearedRowsInInch) {
  const ProgramTable table;
  EXPECT_EQ(table.GetCell(0, 1), "Location");
  EXPECT_EQ(table.GetCell(0, 2), "Drill");
  EXPECT_EQ(table.GetCell(0, 3), "Dowel");
  EXPECT_EQ(table.RowCount(), 10);
  EXPECT_EQ(table.GetCell(10, 1), "");
  EXPECT_EQ(table.GetCell(10, 2), "0");
  EXPECT_TRUE(table.Inch);
  EXPECT_FALSE(table.UnitsEnabled);
}

TEST(ProgramTable, SetCellRemovesBlanksAtBothEnds) {
  ProgramTable table;
  table.SetCell(3, 1, "  12.5  ");
  EXPECT_EQ(table.GetCell(3, 1), "12.5");
}

TEST(ProgramTable, SetCellOutsideTheColumnsOrAboveTheCaptionsChangesNothing) {
  ProgramTable table;
  table.SetCell(1, 0, "x");
  table.SetCell(1, 4, "x");
  table.SetCell(-1, 1, "x");
  EXPECT_EQ(table.GetCell(1, 0), "");
  EXPECT_EQ(table.GetCell(1, 4), "");
  EXPECT_EQ(table.GetCell(1, 1), "");
  EXPECT_EQ(table.GetCell(0, 1), "Location");
  EXPECT_EQ(table.RowCount(), 10);
}

TEST(ProgramTable, CaptionRowMayBeWritten) {
  ProgramTable table;
  table.SetCell(0, 2, "Bore");
  EXPECT_EQ(table.GetCell(0, 2), "Bore");
}

TEST(ProgramTable, RowPastTheLastGrowsTheTableWithClearedRows) {
  ProgramTable table;
  table.SetCell(13, 1, "7");
  EXPECT_EQ(table.RowCount(), 13);
  EXPECT_EQ(table.GetCell(13, 1), "7");
  EXPECT_EQ(table.GetCell(11, 1), "");
  EXPECT_EQ(table.GetCell(11, 2), "0");
  EXPECT_EQ(table.GetCell(12, 3), "0");
  EXPECT_EQ(table.GetCell(14, 1), "");
}

TEST(ProgramTable, ClearTableEmptiesCommentsAndRowsAndDropsGrownRows) {
  ProgramTable table;
  table.Cmt1 = "one";
  table.Cmt2 = "two";
  table.SetCell(2, 1, "5");
  table.SetCell(2, 2, "1");
  table.SetCell(2, 3, "1");
  table.SetCell(12, 1, "9");
  table.ClearTable();
  EXPECT_EQ(table.Cmt1, "");
  EXPECT_EQ(table.Cmt2, "");
  EXPECT_EQ(table.RowCount(), 10);
  for (int row = 1; row <= 10; ++row) {
    EXPECT_EQ(table.GetCell(row, 1), "") << row;
    EXPECT_EQ(table.GetCell(row, 2), "0") << row;
    EXPECT_EQ(table.GetCell(row, 3), "0") << row;
  }
  EXPECT_EQ(table.GetCell(12, 1), "");
  EXPECT_EQ(table.GetCell(0, 3), "Dowel");
}

}  // namespace
}  // namespace tessaro
