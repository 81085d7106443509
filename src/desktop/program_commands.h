#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "desktop/command_gate.h"
#include "desktop/program_binding.h"
#include "outside/folder_lock.h"
#include "scan/change_trigger.h"
#include "scan/scan_cycle.h"

class QPushButton;
class QSocketNotifier;
class QTimer;
class QWinEventNotifier;
class QWidget;

namespace tessaro {
class ActivityLog;
class Operator;
class Session;
class SettingsFile;
struct WrittenProgram;
}  // namespace tessaro

namespace tessaro::desktop {

// Qt's notifier on the wait handle of the folder watch: an event on Windows, a descriptor
// elsewhere.
#ifdef Q_OS_WIN
using ChangeNotifier = QWinEventNotifier;
#else
using ChangeNotifier = QSocketNotifier;
#endif

class FileListBox;
class FrameBox;
class OptionCheckBox;
class RenameDialog;

// The controls the program commands read and drive.
struct CommandControls {
  QWidget* window = nullptr;  // parent of the dialogs; holds the keyboard shortcuts
  FileListBox* gcodeList = nullptr;
  FileListBox* programList = nullptr;
  FrameBox* sourceFrame = nullptr;
  OptionCheckBox* automaticTranslation = nullptr;
  OptionCheckBox* automaticDeletion = nullptr;
  ProgramControls program;
  QPushButton* newButton = nullptr;
  QPushButton* saveButton = nullptr;
  QPushButton* saveAsButton = nullptr;
  QPushButton* masksButton = nullptr;
  QPushButton* deleteAllButton = nullptr;
  QTimer* scanTimer = nullptr;
  // Further controls that must not be used while a scan runs (the folder buttons).
  std::vector<QWidget*> otherScanControls;
};

// What Save As asks of its save dialog: the folder to open, the one filter and the name
// offered. The dialog asks nothing about overwriting and adds no extension.
struct SaveRequest {
  std::string initialFolder;
  std::string filter;       // "*.RCM"
  std::string defaultName;  // "*.RCM"
};
// The chosen file's full path, "" for Cancel.
using SaveDialog = std::function<std::string(const SaveRequest&)>;

// The status line text of a tick: what it translated, refused, deleted and could not
// do; "" when it did nothing.
QString TickSummary(const TickOutcome& outcome);

// The operator's commands on programs: translating a G-code file picked in File1,
// loading a program picked in File2, New, Save, Save As, the mask dialog, the refresh
// of the source list, the timer's scan and delete-all. They run one at a time (see
// CommandGate); a program that cannot be read or written is reported in a message box
// naming the file and the reason. Translations, refusals, deletions and failures go to
// the activity log.
//
// While Automatic Translation is on, a change in the source folder that the system
// reports (a file written and closed, moved in or out, deleted) brings a scan soon after,
// besides the timer's.
class ProgramCommands : public QObject {
  Q_OBJECT

 public:
  // Connects the controls' clicks, the timer and Ctrl+S / Ctrl+N to the commands.
  ProgramCommands(Session& session, Operator& asker, const SettingsFile& settings, ActivityLog& log,
                  const CommandControls& controls, QObject* parent = nullptr);
  ~ProgramCommands() override;

  // Replaces the save dialog of Save As (tests answer it themselves).
  void setSaveDialog(SaveDialog dialog) { saveDialog_ = std::move(dialog); }
  // Where the status line's texts go.
  void setStatusSink(std::function<void(const QString&)> sink) { status_ = std::move(sink); }
  // Runs after the mask dialog stored new masks (the omission rules follow the masks).
  void setMasksChanged(std::function<void()> masksChanged) {
    masksChanged_ = std::move(masksChanged);
  }

  void File1_Click();
  void File2_Click();
  // Selects and loads the program of the last translation: the one named after the
  // G-code file with "1.RCM" appended, else the first listed.
  void SetPointer();
  void BtnNew_Click();
  void SavBtn_Click();
  void SavAsBtn_Click();
  void tnHFName_Click();
  void SourceFrame_Click();
  void Timer1_Timer();
  void RpAF_Click();
  // Watches the source folder while Automatic Translation is ticked, and no folder
  // otherwise. Call when either changes; the timer's ticks call it too.
  void WatchSourceFolder();
  // Automatic translation makes the window the program folder's one automatic writer
  // (see FolderLock); off lets the folder go. Who holds the folder when another
  // process does, else nullopt.
  std::optional<std::string> HoldProgramFolder(bool automatic);
  // The window is closing: a tick under way ends after the G-code file it is
  // translating, and no other starts.
  void StopScanning();

  bool selectingProgram() const { return selectingProgram_; }
  CommandGate& gate() { return gate_; }
  ProgramBinding& binding() { return *binding_; }
  // The mask dialog, once it has been shown.
  RenameDialog* renameDialog() const;
  const TickOutcome& lastTick() const { return lastTick_; }

 signals:
  // A translation has read its G-code file: Session::TranslatedHoles holds what it read.
  void translated();

 private:
  using Problems = std::vector<std::string>;

  void ConnectControls();
  // A tick of the automatic scan, by the timer or for a change in the source folder.
  void ScanTick();
  void SourceFolderChanged();
  void ScheduleChangeTick();
  void ChangeTick();
  void PointAtProgram(Problems& problems);
  void LoadSelectedProgram(Problems& problems);
  // Loads a program into the table; one that cannot be read leaves the table as it was.
  void LoadIntoTable(const std::string& path, Problems& problems);
  void Report(const Problems& problems);
  void ShowStatus(const std::string& text);
  void ShowStatus(const QString& text);
  // "Translated PART: 4 programs written, 1 hidden"
  static QString TranslationSummary(const QString& source,
                                    const std::vector<WrittenProgram>& written);
  // Puts an open cell editor's value into the table before a save reads it. False,
  // with a word in the status line, when the cell refused it: nothing is saved then.
  bool CommitOpenCell();
  std::string TemplatePath() const;
  bool RcmFormat() const;
  std::string ProgramExtension() const;

  Session& session_;
  Operator& asker_;
  const SettingsFile& settings_;
  ActivityLog& log_;
  CommandControls controls_;
  CommandGate gate_;
  ProgramBinding* binding_ = nullptr;
  ScanCycle cycle_;
  ChangeTrigger trigger_;
  ChangeNotifier* changeNotifier_ = nullptr;  // none where the system reports nothing
  QTimer* changeTick_ = nullptr;
  QTimer* quietTick_ = nullptr;  // comes back for G-code files that were too new
  SaveDialog saveDialog_;
  std::function<void(const QString&)> status_;
  std::function<void()> masksChanged_;
  QPointer<RenameDialog> rename_;
  static QString RefusedFileTip();
  // A tick now, or through `retry` a little later while a command or tick runs.
  void TickWhenFree(QTimer* retry);
  bool stopping_ = false;
  std::unique_ptr<FolderLock> writerLock_;
  bool selectingProgram_ = false;  // SetPointer is moving File2's selection
  TickOutcome lastTick_;
};

}  // namespace tessaro::desktop
