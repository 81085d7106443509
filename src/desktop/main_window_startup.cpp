// Start-up and shutdown of the main window.
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <exception>
#include <iostream>
#include <string>
#include <type_traits>

#include "app/app_folder.h"
#include "app/operator.h"
#include "app/settings_check.h"
#include "app/text.h"
#include "desktop/about_box.h"
#include "desktop/core_text.h"
#include "desktop/file_list_box.h"
#include "desktop/main_window.h"
#include "desktop/option_check_box.h"
#include "desktop/path_label.h"
#include "desktop/program_commands.h"
#include "desktop/qt_text.h"
#include "desktop/window_placement.h"
#include "program/session.h"

namespace tessaro::desktop {

namespace {

void ReportSkippedStep(const std::string& reason) {
  std::cerr << "Tessaro start-up: step skipped: " << reason << std::endl;
}

// A start-up step that fails is skipped and the next one runs. No dialog can show yet,
// so why it failed goes to standard error. A step may return why it failed, "" for none.
template <typename Step>
void Guarded(Step&& step) {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Step>>) {
      step();
    } else if (const std::string reason = step(); !reason.empty()) {
      ReportSkippedStep(reason);
    }
  } catch (const std::exception& error) {
    ReportSkippedStep(error.what());
  } catch (...) {
    ReportSkippedStep("unknown error");
  }
}

}  // namespace

void MainWindow::StartUp(const StartupOptions& options) {
  startingUp_ = true;
  if (options.showAbout) {
    AboutBox about(this);
    about.exec();
  }

  StoredOptions stored;
  Guarded([&] { stored = ReadStoredOptions(settings_); });

  Guarded([&] { RestorePosition(*this, stored.windowLeft, stored.windowTop); });
  Guarded([&] { rcmFormat_ = stored.rcmFormat; });
  // Setting a box runs its change handling when the value differs.
  Guarded([&] {
    if (stored.autoDelete) automaticDeletion_->setValue(*stored.autoDelete);
  });
  Guarded([&] {
    if (stored.autoScan) automaticTranslation_->setValue(*stored.autoScan);
  });
  Guarded([&] {
    destinationPathLabel_->setText(ToQt(stored.destinationPath));
    sourcePathLabel_->setText(ToQt(stored.sourcePath));
  });
  // A folder that cannot be opened leaves its list on the current folder. The stored
  // paths, not the labels: a label shows a name that is not UTF-8 with U+FFFD in it.
  const auto pointAtStored = [this](FileListBox* list, const std::string& folder) {
    return folder.empty() ? std::string() : PointList(list, folder);
  };
  Guarded([&] { return pointAtStored(gcodeList_, stored.sourcePath); });
  Guarded([&] { return pointAtStored(programList_, stored.destinationPath); });
  Guarded([&] { gcodeList_->setPattern("*."); });
  Guarded([&] { programExtension_ = ProgramExtension(rcmFormat_); });
  Guarded([&] { setWindowTitle(tr("Tessaro - %1 format").arg(ToQt(programExtension_))); });
  Guarded(
      [&] { deleteAllButton_->setText(tr("Delete all %1 Files").arg(ToQt(programExtension_))); });
  Guarded([&] { destFrame_->setTitle(tr("%1 Files (Destination)").arg(ToQt(programExtension_))); });
  Guarded([&] { programList_->setPattern("*." + programExtension_); });
  // The stored texts as they are: the boxes' handling normalises and writes them back.
  Guarded([&] {
    dowelExclusion_->setText(ToQt(settings_.ReadSetting(keys::kSettings, keys::kDowellExclusion)));
    drillExclusion_->setText(ToQt(settings_.ReadSetting(keys::kSettings, keys::kDrillExclusion)));
  });
  Guarded([&] { facePriority_ = stored.facePriority; });
  Guarded([&] {
    if (stored.deleteButtonVisible) deleteAllButton_->setVisible(true);
  });
  Guarded([&] {
    if (stored.noDuplicates) omitDuplicates_->setValue(*stored.noDuplicates);
    if (stored.noEmpties) omitEmpties_->setValue(*stored.noEmpties);
  });
  Guarded([&] { scanTimer_->setInterval(stored.scanIntervalMs); });
  Guarded([&] { session_->Settings().masks = stored.masks; });
  Guarded([&] { UpdateOmissionRules(); });
  Guarded([&] { HoldProgramFolder(); });
  Guarded([&] { commands_->WatchSourceFolder(); });
  Guarded([&] {
    if (const auto hint = MissingTemplateHint(appFolder_))
      statusBar()->showMessage(CoreText(*hint));
  });
  Guarded([&] { TellSettingProblems(stored); });
  startingUp_ = false;
}

void MainWindow::TellSettingProblems(const StoredOptions& stored) {
  const std::vector<SettingProblem> problems = CheckSettings(settings_, stored);
  if (problems.empty()) return;
  std::string text = ToStd(tr("Tessaro.INI holds values that are not used as they stand:"));
  for (const SettingProblem& problem : problems) {
    const std::string line = DescribeProblem(settings_.path(), problem);
    activityLog_.Append({"", activity::kSetting, settings_.path(), line});
    text += "\r" + line;
  }
  asker_.Tell("Alert", text);
}

void MainWindow::UpdateOmissionRules() {
  const bool enabled = AllMasksSet(session_->Settings().masks);
  omitEmpties_->setEnabled(enabled);
  omitDuplicates_->setEnabled(enabled);
  SyncTranslationSettings();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  settings_.WriteSetting(keys::kWindow, keys::kTop, std::to_string(TopTwips(*this)));
  settings_.WriteSetting(keys::kWindow, keys::kLeft, std::to_string(LeftTwips(*this)));
  event->accept();
  commands_->StopScanning();
  emit shutDown();
}

}  // namespace tessaro::desktop
