#include "desktop/program_commands.h"

#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#else
#include <QSocketNotifier>
#endif
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <chrono>

#include "app/app_folder.h"
#include "app/file_names.h"
#include "app/operator.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "desktop/core_text.h"
#include "desktop/file_list_box.h"
#include "desktop/frame_box.h"
#include "desktop/option_check_box.h"
#include "desktop/qt_text.h"
#include "desktop/rename_dialog.h"
#include "program/session.h"
#include "scan/activity_entries.h"

namespace tessaro::desktop {

namespace {

constexpr const char* kAlertTitle = "Alert";
constexpr size_t kNamesShown = 4;
// How soon a change's tick tries again when a command or a tick holds the gate.
constexpr std::chrono::milliseconds kChangeTickRetry{100};

// Runs a command when the operator picks an item of a list: a change of the current item
// (by mouse or keyboard), or a press on the item that is already the current one, so
// that a second click on the same file runs the command again. A change runs the
// command once the view has settled its selection, which follows the current item.
class ItemPicker : public QObject {
 public:
  ItemPicker(FileListBox* list, std::function<void()> command)
      : QObject(list), list_(list), command_(std::move(command)) {
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
      ++changes_;
      if (row < 0 || pending_) return;
      pending_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            pending_ = false;
            command_();
          },
          Qt::QueuedConnection);
    });
    connect(list_, &QListWidget::itemPressed, this, [this](QListWidgetItem*) {
      if (changes_ == changesAtPress_ && !pending_) command_();
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonPress) {
      changesAtPress_ = changes_;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  FileListBox* list_;
  std::function<void()> command_;
  bool pending_ = false;
  unsigned changes_ = 0;
  unsigned changesAtPress_ = ~0u;
};

std::string ChooseSaveTarget(QWidget* parent, const SaveRequest& request) {
  QFileDialog dialog(parent, ProgramCommands::tr("Save As"), ToQt(request.initialFolder),
                     ToQt(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(QString());
  dialog.selectFile(ToQt(request.defaultName));
  if (dialog.exec() != QDialog::Accepted) return "";
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? std::string() : ToStd(chosen.front());
}

// "A, B, C and 4 more"
QString NameList(const std::vector<std::string>& paths) {
  QStringList names;
  for (size_t i = 0; i < paths.size() && i < kNamesShown; ++i)
    names << ToQt(FileNamePart(paths[i]));
  QString text = names.join(QStringLiteral(", "));
  if (paths.size() > kNamesShown) {
    text = ProgramCommands::tr("%1 and %2 more").arg(text).arg(paths.size() - kNamesShown);
  }
  return text;
}

QStringList CoreTexts(const std::vector<std::string>& texts) {
  QStringList translated;
  for (const std::string& text : texts) translated << CoreText(text);
  return translated;
}

}  // namespace

QString TickSummary(const TickOutcome& outcome) {
  QStringList parts;
  if (!outcome.translatedFiles.empty()) {
    parts << ProgramCommands::tr("translated %1").arg(NameList(outcome.translatedFiles));
  }
  if (!outcome.refusedFiles.empty()) {
    parts << ProgramCommands::tr("not G-code of the accepted kind: %1")
                 .arg(NameList(outcome.refusedFiles));
  }
  if (!outcome.emptyFiles.empty()) {
    parts << ProgramCommands::tr("empty, programs kept: %1").arg(NameList(outcome.emptyFiles));
  }
  // "NAME not translated: ..." names its file first.
  for (const std::string& collision : outcome.collisions) {
    const size_t blank = collision.find(' ');
    parts << (blank == std::string::npos
                  ? ToQt(collision)
                  : ToQt(collision.substr(0, blank + 1)) + CoreText(collision.substr(blank + 1)));
  }
  parts << CoreTexts(outcome.notes);
  if (!outcome.deletedPrograms.empty()) {
    parts << ProgramCommands::tr("deleted %1").arg(NameList(outcome.deletedPrograms));
  }
  for (const std::string& failure : outcome.failedFiles) {
    // "PATH: why"
    const size_t colon = failure.find(": ");
    parts << ProgramCommands::tr("not translated: %1")
                 .arg(colon == std::string::npos ? CoreText(failure)
                                                 : ToQt(failure.substr(0, colon + 2)) +
                                                       CoreText(failure.substr(colon + 2)));
  }
  parts << CoreTexts(outcome.errors);
  QString text = parts.join(QStringLiteral("; "));
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  return text;
}

ProgramCommands::ProgramCommands(Session& session, Operator& asker, const SettingsFile& settings,
                                 ActivityLog& log, const CommandControls& controls, QObject* parent)
    : QObject(parent),
      session_(session),
      asker_(asker),
      settings_(settings),
      log_(log),
      controls_(controls),
      cycle_(session, &log),
      trigger_(MakeFolderWatch()) {
  binding_ = new ProgramBinding(session_.Table(), controls_.program, this);
  saveDialog_ = [this](const SaveRequest& request) {
    return ChooseSaveTarget(controls_.window, request);
  };
  std::vector<QWidget*> scanControls = {
      controls_.gcodeList,    controls_.programList, controls_.newButton,      controls_.saveButton,
      controls_.saveAsButton, controls_.masksButton, controls_.deleteAllButton};
  scanControls.insert(scanControls.end(), controls_.otherScanControls.begin(),
                      controls_.otherScanControls.end());
  gate_.setScanControls(scanControls);
  ConnectControls();
}

ProgramCommands::~ProgramCommands() = default;

RenameDialog* ProgramCommands::renameDialog() const { return rename_; }

void ProgramCommands::ConnectControls() {
  new ItemPicker(controls_.gcodeList, [this] { File1_Click(); });
  new ItemPicker(controls_.programList, [this] { File2_Click(); });
  connect(controls_.sourceFrame, &FrameBox::clicked, this, &ProgramCommands::SourceFrame_Click);
  connect(controls_.newButton, &QPushButton::clicked, this, &ProgramCommands::BtnNew_Click);
  connect(controls_.saveButton, &QPushButton::clicked, this, &ProgramCommands::SavBtn_Click);
  connect(controls_.saveAsButton, &QPushButton::clicked, this, &ProgramCommands::SavAsBtn_Click);
  connect(controls_.masksButton, &QPushButton::clicked, this, &ProgramCommands::tnHFName_Click);
  connect(controls_.deleteAllButton, &QPushButton::clicked, this, &ProgramCommands::RpAF_Click);
  connect(controls_.scanTimer, &QTimer::timeout, this, &ProgramCommands::Timer1_Timer);
  if (const WaitHandle handle = trigger_.waitHandle(); handle != kNoWaitHandle) {
#ifdef Q_OS_WIN
    changeNotifier_ = new QWinEventNotifier(reinterpret_cast<Qt::HANDLE>(handle), this);
#else
    changeNotifier_ = new QSocketNotifier(handle, QSocketNotifier::Read, this);
#endif
    changeNotifier_->setEnabled(false);
    connect(changeNotifier_, &ChangeNotifier::activated, this,
            &ProgramCommands::SourceFolderChanged);
  }
  changeTick_ = new QTimer(this);
  changeTick_->setSingleShot(true);
  connect(changeTick_, &QTimer::timeout, this, &ProgramCommands::ChangeTick);
  quietTick_ = new QTimer(this);
  quietTick_->setSingleShot(true);
  connect(quietTick_, &QTimer::timeout, this, [this] { TickWhenFree(quietTick_); });

  // The shortcuts follow the buttons: none while a scan has them disabled.
  auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), controls_.window);
  connect(save, &QShortcut::activated, this, [this] {
    if (controls_.saveButton->isEnabled()) SavBtn_Click();
  });
  auto* create = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), controls_.window);
  connect(create, &QShortcut::activated, this, [this] {
    if (controls_.newButton->isEnabled()) BtnNew_Click();
  });
  controls_.newButton->setToolTip(tr("New program (Ctrl+N)"));
  controls_.saveButton->setToolTip(tr("Save over the program selected in the list (Ctrl+S)"));
  controls_.saveAsButton->setToolTip(tr("Save under a name of your choice"));
  controls_.masksButton->setToolTip(tr("Filename Assignment: the name masks of the four faces"));
}

