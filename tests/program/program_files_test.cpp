#include "program/program_files.h"

#include <gtest/gtest.h>

#include "program/program_test_support.h"
#include "program/session.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::CrLfLines;
using testing::NoSayingOperator;
using testing::SmallTemplate;
using testing::SplitCrLf;
using testing::TempFolder;

class ProgramFiles : public ::testing::Test {
 protected:
  void UseRcm() { session.Settings().rcmFormat = true; }
  void FillRow(int row, std::string_view location, std::string_view drill, std::string_view dowel) {
    session.Table().SetCell(row, 1, location);
    session.Table().SetCell(row, 2, drill);
    session.Table().SetCell(row, 3, dowel);
  }

  TempFolder folder;
  NoSayingOperator asker;
  Session session{asker};
};

// A program as a translation writes it: comment, three holes, inch.
std::string LoadedRcmProgram() {
  return CrLfLines({"USERLEVELS,1,0",
                    "P2,0",
                    "P3,0",
                    "P4,0",
                    "P5,0",
                    "P6,0",
                    "P7,0",
                    "P8,0",
                    "P9,0",
                    "P10,0",
                    "P11,0",
                    "P12,0",
                    "P13,0",
                    "P14,0",
                    "\"Cut 2, \"\"oak\"\"\",7,8",
                    "P16,0",
                    "LOCK,1",
                    "P18,0",
                    "MET,0,0,0,-1.000000,9",
                    "HOL,1,0,0,12.500000,9",
                    "DRI,1,0,0,1.000000,9",
                    "DOW,1,0,0,0.000000,9",
                    "HOL,2,0,0,0.500000,9",
                    "DRI,2,0,0,0.000000,9",
                    "DOW,2,0,0,1.000000,9",
                    "HOL,3,0,0,12.700000,9",
                    "DRI,3,0,0,1.000000,9",
                    "DOW,3,0,0,1.000000,9",
                    "END"});
}

// ACC format: writing

TEST_F(ProgramFiles, SaveFileWritesTheAccLinesWithCrLf) {
  session.Table().Cmt1 = "SHELF";
  FillRow(1, "12.5", "1", "0");
  FillRow(2, "30", "0", "1");
  session.State().HoleCounter = 2;
  ASSERT_TRUE(session.SaveFile(folder.File("P.ACC")).ok());
  EXPECT_EQ(folder.Read("P.ACC"),
            "SHELF\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n2\r\n"
            "Hole 1\r\n12.5 1 0 0\r\nHole 2\r\n30. 0 0 1\r\n");
}

TEST_F(ProgramFiles, SaveFileWithNoHolesWritesTheCountZero) {
  session.State().HoleCounter = 0;
  ASSERT_TRUE(session.SaveFile(folder.File("E.ACC")).ok());
  EXPECT_EQ(folder.Read("E.ACC"), "\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n0\r\n");
}

TEST_F(ProgramFiles, SaveFileIntoAMissingFolderFailsNamingTheFile) {
  const Status status = session.SaveFile(folder.File("gone/P.ACC"));
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("P.ACC"), std::string::npos) << status.error();
}

struct AccHoleCase {
  const char* location;
  const char* drill;
  const char* dowel;
  const char* line;
};

class AccHoleLine : public ::testing::TestWithParam<AccHoleCase> {};

