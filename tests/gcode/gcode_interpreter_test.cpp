#include "gcode/gcode_interpreter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "gcode/gcode_reader.h"

namespace tessaro {
namespace {

using testing::GcodeReader;

constexpr const char* kMetricHeader = "G71 X800 Y600 Z18\n";

TEST(GcodeHeaderLine, G71SetsMetricAndThePanelSizes) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\n");
  EXPECT_EQ(reader.holes.MetricSource, 1);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 800);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 600);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelZ], 18);
  EXPECT_FALSE(reader.holes.RejectedFile);
}

TEST(GcodeHeaderLine, G70IsInchAndAMissingWordGivesZero) {
  GcodeReader reader;
  reader.ReadText(kMetricHeader);
  reader.ReadText("G70 X24.5\n");
  EXPECT_EQ(reader.holes.MetricSource, 0);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 24.5);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 0);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelZ], 0);
}

TEST(GcodeHeaderLine, PanelSizesKeepEveryDigit) {
  GcodeReader reader;
  reader.ReadText("G71 X2440.13 Y1220.07 Z18.3\n");
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 2440.13);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 1220.07);
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelZ], 18.3);
}

TEST(GcodeHoleLine, G54HoleOnFace1WithBothExclusionsMatching) {
  GcodeReader reader;
  reader.exclusions = {3, 0};
  reader.ReadText("G81 P1 X120 Y40 Z-5 E3 G54\n");
  ASSERT_EQ(reader.Count(1), 1);
  EXPECT_EQ(reader.Hole(1, 1).Location, 120);
  EXPECT_EQ(reader.Hole(1, 1).Drill, 1);
  EXPECT_EQ(reader.Hole(1, 1).Dowel, 1);
}

TEST(GcodeHoleLine, DrillExclusionOtherThanTheEWordClearsDrill) {
  GcodeReader reader;
  reader.exclusions = {2, 0};
  reader.ReadText("G81 P1 X120 Y40 Z-5 E3 G54\n");
  EXPECT_EQ(reader.Hole(1, 1).Drill, 0);
  EXPECT_EQ(reader.Hole(1, 1).Dowel, 1);
}

TEST(GcodeHoleLine, DowelExclusionOtherThanTheEWordClearsDowel) {
  GcodeReader reader;
  reader.exclusions = {0, 4};
  reader.ReadText("G81 P1 X120 E3 G54\nG81 P1 X130 E4 G54\nG81 P1 X140 G54\n");
  EXPECT_EQ(reader.Hole(1, 1).Dowel, 0);
  EXPECT_EQ(reader.Hole(1, 2).Dowel, 1);
  EXPECT_EQ(reader.Hole(1, 3).Dowel, 0);  // no E word reads 0
  EXPECT_EQ(reader.Hole(1, 3).Drill, 1);
}

TEST(GcodeHoleLine, ExclusionsAreReadAnewForEveryHole) {
  GcodeReader reader;
  int calls = 0;
  GcodeInterpreter interpreter(reader.holes, reader.state, [&calls] {
    ++calls;
    return Exclusions{calls, 0};
  });
  reader.router.SetHandler(kScanReadGcode, &interpreter);
  reader.ReadText("G81 P1 X10 E1 G54\nG71 X800 Y600 Z18\nG81 P1 X20 E1 G54\nG81 P1 X30 E3 G54\n");
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(reader.Hole(1, 1).Drill, 1);
  EXPECT_EQ(reader.Hole(1, 2).Drill, 0);
  EXPECT_EQ(reader.Hole(1, 3).Drill, 1);
}

struct LocationCase {
  const char* line;
  int face;
  double location;
};
std::ostream& operator<<(std::ostream& out, const LocationCase& c) { return out << c.line; }

class GcodeHoleLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(GcodeHoleLocation, AfterTheMetricHeader) {
  GcodeReader reader;
  reader.ReadText(std::string(kMetricHeader) + GetParam().line + "\n");
  ASSERT_EQ(reader.Count(GetParam().face), 1) << GetParam().line;
  EXPECT_EQ(reader.Hole(GetParam().face, 1).Location, GetParam().location) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    WorkOffsetsAndAxes, GcodeHoleLocation,
    ::testing::Values(
        LocationCase{"G81 P1 X120 Y40 Z-5 E3 G54", 1, 120},
        LocationCase{"G81 P1 X120 Y40 Z-5 E3 G56", 1, 680},
        LocationCase{"G81 P1 X120 Y40 Z-5 E3 G55", 1, 0},
        LocationCase{"G81 P1 X120 Y40 Z-5 E3 G57", 1, 0},
        LocationCase{"G81 P1 X120 Y40 Z-5 E3", 1, 0}, LocationCase{"G81 P2 X300 Y40 G56", 2, 500},
        LocationCase{"G81 P4 X0 Y50 Z-5 E1 G55", 4, 550},
        LocationCase{"G81 P3 X10 Y100 G54", 3, 100}, LocationCase{"G81 P3 X10 Y100 G55", 3, 500},
        LocationCase{"G81 P3 X10 Y100 G56", 3, 0},
        // The first work offset in the order G54, G55, G56, G57 counts,
        // wherever it stands in the line.
        LocationCase{"G81 P1 X100 G56 G54", 1, 100}, LocationCase{"G81 P4 Y100 G57 G55", 4, 500},
        // Face 0 reads its location from the P word itself.
        LocationCase{"G81 P0 X10 Y10 G54", 0, 0}, LocationCase{"G81 P0.25 X10 G54", 0, 0.25},
        LocationCase{"G81 P0.25 X10 G55", 0, 599.75},
        // Only exactly 1 to 4 choose X or Y; a rounded P reads P.
        LocationCase{"G81 P2.5 X10 G54", 2, 2.5}, LocationCase{"G81 P3.5 Y10 G54", 4, 3.5},
        LocationCase{"G81 P4.5 Y10 G54", 4, 4.5}, LocationCase{"G81 P0.9 X10 G54", 1, 0.9},
        LocationCase{"G81 P-0.5 X10 G54", 0, -0.5},
        // No exponent: D and E are words of the dialect.
        LocationCase{"G81 P1 X50 E3 G54", 1, 50}, LocationCase{"G81 P1 X50 D2 G54", 1, 50},
        LocationCase{"G81P4Y50E1G55", 4, 550}, LocationCase{"G81 E3 P1 X50 G54", 1, 50},
        LocationCase{"G81 P1 X 1 20 G54", 1, 120},
        LocationCase{"G81 P1 X1234.5678 G54", 1, 1234.5678},
        LocationCase{"G81 P1 X=1234.5678 G54", 1, 1234.5678},
        LocationCase{"G81 P1 X2440.13 G54", 1, 2440.13},
        LocationCase{"N10 G81 P1 X75 G54", 1, 75}));

TEST(GcodeHoleLine, FaceAboveFourIsSkipped) {
  GcodeReader reader;
  reader.ReadText("G81 P1 X5 G54\nG81 P7 X10 G54\nG81 P5.5 X10 G54\n");
  EXPECT_EQ(reader.holes.FaceHoleCount, (std::array<int, 5>{0, 1, 0, 0, 0}));
  EXPECT_FALSE(reader.holes.RejectedFile);
}

TEST(GcodeHoleLine, NegativeFaceIsSkipped) {
  GcodeReader reader;
  reader.ReadText("G81 P1 X5 G54\nG81 P-1 X10 G54\nG81 P-0.6 X10 G54\nG81 P2 X7 G54\n");
  EXPECT_EQ(reader.holes.FaceHoleCount, (std::array<int, 5>{0, 1, 1, 0, 0}));
}

TEST(GcodeHoleLine, HugePNumberIsSkipped) {
  GcodeReader reader;
  reader.ReadText("G81 P1 X5 G54\nG81 P99999999999999999999 X10 G54\nG81 P-99999999999 X1 G54\n");
  EXPECT_EQ(reader.holes.FaceHoleCount, (std::array<int, 5>{0, 1, 0, 0, 0}));
}

TEST(GcodeHoleLine, AnEleventhHoleOnAFaceIsSkippedAndReadingGoesOn) {
  GcodeReader reader;
  std::string text;
  for (int i = 1; i <= 12; ++i) text += "G81 P3 Y" + std::to_string(i * 10) + " G54\n";
  text += "G81 P4 Y77 G54\n";
  reader.ReadText(text);
  EXPECT_EQ(reader.Count(3), 10);
  EXPECT_EQ(reader.Hole(3, 1).Location, 10);
  EXPECT_EQ(reader.Hole(3, 10).Location, 100);
  EXPECT_EQ(reader.Count(4), 1);
  EXPECT_EQ(reader.Hole(4, 1).Location, 77);
}

