#include "desktop/main_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/app_folder.h"
#include "app/operator.h"
#include "desktop/digit_spinner.h"
#include "desktop/file_list_box.h"
#include "desktop/frame_box.h"
#include "desktop/option_check_box.h"
#include "desktop/panel_preview.h"
#include "desktop/path_label.h"
#include "desktop/program_commands.h"
#include "desktop/qt_text.h"
#include "program/panel_drawing.h"
#include "program/program_table.h"
#include "program/session.h"

namespace tessaro::desktop {

namespace {

constexpr int kControlsWidth = 1000;
constexpr int kWindowHeight = 660;
constexpr QSize kFrameAllowance(16, 40);
constexpr QSize kSmallestPreview(160, 200);

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

MainWindow::MainWindow(Operator& asker, std::string appFolder, QWidget* parent)
    : QMainWindow(parent),
      asker_(asker),
      appFolder_(std::move(appFolder)),
      settings_(appFolder_ + kSettingsFileName),
      session_(std::make_unique<Session>(asker)),
      activityLog_(ActivityLogPath(appFolder_)) {
  setObjectName("Main");
  setWindowTitle(tr("Tessaro"));
  chooseFolder_ = [this](const std::string& initialFolder) {
    return DirBrws::Choose(settings_, dirMemory_, asker_, initialFolder, this);
  };
  BuildControls();
  ConnectOptions();
  PointList(programList_, programList_->path());  // the session's program folder

  scanTimer_ = Named(new QTimer(this), "Timer1");
  scanTimer_->setInterval(kDefaultScanIntervalMs);
  ConnectCommands();
  connect(commands_, &ProgramCommands::translated, this, &MainWindow::ShowPanelDrawing);
  scanTimer_->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* lists = new QHBoxLayout;
  lists->addWidget(BuildSourceFrame(), 3);
  lists->addWidget(BuildProgramFrame(), 4);
  lists->addWidget(BuildDestFrame(), 3);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(BuildOptions(), 1);
  bottom->addWidget(BuildFaces());

  // The controls keep the places and sizes a window 1000 pixels wide gives them; the
  // panel drawing takes the width that is left, so that the window fits a screen of
  // 1280 by 720 and the drawing grows when the window is widened.
  auto* controls = new QWidget(central);
  auto* layout = new QVBoxLayout(controls);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(lists, 1);
  layout->addLayout(bottom);
  QWidget* preview = BuildPreview();
  auto* beside = new QHBoxLayout(central);
  beside->addWidget(controls);
  beside->addWidget(preview, 1);
  const QMargins margins = beside->contentsMargins();
  controls->setFixedWidth(kControlsWidth - margins.left() - margins.right());
  setCentralWidget(central);

  QSize size(kControlsWidth + beside->spacing() + preview->sizeHint().width(), kWindowHeight);
  if (const QScreen* shown = screen()) {
    // The window manager's frame is not known before the window shows: room for a usual one.
    const QSize room = shown->availableGeometry().size() - kFrameAllowance;
    size = size.boundedTo(room);
  }
  resize(size);
}

QWidget* MainWindow::BuildSourceFrame() {
  sourceFrame_ = Named(new FrameBox(tr("G-code (Source)"), this), "SourceFrame");
  chooseSourceButton_ = Named(new QToolButton(sourceFrame_), "SDir");
  chooseSourceButton_->setText(tr("..."));
  sourcePathLabel_ = Named(new PathLabel(sourceFrame_), "SPath");
  gcodeList_ = Named(new FileListBox(HiddenFlag::kSkip, sourceFrame_), "File1");

  auto* folder = new QHBoxLayout;
  folder->addWidget(chooseSourceButton_);
  folder->addWidget(sourcePathLabel_, 1);
  auto* layout = new QVBoxLayout(sourceFrame_);
  layout->addLayout(folder);
  layout->addWidget(gcodeList_, 1);
  return sourceFrame_;
}

QWidget* MainWindow::BuildDestFrame() {
  destFrame_ = Named(new QGroupBox(tr("RCM Files (Destination)"), this), "DestFrame");
  chooseDestinationButton_ = Named(new QToolButton(destFrame_), "DDir");
  chooseDestinationButton_->setText(tr("..."));
  destinationPathLabel_ = Named(new PathLabel(destFrame_), "DPath");
  // Hidden programs are the faces the omission rules left out.
  programList_ = Named(new FileListBox(HiddenFlag::kRead, destFrame_), "File2");
  deleteAllButton_ = Named(new QPushButton(tr("Delete All  RCM Files"), destFrame_), "RpAF");
  deleteAllButton_->setVisible(false);

  auto* folder = new QHBoxLayout;
  folder->addWidget(chooseDestinationButton_);
  folder->addWidget(destinationPathLabel_, 1);
  auto* layout = new QVBoxLayout(destFrame_);
  layout->addLayout(folder);
  layout->addWidget(programList_, 1);
  layout->addWidget(deleteAllButton_);
  return destFrame_;
}

QWidget* MainWindow::BuildProgramFrame() {
  auto& [prgFrame, horzPrg, cmt1, cmt2, units, inch, metric] = program_;
  prgFrame = Named(new QGroupBox(ToQt(session_->Table().FrameCaption), this), "PrgFrame");

  // Its model, over the session's program table, comes with the commands.
  horzPrg = Named(new QTableView(prgFrame), "HorzPrg");
  horzPrg->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  horzPrg->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horzPrg->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horzPrg->setSelectionMode(QAbstractItemView::SingleSelection);
  horzPrg->setMinimumHeight(horzPrg->horizontalHeader()->sizeHint().height() +
                            ProgramTable::kMinimumRows *
                                horzPrg->verticalHeader()->defaultSectionSize() +
                            2 * horzPrg->frameWidth());

  cmt1 = Named(new QLineEdit(prgFrame), "Cmt1");
  cmt1->setPlaceholderText(tr("Comment"));
  cmt2 = Named(new QLineEdit(prgFrame), "Cmt2");
  cmt2->setPlaceholderText(tr("Second comment (not saved)"));

  units = Named(new QGroupBox(tr("Units"), prgFrame), "Units");
  inch = Named(new QRadioButton(tr("Inch"), units), "Inch");
  metric = Named(new QRadioButton(tr("Metric"), units), "Metric");
  inch->setChecked(true);
  units->setEnabled(false);
  auto* unitLayout = new QHBoxLayout(units);
  unitLayout->addWidget(inch);
  unitLayout->addWidget(metric);

  newButton_ = Named(new QPushButton(tr("New"), prgFrame), "BtnNew");
  saveButton_ = Named(new QPushButton(tr("Save"), prgFrame), "SavBtn");
  saveAsButton_ = Named(new QPushButton(tr("Save As"), prgFrame), "SavAsBtn");
  masksButton_ = Named(new QPushButton(tr("Nam"), prgFrame), "tnHFName");

  auto* buttons = new QGridLayout;
  buttons->addWidget(newButton_, 0, 0);
  buttons->addWidget(saveButton_, 0, 1);
  buttons->addWidget(saveAsButton_, 1, 0);
  buttons->addWidget(masksButton_, 1, 1);

  auto* lower = new QHBoxLayout;
  lower->addWidget(units);
  lower->addStretch(1);
  lower->addLayout(buttons);

  auto* layout = new QVBoxLayout(prgFrame);
  layout->addWidget(horzPrg, 1);
  layout->addWidget(cmt1);
  layout->addWidget(cmt2);
  layout->addLayout(lower);
  return prgFrame;
}

QWidget* MainWindow::BuildOptions() {
  auto* options = new QWidget(this);

  auto* automatic = new QWidget(options);
  automaticTranslation_ =
      Named(new OptionCheckBox(tr("Automatic Translation"), automatic), "AutoScan");
  automaticTranslation_->setToolTip(
      tr("Scans the Source directory for any added or updated files and places 4 RCM programs in "
         "the Destination directory."));
  automaticDeletion_ =
      Named(new OptionCheckBox(tr("Automatic File Deletion"), automatic), "AutoDel");
  automaticDeletion_->setToolTip(
      tr("Deletes any RCM files in the Destination directory when the coresponding G-code file is "
         "removed from the Source directory."));
  automaticDeletion_->setEnabled(false);
  auto* automaticLayout = new QVBoxLayout(automatic);
  automaticLayout->setContentsMargins(0, 0, 0, 0);
  automaticLayout->addStretch(1);
  automaticLayout->addWidget(automaticTranslation_);
  automaticLayout->addWidget(automaticDeletion_);
  automaticLayout->addStretch(1);

  auto* omitting = new QGroupBox(tr("Conversion Rules Omitting:"), options);
  omitEmpties_ = Named(new OptionCheckBox(tr("Empties"), omitting), "NoEmpties");
  omitDuplicates_ = Named(new OptionCheckBox(tr("Duplicates"), omitting), "NoDupes");
  auto* omittingLayout = new QVBoxLayout(omitting);
  omittingLayout->addWidget(omitEmpties_);
  omittingLayout->addWidget(omitDuplicates_);

  auto* exclusions = new QGroupBox(tr("Exclusions"), options);
  auto makeDigitBox = [exclusions](const char* name) {
    auto* box = Named(new QLineEdit("0", exclusions), name);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("00") + 16);
    return box;
  };
  drillExclusion_ = makeDigitBox("DrillEx");
  dowelExclusion_ = makeDigitBox("DowelEx");
  drillSpinner_ = Named(new DigitSpinner(exclusions), "VScrollDr");
  dowelSpinner_ = Named(new DigitSpinner(exclusions), "VScrollDw");
  auto* drillLabel = new QLabel(tr("Drill"), exclusions);
  auto* dowelLabel = new QLabel(tr("Dowel"), exclusions);
  drillLabel->setBuddy(drillExclusion_);
  dowelLabel->setBuddy(dowelExclusion_);
  auto* exclusionLayout = new QGridLayout(exclusions);
  exclusionLayout->setHorizontalSpacing(4);
  exclusionLayout->addWidget(drillLabel, 0, 0);
  exclusionLayout->addWidget(drillExclusion_, 0, 1);
  exclusionLayout->addWidget(drillSpinner_, 0, 2);
  exclusionLayout->addItem(new QSpacerItem(16, 1), 0, 3);
  exclusionLayout->addWidget(dowelLabel, 0, 4);
  exclusionLayout->addWidget(dowelExclusion_, 0, 5);
  exclusionLayout->addWidget(dowelSpinner_, 0, 6);

