#include "desktop/panel_preview.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace tessaro::desktop {

namespace {

// The drawing's proportions when there is none to ask (its view box is 360 by 420).
constexpr QSize kDrawingSize(440, 460);

}  // namespace

PanelPreview::PanelPreview(QWidget* parent) : QWidget(parent), renderer_(new QSvgRenderer(this)) {
  setToolTip(tr("Double-click for a larger view"));
}

void PanelPreview::showDrawing(const QByteArray& svg) {
  if (!renderer_->load(svg)) {
    showMessage(tr("The drawing could not be read."));
    return;
  }
  svg_ = svg;
  message_.clear();
  if (largerPreview_ != nullptr) largerPreview_->showDrawing(svg);
  update();
}

void PanelPreview::showMessage(const QString& text) {
  renderer_->load(QByteArray());
  svg_.clear();
  message_ = text;
  if (largerPreview_ != nullptr) largerPreview_->showMessage(text);
  update();
}

QSize PanelPreview::sizeHint() const { return kDrawingSize * 0.88; }

void PanelPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (svg_.isEmpty()) {
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message_);
    return;
  }
  // Scaled to the width or the height, whichever is reached first, at the top.
  const QSizeF size =
      renderer_->viewBoxF().size().scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer_->render(&painter, QRectF(QPointF((width() - size.width()) / 2, 0), size));
}

void PanelPreview::mouseDoubleClickEvent(QMouseEvent* event) {
  if (opensLargerView_ && event->button() == Qt::LeftButton) {
    OpenLargerView();
  } else {
    QWidget::mouseDoubleClickEvent(event);
  }
}

void PanelPreview::OpenLargerView() {
  if (larger_ == nullptr) {
    larger_ = new QDialog(window());
    larger_->setObjectName("PanelView");
    larger_->setWindowTitle(tr("Panel"));
    larger_->setAttribute(Qt::WA_DeleteOnClose);
    largerPreview_ = new PanelPreview(larger_);
    largerPreview_->setObjectName("LargerPanelPreview");
    largerPreview_->opensLargerView_ = false;
    largerPreview_->setToolTip(QString());
    auto* layout = new QVBoxLayout(larger_);
    layout->addWidget(largerPreview_);
    // Twice the drawing's own size, or as much of the screen as there is.
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    QSize size = kDrawingSize * 2;
    if (screen != nullptr) size = size.boundedTo(screen->availableSize() * 0.9);
    larger_->resize(kDrawingSize.scaled(size, Qt::KeepAspectRatio));
  }
  if (svg_.isEmpty()) {
    largerPreview_->showMessage(message_);
  } else {
    largerPreview_->showDrawing(svg_);
  }
  larger_->show();
  larger_->raise();
  larger_->activateWindow();
}

}  // namespace tessaro::desktop
