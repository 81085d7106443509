#pragma once

#include <QObject>

class QGroupBox;
class QLineEdit;
class QRadioButton;
class QTableView;

namespace tessaro {
class ProgramTable;
}

namespace tessaro::desktop {

class ProgramCellDelegate;
class ProgramTableModel;

// The controls that show the program table.
struct ProgramControls {
  QGroupBox* prgFrame = nullptr;  // its caption is the program's file name
  QTableView* horzPrg = nullptr;
  QLineEdit* cmt1 = nullptr;
  QLineEdit* cmt2 = nullptr;
  QGroupBox* units = nullptr;
  QRadioButton* inch = nullptr;
  QRadioButton* metric = nullptr;
};

// Keeps the program controls and the session's program table in step: what the
// operator types into the grid, the comments or the unit buttons goes into the table at
// once, and Show() puts the table on the controls after a core command changed it.
class ProgramBinding : public QObject {
  Q_OBJECT

 public:
  ProgramBinding(ProgramTable& table, const ProgramControls& controls, QObject* parent = nullptr);

  // Shows the whole table: cells, comments, frame caption, unit and its enabled state.
  void Show();
  // Puts what an open cell editor of the grid holds into the table and closes it, as
  // Enter would. False when the cell refused the value; the editor then stays open.
  bool CommitOpenEditor();

  ProgramTableModel* model() const { return model_; }
  const ProgramControls& controls() const { return controls_; }

 private:
  ProgramTable& table_;
  ProgramControls controls_;
  ProgramTableModel* model_ = nullptr;
  ProgramCellDelegate* delegate_ = nullptr;
};

}  // namespace tessaro::desktop
