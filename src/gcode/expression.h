#pragma once

#include <string>
#include <string_view>

#include "gcode/hole_set.h"

namespace tessaro {

// The value of the longest leading expression of `text` (numbers, single-letter
// variables in any case, + - * /, unary minus, parentheses); the rest is ignored.
// Upper-case D and E are the variables 4 and 5, never exponent markers. Variables A
// to S take their value from the macro parameters, T to Z read 0. A text without a
// value, a division by zero or an overflow gives 0.
double EvaluateExpression(std::string_view text, const MacroParameters& params);

// The text that replaces one piece after "=" of a G-code line: the piece's
// expression (its text up to the first upper-case letter) evaluated and written as
// the shortest plain decimal, then one blank and the rest of the piece from that
// letter on. "l/2 Y20 Z-5" after a panel 800 long gives "400 Y20 Z-5".
std::string ExpandExpression(std::string_view piece, const MacroParameters& params);

}  // namespace tessaro
