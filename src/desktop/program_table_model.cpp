#include "desktop/program_table_model.h"

#include "desktop/core_text.h"
#include "desktop/qt_text.h"
#include "program/program_table.h"

namespace tessaro::desktop {

namespace {

// Grid rows start at 0, table hole rows at 1 (row 0 holds the captions).
int TableRow(const QModelIndex& index) { return index.row() + 1; }
int TableColumn(int section) { return section + 1; }

}  // namespace

ProgramTableModel::ProgramTableModel(ProgramTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

int ProgramTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.RowCount();
}

int ProgramTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ProgramTable::kColumns;
}

QVariant ProgramTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !checkIndex(index)) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return ToQt(table_.GetCell(TableRow(index), TableColumn(index.column())));
    case Qt::TextAlignmentRole:
      if (TableColumn(index.column()) == ProgramTable::kLocationColumn) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      }
      return QVariant::fromValue(Qt::AlignCenter);
    default:
      return {};
  }
}

QVariant ProgramTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= ProgramTable::kColumns) return {};
    return CoreText(table_.GetCell(0, TableColumn(section)));
  }
  if (section < 0 || section >= table_.RowCount()) return {};
  return section + 1;
}

Qt::ItemFlags ProgramTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || !checkIndex(index)) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool ProgramTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || !checkIndex(index)) return false;
  if (!value.canConvert<QString>()) return false;
  table_.SetCell(TableRow(index), TableColumn(index.column()), ToStd(value.toString()));
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

void ProgramTableModel::reload() {
  beginResetModel();
  endResetModel();
}

}  // namespace tessaro::desktop
