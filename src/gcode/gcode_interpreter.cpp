#include "gcode/gcode_interpreter.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "gcode/expression.h"
#include "gcode/word_number.h"
#include "outside/line_scanner.h"

namespace tessaro {

namespace {

enum class WorkOffset { kNone, kG54, kG55, kG56, kG57 };

// The first work-offset word found, tested in this order wherever it stands.
WorkOffset FindWorkOffset(std::string_view line) {
  if (line.find("G54") != std::string_view::npos) return WorkOffset::kG54;
  if (line.find("G55") != std::string_view::npos) return WorkOffset::kG55;
  if (line.find("G56") != std::string_view::npos) return WorkOffset::kG56;
  if (line.find("G57") != std::string_view::npos) return WorkOffset::kG57;
  return WorkOffset::kNone;
}

}  // namespace

double RoundHalfToEven(double value) {
  if (std::fabs(value - std::trunc(value)) == 0.5) return 2.0 * std::round(value / 2.0);
  return std::round(value);
}

std::string ExpandAssignments(std::string_view line, const MacroParameters& params) {
  const std::size_t firstEquals = line.find('=');
  std::string head(line.substr(0, firstEquals));
  if (!head.empty() && head.front() == '!') head = "G150() " + head.substr(1);
  if (line.substr(0, 4) == "G150") return std::string(line);
  if (firstEquals == std::string_view::npos) return head;
  if (head.empty()) return "";

  std::string expanded = std::move(head);
  std::size_t start = firstEquals + 1;
  while (true) {
    const std::size_t next = line.find('=', start);
    expanded += ExpandExpression(line.substr(start, next - start), params);
    if (next == std::string_view::npos) break;
    start = next + 1;
  }
  return expanded;
}

namespace {

bool IsBlankLine(const LineScanner& scanner) {
  return !scanner.LineCut() && scanner.Line().find_first_not_of(" \t") == std::string::npos;
}

// The lines of one G-code file into a hole set.
class GcodeInterpreter {
 public:
  GcodeInterpreter(const HoleSet& before, Exclusions exclusions)
      : holes_(before), exclusions_(exclusions) {
    holes_.ClearHoles();
    holes_.RejectedFile = false;
  }

  LineScanner::Handlers Handlers() {
    return {nullptr, [this](LineScanner& scanner) { LineScanned(scanner); },
            [this](LineScanner& scanner) {
              if (!holes_.RejectedFile) holes_.ScannedFile = scanner.FileName();
            }};
  }

  HoleSet& Holes() { return holes_; }
  bool SawText() const { return sawText_; }
  bool NamedMacro() const { return namedMacro_; }

 private:
  void LineScanned(LineScanner& scanner);
  void Refuse(LineScanner& scanner);
  void ReadHeaderLine(std::string_view line, bool metric);
  void ReadMacroLine(std::string_view line);
  void ReadHoleLine(std::string_view line);

