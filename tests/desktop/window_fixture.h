#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/operator.h"
#include "desktop/file_list_box.h"
#include "desktop/main_window.h"
#include "desktop/message_box_operator.h"
#include "desktop/option_check_box.h"
#include "desktop/program_commands.h"
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

// Who answers the window's questions and save dialog: the test's scripts, or the real
// dialogs, which the test then drives itself.
enum class Dialogs { kScripted, kReal };

// Answers the questions from a script (No beyond it) and keeps what was asked and told.
class ScriptedOperator : public Operator {
 public:
  struct Message {
    std::string title;
    std::string text;
  };
  std::deque<bool> answers;
  std::vector<Message> questions;
  std::vector<Message> told;

  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back({title, text});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Tell(const std::string& title, const std::string& text) override {
    told.push_back({title, text});
  }
};

// The settings file's lines as written: "section/key" to the text after "=", blanks kept.
inline std::map<std::string, std::string> StoredLines(const std::string& iniText) {
  std::map<std::string, std::string> values;
  std::istringstream lines(iniText);
  std::string line;
  std::string section;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (!line.empty() && line.front() == '[') {
      section = line.substr(1, line.find(']') - 1);
    } else if (equals != std::string::npos) {
      values[section + "/" + line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return values;
}

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// One stored value exactly as written ("Settings/AutoScan"); "<not stored>" when missing.
inline QString StoredValue(const TempFolder& home, const std::string& sectionKey) {
  const std::map<std::string, std::string> values = StoredLines(home.Read("Tessaro.INI"));
  const auto found = values.find(sectionKey);
  return found == values.end() ? QString("<not stored>") : Q(found->second);
}

inline QStringList Listed(const desktop::FileListBox* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

// A main window started on its own home folder (Tessaro.INI unless `ini` is empty), with
// the process's current folder moved to a folder of its own while the window lives.
class StartedWindow {
 public:
  explicit StartedWindow(const std::string& ini = "", Dialogs dialogs = Dialogs::kScripted) {
    previousCurrent_ = QDir::currentPath();
    QDir::setCurrent(Q(current_.path()));
    if (!ini.empty()) home_.Write("Tessaro.INI", ini);
    Operator& asker = dialogs == Dialogs::kReal ? static_cast<Operator&>(boxes_) : asker_;
    window_ = std::make_unique<desktop::MainWindow>(asker, home_.PathWithSeparator());
    boxes_.setParent(window_.get());
    window_->StartUp(desktop::StartupOptions{.showAbout = false});
  }
  ~StartedWindow() {
    window_.reset();
    QDir::setCurrent(previousCurrent_);
  }

  desktop::MainWindow& window() { return *window_; }
  ScriptedOperator& asker() { return asker_; }
  const TempFolder& home() const { return home_; }
  const TempFolder& current() const { return current_; }
  QString stored(const std::string& sectionKey) const { return StoredValue(home_, sectionKey); }
  // A check box and its value in the settings file: "AutoDel 1 enabled, stored \" 1\"".
  QString boxState(const QString& box) const {
    static const std::map<QString, std::string> keys = {{"AutoScan", "AutoScan"},
                                                        {"AutoDel", "AutoDelete"},
                                                        {"NoEmpties", "NoEmpties"},
                                                        {"NoDupes", "NoDuplicates"}};
    const auto* check = find<desktop::OptionCheckBox>(box.toUtf8().constData());
    return QString("%1 %2 %3, stored \"%4\"")
        .arg(box)
        .arg(check->value())
        .arg(check->isEnabled() ? "enabled" : "disabled")
        .arg(stored("Settings/" + keys.at(box)));
  }

  // A control by its name; throws when the window has none of that name and kind.
  template <typename Control>
  Control* find(const char* name) const {
    auto* control = window_->findChild<Control*>(name);
    if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return control;
  }

 private:
  TempFolder home_;
  TempFolder current_;
  QString previousCurrent_;
  ScriptedOperator asker_;
  desktop::MessageBoxOperator boxes_;
  std::unique_ptr<desktop::MainWindow> window_;
};

// The lines, each ended by CR LF.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

// An RCM program: header lines L2 .. L14 and L16, L18, the comment on line 15, the unit
// lock on line 17, then the records and END.
inline std::string Rcm(std::string_view comment, std::initializer_list<std::string_view> records) {
  std::string text = "USERLEVELS,1,0\r\n";
  for (int line = 2; line <= 14; ++line) text += "L" + std::to_string(line) + "\r\n";
  ((text += "\"") += comment) += "\",0\r\nL16\r\nLOCK,1\r\nL18\r\n";
  for (std::string_view record : records) (text += record) += "\r\n";
  return text + "END\r\n";
}

// Metric G-code: two holes on face 1, one on face 2, none on faces 3 and 4.
inline constexpr const char* kPartGcode =
    "G71 X600 Y400 Z19\n"
    "G81 P1 X120 Y0 Z-10 E1 G54\n"
    "G81 P1 X480.5 Y0 Z-10 E1 G54\n"
    "G81 P2 X300 Y400 Z-10 E1 G54\n";

// PART1.RCM as the translation of kPartGcode writes it through the template.
inline std::string PartFaceOneProgram() {
  return Rcm("G-code Import Face 1",
             {"MET,0,0,0,0.000000,0", "HOL,1,0,0,120.000000,0", "DRI,1,0,0,1.000000,0",
              "DOW,1,0,0,1.000000,0", "HOL,2,0,0,480.500000,0", "DRI,2,0,0,1.000000,0",
              "DOW,2,0,0,1.000000,0"});
}

// An ACC program with two holes.
inline std::string TwoHoleAccProgram() {
  return CrLf({"Rail", "100", "Zones", "4", "Number of holes", "2", "Hole 1", "12.5 1 0 0",
               "Hole 2", "30. 0 0 1"});
}

// A started and shown main window on its own source and program folders, with a
// two-hole template in its home folder. Masks give PART1 .. PART4 for the G-code file
// PART. The test ticks the timer itself and, unless the dialogs are real, answers the
// save dialog from saveAnswers and the questions from asker().answers.
class ShownWindow {
 public:
  explicit ShownWindow(bool rcm, const std::string& moreSettings = "",
                       Dialogs dialogs = Dialogs::kScripted)
      : started_(Settings(rcm, moreSettings), dialogs) {
    started_.home().Write(
        "Template.RCM",
        Rcm("Template", {"MET,0,0,0,1.000000,0", "HOL,1,0,0,0.000000,0", "DRI,1,0,0,0.000000,0",
                         "DOW,1,0,0,0.000000,0", "HOL,2,0,0,0.000000,0", "DRI,2,0,0,0.000000,0",
                         "DOW,2,0,0,0.000000,0"}));
    window().timer1()->stop();
    if (dialogs == Dialogs::kScripted) {
      commands().setSaveDialog([this](const desktop::SaveRequest& request) {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) return std::string();
        std::string answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
      });
    }
    window().show();
    window().activateWindow();
    if (!QTest::qWaitForWindowActive(&window())) throw std::runtime_error("window not active");
  }

  desktop::MainWindow& window() { return started_.window(); }
  desktop::ProgramCommands& commands() { return window().commands(); }
  ScriptedOperator& asker() { return started_.asker(); }
  const TempFolder& home() const { return started_.home(); }
  template <typename Control>
  Control* find(const char* name) const {
    return started_.find<Control>(name);
  }
  desktop::FileListBox* file1() { return window().file1(); }
  desktop::FileListBox* file2() { return window().file2(); }
  QLineEdit* cmt1() const { return find<QLineEdit>("Cmt1"); }

  void Refresh() {
    file1()->refresh();
    file2()->refresh();
  }
  void Press(const char* button) { QTest::mouseClick(find<QWidget>(button), Qt::LeftButton); }
  // A click on the list item of that name; false when it is not listed.
  bool Click(desktop::FileListBox* list, const QString& name) {
    const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
    if (items.isEmpty()) return false;
    list->scrollToItem(items.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
    QCoreApplication::processEvents();  // a new current item runs its command queued
    return true;
  }
  bool ClickProgram(const QString& name) { return Click(file2(), name); }
  // The timer's period has come.
  void Tick() { QVERIFY(QMetaObject::invokeMethod(window().timer1(), "timeout")); }

  // Clicks a grid cell and types as an operator does: the first key opens the cell's
  // editor and the others go to it. The editor stays open.
  void TypeIntoGrid(int row, int column, const QString& text) {
    auto* grid = find<QTableView>("HorzPrg");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(GridIndex(row, column)).center());
    for (const QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
  }
  bool SetGrid(int row, int column, const QString& text) const {
    return find<QTableView>("HorzPrg")->model()->setData(GridIndex(row, column), text);
  }
  QString Caption() const { return find<QGroupBox>("PrgFrame")->title(); }
  // The program on screen: "caption; comment; rows 1 and 2 as location drill dowel; unit".
  QString Program() const {
    const QString unit = find<QRadioButton>("Inch")->isChecked() ? "inch" : "metric";
    return QString("%1; %2; %3 %4 %5, %6 %7 %8; %9")
        .arg(Caption(), cmt1()->text(), Grid(1, 1), Grid(1, 2), Grid(1, 3), Grid(2, 1), Grid(2, 2),
             Grid(2, 3), unit + (find<QGroupBox>("Units")->isEnabled() ? "" : " locked"));
  }
  QString Status() { return window().statusBar()->currentMessage(); }
  QString Selected() { return Q(file2()->fileName()); }
  QStringList Programs() { return Listed(file2()); }

  TempFolder source;
  TempFolder programs;
  std::vector<desktop::SaveRequest> saveRequests;
  std::deque<std::string> saveAnswers;  // "" answers Cancel

 private:
  QModelIndex GridIndex(int row, int column) const {
    return find<QTableView>("HorzPrg")->model()->index(row - 1, column - 1);
  }
  QString Grid(int row, int column) const { return GridIndex(row, column).data().toString(); }
  std::string Settings(bool rcm, const std::string& more) const {
    return std::string("[Settings]\n") + (rcm ? "RCM=YES\n" : "") +
           "SourcePath=" + source.PathWithSeparator() +
           "\nDestinationPath=" + programs.PathWithSeparator() + "\nDeleteButtonVisible=YES\n" +
           more +
           "[HorizontalRename]\nMask1=****1***\nMask2=****2***\nMask3=****3***\nMask4=****4***\n";
  }

  StartedWindow started_;  // after the folders it lists
};

}  // namespace tessaro::testing

// QCOMPARE of std::string values with readable failure output.
#define COMPARE_STD(actual, expected) \
  QCOMPARE(QString::fromStdString(actual), QString::fromStdString(expected))
