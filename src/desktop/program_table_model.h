#pragma once

#include <QAbstractTableModel>

namespace tessaro {
class ProgramTable;
}

namespace tessaro::desktop {

// The grid HorzPrg over the session's program table: one row per hole row of the table
// (rows 1 and up), the columns Location, Drill and Dowel, and the table's row 0 as the
// column captions. Cells are text and edited in place; an edit goes straight into the
// table, so a save writes what the grid shows.
class ProgramTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ProgramTableModel(ProgramTable& table, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // Shows the table afresh after a core command changed it (a load, a translation);
  // the number of rows may have changed.
  void reload();

 private:
  ProgramTable& table_;
};

}  // namespace tessaro::desktop
