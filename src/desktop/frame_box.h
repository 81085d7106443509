#pragma once

#include <QGroupBox>

namespace tessaro::desktop {

// A captioned frame that reports a click on itself (not on the controls inside it).
class FrameBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit FrameBox(const QString& title, QWidget* parent = nullptr) : QGroupBox(title, parent) {}

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tessaro::desktop