bool ProgramCommands::RcmFormat() const { return session_.Settings().rcmFormat; }

std::string ProgramCommands::ProgramExtension() const {
  return session_.Settings().programExtension();
}

std::string ProgramCommands::TemplatePath() const {
  return tessaro::TemplatePath(session_.Settings().appFolder);
}

void ProgramCommands::ShowStatus(const std::string& text) { ShowStatus(CoreText(text)); }

void ProgramCommands::ShowStatus(const QString& text) {
  if (status_) status_(text);
}

QString ProgramCommands::TranslationSummary(const QString& source,
                                            const std::vector<WrittenProgram>& written) {
  // The destination list leaves hidden programs out: say how many there are.
  const auto hidden = std::count_if(written.begin(), written.end(),
                                    [](const WrittenProgram& program) { return program.hidden; });
  QString text = tr("Translated %1: %2 programs written").arg(source).arg(written.size());
  if (hidden > 0) text += tr(", %1 hidden").arg(hidden);
  return text;
}

bool ProgramCommands::CommitOpenCell() {
  if (binding_->CommitOpenEditor()) return true;
  ShowStatus(tr("Not saved: the cell being edited does not take its value"));
  return false;
}

void ProgramCommands::Report(const Problems& problems) {
  if (problems.empty()) return;
  std::string text;
  for (const std::string& problem : problems) text += (text.empty() ? "" : "\r") + problem;
  asker_.Tell(kAlertTitle, text);
}