TEST(GcodeHoleLine, HolesAreKeptInFileOrderPerFace) {
  GcodeReader reader;
  reader.ReadText(
      "G71 X800 Y600 Z18\n"
      "G81 P1 X100 E1 G54\n"
      "G81 P3 Y40 E1 G54\n"
      "G81 P1 X50 E1 G55\n"
      "G81 P1 X700 E1 G54\n");
  ASSERT_EQ(reader.Count(1), 3);
  EXPECT_EQ(reader.Hole(1, 1).Location, 100);
  EXPECT_EQ(reader.Hole(1, 2).Location, 0);  // counted, without a location
  EXPECT_EQ(reader.Hole(1, 3).Location, 700);
  EXPECT_EQ(reader.Count(3), 1);
}

TEST(GcodeHoleLine, LocationsTooLargeForADoubleAreZero) {
  GcodeReader reader;
  const std::string huge = "17" + std::string(307, '0');  // 1.7e308
  reader.ReadText("G71 X800 Y" + huge + " Z18\nG81 P3 Y-" + huge + " G55\n");
  ASSERT_EQ(reader.Count(3), 1);
  EXPECT_EQ(reader.Hole(3, 1).Location, 0);
}

TEST(GcodeLines, G54BeforeG81IsNotAHoleLine) {
  GcodeReader reader;
  reader.ReadText("G81 P1 X1 G54\nG54 G81 P1 X5\n");
  EXPECT_EQ(reader.Count(1), 1);
}

TEST(GcodeLines, OtherLinesAfterTheFirstAreSkipped) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\n%\nG0 X0 Y0\nT1 M6\n\nG81 P1 X5 G54\nM30\n");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.Count(1), 1);
  EXPECT_EQ(reader.state.LineNumber, 7);
}

TEST(GcodeLines, CrLfLineEndsReadTheSame) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\r\nG81 P4 X0 Y50 Z-5 E1 G55\r\n");
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelZ], 18);
  EXPECT_EQ(reader.Hole(4, 1).Location, 550);
}

TEST(GcodeMacroLine, BangLineBecomesAMacroLineWithAnEmptyName) {
  GcodeReader reader;
  reader.holes.MacroName = "OLD";
  reader.ReadText("!A=5\n");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.MacroParams[1], 5);
  EXPECT_EQ(reader.holes.MacroName, "");
}

TEST(GcodeMacroLine, SetsParametersAToIAndTheName) {
  GcodeReader reader;
  reader.ReadText("G150(SHELF 2) A10 B20 C30.5 I-4\n");
  EXPECT_EQ(reader.holes.MacroName, "SHELF 2");
  EXPECT_EQ(reader.holes.MacroParams[1], 10);
  EXPECT_EQ(reader.holes.MacroParams[2], 20);
  EXPECT_EQ(reader.holes.MacroParams[3], 30.5);
  EXPECT_EQ(reader.holes.MacroParams[9], -4);
}

TEST(GcodeMacroLine, ParametersAreEvaluatedInLetterOrder) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\nG150(P) B=a+l A=2\n");
  EXPECT_EQ(reader.holes.MacroParams[1], 2);
  EXPECT_EQ(reader.holes.MacroParams[2], 802);  // A is set before B
}

TEST(GcodeMacroLine, UpperCaseDAndEAreParametersFourAndFive) {
  GcodeReader reader;
  reader.ReadText("!D=4\n!E=3\nG150(X) A=D*2 B=E+1\n");
  EXPECT_EQ(reader.holes.MacroParams[1], 8);
  EXPECT_EQ(reader.holes.MacroParams[2], 4);
}

TEST(GcodeMacroLine, HOnAMacroLineReplacesThePanelYSize) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\nG150(X) H300\nG81 P4 Y50 G55\n");
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelY], 300);
  EXPECT_EQ(reader.Hole(4, 1).Location, 250);
}

TEST(GcodeMacroLine, ExpressionsUseTheParameters) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\n!A=32\nG81 P1 X=a*2+l/4 E1 G54\n");
  EXPECT_EQ(reader.Hole(1, 1).Location, 264);
}

