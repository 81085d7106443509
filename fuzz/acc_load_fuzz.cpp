// Arbitrary bytes as an ACC program: loaded into the program table, written out,
// loaded and written again; the two written programs must be the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "program/program_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Require;
  fuzz::ProgramRig rig(false);

  rig.Load(fuzz::InputText(data, size), "/fuzz/P.ACC");
  const std::string comment = rig.table.Cmt1;
  const int holeCount = rig.table.HoleCount;
  const std::string first = tessaro::FormatAccProgram(rig.table, holeCount);

  rig.Load(first, "/fuzz/P.ACC");
  Require(rig.table.HoleCount == holeCount);
  Require(rig.table.Cmt1 == fuzz::WithoutLineBreaks(comment));
  Require(tessaro::FormatAccProgram(rig.table, rig.table.HoleCount) == first);
  return 0;
}