  HoleSet holes_;
  Exclusions exclusions_;
  int lineNumber_ = 0;
  bool sawText_ = false;
  bool namedMacro_ = false;
};

void GcodeInterpreter::LineScanned(LineScanner& scanner) {
  ++lineNumber_;
  if (!sawText_) {
    if (IsBlankLine(scanner)) return;
    sawText_ = true;
    // Text after blank lines: the first line was not a header.
    if (lineNumber_ > 1) {
      Refuse(scanner);
      return;
    }
  }
  // No header line is that long: a file of one endless line is refused without
  // being read further.
  constexpr std::size_t kLongestFirstLine = 64 * 1024;
  if (lineNumber_ == 1 && (scanner.LineCut() || scanner.Line().size() > kLongestFirstLine)) {
    Refuse(scanner);
    return;
  }
  const std::string line = ExpandAssignments(scanner.Line(), holes_.MacroParams);
  const double g = WordAfter(line, 'G');
  if (g == 70 || g == 71) {
    ReadHeaderLine(line, g == 71);
  } else if (g == 150) {
    ReadMacroLine(line);
  } else if (g == 81) {
    ReadHoleLine(line);
  } else if (lineNumber_ == 1) {
    Refuse(scanner);
  }
}

// Not a G-code file of ours: nothing more of it is read.
void GcodeInterpreter::Refuse(LineScanner& scanner) {
  holes_.RejectedFile = true;
  scanner.StopAfterThisLine();
}

void GcodeInterpreter::ReadHeaderLine(std::string_view line, bool metric) {
  holes_.MetricSource = metric ? 1 : 0;
  holes_.MacroParams[kParamPanelX] = WordAfter(line, 'X');
  holes_.MacroParams[kParamPanelY] = WordAfter(line, 'Y');
  holes_.MacroParams[kParamPanelZ] = WordAfter(line, 'Z');
}

void GcodeInterpreter::ReadMacroLine(std::string_view line) {
  const std::size_t open = line.find('(');
  const std::size_t close = line.find(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) return;

  // The parameters follow the name; each letter's text runs to the letter's next
  // occurrence, and letters are read in order, so B may use the A just set.
  const std::string_view words = line.substr(close + 1);
  for (char letter = 'A'; letter <= 'I'; ++letter) {
    const std::size_t at = words.find(letter);
    if (at == std::string_view::npos) continue;
    const std::size_t next = words.find(letter, at + 1);
    const std::string_view text = words.substr(at + 1, next - (at + 1));
    if (text.empty()) continue;
    holes_.MacroParams[letter - 'A' + 1] = EvaluateExpression(text, holes_.MacroParams);
  }
  holes_.MacroName = std::string(line.substr(open + 1, close - open - 1));
  namedMacro_ = true;
}

void GcodeInterpreter::ReadHoleLine(std::string_view line) {
  const double p = WordAfter(line, 'P');
  const double rounded = RoundHalfToEven(p);
  if (rounded < 0 || rounded >= kFaceSlots) return;
  const int face = static_cast<int>(rounded);
  if (holes_.FaceHoleCount[face] >= kMaxHolesPerFace) return;
  const int n = ++holes_.FaceHoleCount[face];
  HoleRecord& hole = holes_.Holes[face][n];
  hole = HoleRecord{};

  const char axis = (p == 1 || p == 2) ? 'X' : (p == 3 || p == 4) ? 'Y' : 'P';
  const double v = WordAfter(line, axis);
  const bool alongX = face == 1 || face == 2;
  double location = 0;
  switch (FindWorkOffset(line)) {
    case WorkOffset::kG54:
      location = v;
      break;
    case WorkOffset::kG55:
      if (!alongX) location = holes_.MacroParams[kParamPanelY] - v;
      break;
    case WorkOffset::kG56:
      if (alongX) location = holes_.MacroParams[kParamPanelX] - v;
      break;
    case WorkOffset::kG57:
    case WorkOffset::kNone:
      break;
  }
  // Two huge sizes can differ by more than a double holds; such a hole has no location.
  hole.Location = std::isfinite(location) ? location : 0;

  const double e = WordAfter(line, 'E');
  hole.Drill = (exclusions_.drill == 0 || exclusions_.drill == e) ? 1 : 0;
  hole.Dowel = (exclusions_.dowel == 0 || exclusions_.dowel == e) ? 1 : 0;
}

}  // namespace

GcodeReading ReadGcodeFile(const std::string& path, const HoleSet& before, Exclusions exclusions) {
  GcodeInterpreter interpreter(before, exclusions);
  LineScanner scanner;
  const Status status = scanner.Scan(path, interpreter.Handlers());
  if (!status.ok()) return {before, status};
  if (!interpreter.SawText()) return {before, status, true};
  const bool namedMacro = interpreter.NamedMacro();
  return {std::move(interpreter.Holes()), status, false, namedMacro};
}

HoleSet ReadGcodeText(std::string_view text, const std::string& name, const HoleSet& before,
                      Exclusions exclusions) {
  GcodeInterpreter interpreter(before, exclusions);
  LineScanner scanner;
  scanner.ScanText(text, name, interpreter.Handlers());
  return std::move(interpreter.Holes());
}

}  // namespace tessaro
