#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

#include "program/panel_drawing.h"

class QDialog;

namespace tessaro::desktop {

// A panel drawing scaled into the widget with its proportions kept, its texts in the
// application's language, or a short message in its place. A double-click opens a larger
// view of the drawing in a window of its own, which then follows the drawings shown here.
class PanelPreview : public QWidget {
  Q_OBJECT

 public:
  explicit PanelPreview(QWidget* parent = nullptr);

  void showDrawing(const PanelDrawing& drawing);
  void showMessage(const QString& text);

  const std::optional<PanelDrawing>& drawing() const { return drawing_; }  // none with a message
  const QString& message() const { return message_; }
  // The larger view a double-click opened, while it is open.
  QDialog* largerView() const { return larger_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void OpenLargerView();

  std::optional<PanelDrawing> drawing_;
  QString message_;
  bool opensLargerView_ = true;
  QPointer<QDialog> larger_;
  QPointer<PanelPreview> largerPreview_;
};

}  // namespace tessaro::desktop
