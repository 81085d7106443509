// Expressions and G-code lines as a translation reads them.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gcode/expression.h"
#include "gcode/gcode_interpreter.h"
#include "gcode/hole_set.h"

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

// One hole set that successive G-code files are read into, as a translation reads them.
struct GcodeReader {
  void ReadText(std::string_view text, const std::string& name = "/work/PART") {
    holes = ReadGcodeText(text, name, holes, exclusions);
  }
  const HoleRecord& Hole(int face, int n) const { return holes.Holes[face][n]; }
  int Count(int face) const { return holes.FaceHoleCount[face]; }

  HoleSet holes;
  Exclusions exclusions;
};

using FaceCounts = std::array<int, 5>;

constexpr const char* kMetricHeader = "G71 X800 Y600 Z18\n";

using HoleCase = std::tuple<const char*, int, double>;  // line, face, location

TEST(GcodeHoleLine, LocationFollowsTheFaceTheWorkOffsetAndTheWords) {
  for (const auto& [line, face, location] :
       {// the first work offset in the order G54, G55, G56, G57 counts
        HoleCase{"G81 P1 X120 Y40 Z-5 E3 G54", 1, 120},
        HoleCase{"G81 P1 X120 Y40 Z-5 E3 G56", 1, 680},
        HoleCase{"G81 P1 X120 Y40 Z-5 E3 G55", 1, 0}, HoleCase{"G81 P4 X0 Y50 Z-5 E1 G55", 4, 550},
        HoleCase{"G81 P3 X10 Y100 G55", 3, 500}, HoleCase{"G81 P1 X100 G56 G54", 1, 100},
        HoleCase{"G81 P4 Y100 G57 G55", 4, 500},
        // face 0, and a face that is not whole (rounded half to even), read the location from P
        HoleCase{"G81 P0.25 X10 G55", 0, 599.75}, HoleCase{"G81 P2.5 X10 G54", 2, 2.5},
        HoleCase{"G81 P3.5 Y10 G54", 4, 3.5}, HoleCase{"G81 P-0.5 X10 G54", 0, -0.5},
        // words without exponent; expansions keep every digit and the rest of the line
        HoleCase{"G81 P1 X50 E3 G54", 1, 50}, HoleCase{"G81P4Y50E1G55", 4, 550},
        HoleCase{"G81 E3 P1 X50 G54", 1, 50}, HoleCase{"G81 P1 X=1234.5678 G54", 1, 1234.5678},
        HoleCase{"G81 P1 X=l/2 Y20 Z-5 E3 G54", 1, 400}, HoleCase{"G81 P3 X=l/2Y20 G54", 3, 20}}) {
    GcodeReader reader;
    reader.ReadText(std::string(kMetricHeader) + line + "\n");
    EXPECT_EQ(reader.Count(face), 1) << line;
    EXPECT_EQ(reader.Hole(face, 1).Location, location) << line;
  }
}

TEST(GcodeHoleLine, DrillAndDowelFollowTheExclusionDigits) {
  // A digit of 0, or one equal to the E word, keeps the drill or the dowel.
  const struct {
    Exclusions digits;
    int drill, dowel;
  } cases[] = {{{3, 0}, 1, 1}, {{2, 0}, 0, 1}, {{0, 4}, 1, 0}, {{2, 4}, 0, 0}};
  for (const auto& c : cases) {
    GcodeReader reader;
    reader.exclusions = c.digits;
    reader.ReadText("G81 P1 X1 E3 G54\n");
    EXPECT_EQ(reader.Hole(1, 1).Drill, c.drill) << c.digits.drill;
    EXPECT_EQ(reader.Hole(1, 1).Dowel, c.dowel) << c.digits.dowel;
  }
}

TEST(GcodeLines, OtherLinesFacesOutsideZeroToFourAndAnEleventhHoleAreSkipped) {
  GcodeReader reader;
  std::string text = "G71 X800 Y600 Z18\r\n%\r\nG0 X0 Y0\r\nG54 G81 P1 X5\r\n\r\nM30\r\n";
  text += "G81 P7 X10 G54\nG81 P5.5 X10 G54\nG81 P-1 X10 G54\nG81 P-0.6 X10 G54\n";
  text += "G81 P99999999999999999999 X10 G54\n";
  for (int i = 1; i <= 11; ++i) text += "G81 P3 Y" + std::to_string(i * 10) + " G54\n";
  text += "G81 P1 X100 G54\nG81 P1 X50 G55\nG81 P1 X700 G54\n";
  reader.ReadText(text);
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{0, 3, 0, 10, 0}));
  EXPECT_EQ(reader.Hole(3, 10).Location, 100);
  EXPECT_EQ(reader.Hole(1, 1).Location, 100);
  EXPECT_EQ(reader.Hole(1, 2).Location, 0);  // counted, without a location
  EXPECT_EQ(reader.Hole(1, 3).Location, 700);
}

