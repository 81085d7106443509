// The options of the main window: each handler runs when its control changes value.
#include <QLineEdit>
#include <QStatusBar>
#include <cmath>

#include "app/operator.h"
#include "app/text.h"
#include "desktop/command_gate.h"
#include "desktop/core_text.h"
#include "desktop/digit_spinner.h"
#include "desktop/file_list_box.h"
#include "desktop/main_window.h"
#include "desktop/option_check_box.h"
#include "desktop/path_label.h"
#include "desktop/program_commands.h"
#include "desktop/qt_text.h"
#include "program/session.h"

namespace tessaro::desktop {

namespace {

constexpr char kAutoDeleteWarning[] =
    QT_TRANSLATE_NOOP("tessaro::desktop::MainWindow",
                      "Turning this on will Automatically DELETE any RCM files that \r"
                      "   do not have matching G-code files in the Source directory.\r"
                      "\r"
                      "                 Are You Sure You Want To Do This?");

std::string WithoutTrailingSeparator(std::string folder) {
  if (!folder.empty() && folder.back() == kPathSeparator) folder.pop_back();
  return folder;
}

}  // namespace

void MainWindow::WriteSettingsValue(std::string_view key, const std::string& value) const {
  settings_.WriteSetting(keys::kSettings, key, value);
}

void MainWindow::AutoScan_Click() {
  // Start-up takes the folder once the program list points at it.
  if (!startingUp_ && !HoldProgramFolder()) return;
  WriteSettingsValue(keys::kAutoScan, " " + std::to_string(automaticTranslation_->value()));
  automaticDeletion_->setEnabled(automaticTranslation_->value() == 1);
  if (commands_ != nullptr) commands_->WatchSourceFolder();
}

bool MainWindow::HoldProgramFolder() {
  const auto holder = commands_->HoldProgramFolder(automaticTranslation_->value() == 1);
  if (!holder) return true;
  const QString why = tr("Automatic Translation stays off: the program folder %1 is kept in step "
                         "by %2.")
                          .arg(ToQt(programList_->path()), CoreText(*holder));
  if (startingUp_) {
    statusBar()->showMessage(why);
  } else {
    asker_.Tell("Alert", ToStd(why));
  }
  automaticTranslation_->setValue(0);  // comes back to AutoScan_Click with the box unticked
  return false;
}

void MainWindow::AutoDel_Click() {
  if (automaticDeletion_->value() == 1 && !startingUp_) {
    // The box is ticked while the question is open: no tick may delete before the answer.
    const CommandGate::Scope consent(commands_->gate(), CommandGate::Scope::Pointer::kNormal);
    if (!asker_.AskYesNo("Alert!", ToStd(tr(kAutoDeleteWarning)))) automaticDeletion_->setValue(0);
  }
  WriteSettingsValue(keys::kAutoDelete, " " + std::to_string(automaticDeletion_->value()));
}

void MainWindow::NoEmpties_Click() {
  WriteSettingsValue(keys::kNoEmpties, std::to_string(omitEmpties_->value()));
  SyncTranslationSettings();
}

void MainWindow::NoDupes_Click() {
  WriteSettingsValue(keys::kNoDuplicates, std::to_string(omitDuplicates_->value()));
  SyncTranslationSettings();
}

void MainWindow::ExclusionChange(QLineEdit* box, std::string_view key, DigitSpinner* spinner) {
  const std::string text = ToStd(box->text());
  const std::string normalised = NormaliseExclusion(text);
  if (normalised != text) {
    box->setText(ToQt(normalised));  // comes back here with the digit
    return;
  }
  WriteSettingsValue(key, normalised);
  SyncTranslationSettings();
  spinner->setValue(static_cast<int>(std::lround(ReadNumber(normalised))));
}

void MainWindow::DrillEx_Change() {
  ExclusionChange(drillExclusion_, keys::kDrillExclusion, drillSpinner_);
}

void MainWindow::DowelEx_Change() {
  ExclusionChange(dowelExclusion_, keys::kDowellExclusion, dowelSpinner_);
}

void MainWindow::VScrollDr_Change() {
  drillExclusion_->setText(QString::number(drillSpinner_->value()));
}

void MainWindow::VScrollDw_Change() {
  dowelExclusion_->setText(QString::number(dowelSpinner_->value()));
}

void MainWindow::SDir_Click() { ChooseFolder(gcodeList_, sourcePathLabel_, keys::kSourcePath); }

void MainWindow::DDir_Click() {
  ChooseFolder(programList_, destinationPathLabel_, keys::kDestinationPath);
}

void MainWindow::ChooseFolder(FileListBox* list, PathLabel* label, std::string_view key) {
  const std::string previous = list->path();
  const std::string chosen = chooseFolder_ ? chooseFolder_(previous) : std::string();
  if (chosen.empty()) return;
  if (WithoutTrailingSeparator(chosen) != WithoutTrailingSeparator(previous)) {
    automaticDeletion_->setValue(0);
    automaticTranslation_->setValue(0);
  }
  if (const std::string error = PointList(list, chosen); !error.empty()) {
    asker_.Tell("Alert", error);
  }
  label->setText(ToQt(chosen));
  WriteSettingsValue(key, chosen);
  list->refresh();
}

std::string MainWindow::PointList(FileListBox* list, const std::string& folder) {
  std::string error = list->setPath(folder);
  if (list == programList_) SyncTranslationSettings();
  return error;
}

void MainWindow::SyncTranslationSettings() {
  StoredOptions options;
  options.rcmFormat = rcmFormat_;
  options.destinationPath = programList_->path();
  options.facePriority = facePriority_;
  options.masks = session_->Settings().masks;  // the mask dialog edits them there
  options.noEmpties = omitEmpties_->value();
  options.noDuplicates = omitDuplicates_->value();
  options.drillExclusion = NormaliseExclusion(ToStd(drillExclusion_->text()));
  options.dowelExclusion = NormaliseExclusion(ToStd(dowelExclusion_->text()));
  session_->Settings() = TranslationSettingsFromStored(options, appFolder_);
}

}  // namespace tessaro::desktop
