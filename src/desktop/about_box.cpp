#include "desktop/about_box.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "tessaro_version.h"

namespace tessaro::desktop {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

}  // namespace

QString AboutBox::VersionText() {
  return tr("Version %1.%2.%3")
      .arg(TESSARO_VERSION_MAJOR)
      .arg(TESSARO_VERSION_MINOR)
      .arg(TESSARO_VERSION_PATCH);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle(tr("About Tessaro"));
  setModal(true);

  QLabel* title = MakeLabel(this, "lblTitle", "Tessaro");
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
  titleFont.setBold(true);
  title->setFont(titleFont);
  QLabel* version = MakeLabel(this, "lblVersion", VersionText());
  QLabel* description =
      MakeLabel(this, "lblDescription",
                tr("Program for generating Horizontal Boring and Doweling programs from gcode."));
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  QLabel* disclaimer = MakeLabel(
      this, "lblDisclaimer",
      tr("This program writes machine programs that drive real tools. Check every program "
         "before it runs on a machine. The program is provided as is, without warranty of "
         "any kind; the authors accept no liability for damage to panels, tools or machines."));
  QFont smallFont = disclaimer->font();
  smallFont.setPointSizeF(smallFont.pointSizeF() * 0.9);
  disclaimer->setFont(smallFont);

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  // No system-information viewer exists on this platform.
  auto* sysInfo = new QPushButton(tr("&System Info..."), this);
  sysInfo->setObjectName("cmdSysInfo");
  sysInfo->setVisible(false);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(sysInfo);
  buttons->addStretch();

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(disclaimer, 1);
  bottom->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(version);
  layout->addSpacing(6);
  layout->addWidget(description);
  layout->addSpacing(6);
  layout->addWidget(rule);
  layout->addLayout(bottom);
  // Tall enough for the wrapped texts at this width, in every language.
  constexpr int kWidth = 440;
  setFixedSize(kWidth, layout->totalHeightForWidth(kWidth));
}

}  // namespace tessaro::desktop