TEST_P(AccHoleLine, FollowsTheNumberPatterns) {
  ProgramTable table;
  table.SetCell(1, 1, GetParam().location);
  table.SetCell(1, 2, GetParam().drill);
  table.SetCell(1, 3, GetParam().dowel);
  EXPECT_EQ(SplitCrLf(FormatAccProgram(table, 1)).at(7), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Patterns, AccHoleLine,
                         ::testing::Values(AccHoleCase{"12", "1", "1", "12. 1 0 1"},
                                           AccHoleCase{"12.5", "1", "0", "12.5 1 0 0"},
                                           AccHoleCase{"0.33336", "0", "0", "0.3334 0 0 0"},
                                           AccHoleCase{"1.23454", "0", "0", "1.2345 0 0 0"},
                                           AccHoleCase{"", "", "", "0. 0 0 0"},
                                           AccHoleCase{"-7.25", "0", "0", "-7.25 0 0 0"},
                                           AccHoleCase{"12.6999998092651", "1", "1", "12.7 1 0 1"},
                                           AccHoleCase{"5", "0.5", "1.4", "5. 1 0 1"},
                                           AccHoleCase{"5", "-0.4", "2.6", "5. 0 0 3"},
                                           AccHoleCase{"abc", "x", "1e0", "0. 0 0 1"}));

TEST(AccComment, LineBreaksInTheCommentAreWrittenAsBlanks) {
  ProgramTable table;
  table.Cmt1 = "two\r\nlines";
  EXPECT_EQ(SplitCrLf(FormatAccProgram(table, 0)).at(0), "two  lines");
}

// ACC format: loading

TEST_F(ProgramFiles, LoadsAnAccProgramIntoTheTable) {
  const std::string path =
      folder.Write("P.ACC",
                   "SIDE PANEL\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n2\r\n"
                   "Hole 1\r\n12.5 1 0 0\r\nHole 2\r\n30. 0 0 1\r\n");
  session.Table().Cmt2 = "stale";
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  const ProgramTable& table = session.Table();
  EXPECT_EQ(table.Cmt1, "SIDE PANEL");
  EXPECT_EQ(table.Cmt2, "");
  EXPECT_EQ(table.FrameCaption, "P.ACC");
  EXPECT_EQ(session.State().HoleCounter, 2);
  EXPECT_EQ(table.GetCell(1, 1), "12.5");
  EXPECT_EQ(table.GetCell(1, 2), "1");
  EXPECT_EQ(table.GetCell(1, 3), "0");
  EXPECT_EQ(table.GetCell(2, 1), "30.");
  EXPECT_EQ(table.GetCell(2, 2), "0");
  EXPECT_EQ(table.GetCell(2, 3), "1");
  EXPECT_EQ(table.GetCell(3, 1), "");
  EXPECT_EQ(session.State().ScanMode, kScanIdle);
}

TEST_F(ProgramFiles, AccCommentWhoseFirstWordHoldsHoleDoesNotShiftTheHoles) {
  const std::string path =
      folder.Write("P.ACC",
                   "HOLES-LEFT side\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n1\r\n"
                   "Hole 1\r\n42. 1 0 1\r\n");
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  EXPECT_EQ(session.Table().Cmt1, "HOLES-LEFT side");
  EXPECT_EQ(session.State().HoleCounter, 1);
  EXPECT_EQ(session.Table().GetCell(1, 1), "42.");
  EXPECT_EQ(session.Table().GetCell(1, 3), "1");
}

TEST_F(ProgramFiles, AccProgramWithMoreThanTenHolesLoadsAndSavesWhole) {
  std::string text = "MANY\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n12\r\n";
  for (int hole = 1; hole <= 12; ++hole) {
    text += "Hole " + std::to_string(hole) + "\r\n" + std::to_string(hole * 10) + ". 1 0 0\r\n";
  }
  const std::string path = folder.Write("MANY.ACC", text);
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  EXPECT_EQ(session.State().HoleCounter, 12);
  EXPECT_EQ(session.Table().RowCount(), 12);
  EXPECT_EQ(session.Table().GetCell(12, 1), "120.");

  ASSERT_TRUE(session.SaveFile(folder.File("COPY.ACC")).ok());
  EXPECT_EQ(folder.Read("COPY.ACC"), text);
}

TEST_F(ProgramFiles, AccLoadThenSaveGivesTheSameBytes) {
  const std::string text =
      "Cut 2, \"oak\" side\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n3\r\n"
      "Hole 1\r\n12.5 1 0 0\r\nHole 2\r\n30. 0 0 1\r\nHole 3\r\n0.3333 1 0 1\r\n";
  const std::string path = folder.Write("P.ACC", text);
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  ASSERT_TRUE(session.SaveFile(path).ok());
  EXPECT_EQ(folder.Read("P.ACC"), text);
}

// Loading in general

TEST_F(ProgramFiles, LoadingNothingOnlyClearsTheTable) {
  session.Table().Cmt1 = "x";
  session.Table().FrameCaption = "OLD.ACC";
  session.Table().SetCell(1, 1, "5");
  ASSERT_TRUE(session.LoadProgramFile("").ok());
  EXPECT_EQ(session.Table().Cmt1, "");
  EXPECT_EQ(session.Table().GetCell(1, 1), "");
  EXPECT_EQ(session.Table().FrameCaption, "OLD.ACC");
}

TEST_F(ProgramFiles, LoadingAMissingFileFailsNamingItAndLeavesTheTableCleared) {
  session.Table().SetCell(1, 1, "5");
  const Status status = session.LoadProgramFile(folder.File("NONE.RCM"));
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("NONE.RCM"), std::string::npos) << status.error();
  EXPECT_EQ(session.Table().GetCell(1, 1), "");
  EXPECT_EQ(session.State().ScanMode, kScanIdle);
}

