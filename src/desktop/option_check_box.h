#pragma once

#include <QCheckBox>

namespace tessaro::desktop {

// A check box with the values 0 (unticked), 1 (ticked) and 2 (greyed). Only the
// program sets 2; a click leads from greyed or ticked to unticked, from unticked to ticked.
class OptionCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  explicit OptionCheckBox(const QString& text, QWidget* parent = nullptr)
      : QCheckBox(text, parent) {}

  int value() const;
  // Sets 0, 1 or 2; false for any other value, which leaves the box as it was.
  bool setValue(int value);

 protected:
  void nextCheckState() override;
};

}  // namespace tessaro::desktop
