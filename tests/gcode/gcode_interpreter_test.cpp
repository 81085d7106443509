#include "gcode/gcode_interpreter.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "gcode/gcode_reader.h"

namespace tessaro {
namespace {

using testing::GcodeReader;
using testing::kRefusalText;
using FaceCounts = std::array<int, 5>;

constexpr const char* kMetricHeader = "G71 X800 Y600 Z18\n";

struct HoleCase {
  const char* line;
  int face;
  double location;
};

// Each line read on its own after the metric header gives one hole.
void ExpectHoles(std::initializer_list<HoleCase> cases) {
  for (const HoleCase& c : cases) {
    GcodeReader reader;
    reader.ReadText(std::string(kMetricHeader) + c.line + "\n");
    EXPECT_EQ(reader.Count(c.face), 1) << c.line;
    EXPECT_EQ(reader.Hole(c.face, 1).Location, c.location) << c.line;
  }
}

TEST(GcodeHeaderLine, SetsUnitsAndPanelSizesWithEveryDigit) {
  GcodeReader reader;
  reader.ReadText("G71 X2440.13 Y1220.07 Z18.3\n");
  EXPECT_EQ(reader.holes.MetricSource, 1);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 2440.13);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 1220.07);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelZ], 18.3);
  reader.ReadText("G70 X24.5\n");  // inch; a missing word gives 0
  EXPECT_EQ(reader.holes.MetricSource, 0);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 24.5);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 0);
}

TEST(GcodeHoleLine, LocationFollowsTheFaceTheWorkOffsetAndTheWords) {
  ExpectHoles(
      {// the first work offset in the order G54, G55, G56, G57 counts
       HoleCase{"G81 P1 X120 Y40 Z-5 E3 G54", 1, 120},
       HoleCase{"G81 P1 X120 Y40 Z-5 E3 G56", 1, 680}, HoleCase{"G81 P1 X120 Y40 Z-5 E3", 1, 0},
       HoleCase{"G81 P4 X0 Y50 Z-5 E1 G55", 4, 550}, HoleCase{"G81 P3 X10 Y100 G55", 3, 500},
       HoleCase{"G81 P4 Y100 G57", 4, 0}, HoleCase{"G81 P1 X100 G56 G54", 1, 100},
       HoleCase{"G81 P4 Y100 G57 G55", 4, 500},
       // face 0, and a face that is not whole, read the location from P
       HoleCase{"G81 P0.25 X10 G54", 0, 0.25}, HoleCase{"G81 P0.25 X10 G55", 0, 599.75},
       HoleCase{"G81 P2.5 X10 G54", 2, 2.5}, HoleCase{"G81 P3.5 Y10 G54", 4, 3.5},
       HoleCase{"G81 P-0.5 X10 G54", 0, -0.5},
       // words without exponent; expansions keep every digit and the rest of the line
       HoleCase{"G81 P1 X50 E3 G54", 1, 50}, HoleCase{"G81P4Y50E1G55", 4, 550},
       HoleCase{"G81 E3 P1 X50 G54", 1, 50}, HoleCase{"N10 G81 P1 X75 G54", 1, 75},
       HoleCase{"G81 P1 X=1234.5678 G54", 1, 1234.5678},
       HoleCase{"G81 P1 X=l/2 Y20 Z-5 E3 G54", 1, 400}, HoleCase{"G81 P3 X=l/2Y20 G54", 3, 20}});
}

TEST(GcodeHoleLine, DrillAndDowelFollowTheExclusionDigitsReadAnewForEveryHole) {
  // A digit of 0, or one equal to the E word, keeps the drill or the dowel.
  const Exclusions digits[] = {{3, 0}, {2, 0}, {0, 4}, {0, 4}, {0, 4}};
  GcodeReader reader;
  int calls = 0;
  GcodeInterpreter interpreter(reader.holes, reader.state, [&] { return digits[calls++ % 5]; });
  reader.router.SetHandler(kScanReadGcode, &interpreter);
  reader.ReadText(
      "G81 P1 X1 E3 G54\nG81 P1 X2 E3 G54\nG71 X800 Y600 Z18\nG81 P1 X3 E3 G54\n"
      "G81 P1 X4 E4 G54\nG81 P1 X5 G54\n");
  EXPECT_EQ(calls, 5);
  std::vector<int> drills;
  std::vector<int> dowels;
  for (int n = 1; n <= reader.Count(1); ++n) {
    drills.push_back(reader.Hole(1, n).Drill);
    dowels.push_back(reader.Hole(1, n).Dowel);
  }
  EXPECT_EQ(drills, (std::vector<int>{1, 0, 1, 1, 1}));
  EXPECT_EQ(dowels, (std::vector<int>{1, 1, 0, 1, 0}));
}

