#pragma once

#include <QPointer>
#include <QWidget>

#include "app/operator.h"

namespace tessaro::desktop {

// Answers the core's questions with modal message boxes over the given window.
class MessageBoxOperator : public Operator {
 public:
  explicit MessageBoxOperator(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  // Yes and No, no icon; No is the default and the answer to Escape.
  bool AskYesNo(const std::string& title, const std::string& text) override;
  // OK only, with the exclamation icon.
  void Tell(const std::string& title, const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace tessaro::desktop
