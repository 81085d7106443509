#pragma once

#include <QDialog>

#include "app/options.h"

class QLabel;
class QPushButton;
class QStyledItemDelegate;
class QTableWidget;

namespace tessaro {
class SettingsFile;
}

namespace tessaro::desktop {

// "Filename Assignment": the four face masks in the grid HorzName, one row per face and
// one cell per character position; an empty cell keeps the G-code file's character.
// Cells take only characters a file name can hold, so a translation never names a
// program outside the destination folder; a note under the grid says why a typed
// character was refused. OK stores the masks in memory and in the settings file;
// Cancel and the close box change nothing.
class RenameDialog : public QDialog {
  Q_OBJECT

 public:
  // `masks` are the masks translations use; OK replaces them.
  RenameDialog(const SettingsFile& settings, FaceMasks& masks, QWidget* parent = nullptr);

  // Fills the grid from the current masks and shows the dialog modally. True when OK
  // stored the grid; the caller then brings the omission rules up to date.
  bool Run();

  // A character a mask cell may hold: printable ASCII other than / \ : * ? " < > |.
  // "*" is refused too: the settings file stores a blank as "*".
  static bool IsMaskCharacter(QChar c);

  QTableWidget* horzName() const { return horzName_; }
  // Why the last character typed into a cell was refused; empty once one is taken.
  QLabel* refusalNote() const { return note_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Load();
  void BtnOK_Click();
  void BtnCan_Click();
  // The characters of one row, a blank for each empty cell.
  std::string RowText(int row) const;

  const SettingsFile& settings_;
  FaceMasks& masks_;
  QLabel* label1_ = nullptr;
  QTableWidget* horzName_ = nullptr;
  QLabel* note_ = nullptr;
  QStyledItemDelegate* delegate_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  QPushButton* btnCan_ = nullptr;
};

}  // namespace tessaro::desktop