TEST(GcodeHoleLine, FacesOutsideZeroToFourAreSkipped) {
  GcodeReader reader;
  reader.ReadText(
      "G81 P1 X5 G54\nG81 P7 X10 G54\nG81 P5.5 X10 G54\nG81 P-1 X10 G54\nG81 P-0.6 X10 G54\n"
      "G81 P99999999999999999999 X10 G54\nG81 P-99999999999 X1 G54\nG81 P2 X7 G54\n");
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{0, 1, 1, 0, 0}));
  EXPECT_FALSE(reader.holes.RejectedFile);
}

TEST(GcodeHoleLine, HolesKeepFileOrderAndAnEleventhOnAFaceIsSkipped) {
  GcodeReader reader;
  std::string text = kMetricHeader;
  for (int i = 1; i <= 12; ++i) text += "G81 P3 Y" + std::to_string(i * 10) + " G54\n";
  text += "G81 P1 X100 G54\nG81 P1 X50 G55\nG81 P1 X700 G54\n";
  reader.ReadText(text);
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{0, 3, 0, 10, 0}));
  EXPECT_EQ(reader.Hole(3, 10).Location, 100);
  EXPECT_EQ(reader.Hole(1, 1).Location, 100);
  EXPECT_EQ(reader.Hole(1, 2).Location, 0);  // counted, without a location
  EXPECT_EQ(reader.Hole(1, 3).Location, 700);
}

TEST(GcodeLines, OtherLinesAfterTheFirstAreSkipped) {
  GcodeReader reader;
  reader.ReadText(
      "G71 X800 Y600 Z18\r\n%\r\nG0 X0 Y0\r\nG54 G81 P1 X5\r\n\r\nG81 P1 X5 G54\r\nM30\r\n");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelZ], 18);
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{0, 1, 0, 0, 0}));
  EXPECT_EQ(reader.state.LineNumber, 7);
}

TEST(GcodeMacroLine, SetsTheNameAndParametersInLetterOrderAndBangLinesEmptyTheName) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\nG150(SHELF 2) C30.5 I-4 B=a+l A=2 H300\nG81 P4 Y50 G55\n");
  EXPECT_EQ(reader.holes.MacroName, "SHELF 2");
  EXPECT_EQ(reader.holes.MacroParams[1], 2);
  EXPECT_EQ(reader.holes.MacroParams[2], 802);  // A is set before B
  EXPECT_EQ(reader.holes.MacroParams[3], 30.5);
  EXPECT_EQ(reader.holes.MacroParams[9], -4);
  EXPECT_EQ(reader.Hole(4, 1).Location, 250);  // H is the panel's Y size
  reader.ReadText("!A=32\nG81 P1 X=a*2+l/4 G54\n");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.MacroName, "");
  EXPECT_EQ(reader.Hole(1, 1).Location, 264);
}

TEST(GcodeMacroLine, UpperCaseDAndEAreParametersFourAndFive) {
  GcodeReader reader;
  reader.ReadText("!D=4\n!E=3\nG150(X) A=D*2 B=E+1\n");
  EXPECT_EQ(reader.holes.MacroParams[1], 8);
  EXPECT_EQ(reader.holes.MacroParams[2], 4);
}

