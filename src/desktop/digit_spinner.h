#pragma once

#include <QAbstractSlider>

class QToolButton;

namespace tessaro::desktop {

// A vertical spinner of two arrows for one digit: the upper arrow raises the value,
// the lower one lowers it. Range 0 to 9; valueChanged fires only on a change.
class DigitSpinner : public QAbstractSlider {
  Q_OBJECT

 public:
  explicit DigitSpinner(QWidget* parent = nullptr);

  QToolButton* upArrow() const { return up_; }
  QToolButton* downArrow() const { return down_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace tessaro::desktop
