#pragma once

#include <string>
#include <string_view>

#include "gcode/hole_set.h"
#include "outside/status.h"

namespace tessaro {

// The drill and dowel exclusion digits (0 to 9), read anew for every hole line.
struct Exclusions {
  int drill = 0;
  int dowel = 0;
};

// What reading one G-code file gave: the hole set after it, and whether the file could
// be read at all.
struct GcodeReading {
  HoleSet holes;
  Status status = Status::Ok();
  // No line held anything but blanks (an export that failed, a copy that has just
  // begun): neither G-code nor a file to refuse. `holes` is then `before`.
  bool empty = false;
  // A G150 line named the macro; otherwise the name is the one `before` carried.
  bool namedMacro = false;
};

// Reads one G-code file into a hole set: the G70/G71 header, G150 macro lines, "!"
// lines and G81 hole lines. `before` holds what carries over from the file read before
// (panel sizes, macro parameters and name, units); the holes are this file's only. A
// file whose first line is none of these (or longer than any header) is refused:
// RejectedFile is set and nothing more of it is read; blank lines before the first
// line of text are passed over only to tell an empty file from a refused one. A file that cannot be
// read gives `before` back with the failure.
GcodeReading ReadGcodeFile(const std::string& path, const HoleSet& before, Exclusions exclusions);
// The same for text held in memory, as the contents of a file named `name`.
HoleSet ReadGcodeText(std::string_view text, const std::string& name, const HoleSet& before,
                      Exclusions exclusions);

// A G-code line with every expression after "=" replaced by its value: the text before
// the first "=" followed by ExpandExpression of each piece after an "=". A leading "!"
// makes the line a macro line ("!A=5" gives "G150() A5"). A line beginning with "G150"
// is kept as it is (its parameters are evaluated as a macro line reads them), and a
// line whose first character is "=" becomes empty.
std::string ExpandAssignments(std::string_view line, const MacroParameters& params);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives 2).
double RoundHalfToEven(double value);

}  // namespace tessaro
