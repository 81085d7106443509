// Arbitrary bytes as an ACC program: loaded into the program table, written out,
// loaded and written again; the two written programs must be the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/operator.h"
#include "gcode/hole_set.h"
#include "gcode/scan_router.h"
#include "program/program_files.h"
#include "program/program_table.h"

namespace {

class AnswersNo : public tessaro::Operator {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void Tell(const std::string&, const std::string&) override {}
};

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

std::string WithoutLineBreaks(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  tessaro::HoleSet holes;
  tessaro::ScanState state;
  tessaro::ProgramTable table;
  AnswersNo asker;
  tessaro::ScanRouter router(holes, state, asker);
  tessaro::ProgramFileHandlers handlers(holes, state, table, [] { return false; });
  handlers.Register(router);

  auto load = [&](std::string_view program) {
    table.ClearTable();
    state.ScanMode = tessaro::kScanLoadProgram;
    router.ScanText(program, "/fuzz/P.ACC");
    Require(state.ScanMode == tessaro::kScanIdle);
    Require(table.GetCell(0, 1) == "Location");
    Require(table.RowCount() >= tessaro::ProgramTable::kMinimumRows);
    Require(state.HoleCounter >= 0);
  };

  load(text);
  const std::string comment = table.Cmt1;
  const int holeCount = state.HoleCounter;
  const std::string first = tessaro::FormatAccProgram(table, holeCount);

  load(first);
  Require(state.HoleCounter == holeCount);
  Require(table.Cmt1 == WithoutLineBreaks(comment));
  Require(tessaro::FormatAccProgram(table, state.HoleCounter) == first);
  return 0;
}
