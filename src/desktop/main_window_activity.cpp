// The activity log in the main window: History in the status line, and a note there
// when the log cannot be written. Neither takes room from the other controls.
#include <QKeySequence>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

#include "desktop/activity_history.h"
#include "desktop/core_text.h"
#include "desktop/main_window.h"
#include "desktop/qt_text.h"

namespace tessaro::desktop {

void MainWindow::BuildActivityControls() {
  QStatusBar* line = statusBar();
  logNote_ = new QLabel(tr("Activity log not written"), line);
  logNote_->setObjectName("LogNote");
  logNote_->hide();
  auto* history = new QToolButton(line);
  history->setObjectName("HistoryButton");
  history->setText(tr("History"));
  history->setAutoRaise(false);  // it looks like the button it is
  history->setFocusPolicy(Qt::NoFocus);
  history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  history->setToolTip(tr("What Tessaro translated, refused, deleted or failed to do (Ctrl+H)"));
  // No taller than the status line: the controls above keep their places.
  history->setMaximumHeight(line->sizeHint().height());
  line->addPermanentWidget(logNote_);
  line->addPermanentWidget(history);
  connect(history, &QToolButton::clicked, this, &MainWindow::ShowActivityHistory);

  activityLog_.setFailureSink([this](const std::string& why) {
    logNote_->setToolTip(CoreText(why));
    logNote_->show();
    statusBar()->showMessage(CoreText(why));
  });
}

ActivityHistory* MainWindow::ShowActivityHistory() {
  if (history_ == nullptr) history_ = new ActivityHistory(activityLog_.path(), this);
  history_->show();
  history_->raise();
  history_->activateWindow();
  return history_;
}

}  // namespace tessaro::desktop
