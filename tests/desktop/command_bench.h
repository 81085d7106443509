#pragma once

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "desktop/file_list_box.h"
#include "desktop/frame_box.h"
#include "desktop/option_check_box.h"
#include "desktop/program_commands.h"
#include "desktop_test_support.h"
#include "program/session.h"

namespace tessaro::testing {

// The lines, each ended by CR LF.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// A template with the comment on line 15, the unit lock on line 17 and two holes.
inline std::string TwoHoleTemplate() {
  return CrLf({"USERLEVELS,1,0",
               "L2",
               "L3",
               "L4",
               "L5",
               "L6",
               "L7",
               "L8",
               "L9",
               "L10",
               "L11",
               "L12",
               "L13",
               "L14",
               "\"Template\",0",
               "L16",
               "LOCK,1",
               "L18",
               "MET,0,0,0,1.000000,0",
               "HOL,1,0,0,0.000000,0",
               "DRI,1,0,0,0.000000,0",
               "DOW,1,0,0,0.000000,0",
               "HOL,2,0,0,0.000000,0",
               "DRI,2,0,0,0.000000,0",
               "DOW,2,0,0,0.000000,0",
               "END"});
}

// Metric G-code: two holes on face 1, one on face 2, none on faces 3 and 4.
inline constexpr const char* kPartGcode =
    "G71 X600 Y400 Z19\n"
    "G81 P1 X120 Y0 Z-10 E1 G54\n"
    "G81 P1 X480.5 Y0 Z-10 E1 G54\n"
    "G81 P2 X300 Y400 Z-10 E1 G54\n";

// A file whose first line is no G-code header: refused.
inline constexpr const char* kNotGcode = "Cut list for cabinet 4\n";

// An ACC program with two holes.
inline std::string TwoHoleAccProgram() {
  return CrLf({"Rail", "100", "Zones", "4", "Number of holes", "2", "Hole 1", "12.5 1 0 0",
               "Hole 2", "30. 0 0 1"});
}

// The program commands on controls of their own, over real temporary folders: the
// application folder (home, with the template), the source folder and the program folder.
// Masks give PART1 .. PART4 for the G-code file PART.
class CommandBench {
 public:
  explicit CommandBench(bool rcmFormat) : session(asker), settings(home.File("Tessaro.INI")) {
    home.Write("Template.RCM", TwoHoleTemplate());
    auto& options = session.Settings();
    options.rcmFormat = rcmFormat;
    options.appFolder = home.PathWithSeparator();
    options.destinationFolder = programs.path();
    options.masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};
    options.omissionRulesEnabled = true;
    BuildControls();
    file1->setPattern("*.");
    file1->setPath(source.path());
    file2->setPattern(rcmFormat ? "*.RCM" : "*.ACC");
    file2->setPath(programs.path());

