#pragma once

#include <string>
#include <string_view>

#include "gcode/gcode_interpreter.h"
#include "gcode/hole_set.h"

namespace tessaro::testing {

// One hole set that successive G-code files are read into, as a translation reads them.
struct GcodeReader {
  void ReadText(std::string_view text, const std::string& name = "/work/PART") {
    holes = ReadGcodeText(text, name, holes, exclusions);
  }

  const HoleRecord& Hole(int face, int n) const { return holes.Holes[face][n]; }
  int Count(int face) const { return holes.FaceHoleCount[face]; }

  HoleSet holes;
  Exclusions exclusions;
};

}  // namespace tessaro::testing
