#include "program/program_table.h"

#include "app/text.h"

namespace tessaro {

ProgramTable::ProgramTable() : rows_(kMinimumRows + 1) {
  rows_[0][kLocationColumn] = "Location";
  rows_[0][kDrillColumn] = "Drill";
  rows_[0][kDowelColumn] = "Dowel";
  ClearTable();
}

void ProgramTable::SetCell(int row, int column, std::string_view text) {
  if (row < 0 || column < 1 || column > kColumns) return;
  if (static_cast<size_t>(row) >= rows_.size()) {
    rows_.resize(static_cast<size_t>(row) + 1, EmptyRow());
  }
  rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = Trim(text);
}

std::string ProgramTable::GetCell(int row, int column) const {
  if (row < 0 || column < 1 || column > kColumns) return "";
  if (static_cast<size_t>(row) >= rows_.size()) return "";
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void ProgramTable::ClearTable() {
  Cmt1.clear();
  Cmt2.clear();
  rows_.resize(kMinimumRows + 1);
  for (int row = 1; row <= kMinimumRows; ++row) {
    SetCell(row, kLocationColumn, "");
    SetCell(row, kDrillColumn, "0");
    SetCell(row, kDowelColumn, "0");
  }
}

ProgramTable::Row ProgramTable::EmptyRow() { return Row{"", "", "0", "0"}; }

}  // namespace tessaro
