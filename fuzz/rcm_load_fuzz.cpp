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

// The lines the scanner reads in `text`: CR LF, LF and a lone CR each end one, and a
// last line without a line end counts too.
size_t LineCount(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++count;
    }
  }
  const bool openLast = !text.empty() && text.back() != '\n' && text.back() != '\r';
  return count + (openLast ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Require;
  const std::string_view text = fuzz::InputText(data, size);
  fuzz::ProgramRig rig(true);

  rig.Load(text, "/fuzz/P1.RCM");
  const std::string comment = rig.table.Cmt1;
  const int holeCount = rig.table.HoleCount;
  const bool inch = rig.table.Inch;
  Require(holeCount <= rig.table.RowCount());

  const std::string saved = tessaro::MergeTableIntoRcm(text, rig.table);
  Require(CountCrLf(saved) == LineCount(text));

  // A refused program is refused again; an accepted one gives back what it held.
  rig.Load(saved, "/fuzz/P1.RCM");
  Require(rig.table.HoleCount == holeCount);
  Require(rig.table.Inch == inch);
  Require(rig.table.Cmt1 == fuzz::WithoutLineBreaks(comment));
  return 0;
}