// RCM format: loading

TEST_F(ProgramFiles, LoadsAnRcmProgramIntoTheTable) {
  UseRcm();
  const std::string path = folder.Write("PART1.RCM", LoadedRcmProgram());
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  const ProgramTable& table = session.Table();
  EXPECT_EQ(table.FrameCaption, "PART1.RCM");
  EXPECT_EQ(table.Cmt1, "Cut 2, \"oak\"");
  EXPECT_TRUE(table.UnitsEnabled);
  EXPECT_TRUE(table.Inch);
  EXPECT_EQ(session.State().HoleCounter, 3);
  EXPECT_EQ(table.GetCell(1, 1), "12.5");
  EXPECT_EQ(table.GetCell(1, 2), "1");
  EXPECT_EQ(table.GetCell(1, 3), "0");
  EXPECT_EQ(table.GetCell(2, 1), ".5");
  EXPECT_EQ(table.GetCell(2, 2), "0");
  EXPECT_EQ(table.GetCell(2, 3), "1");
  EXPECT_EQ(table.GetCell(3, 1), "12.7");
  EXPECT_EQ(table.GetCell(4, 1), "");
  EXPECT_EQ(table.GetCell(0, 1), "Location");
}

struct UnitCase {
  const char* metValue;
  bool inch;
};

class RcmUnitRecord : public ProgramFiles, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(RcmUnitRecord, SetsTheUnitAndEnablesIt) {
  UseRcm();
  std::string text = SmallTemplate();
  const std::string met = "MET,0,0,0,1.000000,9";
  text.replace(text.find(met), met.size(), std::string("MET,0,0,0,") + GetParam().metValue + ",9");
  session.Table().Inch = !GetParam().inch;
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("U.RCM", text)).ok());
  EXPECT_EQ(session.Table().Inch, GetParam().inch);
  EXPECT_TRUE(session.Table().UnitsEnabled);
}

INSTANTIATE_TEST_SUITE_P(Values, RcmUnitRecord,
                         ::testing::Values(UnitCase{"1.000000", true}, UnitCase{"-1.000000", true},
                                           UnitCase{"0.000000", false}, UnitCase{"", false}));

TEST_F(ProgramFiles, RcmProgramWithoutUnitRecordLeavesTheUnitsDisabled) {
  UseRcm();
  session.Table().UnitsEnabled = true;
  std::string text = SmallTemplate();
  text.erase(text.find("MET,"), std::string("MET,0,0,0,1.000000,9\r\n").size());
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("U.RCM", text)).ok());
  EXPECT_FALSE(session.Table().UnitsEnabled);
}

TEST_F(ProgramFiles, RcmProgramWithoutUserlevelsLoadsAsAnEmptyProgram) {
  UseRcm();
  std::string text = LoadedRcmProgram();
  text.replace(0, 10, "USERLEVEL ");
  session.Table().SetCell(1, 1, "99");
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("BAD.RCM", text)).ok());
  EXPECT_EQ(session.Table().Cmt1, "");
  EXPECT_EQ(session.Table().GetCell(1, 1), "");
  EXPECT_EQ(session.State().HoleCounter, 0);
  EXPECT_TRUE(asker.questions.empty());
}

