#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/operator.h"
#include "gcode/gcode_interpreter.h"
#include "gcode/hole_set.h"
#include "gcode/scan_router.h"

namespace tessaro::testing {

// The question a refused G-code file named PART brings.
inline constexpr const char* kRefusalText =
    "         Source file PART\r    Is not of the correct file type.\r\r"
    "      Do you wish to delete it?";

// Answers every question with a fixed answer and keeps what it was asked and told.
class RecordingOperator : public Operator {
 public:
  struct Message {
    std::string title;
    std::string text;
  };

  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back({title, text});
    return answer;
  }
  void Tell(const std::string& title, const std::string& text) override {
    told.push_back({title, text});
  }

  bool answer = false;
  std::vector<Message> questions;
  std::vector<Message> told;
};

// One hole set read through the scan router, as a translation reads G-code files.
struct GcodeReader {
  GcodeReader() { router.SetHandler(kScanReadGcode, &interpreter); }

  void ReadText(std::string_view text, const std::string& name = "/work/PART") {
    state.ScanMode = kScanReadGcode;
    router.ScanText(text, name);
  }
  Status ReadFile(const std::string& path) {
    state.ScanMode = kScanReadGcode;
    return router.Scan(path);
  }

  const HoleRecord& Hole(int face, int n) const { return holes.Holes[face][n]; }
  int Count(int face) const { return holes.FaceHoleCount[face]; }

  HoleSet holes;
  ScanState state;
  RecordingOperator asker;
  Exclusions exclusions;
  ScanRouter router{holes, state, asker};
  GcodeInterpreter interpreter{holes, state, [this] { return exclusions; }};
};

}  // namespace tessaro::testing
