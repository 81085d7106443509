#pragma once
// Pieces shared by the fuzz targets.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/operator.h"
#include "gcode/hole_set.h"
#include "gcode/scan_router.h"
#include "program/program_files.h"
#include "program/program_table.h"

namespace fuzz {

// Never deletes anything: the fuzzed text has no file behind it.
class AnswersNo : public tessaro::Operator {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void Tell(const std::string&, const std::string&) override {}
};

// A broken invariant is a finding.
inline void Require(bool condition) {
  if (!condition) __builtin_trap();
}

inline std::string_view InputText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A comment read back from a program file: its line breaks became blanks.
inline std::string WithoutLineBreaks(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// A program table with the scan router and the program file handlers around it.
struct ProgramRig {
  explicit ProgramRig(bool rcmFormat)
      : handlers(holes, state, table, [rcmFormat] { return rcmFormat; }) {
    handlers.Register(router);
  }

  // Loads a program into the emptied table; whatever the text, the scan ends and the
  // table keeps its captions and its minimum size.
  void Load(std::string_view program, const std::string& path) {
    table.ClearTable();
    state.ScanMode = tessaro::kScanLoadProgram;
    router.ScanText(program, path);
    Require(state.ScanMode == tessaro::kScanIdle);
    Require(table.GetCell(0, 1) == "Location");
    Require(table.GetCell(0, 2) == "Drill");
    Require(table.GetCell(0, 3) == "Dowel");
    Require(table.RowCount() >= tessaro::ProgramTable::kMinimumRows);
    Require(state.HoleCounter >= 0);
  }

  tessaro::HoleSet holes;
  tessaro::ScanState state;
  tessaro::ProgramTable table;
  AnswersNo asker;
  tessaro::ScanRouter router{holes, state, asker};
  tessaro::ProgramFileHandlers handlers;
};

}  // namespace fuzz
