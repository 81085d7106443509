#include "desktop/setup_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "app/app_folder.h"
#include "app/new_settings.h"
#include "desktop/core_text.h"
#include "desktop/qt_text.h"
#include "outside/file_ops.h"

namespace tessaro::desktop {

namespace {

constexpr int kFolderColumns = 3;

}  // namespace

SetupDialog::SetupDialog(std::string appFolder, QWidget* parent)
    : QDialog(parent), appFolder_(std::move(appFolder)) {
  setObjectName("SetupDialog");
  setWindowTitle(tr("Tessaro Setup"));
  auto* layout = new QGridLayout(this);
  auto* intro = new QLabel(tr("Tessaro has no settings yet. Name the two folders and the format "
                              "of the boring machine's programs; they are kept in %1.")
                               .arg(ToQt(appFolder_ + kSettingsFileName)),
                           this);
  intro->setWordWrap(true);
  layout->addWidget(intro, 0, 0, 1, kFolderColumns);
  source_ = FolderRow(tr("G-code folder:"), "SetupSource", 1);
  destination_ = FolderRow(tr("Program folder:"), "SetupDestination", 2);

  rcm_ = new QRadioButton(tr("RCM (made from the template)"), this);
  rcm_->setObjectName("SetupRcm");
  rcm_->setChecked(true);
  auto* acc = new QRadioButton(tr("ACC"), this);
  acc->setObjectName("SetupAcc");
  auto* formats = new QHBoxLayout;
  formats->addWidget(rcm_);
  formats->addWidget(acc);
  formats->addStretch(1);
  layout->addWidget(new QLabel(tr("Format:"), this), 3, 0);
  layout->addLayout(formats, 3, 1, 1, kFolderColumns - 1);

  templateNote_ = new QLabel(this);
  templateNote_->setObjectName("SetupTemplateNote");
  templateNote_->setWordWrap(true);
  templateNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(templateNote_, 4, 0, 1, kFolderColumns);
  problem_ = new QLabel(this);
  problem_->setObjectName("SetupProblem");
  problem_->setWordWrap(true);
  layout->addWidget(problem_, 5, 0, 1, kFolderColumns);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons_, &QDialogButtonBox::accepted, this, &SetupDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &SetupDialog::reject);
  layout->addWidget(buttons_, 6, 0, 1, kFolderColumns);
  layout->setColumnStretch(1, 1);

  connect(rcm_, &QRadioButton::toggled, this, &SetupDialog::Update);
  connect(source_, &QLineEdit::textChanged, this, &SetupDialog::Update);
  connect(destination_, &QLineEdit::textChanged, this, &SetupDialog::Update);
  resize(560, sizeHint().height());
  Update();
}

QLineEdit* SetupDialog::FolderRow(const QString& caption, const char* name, int row) {
  auto* folder = new QLineEdit(this);
  folder->setObjectName(name);
  auto* choose = new QToolButton(this);
  choose->setText(tr("..."));
  choose->setToolTip(tr("Choose the folder"));
  connect(choose, &QToolButton::clicked, this, [this, folder, caption] {
    const QString chosen = QFileDialog::getExistingDirectory(this, caption, folder->text());
    if (!chosen.isEmpty()) folder->setText(chosen);
  });
  auto* label = new QLabel(caption, this);
  label->setBuddy(folder);
  auto* layout = static_cast<QGridLayout*>(this->layout());
  layout->addWidget(label, row, 0);
  layout->addWidget(folder, row, 1);
  layout->addWidget(choose, row, 2);
  return folder;
}

void SetupDialog::Update() {
  templateNote_->setText(
      rcm_->isChecked()
          ? tr("The RCM format makes every program from %1: copy your boring machine's template "
               "program there.")
                .arg(ToQt(appFolder_ + kTemplateFileName))
          : QString());
  const bool folders =
      FolderExists(ToStd(source_->text())) && FolderExists(ToStd(destination_->text()));
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(folders);
  problem_->setText(folders ? QString() : tr("Both folders must exist."));
}

void SetupDialog::accept() {
  const NewSettings settings{ToStd(source_->text()), ToStd(destination_->text()),
                             rcm_->isChecked()};
  if (const Status written = WriteNewSettings(appFolder_, settings, false); !written.ok()) {
    problem_->setText(CoreText(written.error()));
    return;
  }
  QDialog::accept();
}

}  // namespace tessaro::desktop
