#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>

class QDialog;
class QSvgRenderer;

namespace tessaro::desktop {

// A panel drawing (SVG text) scaled into the widget with its proportions kept, or a short
// message in its place. A double-click opens a larger view of the drawing in a window of
// its own, which then follows the drawings shown here.
class PanelPreview : public QWidget {
  Q_OBJECT

 public:
  explicit PanelPreview(QWidget* parent = nullptr);

  // Shows the drawing; one that cannot be rendered shows a message instead.
  void showDrawing(const QByteArray& svg);
  void showMessage(const QString& text);

  const QByteArray& drawing() const { return svg_; }  // empty while a message shows
  const QString& message() const { return message_; }
  // The larger view a double-click opened, while it is open.
  QDialog* largerView() const { return larger_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void OpenLargerView();

  QSvgRenderer* renderer_ = nullptr;
  QByteArray svg_;
  QString message_;
  bool opensLargerView_ = true;
  QPointer<QDialog> larger_;
  QPointer<PanelPreview> largerPreview_;
};

}  // namespace tessaro::desktop
