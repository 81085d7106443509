#include "desktop/message_box_operator.h"

#include <QApplication>
#include <QMessageBox>

#include "desktop/core_text.h"
#include "desktop/qt_text.h"

namespace tessaro::desktop {

namespace {

// A box that comes up in the middle of a command shows the normal pointer.
class NormalPointer {
 public:
  NormalPointer() : busy_(QApplication::overrideCursor() != nullptr) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~NormalPointer() {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  NormalPointer(const NormalPointer&) = delete;
  NormalPointer& operator=(const NormalPointer&) = delete;

 private:
  bool busy_;
};

}  // namespace

bool MessageBoxOperator::AskYesNo(const std::string& title, const std::string& text) {
  const NormalPointer pointer;
  // Every question asks before deleting: the warning icon says so.
  QMessageBox box(QMessageBox::Warning, CoreText(title), MessageText(CoreText(text)),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  // Every question asks before deleting: a stray Enter or Escape must not say Yes.
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void MessageBoxOperator::Tell(const std::string& title, const std::string& text) {
  const NormalPointer pointer;
  QMessageBox box(QMessageBox::Warning, CoreText(title), MessageText(CoreText(text)),
                  QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace tessaro::desktop
