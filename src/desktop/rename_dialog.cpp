#include "desktop/rename_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <functional>

#include "app/settings_file.h"
#include "app/text.h"
#include "desktop/qt_text.h"

namespace tessaro::desktop {

namespace {

constexpr int kFaces = 4;
constexpr int kCellWidth = 30;

// Why a character cannot be in a mask, in a few words.
QString RefusalNote(QChar refused) {
  const char16_t code = refused.unicode();
  if (code >= 0x20 && code < 0x7f) {
    return RenameDialog::tr("\"%1\" cannot be part of a file name.").arg(refused);
  }
  return RenameDialog::tr("Only plain ASCII characters fit in a mask.");
}

// One mask character or nothing; anything else is refused as it is typed, and `note`
// hears why ("" once the input is good again).
class MaskCellValidator : public QValidator {
 public:
  MaskCellValidator(std::function<void(const QString&)> note, QObject* parent)
      : QValidator(parent), note_(std::move(note)) {}

  State validate(QString& input, int& /*pos*/) const override {
    const auto refused =
        std::find_if_not(input.begin(), input.end(), RenameDialog::IsMaskCharacter);
    if (refused != input.end()) {
      note_(RefusalNote(*refused));
      return Invalid;
    }
    if (input.size() > 1) return Invalid;
    note_(QString());
    return Acceptable;
  }

 private:
  std::function<void(const QString&)> note_;
};

// Cells are edited in a one-character line that refuses what a mask cannot hold and
// says why in `note`.
class MaskCellDelegate : public QStyledItemDelegate {
 public:
  MaskCellDelegate(QLabel* note, QObject* parent) : QStyledItemDelegate(parent), note_(note) {}

  // Puts what the open editor holds into its cell: Return and a click on OK would
  // otherwise close the dialog before the cell takes the character.
  void CommitOpenEditor() {
    // A closed editor is hidden until it is deleted.
    if (openEditor_ != nullptr && !openEditor_->isHidden()) emit commitData(openEditor_);
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    auto* editor =
        qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
    if (editor == nullptr) editor = new QLineEdit(parent);
    editor->setMaxLength(1);
    editor->setAlignment(Qt::AlignCenter);
    editor->setValidator(new MaskCellValidator(
        [note = note_](const QString& text) {
          if (note != nullptr) note->setText(text);
        },
        editor));
    openEditor_ = editor;
    return editor;
  }

 private:
  QPointer<QLabel> note_;
  mutable QPointer<QLineEdit> openEditor_;
};

// What a cell contributes to its mask: its mask characters, a blank when it has none.
std::string CellCharacters(const QTableWidgetItem* item) {
  std::string characters;
  if (item != nullptr) {
    for (const QChar c : item->text().trimmed()) {
      if (RenameDialog::IsMaskCharacter(c)) characters += static_cast<char>(c.unicode());
    }
  }
  return characters.empty() ? std::string(" ") : characters;
}

}  // namespace

RenameDialog::RenameDialog(const SettingsFile& settings, FaceMasks& masks, QWidget* parent)
    : QDialog(parent), settings_(settings), masks_(masks) {
  setObjectName("Rename");
  setWindowTitle(tr("Filename Assignment"));

  label1_ = new QLabel(tr("Horizontal Face"), this);
  label1_->setObjectName("Label1");

  horzName_ = new QTableWidget(kFaces, kMaskLength, this);
  horzName_->setObjectName("HorzName");
  note_ = new QLabel(this);
  note_->setObjectName("RefusalNote");
  note_->setWordWrap(true);
  note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  note_->setMinimumHeight(note_->fontMetrics().lineSpacing());
  delegate_ = new MaskCellDelegate(note_, horzName_);
  horzName_->setItemDelegate(delegate_);
  // Typing into a cell replaces its character, as in a spreadsheet.
  horzName_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::EditKeyPressed);
  horzName_->setSelectionMode(QAbstractItemView::SingleSelection);
  horzName_->setToolTip(
      tr("One character per cell; an empty cell keeps the G-code file's "
         "character. Not allowed: / \\ : * ? \" < > |"));
  horzName_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horzName_->horizontalHeader()->setDefaultSectionSize(kCellWidth);
  horzName_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horzName_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horzName_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  horzName_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QStringList positions;
  for (int j = 1; j <= kMaskLength; ++j) positions << QString::number(j);
  horzName_->setHorizontalHeaderLabels(positions);
  QStringList faces;
  for (int i = 1; i <= kFaces; ++i) faces << QString::number(i);
  horzName_->setVerticalHeaderLabels(faces);
  horzName_->installEventFilter(this);
  label1_->setBuddy(horzName_);

