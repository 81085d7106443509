#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "app/operator.h"

namespace tessaro::testing {

// Answers every question No and keeps what it was asked.
class NoSayingOperator : public Operator {
 public:
  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back(title + ": " + text);
    return false;
  }
  void Tell(const std::string& title, const std::string& text) override {
    told.push_back(title + ": " + text);
  }

  std::vector<std::string> questions;
  std::vector<std::string> told;
};

// The lines, each ended by CR LF.
inline std::string CrLfLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// The lines of a text, without their CR LF ends.
inline std::vector<std::string> SplitCrLf(std::string_view text) {
  std::vector<std::string> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t end = text.find("\r\n", begin);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(begin));
      break;
    }
    lines.emplace_back(text.substr(begin, end - begin));
    begin = end + 2;
  }
  return lines;
}

// A small RCM template: 18 lines of header with the comment on line 15, then the unit
// record and three holes.
inline std::string SmallTemplate() {
  return CrLfLines({"USERLEVELS,1,0",
                    "P2,0",
                    "P3,0",
                    "P4,0",
                    "P5,0",
                    "P6,0",
                    "P7,0",
                    "P8,0",
                    "P9,0",
                    "P10,0",
                    "P11,0",
                    "P12,0",
                    "P13,0",
                    "P14,0",
                    "\"Template\",7,8",
                    "P16,0",
                    "LOCK,1",
                    "P18,0",
                    "MET,0,0,0,1.000000,9",
                    "HOL,1,0,0,0.000000,9",
                    "DRI,1,0,0,0.000000,9",
                    "DOW,1,0,0,0.000000,9",
                    "HOL,2,0,0,0.000000,9",
                    "DRI,2,0,0,0.000000,9",
                    "DOW,2,0,0,0.000000,9",
                    "HOL,3,0,0,0.000000,9",
                    "DRI,3,0,0,0.000000,9",
                    "DOW,3,0,0,0.000000,9",
                    "END"});
}

}  // namespace tessaro::testing
