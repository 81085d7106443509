// Arbitrary bytes as the text of a G-code file, read twice (the second time with the
// first file's panel sizes and parameters), and as an expression and a piece.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "gcode/expression.h"
#include "gcode/gcode_interpreter.h"
#include "gcode/hole_set.h"

namespace {

using fuzz::Require;

void CheckHoleSet(const tessaro::HoleSet& holes) {
  for (double value : holes.MacroParams) Require(std::isfinite(value));
  for (int face = 0; face < tessaro::kFaceSlots; ++face) {
    const int count = holes.FaceHoleCount[face];
    Require(count >= 0 && count <= tessaro::kMaxHolesPerFace);
    for (const tessaro::HoleRecord& hole : holes.Holes[face]) {
      Require(std::isfinite(hole.Location));
      Require(hole.Drill == 0 || hole.Drill == 1);
      Require(hole.Dowel == 0 || hole.Dowel == 1);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::InputText(data, size);

  tessaro::HoleSet holes;
  const int digit = size > 0 ? data[0] % 10 : 0;
  for (int pass = 0; pass < 2; ++pass) {
    holes = tessaro::ReadGcodeText(text, "fuzz-input", holes, {digit, 9 - digit});
    CheckHoleSet(holes);
  }

  Require(std::isfinite(tessaro::EvaluateExpression(text, holes.MacroParams)));
  const std::string expanded = tessaro::ExpandExpression(text, holes.MacroParams);
  Require(expanded.find("inf") == std::string::npos || text.find("inf") != std::string_view::npos);
  Require(expanded.find("nan") == std::string::npos || text.find("nan") != std::string_view::npos);
  return 0;
}