TEST_F(ProgramFiles, UserlevelsIsReadInAnyLetterCaseWithBlanksAround) {
  UseRcm();
  std::string text = LoadedRcmProgram();
  text.replace(0, 10, "  userLevels ");
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", text)).ok());
  EXPECT_EQ(session.Table().GetCell(1, 1), "12.5");
}

TEST_F(ProgramFiles, FlagRecordsBeforeTheFirstHoleLeaveTheCaptionRow) {
  UseRcm();
  std::string text = SmallTemplate();
  text.insert(text.find("HOL,1"), "DRI,0,0,0,1.000000\r\nDOW,0,0,0,1.000000\r\n");
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", text)).ok());
  EXPECT_EQ(session.Table().GetCell(0, 2), "Drill");
  EXPECT_EQ(session.Table().GetCell(0, 3), "Dowel");
  EXPECT_EQ(session.State().HoleCounter, 3);
}

TEST_F(ProgramFiles, RecordKindsAreReadInAnyLetterCaseFromLineNineteenOn) {
  UseRcm();
  std::string text = SmallTemplate();
  text.replace(text.find("HOL,1,0,0,0.000000"), 18, "hole,1,0,0,4.250000");
  // A HOL record above line 19 is not a record.
  text.replace(text.find("P16,0"), 5, "HOL,0,0,0,9.000000");
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", text)).ok());
  EXPECT_EQ(session.Table().GetCell(1, 1), "4.25");
  EXPECT_EQ(session.State().HoleCounter, 3);
}

TEST_F(ProgramFiles, TemplateLoadsUnderTheCaptionUntitled) {
  UseRcm();
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("template.rcm", SmallTemplate())).ok());
  EXPECT_EQ(session.Table().FrameCaption, "Untitled.RCM");
  EXPECT_EQ(session.Table().Cmt1, "Template");
}

TEST_F(ProgramFiles, RcmProgramWithMoreThanTenHolesLoadsThemAll) {
  UseRcm();
  std::string text = SmallTemplate();
  std::string extra;
  for (int hole = 4; hole <= 12; ++hole) {
    extra += "HOL," + std::to_string(hole) + ",0,0," + std::to_string(hole) + ".000000,9\r\n";
  }
  text.insert(text.find("END"), extra);
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", text)).ok());
  EXPECT_EQ(session.State().HoleCounter, 12);
  EXPECT_EQ(session.Table().GetCell(12, 1), "12");
}

struct CellTextCase {
  const char* field;
  const char* text;
};

class RcmCellTextOf : public ::testing::TestWithParam<CellTextCase> {};

