#include "desktop/digit_spinner.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaro::desktop {

DigitSpinner::DigitSpinner(QWidget* parent) : QAbstractSlider(parent) {
  setOrientation(Qt::Vertical);
  setRange(0, 9);
  setSingleStep(1);
  setPageStep(1);
  setFocusPolicy(Qt::NoFocus);

  auto makeArrow = [this](Qt::ArrowType arrow, const char* name) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 13);
    return button;
  };
  up_ = makeArrow(Qt::UpArrow, "up");
  down_ = makeArrow(Qt::DownArrow, "down");
  connect(up_, &QToolButton::clicked, this,
          [this] { triggerAction(QAbstractSlider::SliderSingleStepAdd); });
  connect(down_, &QToolButton::clicked, this,
          [this] { triggerAction(QAbstractSlider::SliderSingleStepSub); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void DigitSpinner::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      triggerAction(QAbstractSlider::SliderSingleStepAdd);
      break;
    case Qt::Key_Down:
      triggerAction(QAbstractSlider::SliderSingleStepSub);
      break;
    default:
      QAbstractSlider::keyPressEvent(event);
  }
}

}  // namespace tessaro::desktop
