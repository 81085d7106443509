#pragma once

#include <functional>

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
  HoleSet& holes_;
  ScanState& state_;
  std::function<Exclusions()> exclusions_;
};

}  // namespace tessaro
