#pragma once

#include <QDialog>
#include <map>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tessaro {
class Operator;
class SettingsFile;
}  // namespace tessaro

namespace tessaro::desktop {

// What the folder dialog keeps between showings for the whole run.
struct DirDialogMemory {
  std::string lastDrive;                            // the last root the folder list could open
  std::map<std::string, std::string> driveFolders;  // per root, the folder last shown on it
};

// "Directory Selection": a drive list of the file-system roots, a folder list that
// opens folders (".." goes up), the folder shown in `LabDir`, OK and Cancel.
// Every way out stores the dialog's position; OK and Cancel also store `LastDir`.
class DirBrws : public QDialog {
  Q_OBJECT

 public:
  // `chosenFolder` is the folder to preselect ("" for the one shown last).
  DirBrws(const SettingsFile& settings, DirDialogMemory& memory, Operator& asker,
          std::string chosenFolder, std::vector<std::string> roots, QWidget* parent = nullptr);

  // Shows the dialog modally over `parent`; the chosen folder ending with a separator,
  // or "" when cancelled or closed.
  static std::string Choose(const SettingsFile& settings, DirDialogMemory& memory, Operator& asker,
                            const std::string& initialFolder, QWidget* parent);

  // The result once the dialog has closed.
  const std::string& chosenFolder() const { return chosenFolder_; }
  // The folder the folder list has open.
  const std::string& dirFolder() const { return dirFolder_; }

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Load();
  void Drive1_Change(int index);
  void Dir1_Change();
  void BtnOK_Click();
  void BtnCan_Click();
  void Dir1_Activated(QListWidgetItem* item);

  // Opens `folder` in the folder list; false when it cannot be read.
  bool OpenFolder(const std::string& folder);
  int DriveIndexOf(const std::string& folder) const;
  std::string CurrentDrive() const;
  void SetDriveQuietly(int index);

  const SettingsFile& settings_;
  DirDialogMemory& memory_;
  Operator& asker_;
  std::string chosenFolder_;
  std::vector<std::string> roots_;
  std::string dirFolder_;
  int shownDrive_ = -1;
  bool closedByButton_ = false;
  bool closed_ = false;

  QComboBox* drive1_;
  QListWidget* dir1_;
  QLabel* labDir_;
  QPushButton* btnOK_;
  QPushButton* btnCan_;
};

}  // namespace tessaro::desktop
