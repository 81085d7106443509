#include "gcode/expression.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tessaro {
namespace {

using Eval = std::pair<std::string, double>;

// Panel 800 x 600 x 18 (L, H, S), A = 5, D = 4, E = 3, T set although T reads 0.
MacroParameters SampleParameters() {
  MacroParameters params{};
  params[kParamPanelX] = 800;
  params[kParamPanelY] = 600;
  params[kParamPanelZ] = 18;
  params[1] = 5;
  params[4] = 4;
  params[5] = 3;
  params[20] = 99;
  return params;
}

TEST(EvaluateExpression, ValueOfTheLeadingExpressionOrZero) {
  for (const auto& [text, value] :
       {// precedence, signs, parentheses, blanks
        Eval{"2+3*4", 14}, Eval{"(2+3)*4", 20}, Eval{"10-4-3", 3}, Eval{"48/4/2", 6},
        Eval{"--5", 5}, Eval{"-(2+3)*2", -10}, Eval{"2*-3", -6}, Eval{" 2 * ( 3 + 1 ) ", 8},
        Eval{"  = 7", 7}, Eval{std::string(150, '(') + "1" + std::string(150, ')'), 1},
        // variables in any case; D and E are no exponents; T to Z read 0
        Eval{"l-20", 780}, Eval{"L-20", 780}, Eval{"h/4", 150}, Eval{"s", 18}, Eval{"d*2", 8},
        Eval{"E+1", 4}, Eval{"b", 0}, Eval{"T+1", 1}, Eval{"50E3", 50},
        // only the leading expression counts
        Eval{"l/2 Y20", 400}, Eval{"ab", 5}, Eval{"2*(3", 2}, Eval{"7)", 7},
        // no finite value
        Eval{"", 0}, Eval{"*2", 0}, Eval{"(3", 0}, Eval{"1/0", 0}, Eval{"0/0", 0},
        Eval{"3+1/(1/0)", 3}, Eval{std::string(400, '9'), 0}}) {
    EXPECT_EQ(EvaluateExpression(text, SampleParameters()), value) << '"' << text << '"';
  }
}

TEST(ExpandExpression, WritesThePlainShortestValueAndKeepsTheRest) {
  using Piece = std::pair<std::string, std::string>;
  for (const auto& [piece, expanded] :
       {Piece{"", ""}, Piece{"l-20 Y10", "780 Y10"}, Piece{"h/4", "150"},
        Piece{"l/2Y20", "400 Y20"}, Piece{"l/2 + 3 Y1 Z5", "403 Y1 Z5"}, Piece{"Y20", "0 Y20"},
        Piece{"l/3", "266.6666666666667"}, Piece{"0.1+0.2", "0.30000000000000004"},
        Piece{"1/0 G54", "0 G54"}, Piece{"100000000000000000000*100", "10000000000000000000000"},
        Piece{"1/1024", "0.0009765625"}}) {
    EXPECT_EQ(ExpandExpression(piece, SampleParameters()), expanded) << '"' << piece << '"';
  }
}

}  // namespace
}  // namespace tessaro
