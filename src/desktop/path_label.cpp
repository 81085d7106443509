#include "desktop/path_label.h"

#include <QPainter>
#include <QStyle>

namespace tessaro::desktop {

PathLabel::PathLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setTextInteractionFlags(Qt::NoTextInteraction);
}

void PathLabel::setText(const QString& text) {
  QLabel::setText(text);
  setToolTip(text);
}

QSize PathLabel::minimumSizeHint() const {
  return QSize(fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height());
}

void PathLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
  style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                        shown, foregroundRole());
}

}  // namespace tessaro::desktop
