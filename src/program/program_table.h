#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

// The one hole program the operator sees and edits: one row per hole (Location,
// Drill, Dowel as text), row 0 the column captions, two comments, the caption of the
// frame around it, and the unit choice. It always has at least 10 hole rows; a loaded
// ACC program with more holes makes it grow.
class ProgramTable {
 public:
  static constexpr int kColumns = 3;
  static constexpr int kMinimumRows = 10;
  static constexpr int kLocationColumn = 1;
  static constexpr int kDrillColumn = 2;
  static constexpr int kDowelColumn = 3;

  ProgramTable();

  // Writes the text with blanks removed at both ends. Does nothing for column < 1,
  // column > 3 or row < 0; a row past the last one makes the table grow.
  void SetCell(int row, int column, std::string_view text);
  // The cell's text unchanged; "" for a cell that does not exist.
  std::string GetCell(int row, int column) const;
  // Empties both comments and gives rows 1 to 10 "", "0", "0"; rows past 10 go.
  void ClearTable();

  int RowCount() const { return static_cast<int>(rows_.size()) - 1; }  // hole rows

  std::string Cmt1;          // the program's comment
  std::string Cmt2;          // a second comment, never saved
  std::string FrameCaption;  // the program's file name
  bool Inch = true;          // unit of the Location column; Metric is !Inch
  bool UnitsEnabled = false;
  // The rows that hold the program's holes, as the last load or translation left them:
  // an ACC save writes this many.
  int HoleCount = 0;

 private:
  using Row = std::array<std::string, kColumns + 1>;  // column 0 unused
  static Row EmptyRow();                              // what a cleared row holds: "", "0", "0"

  std::vector<Row> rows_;  // [row][column]
};

}  // namespace tessaro
