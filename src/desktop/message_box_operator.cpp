#include "desktop/message_box_operator.h"

#include <QMessageBox>

#include "desktop/qt_text.h"

namespace tessaro::desktop {

bool MessageBoxOperator::AskYesNo(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, ToQt(title), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void MessageBoxOperator::Tell(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, ToQt(title), MessageText(text), QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace tessaro::desktop