TEST(GcodeMacroLine, TheLastMacroLineNamesTheMacro) {
  GcodeReader reader;
  reader.ReadText("G150(FIRST) A1\nG150(SECOND)\n");
  EXPECT_EQ(reader.holes.MacroName, "SECOND");
}

TEST(GcodeMacroLine, LineWithoutBothParenthesesIsIgnored) {
  GcodeReader reader;
  reader.ReadText("G150(KEEP) A1\nG150 A5\nG150(X A6\nG150 X) A7\nG150 )A8(\nG81 P1 X5 G54\n");
  EXPECT_EQ(reader.holes.MacroName, "KEEP");
  EXPECT_EQ(reader.holes.MacroParams[1], 1);
  EXPECT_EQ(reader.Count(1), 1);
  EXPECT_FALSE(reader.holes.RejectedFile);
}

TEST(GcodeMacroLine, BareG150OnTheFirstLineIsAccepted) {
  GcodeReader reader;
  reader.ReadText("G150\nG81 P1 X5 G54\n");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.Count(1), 1);
}

TEST(GcodeExpansion, KeepsTheRestOfTheLineSoTheHoleKeepsItsWorkOffset) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\nG81 P1 X=l/2 Y20 Z-5 E3 G54\n");
  ASSERT_EQ(reader.Count(1), 1);
  EXPECT_EQ(reader.Hole(1, 1).Location, 400);
}

TEST(GcodeExpansion, AWordRightAfterTheExpressionKeepsItsLetter) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\nG81 P3 X=l/2Y20 G54\n");
  EXPECT_EQ(reader.Hole(3, 1).Location, 20);
}

struct ExpansionCase {
  const char* line;
  const char* expanded;
};
std::ostream& operator<<(std::ostream& out, const ExpansionCase& c) { return out << c.line; }

class GcodeAssignmentExpansion : public ::testing::TestWithParam<ExpansionCase> {};

TEST_P(GcodeAssignmentExpansion, AfterTheMetricHeader) {
  MacroParameters params{};
  params[kParamPanelX] = 800;
  params[kParamPanelY] = 600;
  params[kParamPanelZ] = 18;
  params[1] = 5;
  EXPECT_EQ(ExpandAssignments(GetParam().line, params), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GcodeAssignmentExpansion,
    ::testing::Values(
        ExpansionCase{"G81 P1 X=l/2 Y20 Z-5 E3 G54", "G81 P1 X400 Y20 Z-5 E3 G54"},
        ExpansionCase{"X=l/2Y20", "X400 Y20"}, ExpansionCase{"X=l/2 + 3 Y1", "X403 Y1"},
        ExpansionCase{"X=l-20 Y10", "X780 Y10"}, ExpansionCase{"Y=h/4", "Y150"},
        ExpansionCase{"X=l/3", "X266.6666666666667"}, ExpansionCase{"X=1234.5678", "X1234.5678"},
        ExpansionCase{"X=0.1+0.2", "X0.30000000000000004"},
        ExpansionCase{"X=100000000000000000000*10", "X1000000000000000000000"},
        ExpansionCase{"X=1/0 Y=0-a", "X0 Y-5"}, ExpansionCase{"X=-0", "X0"},
        ExpansionCase{"X=Y20", "X0 Y20"}, ExpansionCase{"X= Y=s", "X0 Y18"},
        ExpansionCase{"G81 P1 X120 G54", "G81 P1 X120 G54"}, ExpansionCase{"!A=5", "G150() A5"},
        ExpansionCase{"!B=a*2", "G150() B10"}, ExpansionCase{"!", "G150() "},
        ExpansionCase{"G150(N) A=l/2 B=3", "G150(N) A=l/2 B=3"},
        ExpansionCase{"=5 G81 P1 X5 G54", ""}, ExpansionCase{"", ""}));

TEST(GcodeRefusal, FirstLineOfOnlyAPercentSignRefusesTheFile) {
  GcodeReader reader;
  reader.holes.ScannedFile = "/work/BEFORE";
  reader.ReadText("%\nG71 X800 Y600 Z18\nG81 P1 X5 G54\n", "/work/PART");
  EXPECT_TRUE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.FaceHoleCount, (std::array<int, 5>{}));
  EXPECT_EQ(reader.holes.MacroParams[kParamPanelX], 0);  // nothing after line 1 is read
  EXPECT_EQ(reader.state.LineNumber, 1);
  EXPECT_EQ(reader.state.ScanMode, kScanIdle);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/BEFORE");
  ASSERT_EQ(reader.asker.questions.size(), 1u);
  EXPECT_EQ(reader.asker.questions[0].title, "Alert!");
  EXPECT_EQ(reader.asker.questions[0].text,
            "         Source file PART\r    Is not of the correct file type.\r\r"
            "      Do you wish to delete it?");
}

