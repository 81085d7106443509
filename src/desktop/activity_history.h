#pragma once

#include <QDialog>
#include <cstddef>
#include <string>

class QFileSystemWatcher;
class QLabel;
class QTimer;
class QTreeWidget;

namespace tessaro::desktop {

// The last lines of the activity log, newest first, in a window of its own beside the
// main window. It follows the log while it is open: lines the desktop or tessaro-cli
// append show at the top.
class ActivityHistory : public QDialog {
  Q_OBJECT

 public:
  static constexpr std::size_t kLinesShown = 500;

  explicit ActivityHistory(std::string logPath, QWidget* parent = nullptr);

  // Reads the log again.
  void Reload();
  QTreeWidget* lines() const { return lines_; }

 private:
  std::string logPath_;
  QLabel* source_ = nullptr;
  QTreeWidget* lines_ = nullptr;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* reload_ = nullptr;  // one reading for a burst of appended lines
};

}  // namespace tessaro::desktop
