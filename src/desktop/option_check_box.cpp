#include "desktop/option_check_box.h"

namespace tessaro::desktop {

int OptionCheckBox::value() const {
  switch (checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

bool OptionCheckBox::setValue(int value) {
  switch (value) {
    case 0:
      setCheckState(Qt::Unchecked);
      return true;
    case 1:
      setCheckState(Qt::Checked);
      return true;
    case 2:
      setCheckState(Qt::PartiallyChecked);
      return true;
    default:
      return false;
  }
}

void OptionCheckBox::nextCheckState() {
  setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace tessaro::desktop
