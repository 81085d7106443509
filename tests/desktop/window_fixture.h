#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "desktop/file_list_box.h"
#include "desktop/main_window.h"
#include "desktop/message_box_operator.h"
#include "desktop/program_commands.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro::testing {

// The base of every desktop test class. Qt Test calls initMain before it makes the
// application: the tests run offscreen unless told otherwise, and never read or write
// the user's own configuration (the file dialog keeps its state there).
class DesktopTest : public QObject {
 public:
  static void initMain() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
  }
};

// Runs `act` on the modal dialog of kind Dialog once the code under test has opened it.
// A timer looks for it, so that it is found from whatever event loop runs then. When none
// comes within a few seconds the test fails and a modal widget of another kind is closed:
// a test never hangs on a dialog that is not there.
template <typename Dialog>
void WhenModal(QObject* context, std::function<void(Dialog&)> act) {
  auto* poll = new QTimer(context);
  auto waited = std::make_shared<QElapsedTimer>();
  waited->start();
  QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, act = std::move(act)] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    const bool open = dialog != nullptr && dialog->isVisible();
    if (!open && !waited->hasExpired(3000)) return;
    poll->stop();
    poll->deleteLater();
    if (open) {
      act(*dialog);
      return;
    }
    if (QWidget* other = QApplication::activeModalWidget()) other->close();
    QTest::qFail("The expected dialog did not open", __FILE__, __LINE__);
  });
  poll->start(10);
}

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// The settings file's line of `key` as written ("AutoScan= 1"), without the CR of a CR LF
// line end (which line ends a file gets is the settings file's own tests' concern); "" when
// there is none.
inline QString StoredLine(const TempFolder& home, const std::string& key) {
  std::istringstream lines(home.Read("Tessaro.INI"));
  for (std::string line; std::getline(lines, line);) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.rfind(key + "=", 0) == 0) return Q(line);
  }
  return "";
}

inline QStringList Listed(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

// A main window started on its own home folder (Tessaro.INI unless `ini` is empty), with
// the process's current folder moved to a folder of its own while the window lives. Its
// questions go to `asker`, or to real message boxes, which the test then answers itself.
class StartedWindow {
 public:
  explicit StartedWindow(const std::string& ini = "", bool messageBoxes = false) {
    previousCurrent_ = QDir::currentPath();
    QDir::setCurrent(Q(current.path()));
    if (!ini.empty()) home.Write("Tessaro.INI", ini);
    Operator& answering = messageBoxes ? static_cast<Operator&>(boxes_) : asker;
    window_ = std::make_unique<desktop::MainWindow>(answering, home.PathWithSeparator());
    boxes_.setParent(window_.get());
    window_->StartUp(desktop::StartupOptions{.showAbout = false});
  }
  ~StartedWindow() {
    window_.reset();
    QDir::setCurrent(previousCurrent_);
  }

  desktop::MainWindow& window() { return *window_; }
  // A control by its name; throws when the window has none of that name and kind.
  template <typename Control>
  Control* find(const char* name) const {
    auto* control = window_->findChild<Control*>(name);
    if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return control;
  }

  TempFolder home;
  TempFolder current;
  RecordingOperator asker;

 private:
  QString previousCurrent_;
  desktop::MessageBoxOperator boxes_;
  std::unique_ptr<desktop::MainWindow> window_;
};

struct WorkFolders {
  TempFolder source;
  TempFolder programs;
};

// A started and shown main window in the RCM format on its own source and program
// folders, with the small template in its home folder. Masks give PART1 .. PART4 for the
// G-code file PART. The scan timer runs only when the test starts it.
class ShownWindow : public WorkFolders, public StartedWindow {
 public:
  explicit ShownWindow(const std::string& moreSettings = "", bool messageBoxes = false)
      : StartedWindow(Settings(*this, moreSettings), messageBoxes) {
    home.Write("Template.RCM", SmallTemplate());
    window().timer1()->stop();
    window().show();
    window().activateWindow();
    if (!QTest::qWaitForWindowActive(&window())) throw std::runtime_error("window not active");
  }

  desktop::FileListBox* file1() { return window().file1(); }
  desktop::FileListBox* file2() { return window().file2(); }
  QLineEdit* cmt1() const { return find<QLineEdit>("Cmt1"); }
  void Press(const char* button) { QTest::mouseClick(find<QWidget>(button), Qt::LeftButton); }
  // A click on the list item of that name (after a refresh of both lists).
  bool Click(desktop::FileListBox* list, const QString& name) {
    file1()->refresh();
    file2()->refresh();
    const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
    if (items.isEmpty()) return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
    QCoreApplication::processEvents();  // a new current item runs its command queued
    return true;
  }
  QString Caption() const { return find<QGroupBox>("PrgFrame")->title(); }
  // The grid's rows 1 and 2 as "location drill dowel, location drill dowel".
  QString Rows() const {
    const auto cell = [this](int row, int column) {
      return find<QTableView>("HorzPrg")->model()->index(row, column).data().toString();
    };
    return QString("%1 %2 %3, %4 %5 %6")
        .arg(cell(0, 0), cell(0, 1), cell(0, 2), cell(1, 0), cell(1, 1), cell(1, 2));
  }
  QString Status() { return window().statusBar()->currentMessage(); }

 private:
  static std::string Settings(const WorkFolders& folders, const std::string& more) {
    return "[Settings]\nRCM=YES\nSourcePath=" + folders.source.PathWithSeparator() +
           "\nDestinationPath=" + folders.programs.PathWithSeparator() +
           "\nDeleteButtonVisible=YES\n" + more +
           "[HorizontalRename]\nMask1=****1***\nMask2=****2***\nMask3=****3***\nMask4=****4***\n";
  }
};

}  // namespace tessaro::testing

// QCOMPARE of std::string values with readable failure output.
#define COMPARE_STD(actual, expected) \
  QCOMPARE(QString::fromStdString(actual), QString::fromStdString(expected))
