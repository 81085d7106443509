#pragma once

#include <string>
#include <string_view>

#include "gcode/gcode_interpreter.h"
#include "gcode/hole_set.h"
#include "gcode/scan_router.h"
#include "support/program_samples.h"

namespace tessaro::testing {

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
  ScanRouter router{holes, state, asker};
  GcodeInterpreter interpreter{holes, state, [] { return Exclusions{}; }};
};

}  // namespace tessaro::testing