    desktop::CommandControls controls;
    controls.window = &window;
    controls.file1 = file1;
    controls.file2 = file2;
    controls.sourceFrame = sourceFrame;
    controls.autoScan = autoScan;
    controls.autoDel = autoDel;
    controls.program = {prgFrame, horzPrg, cmt1, cmt2, units, inch, metric};
    controls.btnNew = btnNew;
    controls.savBtn = savBtn;
    controls.savAsBtn = savAsBtn;
    controls.tnHFName = tnHFName;
    controls.rpAF = rpAF;
    controls.timer1 = timer1;
    controls.otherScanControls = {folderButton};
    commands = std::make_unique<desktop::ProgramCommands>(session, asker, settings, controls);
    commands->setSaveDialog([this](const desktop::SaveRequest& request) {
      saveRequests.push_back(request);
      if (saveAnswers.empty()) return std::string();
      std::string answer = saveAnswers.front();
      saveAnswers.pop_front();
      return answer;
    });
    commands->setStatusSink([this](const QString& text) { statuses.push_back(text); });
    commands->setMasksChanged([this] { ++masksChanged; });
    window.resize(700, 1000);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) throw std::runtime_error("window not active");
  }

  void RefreshLists() {
    file1->refresh();
    file2->refresh();
  }

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

  QString Cell(int row, int column) const {
    return QString::fromStdString(session.Table().GetCell(row, column));
  }
  QString GridText(int row, int column) const {
    return horzPrg->model()->index(row - 1, column - 1).data().toString();
  }
  QString Selected(const desktop::FileListBox* list) const {
    return QString::fromStdString(list->fileName());
  }
  QString Stored(const std::string& sectionKey) const { return StoredValue(home, sectionKey); }
  QStringList Listed(const desktop::FileListBox* list) const {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
  }

  TempFolder home;
  TempFolder source;
  TempFolder programs;
  ScriptedOperator asker;
  Session session;
  SettingsFile settings;
  QWidget window;

  desktop::FileListBox* file1 = nullptr;
  desktop::FileListBox* file2 = nullptr;
  desktop::FrameBox* sourceFrame = nullptr;
  desktop::OptionCheckBox* autoScan = nullptr;
  desktop::OptionCheckBox* autoDel = nullptr;
  QGroupBox* prgFrame = nullptr;
  QTableView* horzPrg = nullptr;
  QLineEdit* cmt1 = nullptr;
  QLineEdit* cmt2 = nullptr;
  QGroupBox* units = nullptr;
  QRadioButton* inch = nullptr;
  QRadioButton* metric = nullptr;
  QPushButton* btnNew = nullptr;
  QPushButton* savBtn = nullptr;
  QPushButton* savAsBtn = nullptr;
  QPushButton* tnHFName = nullptr;
  QPushButton* rpAF = nullptr;
  QPushButton* folderButton = nullptr;
  QTimer* timer1 = nullptr;
  std::unique_ptr<desktop::ProgramCommands> commands;

  std::vector<desktop::SaveRequest> saveRequests;
  std::deque<std::string> saveAnswers;  // "" answers Cancel
  std::vector<QString> statuses;
  int masksChanged = 0;

 private:
  void BuildControls() {
    auto* layout = new QVBoxLayout(&window);
    sourceFrame = new desktop::FrameBox("G-code (Source)", &window);
    file1 = new desktop::FileListBox(HiddenFlag::kSkip, sourceFrame);
    (new QVBoxLayout(sourceFrame))->addWidget(file1);
    file2 = new desktop::FileListBox(HiddenFlag::kRead, &window);
    autoScan = new desktop::OptionCheckBox("Automatic Translation", &window);
    autoDel = new desktop::OptionCheckBox("Automatic File Deletion", &window);
    prgFrame = new QGroupBox(&window);
    horzPrg = new QTableView(prgFrame);
    cmt1 = new QLineEdit(prgFrame);
    cmt2 = new QLineEdit(prgFrame);
    units = new QGroupBox("Units", prgFrame);
    inch = new QRadioButton("Inch", units);
    metric = new QRadioButton("Metric", units);
    inch->setChecked(true);
    auto* unitLayout = new QVBoxLayout(units);
    unitLayout->addWidget(inch);
    unitLayout->addWidget(metric);
    auto* programLayout = new QVBoxLayout(prgFrame);
    programLayout->addWidget(horzPrg);
    programLayout->addWidget(cmt1);
    programLayout->addWidget(cmt2);
    programLayout->addWidget(units);
    btnNew = new QPushButton("New", &window);
    savBtn = new QPushButton("Save", &window);
    savAsBtn = new QPushButton("Save As", &window);
    tnHFName = new QPushButton("Nam", &window);
    rpAF = new QPushButton("Delete all", &window);
    folderButton = new QPushButton("...", &window);
    timer1 = new QTimer(&window);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{sourceFrame, file2, autoScan, autoDel, prgFrame, btnNew,
                                         savBtn, savAsBtn, tnHFName, rpAF, folderButton}) {
      layout->addWidget(widget);
    }
  }
};

}  // namespace tessaro::testing
