#include "gcode/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "gcode/word_number.h"

namespace tessaro {
namespace {

using Eval = std::pair<std::string, double>;
using Piece = std::pair<std::string, std::string>;

// Panel 800 x 600 x 18 (L, H, S), A = 5, D = 4, E = 3, T (20) set although T reads 0.
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

void ExpectValues(std::initializer_list<Eval> cases) {
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(EvaluateExpression(text, SampleParameters()), value) << '"' << text << '"';
  }
}

TEST(EvaluateExpression, ArithmeticWithPrecedenceSignsAndParentheses) {
  ExpectValues(
      {Eval{".5", 0.5}, Eval{"5.", 5}, Eval{"2+3*4", 14}, Eval{"(2+3)*4", 20}, Eval{"10-4-3", 3},
       Eval{"48/4/2", 6}, Eval{"--5", 5}, Eval{"+5", 5}, Eval{"-(2+3)*2", -10}, Eval{"2*-3", -6},
       Eval{" 2 * ( 3 + 1 ) ", 8}, Eval{"\t7\t", 7}, Eval{"  = 7", 7}, Eval{"2440.13", 2440.13},
       Eval{"1/3", 1.0 / 3.0}, Eval{std::string(150, '(') + "1" + std::string(150, ')'), 1}});
}

TEST(EvaluateExpression, VariablesAreLettersInAnyCaseAndDAndEAreNoExponents) {
  ExpectValues({Eval{"l-20", 780}, Eval{"L-20", 780}, Eval{"h/4", 150}, Eval{"s", 18},
                Eval{"A*2", 10}, Eval{"d*2", 8}, Eval{"E+1", 4}, Eval{"b", 0}, Eval{"T+1", 1},
                Eval{"z", 0}, Eval{"50E3", 50}, Eval{"1D2", 1}});
}

TEST(EvaluateExpression, OnlyTheLeadingExpressionCounts) {
  const std::string tooDeep = std::string(300, '(') + "1" + std::string(300, ')');
  ExpectValues({Eval{"l/2 Y20", 400}, Eval{"3 4", 3}, Eval{"ab", 5}, Eval{"2*", 2}, Eval{"2+", 2},
                Eval{"2*(3", 2}, Eval{"2*(3+)", 2}, Eval{"1.5.5", 1.5}, Eval{"7)", 7},
                Eval{"4 = 5", 4}, Eval{"2+" + tooDeep, 2}, Eval{tooDeep, 0}});
}

TEST(EvaluateExpression, NoFiniteValueGivesZero) {
  ExpectValues({Eval{"", 0}, Eval{"=", 0}, Eval{".", 0}, Eval{"*2", 0}, Eval{"(3", 0},
                Eval{"()", 0}, Eval{"-", 0}, Eval{"\xC4*2", 0}, Eval{"1/0", 0}, Eval{"0/0", 0},
                Eval{"1/0-1/0", 0}, Eval{"3+1/(1/0)", 3}, Eval{std::string(400, '9'), 0},
                Eval{std::string(200, '9') + "*" + std::string(200, '9'), 0}});
  EXPECT_FALSE(std::signbit(EvaluateExpression("0*-1", SampleParameters())));
}

TEST(ExpandExpression, WritesThePlainShortestValueAndKeepsTheRest) {
  for (const auto& [piece, expanded] :
       {Piece{"", ""}, Piece{" ", "0"}, Piece{"l-20 Y10", "780 Y10"}, Piece{"l/2Y20", "400 Y20"},
        Piece{"l/2 + 3 Y1 Z5", "403 Y1 Z5"}, Piece{"Y20", "0 Y20"}, Piece{"a*d ", "20"},
        Piece{"l/3", "266.6666666666667"}, Piece{"0.1+0.2", "0.30000000000000004"},
        Piece{"1/0 G54", "0 G54"}, Piece{"0-a", "-5"},
        Piece{"100000000000000000000*100", "10000000000000000000000"},
        Piece{"1/1024", "0.0009765625"}}) {
    EXPECT_EQ(ExpandExpression(piece, SampleParameters()), expanded) << '"' << piece << '"';
  }
}

TEST(ReadWordNumber, ReadsThePlainLeadingNumberWithoutExponent) {
  for (const auto& [text, value] :
       {Eval{"120 Y40", 120}, Eval{"50 E3", 50}, Eval{"50E3", 50}, Eval{"1D2", 1},
        Eval{"-5.5X", -5.5}, Eval{"+7", 7}, Eval{".5", 0.5}, Eval{" \t 12", 12}, Eval{"5 0", 50},
        Eval{"- 3", -3}, Eval{"1.2.3", 1.2}, Eval{"X5", 0}, Eval{".", 0}, Eval{"--5", 0},
        Eval{"&H10", 0}, Eval{"2440.13", 2440.13}, Eval{std::string(400, '9'), 0},
        Eval{"0." + std::string(400, '0') + "1", 0}}) {
    EXPECT_EQ(ReadWordNumber(text), value) << '"' << text << '"';
  }
  EXPECT_FALSE(std::signbit(ReadWordNumber("-0.0")));
}

TEST(ReadPlainDecimal, ReadsUnsignedDigitsAndTellsTheLength) {
  EXPECT_EQ(ReadPlainDecimal("12.5Y").length, 4u);
  EXPECT_EQ(ReadPlainDecimal("12.5Y").value, 12.5);
  EXPECT_EQ(ReadPlainDecimal("-1").length + ReadPlainDecimal(".").length, 0u);
  EXPECT_EQ(ReadPlainDecimal(std::string(400, '9')).value, std::numeric_limits<double>::infinity());
}

TEST(WordAfter, ReadsAfterTheFirstOccurrenceOfTheLetter) {
  EXPECT_EQ(WordAfter("G81 P1 X120 G54", 'G'), 81);
  EXPECT_EQ(WordAfter("G81 P1 X120 G54", 'Y'), 0);
  EXPECT_EQ(WordAfter("XX5", 'X'), 0);
}

}  // namespace
}  // namespace tessaro
