#pragma once

#include <string>

namespace tessaro {

// How core code asks the operator a question or tells something, without knowing
// about windows. The desktop answers with message boxes, the headless tool itself.
// Texts use "\r" as the line break, as the message texts are written.
class Operator {
 public:
  virtual ~Operator() = default;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
  // A message with an OK button.
  virtual void Tell(const std::string& title, const std::string& text) = 0;
};

}  // namespace tessaro