TEST(GcodeMacroLine, LineWithoutBothParenthesesIsIgnored) {
  GcodeReader reader;
  reader.ReadText("G150(FIRST) A1\nG150(KEEP)\nG150 A5\nG150(X A6\nG150 X) A7\nG150 )A8(\n");
  EXPECT_EQ(reader.holes.MacroName, "KEEP");
  EXPECT_EQ(reader.holes.MacroParams[1], 1);
  EXPECT_FALSE(reader.holes.RejectedFile);
}

TEST(ExpandAssignments, ExpandsEveryAssignmentAndTurnsBangLinesIntoMacroLines) {
  MacroParameters params{};
  params[kParamPanelZ] = 18;
  params[1] = 5;
  using Line = std::pair<const char*, const char*>;
  for (const auto& [line, expanded] :
       {Line{"X= Y=s", "X0 Y18"}, Line{"G81 P1 X120 G54", "G81 P1 X120 G54"},
        Line{"!B=a*2", "G150() B10"}, Line{"!", "G150() "},
        Line{"G150(N) A=l/2 B=3", "G150(N) A=l/2 B=3"}, Line{"=5 G81 P1 X5 G54", ""}}) {
    EXPECT_EQ(ExpandAssignments(line, params), expanded) << line;
  }
}

TEST(GcodeRefusal, FirstLineOfOnlyAPercentSignRefusesTheFile) {
  GcodeReader reader;
  reader.holes.ScannedFile = "/work/BEFORE";
  reader.ReadText("%\nG71 X800 Y600 Z18\nG81 P1 X5 G54\n", "/work/PART");
  EXPECT_TRUE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{}));
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 0);  // nothing after line 1 is read
  EXPECT_EQ(reader.state.ScanMode, kScanIdle);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/BEFORE");
  ASSERT_EQ(reader.asker.questions.size(), 1u);
  EXPECT_EQ(reader.asker.questions[0].title, "Alert!");
  EXPECT_EQ(reader.asker.questions[0].text, kRefusalText);
}

TEST(GcodeRefusal, FirstLineDecidesWhetherTheFileIsRead) {
  using FirstLine = std::pair<const char*, bool>;
  for (const auto& [line, accepted] :
       {FirstLine{"G81 P1 X5 G54", true}, FirstLine{"G70 X24 Y18 Z0.75", true},
        FirstLine{"G150(DOOR) A1", true}, FirstLine{"G150", true}, FirstLine{"!A=5", true},
        FirstLine{"G81 P9 X5 G54", true}, FirstLine{"N1 G71 X800", true},
        FirstLine{"G81 E3 P1 X5", true}, FirstLine{"", false}, FirstLine{"G0 X0 Y0", false},
        FirstLine{"G54 G81 P1 X5", false}, FirstLine{"g81 P1 X5 G54", false},
        FirstLine{"(PROGRAM)", false}, FirstLine{"G71.5 X800", false},
        FirstLine{"=G81 P1 X5", false}}) {
    GcodeReader reader;
    reader.ReadText(std::string(line) + "\nG81 P2 X5 G54\n");
    EXPECT_EQ(reader.holes.RejectedFile, !accepted) << line;
    EXPECT_EQ(reader.Count(2), accepted ? 1 : 0) << line;
    EXPECT_EQ(reader.asker.questions.size(), accepted ? 0u : 1u) << line;
  }
}

TEST(GcodeFiles, HolesAndTheRefusalAreClearedButPanelAndParametersCarryOver) {
  GcodeReader reader;
  reader.ReadText("%\n", "/work/BAD");
  reader.ReadText("G71 X800 Y600 Z18\nG150(DOOR) A3\nG81 P1 X100 G54\n", "/work/FIRST");
  reader.ReadText("G81 P4 X0 Y50 Z-5 E1 G55\n", "/work/SECOND");
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{0, 0, 0, 0, 1}));
  EXPECT_EQ(reader.Hole(4, 1).Location, 550);
  reader.ReadText("", "/work/EMPTY");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.FaceHoleCount, (FaceCounts{}));
  EXPECT_EQ(reader.holes.MetricSource, 1);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 600);
  EXPECT_EQ(reader.holes.MacroName, "DOOR");
  EXPECT_EQ(reader.holes.MacroParams[1], 3);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/EMPTY");
}

}  // namespace
}  // namespace tessaro
