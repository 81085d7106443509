#include "desktop/frame_box.h"

#include <QMouseEvent>

namespace tessaro::desktop {

void FrameBox::mouseReleaseEvent(QMouseEvent* event) {
  QGroupBox::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

}  // namespace tessaro::desktop
