#include "desktop/panel_preview.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "desktop/qt_text.h"

namespace tessaro::desktop {

namespace {

// The drawing's proportions when there is none to ask (the view box of the core's drawing).
constexpr QSize kDrawingSize(440, 460);

QColor Colour(Rgb rgb) { return QColor::fromRgb(static_cast<QRgb>(0xff000000 | rgb)); }

QPen Pen(const std::optional<Rgb>& colour, double width) {
  return colour ? QPen(Colour(*colour), width) : QPen(Qt::NoPen);
}

// The drawing's texts, as the core writes them, for the translation's sources.
[[maybe_unused]] const char* const kDrawingTexts[] = {
    QT_TRANSLATE_NOOP("PanelDrawing", "G-code file"),
    QT_TRANSLATE_NOOP("PanelDrawing", "Macro: (none)"),
    QT_TRANSLATE_NOOP("PanelDrawing", "Macro: %1"),
    QT_TRANSLATE_NOOP("PanelDrawing", "Macro: %1, from an earlier file"),
    QT_TRANSLATE_NOOP("PanelDrawing", "Panel %1 x %2 x %3 mm, metric (G71)"),
    QT_TRANSLATE_NOOP("PanelDrawing", "Panel %1 x %2 x %3 in, inch (G70)"),
    QT_TRANSLATE_NOOP("PanelDrawing", "hidden"),
    QT_TRANSLATE_NOOP("PanelDrawing", "drill"),
    QT_TRANSLATE_NOOP("PanelDrawing", "dowel"),
    QT_TRANSLATE_NOOP("PanelDrawing", "drill and dowel"),
    QT_TRANSLATE_NOOP("PanelDrawing", "neither (excluded)"),
    QT_TRANSLATE_NOOP("PanelDrawing", "No holes on faces 1 to 4"),
    QT_TRANSLATE_NOOP("PanelDrawing", "%1 hole without a location, not drawn"),
    QT_TRANSLATE_NOOP("PanelDrawing", "%1 holes without a location, not drawn"),
};

// The text in the application's language: its format translated, then the arguments
// filled in.
QString Translated(const DrawnText& text) {
  return ToQt(FillFormat(ToStd(QCoreApplication::translate("PanelDrawing", text.format.c_str())),
                         text.args));
}

void PaintMark(QPainter& painter, const DrawnMark& mark) {
  painter.save();
  painter.translate(mark.x, mark.y);
  painter.setOpacity(mark.opacity);
  const MarkShape& shape = ShapeOf(mark.kind);
  for (const MarkCircle& circle : shape.circles) {
    painter.setPen(Pen(circle.stroke, circle.strokeWidth));
    painter.setBrush(circle.fill ? QBrush(Colour(*circle.fill)) : QBrush(Qt::NoBrush));
    painter.drawEllipse(QPointF(), circle.radius, circle.radius);
  }
  for (const MarkLine& line : shape.lines) {
    painter.setPen(Pen(line.stroke, line.width));
    painter.drawLine(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2));
  }
  painter.restore();
}

void PaintText(QPainter& painter, const DrawnText& text, const QString& family) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(qRound(text.size));
  font.setBold(text.bold);
  font.setItalic(text.italic);
  const QString shown = Translated(text);
  double x = text.x;
  if (text.anchor != DrawnText::Anchor::kStart) {
    const double width = QFontMetricsF(font).horizontalAdvance(shown);
    x -= text.anchor == DrawnText::Anchor::kMiddle ? width / 2 : width;
  }
  painter.setFont(font);
  painter.setPen(Colour(text.colour));
  painter.drawText(QPointF(x, text.y), shown);
}

// The drawing in its view box's units, painted in the order it gives.
void PaintDrawing(QPainter& painter, const PanelDrawing& drawing) {
  painter.fillRect(QRectF(0, 0, drawing.width, drawing.height), Colour(drawing.background));
  const DrawnRect& panel = drawing.panel;
  painter.setPen(Pen(panel.stroke, panel.strokeWidth));
  painter.setBrush(Colour(panel.fill));
  painter.drawRect(QRectF(panel.x, panel.y, panel.width, panel.height));
  for (const DrawnMark& mark : drawing.holes) PaintMark(painter, mark);
  for (const DrawnMark& mark : drawing.legend) PaintMark(painter, mark);
  const QString family = ToQt(drawing.fontFamily);
  for (const DrawnText& text : drawing.texts) PaintText(painter, text, family);
}

}  // namespace

PanelPreview::PanelPreview(QWidget* parent) : QWidget(parent) {
  setToolTip(tr("Double-click for a larger view"));
}

void PanelPreview::showDrawing(const PanelDrawing& drawing) {
  drawing_ = drawing;
  message_.clear();
  if (largerPreview_ != nullptr) largerPreview_->showDrawing(drawing);
  update();
}

void PanelPreview::showMessage(const QString& text) {
  drawing_.reset();
  message_ = text;
  if (largerPreview_ != nullptr) largerPreview_->showMessage(text);
  update();
}

QSize PanelPreview::sizeHint() const { return kDrawingSize * 0.88; }

void PanelPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!drawing_) {
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message_);
    return;
  }
  // Scaled to the width or the height, whichever is reached first, at the top.
  const QSizeF box(drawing_->width, drawing_->height);
  const QSizeF size = box.scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate((width() - size.width()) / 2, 0);
  painter.scale(size.width() / box.width(), size.height() / box.height());
  PaintDrawing(painter, *drawing_);
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
  if (drawing_) {
    largerPreview_->showDrawing(*drawing_);
  } else {
    largerPreview_->showMessage(message_);
  }
  larger_->show();
  larger_->raise();
  larger_->activateWindow();
}

}  // namespace tessaro::desktop