QString ProgramCommands::RefusedFileTip() {
  return tr(
      "Not G-code of the accepted kind: its first line is no G70, G71, G81 or G150 "
      "line. It is kept and left alone until it changes.");
}

void ProgramCommands::File1_Click() {
  // While automatic translation is on, the source list only shows files.
  if (controls_.automaticTranslation->value() != 0) return;
  const std::string name = controls_.gcodeList->fileName();
  if (name.empty()) return;
  Problems problems;
  {
    CommandGate::Scope scope(gate_);
    if (!scope.entered()) return;
    const std::string path = JoinPath(controls_.gcodeList->path(), name);
    session_.AskAgainAbout(path);
    const TranslationReport report = session_.Process(path);
    AppendAll(&log_, TranslationActivity(path, report));
    problems = report.errors;
    controls_.programList->refresh();
    // A file that could not be read, or holds nothing, was not translated: nothing to show.
    const bool unread = (report.written.empty() && !report.errors.empty()) || report.empty;
    if (!unread) PointAtProgram(problems);
    binding_->Show();
    if (!unread) emit translated();
    if (report.refused) {
      controls_.gcodeList->markFiles({name}, RefusedFileTip());
      ShowStatus(tr("%1 is not G-code of the accepted kind").arg(ToQt(name)));
    } else if (report.empty) {
      ShowStatus(tr("%1 is empty: nothing was translated, its programs are kept").arg(ToQt(name)));
    } else if (report.unsettled) {
      ShowStatus(
          tr("%1 changed while it was read: click it again once it is complete").arg(ToQt(name)));
    } else if (!unread) {
      ShowStatus(TranslationSummary(ToQt(name), report.written));
    }
  }
  Report(problems);
}

void ProgramCommands::File2_Click() {
  if (selectingProgram_) return;
  Problems problems;
  {
    CommandGate::Scope scope(gate_);
    if (!scope.entered()) return;
    LoadSelectedProgram(problems);
  }
  Report(problems);
}

void ProgramCommands::SetPointer() {
  Problems problems;
  {
    CommandGate::Scope scope(gate_);
    if (!scope.entered()) return;
    PointAtProgram(problems);
  }
  Report(problems);
}

void ProgramCommands::PointAtProgram(Problems& problems) {
  FileListBox* programList = controls_.programList;
  if (programList->listCount() == 0 || session_.Holes().RejectedFile) return;
  selectingProgram_ = true;
  const QSignalBlocker quiet(programList);
  const std::string target = FoldCase(FileNamePart(session_.LastTranslatedFile()) + "1.RCM");
  int index = 0;
  for (int i = 0; i < programList->listCount(); ++i) {
    if (FoldCase(programList->fileNameAt(i)) == target) {
      index = i;
      break;
    }
  }
  programList->setListIndex(index);
  programList->scrollToItem(programList->item(index));
  selectingProgram_ = false;
  LoadSelectedProgram(problems);
}

