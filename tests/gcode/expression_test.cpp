#include "gcode/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace tessaro {
namespace {

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

struct EvaluationCase {
  std::string text;
  double value;
};
std::ostream& operator<<(std::ostream& out, const EvaluationCase& c) { return out << c.text; }

class EvaluateExpressionCases : public ::testing::TestWithParam<EvaluationCase> {};

TEST_P(EvaluateExpressionCases, GivesTheLeadingExpressionsValue) {
  EXPECT_EQ(EvaluateExpression(GetParam().text, SampleParameters()), GetParam().value)
      << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, EvaluateExpressionCases,
    ::testing::Values(EvaluationCase{"5", 5}, EvaluationCase{"2.5", 2.5}, EvaluationCase{".5", 0.5},
                      EvaluationCase{"5.", 5}, EvaluationCase{"2+3*4", 14},
                      EvaluationCase{"(2+3)*4", 20}, EvaluationCase{"10-4-3", 3},
                      EvaluationCase{"48/4/2", 6}, EvaluationCase{"10/4", 2.5},
                      EvaluationCase{"-5", -5}, EvaluationCase{"--5", 5}, EvaluationCase{"+5", 5},
                      EvaluationCase{"-(2+3)*2", -10}, EvaluationCase{"2*-3", -6},
                      EvaluationCase{" 2 * ( 3 + 1 ) ", 8}, EvaluationCase{"\t7\t", 7},
                      EvaluationCase{"=7", 7}, EvaluationCase{"  = 7", 7},
                      EvaluationCase{"((((1))))", 1}));

INSTANTIATE_TEST_SUITE_P(Variables, EvaluateExpressionCases,
                         ::testing::Values(EvaluationCase{"l-20", 780}, EvaluationCase{"L-20", 780},
                                           EvaluationCase{"h/4", 150}, EvaluationCase{"s", 18},
                                           EvaluationCase{"a*2", 10}, EvaluationCase{"A*2", 10},
                                           EvaluationCase{"D*2", 8}, EvaluationCase{"d*2", 8},
                                           EvaluationCase{"E+1", 4}, EvaluationCase{"b", 0},
                                           EvaluationCase{"t", 0}, EvaluationCase{"T+1", 1},
                                           EvaluationCase{"z", 0}, EvaluationCase{"(l+h)/2", 700}));

INSTANTIATE_TEST_SUITE_P(LeadingExpressionOnly, EvaluateExpressionCases,
                         ::testing::Values(EvaluationCase{"50E3", 50}, EvaluationCase{"1D2", 1},
                                           EvaluationCase{"10 B20 C30", 10},
                                           EvaluationCase{"l/2 Y20", 400}, EvaluationCase{"3 4", 3},
                                           EvaluationCase{"ab", 5}, EvaluationCase{"2*", 2},
                                           EvaluationCase{"2+", 2}, EvaluationCase{"2*(3", 2},
                                           EvaluationCase{"2*(3+)", 2},
                                           EvaluationCase{"1.5.5", 1.5}, EvaluationCase{"7)", 7},
                                           EvaluationCase{"4 = 5", 4}));

INSTANTIATE_TEST_SUITE_P(
    NoValueGivesZero, EvaluateExpressionCases,
    ::testing::Values(EvaluationCase{"", 0}, EvaluationCase{"   ", 0}, EvaluationCase{"=", 0},
                      EvaluationCase{".", 0}, EvaluationCase{"*2", 0}, EvaluationCase{"(3", 0},
                      EvaluationCase{"()", 0}, EvaluationCase{"-", 0}, EvaluationCase{"\xC4*2", 0},
                      EvaluationCase{"1/0", 0}, EvaluationCase{"-1/0", 0}, EvaluationCase{"0/0", 0},
                      EvaluationCase{"1/0-1/0", 0}, EvaluationCase{std::string(400, '9'), 0},
                      EvaluationCase{std::string(200, '9') + "*" + std::string(200, '9'), 0}));

TEST(EvaluateExpression, DivisionByAnInfiniteValueIsFinite) {
  EXPECT_EQ(EvaluateExpression("1/(1/0)", SampleParameters()), 0);
  EXPECT_EQ(EvaluateExpression("3+1/(1/0)", SampleParameters()), 3);
}

TEST(EvaluateExpression, NegativeZeroIsZero) {
  EXPECT_FALSE(std::signbit(EvaluateExpression("-0", SampleParameters())));
  EXPECT_FALSE(std::signbit(EvaluateExpression("0*-1", SampleParameters())));
}

TEST(EvaluateExpression, ParenthesesNestedTooDeeplyEndTheExpression) {
  const std::string deep = std::string(300, '(') + "1" + std::string(300, ')');
  EXPECT_EQ(EvaluateExpression(deep, SampleParameters()), 0);
  EXPECT_EQ(EvaluateExpression("2+" + deep, SampleParameters()), 2);
  const std::string fine = std::string(150, '(') + "1" + std::string(150, ')');
  EXPECT_EQ(EvaluateExpression(fine, SampleParameters()), 1);
}

TEST(EvaluateExpression, KeepsDoublePrecision) {
  EXPECT_EQ(EvaluateExpression("2440.13", SampleParameters()), 2440.13);
  EXPECT_EQ(EvaluateExpression("1/3", SampleParameters()), 1.0 / 3.0);
}

struct ExpansionCase {
  std::string piece;
  std::string expanded;
};
std::ostream& operator<<(std::ostream& out, const ExpansionCase& c) { return out << c.piece; }

class ExpandExpressionCases : public ::testing::TestWithParam<ExpansionCase> {};

TEST_P(ExpandExpressionCases, WritesTheValueAndKeepsTheRest) {
  EXPECT_EQ(ExpandExpression(GetParam().piece, SampleParameters()), GetParam().expanded)
      << '"' << GetParam().piece << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, ExpandExpressionCases,
    ::testing::Values(ExpansionCase{"", ""}, ExpansionCase{"l-20 Y10", "780 Y10"},
                      ExpansionCase{"h/4", "150"}, ExpansionCase{"l/2Y20", "400 Y20"},
                      ExpansionCase{"l/2 Y20 Z5", "400 Y20 Z5"},
                      ExpansionCase{"l/2 + 3 Y1", "403 Y1"}, ExpansionCase{"Y20", "0 Y20"},
                      ExpansionCase{"a*d ", "20"}, ExpansionCase{"l/3", "266.6666666666667"},
                      ExpansionCase{"1234.5678", "1234.5678"},
                      ExpansionCase{"0.1+0.2", "0.30000000000000004"},
                      ExpansionCase{"1/0 G54", "0 G54"}, ExpansionCase{"0-a", "-5"},
                      ExpansionCase{"100000000000000000000*100", "10000000000000000000000"},
                      ExpansionCase{"1/1024", "0.0009765625"}, ExpansionCase{" ", "0"}));

}  // namespace
}  // namespace tessaro
