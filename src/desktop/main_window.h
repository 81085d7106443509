#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "app/activity_log.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "desktop/dir_dialog.h"
#include "desktop/program_binding.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace tessaro {
class Operator;
class Session;
}  // namespace tessaro

namespace tessaro::desktop {

class ActivityHistory;
class DigitSpinner;
class FileListBox;
class FrameBox;
class OptionCheckBox;
class PanelPreview;
class PathLabel;
class ProgramCommands;

struct StartupOptions {
  bool showAbout = true;  // the About box shows modally before the settings are read
};

// The main window. Its controls hold the options as the operator sees them; each change
// is written to the settings file at once and copied into the session's translation
// settings. Controls carry their names as object names (File1, AutoScan, HorzPrg ...).
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `appFolder` holds Tessaro.INI and Template.RCM and ends with a separator.
  // `asker` answers every question of this window and of its session.
  MainWindow(Operator& asker, std::string appFolder, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up: applies the settings file to the controls, each step on its own so that
  // one that fails leaves the rest to run. Call once, before the window is shown.
  void StartUp(const StartupOptions& options = {});

  // How a folder button asks for a folder: the initial folder in, the chosen folder
  // ending with a separator out, "" when cancelled. By default the folder dialog.
  using FolderChooser = std::function<std::string(const std::string& initialFolder)>;
  void setFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

  // What the program commands share.
  Session& session() { return *session_; }
  const SettingsFile& settings() const { return settings_; }
  Operator& asker() { return asker_; }
  const std::string& appFolder() const { return appFolder_; }
  bool rcmFormat() const { return rcmFormat_; }
  const std::string& programExtension() const { return programExtension_; }
  bool startingUp() const { return startingUp_; }
  FileListBox* file1() const { return gcodeList_; }
  FileListBox* file2() const { return programList_; }
  QTimer* timer1() const { return scanTimer_; }
  // The commands on programs: the grid, New, Save, Save As, the masks, the timer's scan.
  ProgramCommands& commands() const { return *commands_; }
  ActivityLog& activityLog() { return activityLog_; }
  // The history of the activity log (History in the status line, Ctrl+H), opened or
  // brought to the front.
  ActivityHistory* ShowActivityHistory();

  // Empties and Duplicates are enabled exactly when all four face masks are set.
  void UpdateOmissionRules();

 signals:
  // The window has stored its position on closing; the program ends.
  void shutDown();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildSourceFrame();
  QWidget* BuildDestFrame();
  QWidget* BuildProgramFrame();
  QWidget* BuildOptions();
  QWidget* BuildFaces();
  QWidget* BuildPreview();
  // Draws the panel of the G-code file the last translation read.
  void ShowPanelDrawing();
  void ConnectOptions();
  // The program grid and the commands on programs (main_window_commands.cpp).
  void ConnectCommands();
  void SetTabOrder();
  // History in the status line, and the note that the activity log is not written
  // (main_window_activity.cpp).
  void BuildActivityControls();

  // Option handlers: each runs when its control changes value.
  void AutoScan_Click();
  // Automatic translation makes the window the program folder's one automatic writer;
  // while another process holds the folder the box goes back off, saying why. False then.
  bool HoldProgramFolder();
  // One message for every stored value that is not used as it stands, each also logged.
  void TellSettingProblems(const StoredOptions& stored);
  void AutoDel_Click();
  void NoEmpties_Click();
  void NoDupes_Click();
  void DrillEx_Change();
  void DowelEx_Change();
  void VScrollDr_Change();
  void VScrollDw_Change();
  void SDir_Click();
  void DDir_Click();

  // Keeps one digit in the box, stores it and moves the spinner; `digit` gets it.
  void ExclusionChange(QLineEdit* box, std::string_view key, DigitSpinner* spinner);
  // The session's translation settings from the options as the controls hold them, built
  // the one way both programs build them (TranslationSettingsFromStored).
  void SyncTranslationSettings();
  // The folder choice for one list.
  void ChooseFolder(FileListBox* list, PathLabel* label, std::string_view key);
  // Lists `folder`; "" or why it cannot be listed (the list then keeps its folder).
  std::string PointList(FileListBox* list, const std::string& folder);
  void WriteSettingsValue(std::string_view key, const std::string& value) const;

  Operator& asker_;
  std::string appFolder_;
  SettingsFile settings_;
  std::unique_ptr<Session> session_;
  ActivityLog activityLog_;
  DirDialogMemory dirMemory_;
  FolderChooser chooseFolder_;

  bool startingUp_ = false;
  bool rcmFormat_ = false;
  std::string programExtension_ = "ACC";
  std::string facePriority_ = std::string(kDefaultFacePriority);

  // Options
  OptionCheckBox* automaticTranslation_ = nullptr;
  OptionCheckBox* automaticDeletion_ = nullptr;
  OptionCheckBox* omitEmpties_ = nullptr;
  OptionCheckBox* omitDuplicates_ = nullptr;
  QLineEdit* drillExclusion_ = nullptr;
  QLineEdit* dowelExclusion_ = nullptr;
  DigitSpinner* drillSpinner_ = nullptr;
  DigitSpinner* dowelSpinner_ = nullptr;
  // Folders and lists
  FrameBox* sourceFrame_ = nullptr;
  QGroupBox* destFrame_ = nullptr;
  QToolButton* chooseSourceButton_ = nullptr;
  QToolButton* chooseDestinationButton_ = nullptr;
  PathLabel* sourcePathLabel_ = nullptr;
  PathLabel* destinationPathLabel_ = nullptr;
  FileListBox* gcodeList_ = nullptr;
  FileListBox* programList_ = nullptr;
  QPushButton* deleteAllButton_ = nullptr;
  // Program
  ProgramControls program_;
  QPushButton* newButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* saveAsButton_ = nullptr;
  QPushButton* masksButton_ = nullptr;
  QTimer* scanTimer_ = nullptr;
  ProgramCommands* commands_ = nullptr;
  PanelPreview* preview_ = nullptr;
  // Activity
  QLabel* logNote_ = nullptr;
  QPointer<ActivityHistory> history_;
};

}  // namespace tessaro::desktop
