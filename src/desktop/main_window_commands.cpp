// The program grid and the commands on programs, wired to the main window's controls.
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "desktop/digit_spinner.h"
#include "desktop/file_list_box.h"
#include "desktop/frame_box.h"
#include "desktop/main_window.h"
#include "desktop/option_check_box.h"
#include "desktop/program_commands.h"
#include "program/session.h"

namespace tessaro::desktop {

void MainWindow::ConnectCommands() {
  // A folder change in the middle of a scan would move the folders under it.
  const CommandControls controls{
      .window = this,
      .gcodeList = gcodeList_,
      .programList = programList_,
      .sourceFrame = sourceFrame_,
      .automaticTranslation = automaticTranslation_,
      .automaticDeletion = automaticDeletion_,
      .program = program_,
      .newButton = newButton_,
      .saveButton = saveButton_,
      .saveAsButton = saveAsButton_,
      .masksButton = masksButton_,
      .deleteAllButton = deleteAllButton_,
      .scanTimer = scanTimer_,
      .otherScanControls = {chooseSourceButton_, chooseDestinationButton_}};
  commands_ = new ProgramCommands(*session_, asker_, settings_, activityLog_, controls, this);
  commands_->setMasksChanged([this] { UpdateOmissionRules(); });

  statusBar()->setObjectName("StatusLine");
  commands_->setStatusSink([this](const QString& text) { statusBar()->showMessage(text); });
  BuildActivityControls();
  SetTabOrder();
}

void MainWindow::SetTabOrder() {
  // As the window reads: source, program, destination, then the options below.
  const QList<QWidget*> order = {
      chooseSourceButton_, gcodeList_,       program_.horzPrg,      program_.cmt1,
      program_.cmt2,       program_.inch,    program_.metric,       newButton_,
      saveButton_,         saveAsButton_,    masksButton_,          chooseDestinationButton_,
      programList_,        deleteAllButton_, automaticTranslation_, automaticDeletion_,
      omitEmpties_,        omitDuplicates_,  drillExclusion_,       drillSpinner_,
      dowelExclusion_,     dowelSpinner_};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace tessaro::desktop
