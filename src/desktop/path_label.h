#pragma once

#include <QLabel>

namespace tessaro::desktop {

// A folder label that keeps its whole text but shows it shortened in the middle when
// the space is too narrow; the whole text is its tooltip.
class PathLabel : public QLabel {
  Q_OBJECT

 public:
  explicit PathLabel(QWidget* parent = nullptr);

  void setText(const QString& text);
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tessaro::desktop