void ProgramCommands::LoadSelectedProgram(Problems& problems) {
  const std::string name = controls_.programList->fileName();
  if (name.empty()) return;
  LoadIntoTable(JoinPath(controls_.programList->path(), name), problems);
}

void ProgramCommands::LoadIntoTable(const std::string& path, Problems& problems) {
  const Status loaded = session_.LoadProgramFile(path);
  if (!loaded.ok()) problems.push_back(loaded.error());
  binding_->Show();
}

void ProgramCommands::BtnNew_Click() {
  Problems problems;
  {
    CommandGate::Scope scope(gate_);
    if (!scope.entered()) return;
    controls_.programList->refresh();
    // ACC: an empty path only clears the table, and the caption stays.
    LoadIntoTable(RcmFormat() ? TemplatePath() : std::string(), problems);
  }
  controls_.program.cmt1->setFocus();
  Report(problems);
}

void ProgramCommands::SavBtn_Click() {
  if (!CommitOpenCell()) return;
  const std::string name = controls_.programList->fileName();
  if (name.empty()) {
    SavAsBtn_Click();
    return;
  }
  Problems problems;
  {
    CommandGate::Scope scope(gate_);
    if (!scope.entered()) return;
    const std::string file = JoinPath(controls_.programList->path(), name);
    const SaveOutcome saved = session_.SaveProgram(file, file);
    if (saved.status.ok()) {
      ShowStatus(tr("Saved %1").arg(ToQt(saved.path)));
    } else {
      problems.push_back(saved.status.error());
    }
  }
  Report(problems);
}

void ProgramCommands::SavAsBtn_Click() {
  if (!CommitOpenCell()) return;
  Problems problems;
  {
    // Held while the dialog is open: a tick must not load another program meanwhile.
    CommandGate::Scope scope(gate_, CommandGate::Scope::Pointer::kNormal);
    if (!scope.entered()) return;
    const std::string extension = ProgramExtension();
    const std::string chosen =
        saveDialog_
            ? saveDialog_({controls_.programList->path(), "*." + extension, "*." + extension})
            : std::string();
    if (!chosen.empty()) {
      scope.ShowBusy();
      // An RCM program is saved through the one selected, or else through the template.
      const std::string selected = controls_.programList->fileName();
      const std::string base =
          selected.empty() ? TemplatePath() : JoinPath(controls_.programList->path(), selected);
      const SaveOutcome saved = session_.SaveProgram(chosen, base);
      if (saved.status.ok()) {
        // The file written: Untitled.RCM when template.rcm was chosen.
        session_.Table().FrameCaption = FileNamePart(saved.path);
        controls_.program.prgFrame->setTitle(ToQt(session_.Table().FrameCaption));
        ShowStatus(tr("Saved %1").arg(ToQt(saved.path)));
      } else {
        problems.push_back(saved.status.error());
      }
    }
    controls_.gcodeList->refresh();
    controls_.programList->refresh();
  }
  Report(problems);
}

void ProgramCommands::tnHFName_Click() {
  if (gate_.busy()) return;
  if (rename_ == nullptr)
    rename_ = new RenameDialog(settings_, session_.Settings().masks, controls_.window);
  if (rename_->Run() && masksChanged_) masksChanged_();
}

void ProgramCommands::SourceFrame_Click() { controls_.gcodeList->refresh(); }

void ProgramCommands::Timer1_Timer() {
  WatchSourceFolder();
  ScanTick();
}

void ProgramCommands::WatchSourceFolder() {
  const bool on = controls_.automaticTranslation->value() == 1;
  if (const auto why = trigger_.Watch(on ? controls_.gcodeList->path() : std::string())) {
    ShowStatus(tr("%1; scanning every %2 s")
                   .arg(ToQt(*why))
                   .arg(controls_.scanTimer->interval() / 1000.0));
  }
  if (changeNotifier_ != nullptr) changeNotifier_->setEnabled(on);
  if (!on) {
    changeTick_->stop();
    quietTick_->stop();
  }
}