class GcodeFirstLine : public ::testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(GcodeFirstLine, DecidesWhetherTheFileIsRead) {
  GcodeReader reader;
  reader.ReadText(std::string(GetParam().first) + "\nG81 P2 X5 G54\n");
  const bool accepted = GetParam().second;
  EXPECT_EQ(reader.holes.RejectedFile, !accepted) << GetParam().first;
  EXPECT_EQ(reader.Count(2), accepted ? 1 : 0) << GetParam().first;
  EXPECT_EQ(reader.asker.questions.size(), accepted ? 0u : 1u) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GcodeFirstLine,
    ::testing::Values(std::pair{"G81 P1 X5 G54", true}, std::pair{"G70 X24 Y18 Z0.75", true},
                      std::pair{"G71 X800 Y600 Z18", true}, std::pair{"G150(DOOR) A1", true},
                      std::pair{"!A=5", true}, std::pair{"G81 P9 X5 G54", true},
                      std::pair{"N1 G71 X800", true}, std::pair{"G81 E3 P1 X5", true},
                      std::pair{"%", false}, std::pair{"", false}, std::pair{"G0 X0 Y0", false},
                      std::pair{"G54 G81 P1 X5", false}, std::pair{"g81 P1 X5 G54", false},
                      std::pair{"(PROGRAM)", false}, std::pair{"G71.5 X800", false},
                      std::pair{"=G81 P1 X5", false}));

TEST(GcodeFiles, PanelSizesAndUnitsCarryIntoTheNextFile) {
  GcodeReader reader;
  reader.ReadText("G71 X800 Y600 Z18\nG150(DOOR) A3\nG81 P1 X100 G54\n", "/work/FIRST");
  reader.ReadText("G81 P4 X0 Y50 Z-5 E1 G55\n", "/work/SECOND");
  EXPECT_EQ(reader.Count(1), 0);  // the first file's holes are gone
  ASSERT_EQ(reader.Count(4), 1);
  EXPECT_EQ(reader.Hole(4, 1).Location, 550);
  EXPECT_EQ(reader.holes.MetricSource, 1);
  EXPECT_EQ(reader.holes.MacroName, "DOOR");
  EXPECT_EQ(reader.holes.MacroParams[1], 3);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/SECOND");
}

TEST(GcodeFiles, AnAcceptedFileClearsTheRefusalOfTheOneBefore) {
  GcodeReader reader;
  reader.ReadText("%\n", "/work/BAD");
  reader.ReadText("G81 P1 X5 G54\n", "/work/GOOD");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/GOOD");
}

TEST(GcodeFiles, EmptyFileIsAcceptedWithoutHoles) {
  GcodeReader reader;
  reader.ReadText("G81 P1 X5 G54\n", "/work/ONE");
  reader.ReadText("", "/work/EMPTY");
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.Count(1), 0);
  EXPECT_EQ(reader.holes.ScannedFile, "/work/EMPTY");
}

TEST(RoundHalfToEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfToEven(0.5), 0);
  EXPECT_EQ(RoundHalfToEven(1.5), 2);
  EXPECT_EQ(RoundHalfToEven(2.5), 2);
  EXPECT_EQ(RoundHalfToEven(3.5), 4);
  EXPECT_EQ(RoundHalfToEven(4.5), 4);
  EXPECT_EQ(RoundHalfToEven(-1.5), -2);
  EXPECT_EQ(RoundHalfToEven(2.4999), 2);
  EXPECT_EQ(RoundHalfToEven(2.5001), 3);
  EXPECT_EQ(RoundHalfToEven(-0.6), -1);
}

}  // namespace
}  // namespace tessaro
