#include "desktop/dir_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/operator.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "desktop/file_list_box.h"
#include "desktop/qt_text.h"
#include "desktop/window_placement.h"
#include "outside/folder_listing.h"
#include "outside/path_text.h"

namespace tessaro::desktop {

namespace {

constexpr char kUp[] = "..";

// Both normalised: a root ("/", "C:\\") ends with its separator, another folder has none.
bool IsWithin(const std::string& folder, const std::string& root) {
  if (root.empty() || folder.compare(0, root.size(), root) != 0) return false;
  return folder.size() == root.size() || IsPathSeparator(root.back()) ||
         IsPathSeparator(folder[root.size()]);
}

bool IsRoot(const std::string& folder) { return !FileSystemPath(folder).has_relative_path(); }

std::string ParentOf(const std::string& folder) {
  return IsRoot(folder) ? folder : Utf8Text(FileSystemPath(folder).parent_path());
}

}  // namespace

DirBrws::DirBrws(const SettingsFile& settings, DirDialogMemory& memory, Operator& asker,
                 std::string chosenFolder, std::vector<std::string> roots, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      memory_(memory),
      asker_(asker),
      chosenFolder_(std::move(chosenFolder)),
      roots_(std::move(roots)) {
  setObjectName("DirBrws");
  setWindowTitle(tr("Directory Selection"));
  setModal(true);

  drive1_ = new QComboBox(this);
  drive1_->setObjectName("Drive1");
  for (const std::string& root : roots_) drive1_->addItem(ToQt(root));
  dir1_ = new QListWidget(this);
  dir1_->setObjectName("Dir1");
  labDir_ = new QLabel(this);
  labDir_->setObjectName("LabDir");
  labDir_->setTextFormat(Qt::PlainText);
  labDir_->setFrameShape(QFrame::StyledPanel);
  labDir_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  labDir_->setMinimumWidth(300);
  btnOK_ = new QPushButton(tr("OK"), this);
  btnOK_->setObjectName("BtnOK");
  btnOK_->setDefault(true);
  btnCan_ = new QPushButton(tr("Cancel"), this);
  btnCan_->setObjectName("BtnCan");

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnOK_);
  buttons->addWidget(btnCan_);
  buttons->addStretch();
  auto* lists = new QVBoxLayout;
  lists->addWidget(labDir_);
  lists->addWidget(dir1_, 1);
  lists->addWidget(drive1_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);
  resize(420, 340);

  // Design state: the process's current folder on its drive.
  std::error_code error;
  const std::string current = std::filesystem::current_path(error).string();
  if (!error) {
    SetDriveQuietly(DriveIndexOf(current));
    OpenFolder(current);
  }

  connect(drive1_, &QComboBox::currentIndexChanged, this, &DirBrws::Drive1_Change);
  connect(dir1_, &QListWidget::itemActivated, this, &DirBrws::Dir1_Activated);
  dir1_->installEventFilter(this);
  connect(btnOK_, &QPushButton::clicked, this, &DirBrws::BtnOK_Click);
  connect(btnCan_, &QPushButton::clicked, this, &DirBrws::BtnCan_Click);

  Load();
}

std::string DirBrws::Choose(const SettingsFile& settings, DirDialogMemory& memory, Operator& asker,
                            const std::string& initialFolder, QWidget* parent) {
  DirBrws dialog(settings, memory, asker, initialFolder, FileSystemRoots(), parent);
  dialog.exec();
  return dialog.chosenFolder();
}

void DirBrws::Load() {
  const double top = ReadNumber(settings_.ReadSetting(keys::kDirDialogBox, keys::kTop));
  const double left = ReadNumber(settings_.ReadSetting(keys::kDirDialogBox, keys::kLeft));
  RestorePosition(*this, left, top);

  if (chosenFolder_.empty()) {
    chosenFolder_ = settings_.ReadSetting(keys::kDirDialogBox, keys::kLastDir);
  }
  if (chosenFolder_.empty()) return;
  const int drive = DriveIndexOf(FileListBox::NormalisedFolder(chosenFolder_));
  if (drive < 0) return;
  drive1_->setCurrentIndex(drive);
  if (!OpenFolder(chosenFolder_)) return;
  labDir_->setText(ToQt(chosenFolder_));
}

void DirBrws::Drive1_Change(int index) {
  if (index < 0 || index >= static_cast<int>(roots_.size())) return;
  const std::string drive = roots_[static_cast<size_t>(index)];
  const auto remembered = memory_.driveFolders.find(FileListBox::NormalisedFolder(drive));
  bool opened = remembered != memory_.driveFolders.end() && OpenFolder(remembered->second);
  if (!opened) opened = OpenFolder(drive);
  if (opened) {
    memory_.lastDrive = drive;
    shownDrive_ = index;
    return;
  }
  asker_.Tell("Alert", ToStd(tr("Drive %1 is unavailable.").arg(drive1_->itemText(index))));
  int last = -1;
  if (!memory_.lastDrive.empty() && memory_.lastDrive != drive) {
    for (size_t i = 0; i < roots_.size(); ++i) {
      if (roots_[i] == memory_.lastDrive) last = static_cast<int>(i);
    }
  }
  if (last >= 0 && last != index) {
    drive1_->setCurrentIndex(last);  // runs this handling for the last good drive
  } else {
    // No drive opened yet in this run: show again the drive the list showed before.
    SetDriveQuietly(shownDrive_);
  }
}

// Enter in the folder list opens the folder rather than pressing OK.
bool DirBrws::eventFilter(QObject* watched, QEvent* event) {
  if (watched == dir1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Dir1_Activated(dir1_->currentItem());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DirBrws::Dir1_Change() { labDir_->setText(ToQt(dirFolder_)); }

void DirBrws::Dir1_Activated(QListWidgetItem* item) {
  if (item == nullptr) return;
  const std::string name = ToStd(item->text());
  const std::string target = name == kUp ? ParentOf(dirFolder_) : JoinPath(dirFolder_, name);
  if (!OpenFolder(target)) {
    const FolderListing listing = ListSubfolders(target);
    asker_.Tell("Alert", listing.error.empty() ? ToStd(tr("Cannot open %1").arg(ToQt(target)))
                                               : listing.error);
  }
}

void DirBrws::BtnOK_Click() {
  const std::string shown = ToStd(labDir_->text());
  chosenFolder_ = shown;
  if (shown.empty() || shown.back() != kPathSeparator) chosenFolder_ += kPathSeparator;
  closedByButton_ = true;
  accept();
}

void DirBrws::BtnCan_Click() {
  chosenFolder_.clear();
  closedByButton_ = true;
  reject();
}

void DirBrws::done(int result) {
  if (!closed_) {
    closed_ = true;
    if (closedByButton_) {
      settings_.WriteSetting(keys::kDirDialogBox, keys::kLastDir, ToStd(labDir_->text()));
    } else {
      chosenFolder_.clear();  // the window's own close command cancels
    }
    settings_.WriteSetting(keys::kDirDialogBox, keys::kTop, std::to_string(TopTwips(*this)));
    settings_.WriteSetting(keys::kDirDialogBox, keys::kLeft, std::to_string(LeftTwips(*this)));
  }
  QDialog::done(result);
}

bool DirBrws::OpenFolder(const std::string& folder) {
  const std::string normalised = FileListBox::NormalisedFolder(folder);
  if (normalised.empty()) return false;
  const FolderListing listing = ListSubfolders(normalised);
  if (!listing.ok()) return false;
  dirFolder_ = normalised;
  const std::string drive = CurrentDrive();
  {
    const QSignalBlocker blocker(dir1_);
    dir1_->clear();
    if (!IsRoot(normalised) && normalised != drive) {
      dir1_->addItem(
          new QListWidgetItem(style()->standardIcon(QStyle::SP_FileDialogToParent), kUp));
    }
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const FileEntry& entry : listing.entries) {
      dir1_->addItem(new QListWidgetItem(folderIcon, ToQt(entry.name)));
    }
  }
  if (!drive.empty() && IsWithin(normalised, drive)) memory_.driveFolders[drive] = normalised;
  Dir1_Change();
  return true;
}

int DirBrws::DriveIndexOf(const std::string& folder) const {
  int best = -1;
  size_t bestLength = 0;
  for (size_t i = 0; i < roots_.size(); ++i) {
    const std::string root = FileListBox::NormalisedFolder(roots_[i]);
    if (IsWithin(folder, root) && (best < 0 || root.size() > bestLength)) {
      best = static_cast<int>(i);
      bestLength = root.size();
    }
  }
  return best;
}

std::string DirBrws::CurrentDrive() const {
  const int index = drive1_->currentIndex();
  if (index < 0 || index >= static_cast<int>(roots_.size())) return "";
  return FileListBox::NormalisedFolder(roots_[static_cast<size_t>(index)]);
}

void DirBrws::SetDriveQuietly(int index) {
  const QSignalBlocker blocker(drive1_);
  drive1_->setCurrentIndex(index);
  if (index >= 0) shownDrive_ = index;
}

}  // namespace tessaro::desktop
