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
  CommandControls controls;
  controls.window = this;
  controls.file1 = file1_;
  controls.file2 = file2_;
  controls.sourceFrame = sourceFrame_;
  controls.autoScan = autoScan_;
  controls.autoDel = autoDel_;
  controls.program = {prgFrame_, horzPrg_, cmt1_, cmt2_, units_, inch_, metric_};
  controls.btnNew = btnNew_;
  controls.savBtn = savBtn_;
  controls.savAsBtn = savAsBtn_;
  controls.tnHFName = tnHFName_;
  controls.rpAF = rpAF_;
  controls.timer1 = timer1_;
  // A folder change in the middle of a scan would move the folders under it.
  controls.otherScanControls = {sDir_, dDir_};
  commands_ = new ProgramCommands(*session_, asker_, settings_, controls, this);
  commands_->setMasksChanged([this] { UpdateOmissionRules(); });

  statusBar()->setObjectName("StatusLine");
  commands_->setStatusSink([this](const QString& text) { statusBar()->showMessage(text); });
  SetTabOrder();
}

void MainWindow::SetTabOrder() {
  // As the window reads: source, program, destination, then the options below.
  const QList<QWidget*> order = {sDir_,    file1_,     horzPrg_,  cmt1_,     cmt2_,      inch_,
                                 metric_,  btnNew_,    savBtn_,   savAsBtn_, tnHFName_,  dDir_,
                                 file2_,   rpAF_,      autoScan_, autoDel_,  noEmpties_, noDupes_,
                                 drillEx_, vScrollDr_, dowelEx_,  vScrollDw_};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace tessaro::desktop
