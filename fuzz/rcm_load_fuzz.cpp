// Arbitrary bytes as an RCM program: loaded into the program table, saved through
// itself as the base program, and the result loaded again.
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

size_t CountCrLf(std::string_view text) {
  size_t count = 0;
  for (size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    ++count;
  }
  return count;
}

std::string WithoutLineBreaks(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

void RequireCaptionsKept(const tessaro::ProgramTable& table) {
  Require(table.GetCell(0, 1) == "Location");
  Require(table.GetCell(0, 2) == "Drill");
  Require(table.GetCell(0, 3) == "Dowel");
  Require(table.RowCount() >= tessaro::ProgramTable::kMinimumRows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  tessaro::HoleSet holes;
  tessaro::ScanState state;
  tessaro::ProgramTable table;
  AnswersNo asker;
  tessaro::ScanRouter router(holes, state, asker);
  tessaro::ProgramFileHandlers handlers(holes, state, table, [] { return true; });
  handlers.Register(router);

  auto load = [&](std::string_view program) {
    table.ClearTable();
    state.ScanMode = tessaro::kScanLoadProgram;
    router.ScanText(program, "/fuzz/P1.RCM");
    Require(state.ScanMode == tessaro::kScanIdle);
    RequireCaptionsKept(table);
  };

  load(text);
  const std::string comment = table.Cmt1;
  const int holeCount = state.HoleCounter;
  const bool inch = table.Inch;
  Require(holeCount >= 0 && holeCount <= table.RowCount());

  state.SaveTarget.clear();
  state.ScanMode = tessaro::kScanSaveThroughBase;
  router.ScanText(text, "/fuzz/P1.RCM");
  Require(state.ScanMode == tessaro::kScanIdle);
  Require(state.SaveTarget == "/fuzz/P1.RCM");
  Require(CountCrLf(state.OutputText) == static_cast<size_t>(state.LineNumber));
  const std::string saved = state.OutputText;

  // A refused program is refused again; an accepted one gives back what it held.
  load(saved);
  Require(state.HoleCounter == holeCount);
  Require(table.Inch == inch);
  Require(table.Cmt1 == WithoutLineBreaks(comment));
  return 0;
}
