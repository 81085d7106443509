#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "gcode/hole_set.h"
#include "gcode/scan_router.h"

namespace tessaro {

// The drill and dowel exclusion digits (0 to 9), read anew for every hole line.
struct Exclusions {
  int drill = 0;
  int dowel = 0;
};

// Reads the lines of one G-code file into the hole set (scan mode 3): the G70/G71
// header, G150 macro lines, "!" lines, G81 hole lines, and the refusal of a file whose
// first line is none of these.
class GcodeInterpreter : public ScanModeHandler {
 public:
  GcodeInterpreter(HoleSet& holes, ScanState& state, std::function<Exclusions()> exclusions);

  void ScanBegin(LineScanner& scanner) override;
  void LineScanned(LineScanner& scanner) override;
  void ScanEnd(LineScanner& scanner) override;

 private:
  void Refuse(LineScanner& scanner);
  void ReadHeaderLine(std::string_view line, bool metric);
  void ReadMacroLine(std::string_view line);
  void ReadHoleLine(std::string_view line);

  HoleSet& holes_;
  ScanState& state_;
  std::function<Exclusions()> exclusions_;
};

// A G-code line with every expression after "=" replaced by its value: the text before
// the first "=" followed by ExpandExpression of each piece after an "=". A leading "!"
// makes the line a macro line ("!A=5" gives "G150() A5"). A line beginning with "G150"
// is kept as it is (its parameters are evaluated as a macro line reads them), and a
// line whose first character is "=" becomes empty.
std::string ExpandAssignments(std::string_view line, const MacroParameters& params);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives 2).
double RoundHalfToEven(double value);

}  // namespace tessaro
