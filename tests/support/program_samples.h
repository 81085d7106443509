#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/operator.h"

namespace tessaro::testing {

// Answers every question with `answer` and keeps what it was asked and told ("title|text").
// `whileAsking` runs while a question is open, as the operator would act behind it.
class RecordingOperator : public Operator {
 public:
  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back(title + "|" + text);
    if (whileAsking) whileAsking();
    return answer;
  }
  void Tell(const std::string& title, const std::string& text) override {
    told.push_back(title + "|" + text);
  }

  bool answer = false;
  std::function<void()> whileAsking;
  std::vector<std::string> questions;
  std::vector<std::string> told;
};

// The lines of a text, without their CR LF ends.
inline std::vector<std::string> SplitCrLf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find("\r\n");
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
  }
  return lines;
}

// An RCM program: lines 1 to 14, the comment line 15, lines 16 to 18, then `records`
// from line 19 and END.
inline std::string RcmProgram(std::string_view commentLine, std::string_view records) {
  return "USERLEVELS,1,0\r\nP2,0\r\nP3,0\r\nP4,0\r\nP5,0\r\nP6,0\r\nP7,0\r\nP8,0\r\nP9,0\r\n"
         "P10,0\r\nP11,0\r\nP12,0\r\nP13,0\r\nP14,0\r\n" +
         std::string(commentLine) + "\r\nP16,0\r\nLOCK,1\r\nP18,0\r\n" + std::string(records) +
         "END\r\n";
}

// A small RCM template: the unit record and three empty holes.
inline std::string SmallTemplate() {
  return RcmProgram("\"Template\",7,8",
                    "MET,0,0,0,1.000000,9\r\n"
                    "HOL,1,0,0,0.000000,9\r\nDRI,1,0,0,0.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
                    "HOL,2,0,0,0.000000,9\r\nDRI,2,0,0,0.000000,9\r\nDOW,2,0,0,0.000000,9\r\n"
                    "HOL,3,0,0,0.000000,9\r\nDRI,3,0,0,0.000000,9\r\nDOW,3,0,0,0.000000,9\r\n");
}

// A metric panel with one hole on each face.
inline constexpr std::string_view kPanelGcode =
    "G71 X800 Y600 Z18\r\n"
    "G81 P1 X100 Y0 Z-5 E1 G54\r\n"
    "G81 P2 X200 Y0 Z-5 E1 G54\r\n"
    "G81 P3 X0 Y50 Z-5 E1 G54\r\n"
    "G81 P4 X0 Y60 Z-5 E1 G54\r\n";

// Refused on its first line.
inline constexpr std::string_view kRefusedGcode = "%\r\nG81 P1 X100 Y0 Z-5 E1 G54\r\n";

}  // namespace tessaro::testing
