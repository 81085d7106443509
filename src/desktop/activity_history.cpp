#include "desktop/activity_history.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "app/activity_log.h"
#include "app/text.h"
#include "desktop/core_text.h"
#include "desktop/qt_text.h"
#include "outside/file_ops.h"

namespace tessaro::desktop {

namespace {

constexpr int kReloadDelayMs = 100;
constexpr int kFileColumn = 2;
constexpr int kDetailColumn = 3;

// The log's ISO time in the operator's short local form; as it stands when it is none.
QString ShortTime(const std::string& isoTime) {
  const QDateTime time = QDateTime::fromString(ToQt(isoTime), Qt::ISODate);
  return time.isValid() ? QLocale().toString(time, QLocale::ShortFormat) : ToQt(isoTime);
}

}  // namespace

ActivityHistory::ActivityHistory(std::string logPath, QWidget* parent)
    : QDialog(parent), logPath_(std::move(logPath)) {
  setObjectName("ActivityHistory");
  setWindowTitle(tr("Activity History"));
  source_ = new QLabel(this);
  source_->setObjectName("ActivitySource");
  source_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lines_ = new QTreeWidget(this);
  lines_->setObjectName("ActivityLines");
  lines_->setRootIsDecorated(false);
  lines_->setUniformRowHeights(true);
  lines_->setHeaderLabels({tr("Time"), tr("Action"), tr("File"), tr("Detail")});
  lines_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lines_->header()->setStretchLastSection(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source_);
  layout->addWidget(lines_, 1);
  resize(1200, 420);

  reload_ = new QTimer(this);
  reload_->setSingleShot(true);
  reload_->setInterval(kReloadDelayMs);
  connect(reload_, &QTimer::timeout, this, &ActivityHistory::Reload);
  // The folder tells when the log is begun or renamed aside, the file when it grows.
  watcher_ = new QFileSystemWatcher(this);
  watcher_->addPath(ToQt(FolderPart(logPath_)));
  const auto later = [this] { reload_->start(); };
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, later);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, later);
  Reload();
}

void ActivityHistory::Reload() {
  if (FileExists(logPath_) && !watcher_->files().contains(ToQt(logPath_))) {
    watcher_->addPath(ToQt(logPath_));
  }
  const std::vector<ActivityEntry> entries = ReadRecentActivity(logPath_, kLinesShown);
  source_->setText((entries.size() == 1
                        ? tr("The last line of %1")
                        : tr("The last %1 lines of %2, newest first").arg(entries.size()))
                       .arg(ToQt(logPath_)));
  lines_->clear();
  QList<QTreeWidgetItem*> items;
  for (const ActivityEntry& entry : entries) {
    // The file by its name; its folder, like a long detail, in the tooltip.
    auto* item = new QTreeWidgetItem({ShortTime(entry.time), CoreText(entry.action),
                                      ToQt(FileNamePart(entry.file)), CoreText(entry.detail)});
    item->setToolTip(kFileColumn, ToQt(entry.file));
    item->setToolTip(kDetailColumn, item->text(kDetailColumn));
    items.append(item);
  }
  lines_->addTopLevelItems(items);
  // The rows shown follow at once, not only at the next resize.
  lines_->scrollToTop();
  lines_->viewport()->update();
}

}  // namespace tessaro::desktop
