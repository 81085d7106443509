#pragma once

#include <QDialog>

namespace tessaro::desktop {

// "About Tessaro": title, version of this build, description and a notice.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  // "Version 1.0.0", from the build's version numbers.
  static QString VersionText();
};

}  // namespace tessaro::desktop