TEST(GcodeMacroLine, SetsTheNameAndParametersAndBangLinesEmptyTheName) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\nG150(SHELF 2) C30.5 I-4 B=a+l A=2 H300\nG81 P4 Y50 G55\n");
  EXPECT_EQ(reader.holes.MacroName, "SHELF 2");
  EXPECT_EQ(reader.holes.MacroParams[2], 802);  // A is set before B
  EXPECT_EQ(reader.holes.MacroParams[3], 30.5);
  EXPECT_EQ(reader.holes.MacroParams[9], -4);
  EXPECT_EQ(reader.Hole(4, 1).Location, 250);  // H is the panel's Y size
  // Upper-case D and E are parameters 4 and 5; lines without both parentheses are ignored.
  reader.ReadText("!D=4\n!E=3\nG150(X) A=D*2 B=E+1\nG150 A5\nG150(Y A6\nG150 Y) A7\nG150 )A8(\n");
  EXPECT_EQ(reader.holes.MacroName, "X");
  EXPECT_EQ(reader.holes.MacroParams[1], 8);
  EXPECT_EQ(reader.holes.MacroParams[2], 4);
  reader.ReadText("!A=32\nG81 P1 X=a*2+l/4 G54\n");
  EXPECT_EQ(reader.holes.MacroName, "");
  EXPECT_EQ(reader.Hole(1, 1).Location, 264);
}

TEST(GcodeRefusal, FirstLineDecidesWhetherTheFileIsRead) {
  using FirstLine = std::pair<const char*, bool>;
  for (const auto& [line, accepted] :
       {FirstLine{"G81 P1 X5 G54", true}, FirstLine{"G70 X24 Y18 Z0.75", true},
        FirstLine{"G150(DOOR) A1", true}, FirstLine{"!A=5", true}, FirstLine{"G81 P9 X5 G54", true},
        FirstLine{"G81 E3 P1 X5", true}, FirstLine{"", false}, FirstLine{"G0 X0 Y0", false},
        FirstLine{"G54 G81 P1 X5", false}, FirstLine{"g81 P1 X5 G54", false},
        FirstLine{"G71.5 X800", false}, FirstLine{"=G81 P1 X5", false}}) {
    GcodeReader reader;
    reader.ReadText(std::string(line) + "\nG81 P2 X5 G54\n");
    EXPECT_EQ(reader.holes.RejectedFile, !accepted) << line;
    EXPECT_EQ(reader.Count(2), accepted ? 1 : 0) << line;
  }
}

TEST(GcodeFiles, HeaderSizesAndParametersCarryOverButHolesAndTheRefusalAreCleared) {
  GcodeReader reader;
  reader.ReadText("%\n", "/work/BAD");
  reader.ReadText("G71 X2440.13 Y1220.07 Z18\nG150(DOOR) A3\nG81 P1 X100 G54\n", "/work/FIRST");
  reader.ReadText("G81 P4 X0 Y50 Z-5 E1 G55\n", "/work/SECOND");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{0, 0, 0, 0, 1}));
  EXPECT_EQ(reader.Hole(4, 1).Location, 1170.07);  // every digit of the Y size
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 2440.13);
  EXPECT_EQ(reader.holes.MetricSource, 1);
  EXPECT_EQ(reader.holes.MacroName, "DOOR");
  EXPECT_EQ(reader.holes.MacroParams[1], 3);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/SECOND");
  reader.ReadText("G70 X24.5\n");  // inch; a missing word gives 0
  EXPECT_EQ(reader.holes.MetricSource, 0);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 0);
}

TEST(PathologicalInput, AFirstLineOfMoreThan64KiBRefusesTheFile) {
  GcodeReader reader;
  reader.ReadText("G71 X1 Y1 Z1 " + std::string(64 * 1024, ' ') + "\nG81 P1 X5 G54\n");
  EXPECT_TRUE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.Count(1), 0);
}

}  // namespace
}  // namespace tessaro
