// Arbitrary bytes as an RCM program: loaded into the program table, saved through
// itself as the base program, and the result loaded again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"

namespace {

size_t CountCrLf(std::string_view text) {
  size_t count = 0;
  for (size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Require;
  const std::string_view text = fuzz::InputText(data, size);
  fuzz::ProgramRig rig(true);

  rig.Load(text, "/fuzz/P1.RCM");
  const std::string comment = rig.table.Cmt1;
  const int holeCount = rig.state.HoleCounter;
  const bool inch = rig.table.Inch;
  Require(holeCount <= rig.table.RowCount());

  rig.state.SaveTarget.clear();
  rig.state.ScanMode = tessaro::kScanSaveThroughBase;
  rig.router.ScanText(text, "/fuzz/P1.RCM");
  Require(rig.state.ScanMode == tessaro::kScanIdle);
  Require(rig.state.SaveTarget == "/fuzz/P1.RCM");
  Require(CountCrLf(rig.state.OutputText) == static_cast<size_t>(rig.state.LineNumber));
  const std::string saved = rig.state.OutputText;

  // A refused program is refused again; an accepted one gives back what it held.
  rig.Load(saved, "/fuzz/P1.RCM");
  Require(rig.state.HoleCounter == holeCount);
  Require(rig.table.Inch == inch);
  Require(rig.table.Cmt1 == fuzz::WithoutLineBreaks(comment));
  return 0;
}
