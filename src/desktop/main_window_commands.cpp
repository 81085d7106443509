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
  const CommandControls controls{.window = this,
                                 .file1 = file1_,
                                 .file2 = file2_,
                                 .sourceFrame = sourceFrame_,
                                 .autoScan = autoScan_,
                                 .autoDel = autoDel_,
                                 .program = program_,
                                 .btnNew = btnNew_,
                                 .savBtn = savBtn_,
                                 .savAsBtn = savAsBtn_,
                                 .tnHFName = tnHFName_,
                                 .rpAF = rpAF_,
                                 .timer1 = timer1_,
                                 .otherScanControls = {sDir_, dDir_}};
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
      sDir_,           file1_,     program_.horzPrg, program_.cmt1, program_.cmt2, program_.inch,
      program_.metric, btnNew_,    savBtn_,          savAsBtn_,     tnHFName_,     dDir_,
      file2_,          rpAF_,      autoScan_,        autoDel_,      noEmpties_,    noDupes_,
      drillEx_,        vScrollDr_, dowelEx_,         vScrollDw_};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace tessaro::desktop