  const int gridWidth = horzName_->verticalHeader()->sizeHint().width() + kMaskLength * kCellWidth +
                        2 * horzName_->frameWidth();
  const int gridHeight = horzName_->horizontalHeader()->sizeHint().height() +
                         kFaces * horzName_->verticalHeader()->defaultSectionSize() +
                         2 * horzName_->frameWidth();
  horzName_->setFixedSize(gridWidth, gridHeight);
  note_->setFixedWidth(gridWidth);

  btnOK_ = new QPushButton(tr("OK"), this);
  btnOK_->setObjectName("BtnOK");
  btnOK_->setDefault(true);
  btnCan_ = new QPushButton(tr("Cancel"), this);
  btnCan_->setObjectName("BtnCan");
  connect(btnOK_, &QPushButton::clicked, this, &RenameDialog::BtnOK_Click);
  connect(btnCan_, &QPushButton::clicked, this, &RenameDialog::BtnCan_Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOK_);
  buttons->addWidget(btnCan_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1_);
  layout->addWidget(horzName_);
  layout->addWidget(note_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool RenameDialog::IsMaskCharacter(QChar c) {
  const char16_t code = c.unicode();
  return code >= 0x20 && code < 0x7f && IsFileNameCharacter(static_cast<char>(code));
}

bool RenameDialog::Run() {
  Load();
  horzName_->setCurrentCell(0, 0);
  horzName_->setFocus();
  return exec() == QDialog::Accepted;
}

void RenameDialog::Load() {
  note_->clear();
  for (int face = 1; face <= kFaces; ++face) {
    const std::string& mask = masks_[static_cast<size_t>(face)];
    for (int position = 0; position < kMaskLength; ++position) {
      const std::string character(static_cast<size_t>(position) < mask.size()
                                      ? Trim(mask.substr(position, 1))
                                      : std::string_view());
      auto* item = new QTableWidgetItem(ToQt(character));
      item->setTextAlignment(Qt::AlignCenter);
      horzName_->setItem(face - 1, position, item);
    }
  }
}

std::string RenameDialog::RowText(int row) const {
  std::string text;
  for (int position = 0; position < kMaskLength; ++position) {
    text += CellCharacters(horzName_->item(row, position));
  }
  return text;
}

void RenameDialog::BtnOK_Click() {
  static_cast<MaskCellDelegate*>(delegate_)->CommitOpenEditor();
  for (int face = 1; face <= kFaces; ++face) {
    const std::string joined = RowText(face - 1);
    std::string mask = joined.substr(0, kMaskLength);
    mask.resize(kMaskLength, ' ');
    masks_[static_cast<size_t>(face)] = mask;
    settings_.WriteSetting(keys::kHorizontalRename, keys::MaskKey(face), MaskToStored(joined));
  }
  accept();
}

void RenameDialog::BtnCan_Click() { reject(); }

bool RenameDialog::eventFilter(QObject* watched, QEvent* event) {
  // Delete and Backspace empty the current cell (an open editor gets its own keys).
  if (watched == horzName_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
      if (QTableWidgetItem* item = horzName_->currentItem()) item->setText(tr(""));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tessaro::desktop