TEST_P(RcmCellTextOf, IsTheShortNumberWithoutLeadingZero) {
  EXPECT_EQ(RcmCellText(GetParam().field), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RcmCellTextOf,
    ::testing::Values(CellTextCase{"12.500000", "12.5"}, CellTextCase{"1.000000", "1"},
                      CellTextCase{"0.500000", ".5"}, CellTextCase{"-0.250000", "-.25"},
                      CellTextCase{"12.700000", "12.7"}, CellTextCase{"0.000000", "0"},
                      CellTextCase{"-3.000000", "-3"}, CellTextCase{" 2 5.5", "25.5"},
                      CellTextCase{"", "0"}, CellTextCase{"x", "0"}));

// The comment field

struct CommentCase {
  const char* line;
  const char* comment;
};

class CommentLine : public ::testing::TestWithParam<CommentCase> {};

TEST_P(CommentLine, GivesTheCommentOfFieldOne) {
  EXPECT_EQ(ReadRcmComment(GetParam().line), GetParam().comment);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommentLine,
                         ::testing::Values(CommentCase{"\"Template\",7,8", "Template"},
                                           CommentCase{"\"Cut 2, oak\",7,8", "Cut 2, oak"},
                                           CommentCase{"\"say \"\"hi\"\"\",7", "say \"hi\""},
                                           CommentCase{"\"say \"hi\" now\",7", "say \"hi\" now"},
                                           CommentCase{"\"a\",\"b\",7", "a"},
                                           CommentCase{"\"\",7,8", ""},
                                           CommentCase{"\"only\"", "only"},
                                           CommentCase{"Bare words,7", "Bare words"},
                                           CommentCase{"\"open,7,8", "open"}, CommentCase{"", ""},
                                           CommentCase{"  \"indented\",7", "indented"}));

TEST(CommentReplacement, QuotesTheCommentAndKeepsTheOtherFields) {
  EXPECT_EQ(ReplaceRcmComment("\"Template\",7,8", "Side"), "\"Side\",7,8");
  EXPECT_EQ(ReplaceRcmComment("\"Template\",7,8", "a, \"b\""), "\"a, \"\"b\"\"\",7,8");
  EXPECT_EQ(ReplaceRcmComment("\"a,b\",\"x\",8", ""), "\"\",\"x\",8");
  EXPECT_EQ(ReplaceRcmComment("Bare,7", "New"), "\"New\",7");
  EXPECT_EQ(ReplaceRcmComment("\"open,7", "x"), "\"x\",7");
  EXPECT_EQ(ReplaceRcmComment("", "x"), "\"x\"");
  EXPECT_EQ(ReplaceRcmComment("\"T\",7", "two\r\nlines"), "\"two  lines\",7");
}

TEST(CommentReplacement, ReadsBackEveryComment) {
  for (const char* comment : {"", "plain", "a,b", "\"", "\"\"", "x\",y", "\",", "end\"", "\"start",
                              "say \"hi\", now", ",,,", "'single'"}) {
    const std::string line = ReplaceRcmComment("\"Template\",7,8", comment);
    EXPECT_EQ(ReadRcmComment(line), comment) << line;
    EXPECT_EQ(line.substr(line.size() - 4), ",7,8") << line;
  }
}

// RCM format: saving through a base program

TEST_F(ProgramFiles, SaveThroughBaseWritesTheTableIntoTheBaseProgram) {
  UseRcm();
  const std::string base = folder.Write("BASE.RCM", SmallTemplate());
  session.Table().Cmt1 = "Side, left";
  session.Table().Inch = false;
  FillRow(1, "12.5", "1", "0");
  FillRow(2, "-3", "0", "1");
  FillRow(3, "0.1234567", "1", "1");
  const SaveOutcome outcome = session.SaveThroughBase(base, folder.File("OUT.RCM"));
  ASSERT_TRUE(outcome.status.ok()) << outcome.status.error();
  EXPECT_EQ(outcome.path, folder.File("OUT.RCM"));
  EXPECT_EQ(folder.Read("OUT.RCM"),
            "USERLEVELS,1,0\r\nP2,0\r\nP3,0\r\nP4,0\r\nP5,0\r\nP6,0\r\nP7,0\r\nP8,0\r\nP9,0\r\n"
            "P10,0\r\nP11,0\r\nP12,0\r\nP13,0\r\nP14,0\r\n"
            "\"Side, left\",7,8\r\n"
            "P16,0\r\nLOCK,1\r\nP18,0\r\n"
            "MET,0,0,0,0.000000,9\r\n"
            "HOL,1,0,0,12.500000,9\r\nDRI,1,0,0,1.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
            "HOL,2,0,0,-3.000000,9\r\nDRI,2,0,0,0.000000,9\r\nDOW,2,0,0,1.000000,9\r\n"
            "HOL,3,0,0,0.123457,9\r\nDRI,3,0,0,1.000000,9\r\nDOW,3,0,0,1.000000,9\r\n"
            "END\r\n");
  EXPECT_EQ(folder.Read("BASE.RCM"), SmallTemplate());
  EXPECT_EQ(session.State().ScanMode, kScanIdle);
}

TEST_F(ProgramFiles, SaveThroughBaseWritesInchAsMinusOne) {
  UseRcm();
  const std::string base = folder.Write("BASE.RCM", SmallTemplate());
  session.Table().Inch = true;
  ASSERT_TRUE(session.SaveThroughBase(base, "").status.ok());
  EXPECT_EQ(SplitCrLf(folder.Read("BASE.RCM")).at(18), "MET,0,0,0,-1.000000,9");
}

TEST_F(ProgramFiles, SaveWithoutTargetWritesBackIntoTheBaseProgram) {
  UseRcm();
  const std::string base = folder.Write("P1.RCM", SmallTemplate());
  FillRow(1, "7", "1", "1");
  const SaveOutcome outcome = session.SaveThroughBase(base, "");
  ASSERT_TRUE(outcome.status.ok());
  EXPECT_EQ(outcome.path, base);
  EXPECT_EQ(SplitCrLf(folder.Read("P1.RCM")).at(19), "HOL,1,0,0,7.000000,9");
}

TEST_F(ProgramFiles, TenHoleRecordsFromThreeRowsWriteEmptyHolesFourToTen) {
  UseRcm();
  std::string text = SmallTemplate();
  std::string extra;
  for (int hole = 4; hole <= 10; ++hole) {
    const std::string n = std::to_string(hole);
    extra += "HOL," + n + ",0,0,5.000000,9\r\nDRI," + n + ",0,0,1.000000,9\r\nDOW," + n +
             ",0,0,1.000000,9\r\n";
  }
  text.insert(text.find("END"), extra);
  const std::string base = folder.Write("BASE.RCM", text);
  session.Table().ClearTable();
  FillRow(1, "10", "1", "1");
  FillRow(2, "20", "1", "1");
  FillRow(3, "30", "1", "1");
  ASSERT_TRUE(session.SaveThroughBase(base, folder.File("OUT.RCM")).status.ok());
  const std::vector<std::string> lines = SplitCrLf(folder.Read("OUT.RCM"));
  ASSERT_EQ(lines.size(), 50u);
  EXPECT_EQ(lines[25], "HOL,3,0,0,30.000000,9");
  EXPECT_EQ(lines[28], "HOL,4,0,0,0.000000,9");
  EXPECT_EQ(lines[29], "DRI,4,0,0,0.000000,9");
  EXPECT_EQ(lines[30], "DOW,4,0,0,0.000000,9");
  EXPECT_EQ(lines[46], "HOL,10,0,0,0.000000,9");
  EXPECT_EQ(lines[48], "DOW,10,0,0,0.000000,9");
}

TEST_F(ProgramFiles, HoleRecordsPastTheTableAreWrittenAsEmptyHoles) {
  UseRcm();
  std::string text = SmallTemplate();
  std::string extra;
  for (int hole = 4; hole <= 11; ++hole) {
    extra += "HOL," + std::to_string(hole) + ",0,0,5.000000,9\r\nDRI," + std::to_string(hole) +
             ",0,0,1.000000,9\r\n";
  }
  text.insert(text.find("END"), extra);
  const std::string base = folder.Write("BASE.RCM", text);
  FillRow(10, "100", "1", "1");
  ASSERT_TRUE(session.SaveThroughBase(base, folder.File("OUT.RCM")).status.ok());
  const std::vector<std::string> lines = SplitCrLf(folder.Read("OUT.RCM"));
  ASSERT_EQ(lines.size(), 45u);
  EXPECT_EQ(lines[40], "HOL,10,0,0,100.000000,9");
  EXPECT_EQ(lines[41], "DRI,10,0,0,1.000000,9");
  EXPECT_EQ(lines[42], "HOL,11,0,0,0.000000,9");
  EXPECT_EQ(lines[43], "DRI,11,0,0,0.000000,9");
}

TEST_F(ProgramFiles, FlagRecordsBeforeTheFirstHoleSaveZero) {
  UseRcm();
  std::string text = SmallTemplate();
  text.insert(text.find("HOL,1"), "DRI,0,0,0,1.000000\r\n");
  const std::string base = folder.Write("BASE.RCM", text);
  ASSERT_TRUE(session.SaveThroughBase(base, folder.File("OUT.RCM")).status.ok());
  EXPECT_EQ(SplitCrLf(folder.Read("OUT.RCM")).at(19), "DRI,0,0,0,0.000000");
}

TEST_F(ProgramFiles, SavingOverTheTemplateWritesUntitledBesideIt) {
  UseRcm();
  const std::string base = folder.Write("template.rcm", SmallTemplate());
  FillRow(1, "7", "1", "1");
  const SaveOutcome outcome = session.SaveThroughBase(base, "");
  ASSERT_TRUE(outcome.status.ok());
  EXPECT_EQ(outcome.path, folder.File("Untitled.RCM"));
  EXPECT_EQ(folder.Read("template.rcm"), SmallTemplate());
  EXPECT_EQ(SplitCrLf(folder.Read("Untitled.RCM")).at(19), "HOL,1,0,0,7.000000,9");
}

TEST_F(ProgramFiles, SaveAsATargetNamedTemplateWritesUntitledInThatFolder) {
  UseRcm();
  const std::string base = folder.Write("BASE.RCM", SmallTemplate());
  folder.MakeFolder("other");
  const SaveOutcome outcome = session.SaveThroughBase(base, folder.File("other/Template.Rcm"));
  ASSERT_TRUE(outcome.status.ok());
  EXPECT_EQ(outcome.path, folder.File("other/Untitled.RCM"));
  EXPECT_TRUE(folder.Exists("other/Untitled.RCM"));
  EXPECT_FALSE(folder.Exists("other/Template.Rcm"));
}

TEST_F(ProgramFiles, SaveThroughAMissingBaseFailsNamingItAndWritesNothing) {
  UseRcm();
  const SaveOutcome outcome =
      session.SaveThroughBase(folder.File("NONE.RCM"), folder.File("OUT.RCM"));
  ASSERT_FALSE(outcome.status.ok());
  EXPECT_NE(outcome.status.error().find("NONE.RCM"), std::string::npos);
  EXPECT_FALSE(folder.Exists("OUT.RCM"));
}

TEST_F(ProgramFiles, RcmLoadThenSaveGivesTheSameBytes) {
  UseRcm();
  const std::string path = folder.Write("P.RCM", LoadedRcmProgram());
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  ASSERT_TRUE(session.SaveThroughBase(path, "").status.ok());
  EXPECT_EQ(folder.Read("P.RCM"), LoadedRcmProgram());
}

TEST_F(ProgramFiles, CommentWithCommasAndQuotesSurvivesSaveAndLoad) {
  UseRcm();
  const std::string base = folder.Write("BASE.RCM", SmallTemplate());
  const std::string comment = "Cut 2, \"oak\", then \",\" sand";
  session.Table().Cmt1 = comment;
  ASSERT_TRUE(session.SaveThroughBase(base, folder.File("OUT.RCM")).status.ok());
  ASSERT_TRUE(session.LoadProgramFile(folder.File("OUT.RCM")).ok());
  EXPECT_EQ(session.Table().Cmt1, comment);
  ASSERT_TRUE(
      session.SaveThroughBase(folder.File("OUT.RCM"), folder.File("AGAIN.RCM")).status.ok());
  EXPECT_EQ(folder.Read("AGAIN.RCM"), folder.Read("OUT.RCM"));
}

TEST(SaveTarget, IsTheBaseWhenEmptyAndNeverTheTemplate) {
  EXPECT_EQ(ResolveSaveTarget("", "/p/A1.RCM"), "/p/A1.RCM");
  EXPECT_EQ(ResolveSaveTarget("/q/B.RCM", "/p/A1.RCM"), "/q/B.RCM");
  EXPECT_EQ(ResolveSaveTarget("", "/p/TEMPLATE.RCM"), "/p/Untitled.RCM");
  EXPECT_EQ(ResolveSaveTarget("/q/tEmPlAtE.rCm", "/p/A1.RCM"), "/q/Untitled.RCM");
  EXPECT_EQ(ResolveSaveTarget("/q/TEMPLATE.RCM.bak", "/p/A1.RCM"), "/q/TEMPLATE.RCM.bak");
}

}  // namespace
}  // namespace tessaro
