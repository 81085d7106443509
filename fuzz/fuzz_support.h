#pragma once
// Pieces shared by the fuzz targets.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "program/program_files.h"
#include "program/program_table.h"

namespace fuzz {

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

// A program table that fuzzed texts are loaded into, as the desktop loads programs.
struct ProgramRig {
  explicit ProgramRig(bool rcm) : rcmFormat(rcm) {}

  // Loads a program into the table; whatever the text, the table keeps its captions
  // and its minimum size.
  void Load(std::string_view program, const std::string& path) {
    table = tessaro::ReadProgramText(program, path, rcmFormat, table);
    Require(table.GetCell(0, 1) == "Location");
    Require(table.GetCell(0, 2) == "Drill");
    Require(table.GetCell(0, 3) == "Dowel");
    Require(table.RowCount() >= tessaro::ProgramTable::kMinimumRows);
    Require(table.HoleCount >= 0);
  }

  bool rcmFormat;
  tessaro::ProgramTable table;
};

}  // namespace fuzz