  auto* layout = new QHBoxLayout(options);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(automatic);
  layout->addSpacing(12);
  layout->addWidget(omitting);
  layout->addWidget(exclusions);
  layout->addStretch(1);
  return options;
}

QWidget* MainWindow::BuildFaces() {
  auto* faces = Named(new QGroupBox(tr("Faces"), this), "Frame1");
  auto* panel = Named(new QFrame(faces), "Frame2");
  panel->setFrameShape(QFrame::Box);
  panel->setLineWidth(2);
  panel->setFixedSize(44, 44);
  auto number = [faces](const char* text) {
    auto* label = new QLabel(text, faces);
    label->setAlignment(Qt::AlignCenter);
    return label;
  };
  auto* layout = new QGridLayout(faces);
  layout->setSpacing(2);
  layout->addWidget(number("1"), 0, 1);
  layout->addWidget(number("3"), 1, 0);
  layout->addWidget(panel, 1, 1);
  layout->addWidget(number("4"), 1, 2);
  layout->addWidget(number("2"), 2, 1);
  return faces;
}

QWidget* MainWindow::BuildPreview() {
  auto* frame = Named(new QGroupBox(tr("Panel"), this), "PanelFrame");
  preview_ = Named(new PanelPreview(frame), "PanelPreview");
  preview_->setMinimumSize(kSmallestPreview);
  preview_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  preview_->showMessage(tr("The panel of the G-code file translated last shows here."));
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(preview_);
  return frame;
}

void MainWindow::ShowPanelDrawing() {
  if (const std::optional<PanelDrawing> drawing =
          DescribePanel(session_->TranslatedHoles(), session_->LastDrawingNotes())) {
    preview_->showDrawing(*drawing);
  } else {
    preview_->showMessage(
        tr("The file is not G-code of the accepted kind: there is no panel to draw."));
  }
}

void MainWindow::ConnectOptions() {
  connect(automaticTranslation_, &QCheckBox::stateChanged, this, &MainWindow::AutoScan_Click);
  connect(automaticDeletion_, &QCheckBox::stateChanged, this, &MainWindow::AutoDel_Click);
  connect(omitEmpties_, &QCheckBox::stateChanged, this, &MainWindow::NoEmpties_Click);
  connect(omitDuplicates_, &QCheckBox::stateChanged, this, &MainWindow::NoDupes_Click);
  connect(drillExclusion_, &QLineEdit::textChanged, this, &MainWindow::DrillEx_Change);
  connect(dowelExclusion_, &QLineEdit::textChanged, this, &MainWindow::DowelEx_Change);
  connect(drillSpinner_, &QAbstractSlider::valueChanged, this, &MainWindow::VScrollDr_Change);
  connect(dowelSpinner_, &QAbstractSlider::valueChanged, this, &MainWindow::VScrollDw_Change);
  connect(chooseSourceButton_, &QToolButton::clicked, this, &MainWindow::SDir_Click);
  connect(chooseDestinationButton_, &QToolButton::clicked, this, &MainWindow::DDir_Click);
}

}  // namespace tessaro::desktop