void ProgramCommands::SourceFolderChanged() {
  trigger_.TakeChanges(ChangeTrigger::Clock::now());
  ScheduleChangeTick();
}

void ProgramCommands::ScheduleChangeTick() {
  const std::optional<ChangeTrigger::Clock::time_point> due = trigger_.TickDue();
  if (!due) {
    changeTick_->stop();
    return;
  }
  const auto wait =
      std::chrono::ceil<std::chrono::milliseconds>(*due - ChangeTrigger::Clock::now());
  changeTick_->start(std::max(wait, std::chrono::milliseconds(0)));
}

void ProgramCommands::ChangeTick() {
  if (!trigger_.TickDue()) return;  // a timer tick has seen the changes
  TickWhenFree(changeTick_);
}

void ProgramCommands::TickWhenFree(QTimer* retry) {
  if (gate_.busy() || cycle_.Running()) {
    retry->start(kChangeTickRetry);  // waits for the command or tick under way
    return;
  }
  ScanTick();
}

std::optional<std::string> ProgramCommands::HoldProgramFolder(bool automatic) {
  writerLock_.reset();
  if (!automatic) return std::nullopt;
  writerLock_ = std::make_unique<FolderLock>(controls_.programList->path());
  if (writerLock_->state() != FolderLock::State::kHeldElsewhere) return std::nullopt;
  const std::string holder = writerLock_->detail();
  writerLock_.reset();
  return holder;
}

void ProgramCommands::StopScanning() {
  stopping_ = true;
  changeTick_->stop();
  quietTick_->stop();
}

void ProgramCommands::ScanTick() {
  // A tick that comes due while a command or another tick runs is skipped.
  if (stopping_ || gate_.busy() || cycle_.Running()) return;
  const TickInputs inputs{controls_.automaticTranslation->value(),
                          controls_.automaticDeletion->value(), controls_.gcodeList->path()};
  if (inputs.autoScan != 1) return;
  Problems problems;
  {
    CommandGate::Scope scope(gate_, CommandGate::Scope::Pointer::kNormal);
    if (!scope.entered()) return;
    trigger_.TickStarting();
    TickOutcome outcome = cycle_.RunTick(
        inputs, [&scope] { scope.Yield(); }, [this] { return stopping_; });
    // Changes while it ran give one more tick, and so do files that were too new.
    ScheduleChangeTick();
    if (outcome.skipped) return;
    if (outcome.comeBackSoon) quietTick_->start(kQuietTime);
    if (outcome.changed) {
      controls_.gcodeList->refresh();
      controls_.programList->refresh();
    }
    std::vector<std::string> refused;
    for (const std::string& path : outcome.refusedFiles) refused.push_back(FileNamePart(path));
    controls_.gcodeList->markFiles(refused, RefusedFileTip());
    if (outcome.translated) {
      scope.ShowBusy();
      PointAtProgram(problems);
      binding_->Show();
      emit translated();
    }
    lastTick_ = std::move(outcome);
  }
  // Ticks report in the status line only: a message box would come back every few seconds.
  QStringList parts;
  if (const QString summary = TickSummary(lastTick_); !summary.isEmpty()) parts << summary;
  parts << CoreTexts(problems);
  if (!parts.isEmpty()) {
    ShowStatus(QTime::currentTime().toString("HH:mm:ss") + "  " + parts.join("; "));
  }
}

void ProgramCommands::RpAF_Click() {
  Problems problems;
  {
    CommandGate::Scope scope(gate_, CommandGate::Scope::Pointer::kNormal);
    if (!scope.entered()) return;
    const DeleteAllOutcome outcome =
        DeleteAllPrograms(controls_.programList->path(), RcmFormat(), asker_, &log_);
    controls_.programList->setFocus();
    controls_.programList->refresh();
    if (outcome.confirmed) {
      ShowStatus(tr("Deleted %1 %2 programs")
                     .arg(outcome.deletedPrograms.size())
                     .arg(ToQt(ProgramExtension())));
    }
    problems = outcome.errors;
  }
  Report(problems);
}

}  // namespace tessaro::desktop
