#include "desktop/program_binding.h"

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QLineEdit>
#include <QMetaProperty>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>

#include "desktop/program_table_model.h"
#include "desktop/qt_text.h"
#include "program/program_table.h"

namespace tessaro::desktop {

// Cells are edited with the standard editor; this delegate lets a command commit an open
// editor as Enter would, and learn whether the cell took the value.
class ProgramCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool Commit(QWidget* editor) {
    taken_ = true;
    emit commitData(editor);
    if (taken_) emit closeEditor(editor);
    return taken_;
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    const QByteArray property = editor->metaObject()->userProperty().name();
    taken_ = model->setData(index, editor->property(property), Qt::EditRole);
  }

 private:
  mutable bool taken_ = true;
};

ProgramBinding::ProgramBinding(ProgramTable& table, const ProgramControls& controls,
                               QObject* parent)
    : QObject(parent), table_(table), controls_(controls) {
  model_ = new ProgramTableModel(table_, this);
  QAbstractItemModel* previous = controls_.horzPrg->model();
  controls_.horzPrg->setModel(model_);
  if (previous != nullptr && previous->parent() == controls_.horzPrg) previous->deleteLater();

  // Typing into a cell replaces it, as in a spreadsheet; Tab leaves the grid.
  controls_.horzPrg->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                     QAbstractItemView::DoubleClicked |
                                     QAbstractItemView::EditKeyPressed);
  controls_.horzPrg->setTabKeyNavigation(false);
  delegate_ = new ProgramCellDelegate(this);
  controls_.horzPrg->setItemDelegate(delegate_);

  connect(controls_.cmt1, &QLineEdit::textEdited, this,
          [this](const QString& text) { table_.Cmt1 = ToStd(text); });
  connect(controls_.cmt2, &QLineEdit::textEdited, this,
          [this](const QString& text) { table_.Cmt2 = ToStd(text); });
  connect(controls_.inch, &QRadioButton::toggled, this,
          [this](bool checked) { table_.Inch = checked; });
  Show();
}

bool ProgramBinding::CommitOpenEditor() {
  QWidget* editor = controls_.horzPrg->indexWidget(controls_.horzPrg->currentIndex());
  return editor == nullptr || delegate_->Commit(editor);
}

void ProgramBinding::Show() {
  model_->reload();
  controls_.cmt1->setText(ToQt(table_.Cmt1));
  controls_.cmt1->setCursorPosition(0);
  controls_.cmt2->setText(ToQt(table_.Cmt2));
  controls_.prgFrame->setTitle(ToQt(table_.FrameCaption));
  // Only an RCM program with a unit record lets the operator switch the unit.
  const bool inch = table_.Inch;
  (inch ? controls_.inch : controls_.metric)->setChecked(true);
  controls_.units->setEnabled(table_.UnitsEnabled);
  controls_.inch->setEnabled(table_.UnitsEnabled);
  controls_.metric->setEnabled(table_.UnitsEnabled);
}

}  // namespace tessaro::desktop
