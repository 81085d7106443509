#include "program/program_files.h"

#include <gtest/gtest.h>

#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::kRcmHead;
using testing::kRcmLock;
using testing::RcmProgram;
using testing::SmallTemplate;
using testing::SplitCrLf;

class ProgramFiles : public ::testing::Test {
 protected:
  void UseRcm() { session.Settings().rcmFormat = true; }
  void FillRow(int row, std::string_view location, std::string_view drill, std::string_view dowel) {
    session.Table().SetCell(row, 1, location);
    session.Table().SetCell(row, 2, drill);
    session.Table().SetCell(row, 3, dowel);
  }

  testing::TempFolder folder;
  testing::RecordingOperator asker;
  Session session{asker};
};

// ACC format

TEST_F(ProgramFiles, SaveFileWritesTheAccLinesWithCrLf) {
  session.Table().Cmt1 = "SHELF\r\nTWO";
  FillRow(1, "12.5", "1", "0");
  FillRow(2, "30", "0", "1");
  session.State().HoleCounter = 2;
  ASSERT_TRUE(session.SaveFile(folder.File("P.ACC")).ok());
  EXPECT_EQ(folder.Read("P.ACC"),
            "SHELF  TWO\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n2\r\n"
            "Hole 1\r\n12.5 1 0 0\r\nHole 2\r\n30. 0 0 1\r\n");

  const Status failed = session.SaveFile(folder.File("gone/Q.ACC"));
  ASSERT_FALSE(failed.ok());
  EXPECT_NE(failed.error().find("Q.ACC"), std::string::npos) << failed.error();
}

TEST(AccHoleLine, FollowsTheNumberPatterns) {
  const struct {
    const char *location, *drill, *dowel, *line;
  } cases[] = {
      {"12", "1", "1", "12. 1 0 1"},         {"0.33336", "0", "0", "0.3334 0 0 0"},
      {"1.23454", "0", "0", "1.2345 0 0 0"}, {"", "", "", "0. 0 0 0"},
      {"-7.25", "0", "0", "-7.25 0 0 0"},    {"12.6999998092651", "1", "1", "12.7 1 0 1"},
      {"5", "0.5", "1.4", "5. 1 0 1"},       {"5", "-0.4", "2.6", "5. 0 0 3"},
      {"abc", "x", "1e0", "0. 0 0 1"},
  };
  for (const auto& c : cases) {
    ProgramTable table;
    table.SetCell(1, 1, c.location);
    table.SetCell(1, 2, c.drill);
    table.SetCell(1, 3, c.dowel);
    EXPECT_EQ(SplitCrLf(FormatAccProgram(table, 1)).at(7), c.line) << c.location;
  }
}

TEST_F(ProgramFiles, AccLoadFillsTheTableAndSavesTheSameBytes) {
  // A first word holding HOLE is still the comment only.
  const std::string text =
      "HOLES-LEFT, \"oak\"\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n2\r\n"
      "Hole 1\r\n12.5 1 0 0\r\nHole 2\r\n0.3333 0 0 1\r\n";
  const std::string path = folder.Write("P.ACC", text);
  session.Table().Cmt2 = "stale";
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  const ProgramTable& table = session.Table();
  EXPECT_EQ(table.Cmt1, "HOLES-LEFT, \"oak\"");
  EXPECT_EQ(table.Cmt2, "");
  EXPECT_EQ(table.FrameCaption, "P.ACC");
  EXPECT_EQ(session.State().HoleCounter, 2);
  EXPECT_EQ(table.GetCell(1, 1), "12.5");
  EXPECT_EQ(table.GetCell(1, 2), "1");
  EXPECT_EQ(table.GetCell(2, 1), "0.3333");
  EXPECT_EQ(table.GetCell(2, 3), "1");
  EXPECT_EQ(table.GetCell(3, 1), "");
  EXPECT_EQ(session.State().ScanMode, kScanIdle);

  ASSERT_TRUE(session.SaveFile(path).ok());
  EXPECT_EQ(folder.Read("P.ACC"), text);
}

TEST_F(ProgramFiles, AccProgramWithMoreThanTenHolesLoadsAndSavesWhole) {
  std::string text = "MANY\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n12\r\n";
  for (int hole = 1; hole <= 12; ++hole) {
    text += "Hole " + std::to_string(hole) + "\r\n" + std::to_string(hole * 10) + ". 1 0 0\r\n";
  }
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("MANY.ACC", text)).ok());
  EXPECT_EQ(session.Table().RowCount(), 12);
  EXPECT_EQ(session.Table().GetCell(12, 1), "120.");
  ASSERT_TRUE(session.SaveFile(folder.File("COPY.ACC")).ok());
  EXPECT_EQ(folder.Read("COPY.ACC"), text);
}

TEST_F(ProgramFiles, LoadingAMissingFileFailsNamingItAndClearsTheTable) {
  session.Table().SetCell(1, 1, "5");
  const Status status = session.LoadProgramFile(folder.File("NONE.RCM"));
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("NONE.RCM"), std::string::npos) << status.error();
  EXPECT_EQ(session.Table().GetCell(1, 1), "");
  EXPECT_EQ(session.State().ScanMode, kScanIdle);
}

// RCM format: loading

// A program as a translation writes it: a comment with a comma and quotes, three holes, inch.
const std::string kInchProgram =
    RcmProgram("\"Cut 2, \"\"oak\"\"\",7,8",
               "MET,0,0,0,-1.000000,9\r\n"
               "HOL,1,0,0,12.500000,9\r\nDRI,1,0,0,1.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
               "HOL,2,0,0,0.500000,9\r\nDRI,2,0,0,0.000000,9\r\nDOW,2,0,0,1.000000,9\r\n"
               "HOL,3,0,0,12.700000,9\r\nDRI,3,0,0,1.000000,9\r\nDOW,3,0,0,1.000000,9\r\n");

TEST_F(ProgramFiles, RcmLoadFillsTheTableAndSavesTheSameBytes) {
  UseRcm();
  const std::string path = folder.Write("PART1.RCM", kInchProgram);
  session.Table().Inch = false;
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  const ProgramTable& table = session.Table();
  EXPECT_EQ(table.FrameCaption, "PART1.RCM");
  EXPECT_EQ(table.Cmt1, "Cut 2, \"oak\"");
  EXPECT_TRUE(table.UnitsEnabled);
  EXPECT_TRUE(table.Inch);
  EXPECT_EQ(session.State().HoleCounter, 3);
  EXPECT_EQ(table.GetCell(1, 1), "12.5");
  EXPECT_EQ(table.GetCell(1, 3), "0");
  EXPECT_EQ(table.GetCell(2, 1), ".5");
  EXPECT_EQ(table.GetCell(2, 2), "0");
  EXPECT_EQ(table.GetCell(3, 1), "12.7");
  EXPECT_EQ(table.GetCell(3, 3), "1");
  EXPECT_EQ(table.GetCell(4, 1), "");

  const SaveOutcome saved = session.SaveThroughBase(path, "");
  ASSERT_TRUE(saved.status.ok()) << saved.status.error();
  EXPECT_EQ(saved.path, path);
  EXPECT_EQ(folder.Read("PART1.RCM"), kInchProgram);
}

TEST_F(ProgramFiles, RcmUnitRecordSetsAndEnablesTheUnit) {
  const struct {
    const char* met;
    bool inch;
    bool enabled;
  } cases[] = {{"MET,0,0,0,1.000000,9", true, true},
               {"MET,0,0,0,0.000000,9", false, true},
               {"MET,0,0,0,,9", false, true},
               {"P19", true, false}};  // no unit record: the unit stays
  UseRcm();
  for (const auto& c : cases) {
    std::string text = SmallTemplate();
    text.replace(text.find("MET,0,0,0,1.000000,9"), 20, c.met);
    session.Table().Inch = c.enabled ? !c.inch : c.inch;
    session.Table().UnitsEnabled = !c.enabled;
    ASSERT_TRUE(session.LoadProgramFile(folder.Write("U.RCM", text)).ok());
    EXPECT_EQ(session.Table().Inch, c.inch) << c.met;
    EXPECT_EQ(session.Table().UnitsEnabled, c.enabled) << c.met;
  }
}

TEST_F(ProgramFiles, ProgramWithoutUserlevelsOnLineOneLoadsEmpty) {
  UseRcm();
  std::string text = kInchProgram;
  text.replace(0, 10, "USERLEVEL ");
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", text)).ok());
  EXPECT_EQ(session.Table().GetCell(1, 1), "");
  EXPECT_EQ(session.Table().Cmt1, "");
  EXPECT_TRUE(asker.questions.empty());
}

TEST_F(ProgramFiles, OnlyRecordsFromLineNineteenAfterTheFirstHoleFillRows) {
  UseRcm();
  std::string text = SmallTemplate();
  text.replace(text.find("HOL,1,0,0,0.000000"), 18, "hole,1,0,0,4.250000");
  text.insert(text.find("hole,1"), "DRI,0,0,0,1.000000\r\nDOW,0,0,0,1.000000\r\n");
  text.replace(text.find("P16,0"), 5, "HOL,0,0,0,9.000000");
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", text)).ok());
  EXPECT_EQ(session.Table().GetCell(0, 2), "Drill");
  EXPECT_EQ(session.Table().GetCell(0, 3), "Dowel");
  EXPECT_EQ(session.Table().GetCell(1, 1), "4.25");
  EXPECT_EQ(session.State().HoleCounter, 3);
}

TEST(RcmCellText, IsTheShortNumberWithoutLeadingZero) {
  const std::pair<const char*, const char*> cases[] = {
      {"12.500000", "12.5"}, {"1.000000", "1"},   {"0.500000", ".5"}, {"-0.250000", "-.25"},
      {"0.000000", "0"},     {"-3.000000", "-3"}, {" 2 5.5", "25.5"}, {"x", "0"}};
  for (const auto& [field, text] : cases) EXPECT_EQ(RcmCellText(field), text) << field;
}

// The comment field

TEST(RcmComment, IsReadFromFieldOneAndReplacedKeepingTheOtherFields) {
  const std::pair<const char*, const char*> read[] = {{"\"say \"\"hi\"\"\",7", "say \"hi\""},
                                                      {"\"say \"hi\" now\",7", "say \"hi\" now"},
                                                      {"\"a\",\"b\",7", "a"},
                                                      {"Bare words,7", "Bare words"},
                                                      {"\"open,7,8", "open"},
                                                      {"  \"indented\",7", "indented"}};
  for (const auto& [line, comment] : read) EXPECT_EQ(ReadRcmComment(line), comment) << line;

  EXPECT_EQ(ReplaceRcmComment("\"a,b\",\"x\",8", ""), "\"\",\"x\",8");
  EXPECT_EQ(ReplaceRcmComment("Bare,7", "New"), "\"New\",7");
  EXPECT_EQ(ReplaceRcmComment("\"T\",7", "two\r\nlines"), "\"two  lines\",7");
  for (const char* comment : {"", "a,b", "\"", "\"\"", "x\",y", "\",", "end\"", "\"start", ",,,"}) {
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
            std::string(kRcmHead) + "\"Side, left\",7,8\r\n" + std::string(kRcmLock) +
                "MET,0,0,0,0.000000,9\r\n"
                "HOL,1,0,0,12.500000,9\r\nDRI,1,0,0,1.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
                "HOL,2,0,0,-3.000000,9\r\nDRI,2,0,0,0.000000,9\r\nDOW,2,0,0,1.000000,9\r\n"
                "HOL,3,0,0,0.123457,9\r\nDRI,3,0,0,1.000000,9\r\nDOW,3,0,0,1.000000,9\r\n"
                "END\r\n");
  EXPECT_EQ(folder.Read("BASE.RCM"), SmallTemplate());
  EXPECT_EQ(session.State().ScanMode, kScanIdle);
}

TEST_F(ProgramFiles, SaveThroughBaseWritesEmptyHolesPastTheTenthRowAndBeforeTheFirstHole) {
  UseRcm();
  std::string text = testing::ElevenHoleTemplate();
  text.insert(text.find("HOL,1"), "DRI,0,0,0,1.000000\r\n");
  const std::string base = folder.Write("BASE.RCM", text);
  FillRow(1, "10", "1", "1");
  FillRow(10, "100", "1", "1");
  ASSERT_TRUE(session.SaveThroughBase(base, folder.File("OUT.RCM")).status.ok());
  const std::vector<std::string> lines = SplitCrLf(folder.Read("OUT.RCM"));
  ASSERT_EQ(lines.size(), 46u);
  EXPECT_EQ(lines[19], "DRI,0,0,0,0.000000");
  EXPECT_EQ(lines[20], "HOL,1,0,0,10.000000,9");
  EXPECT_EQ(lines[29], "HOL,4,0,0,0.000000,9");
  EXPECT_EQ(lines[30], "DRI,4,0,0,0.000000,9");
  EXPECT_EQ(lines[41], "HOL,10,0,0,100.000000,9");
  EXPECT_EQ(lines[42], "DRI,10,0,0,1.000000,9");
  EXPECT_EQ(lines[43], "HOL,11,0,0,0.000000,9");
  EXPECT_EQ(lines[44], "DRI,11,0,0,0.000000,9");
}

TEST_F(ProgramFiles, TemplateLoadsAndSavesAsUntitledBesideIt) {
  UseRcm();
  const std::string base = folder.Write("template.rcm", SmallTemplate());
  ASSERT_TRUE(session.LoadProgramFile(base).ok());
  EXPECT_EQ(session.Table().FrameCaption, "Untitled.RCM");
  EXPECT_EQ(session.Table().Cmt1, "Template");
  FillRow(1, "7", "1", "1");
  const SaveOutcome outcome = session.SaveThroughBase(base, "");
  ASSERT_TRUE(outcome.status.ok());
  EXPECT_EQ(outcome.path, folder.File("Untitled.RCM"));
  EXPECT_EQ(folder.Read("template.rcm"), SmallTemplate());
  EXPECT_EQ(SplitCrLf(folder.Read("Untitled.RCM")).at(19), "HOL,1,0,0,7.000000,9");

  EXPECT_EQ(ResolveSaveTarget("/q/B.RCM", "/p/A1.RCM"), "/q/B.RCM");
  EXPECT_EQ(ResolveSaveTarget("/q/tEmPlAtE.rCm", "/p/A1.RCM"), "/q/Untitled.RCM");
  EXPECT_EQ(ResolveSaveTarget("/q/TEMPLATE.RCM.bak", "/p/A1.RCM"), "/q/TEMPLATE.RCM.bak");
}

TEST_F(ProgramFiles, SaveThroughAMissingBaseFailsNamingItAndWritesNothing) {
  UseRcm();
  const SaveOutcome outcome =
      session.SaveThroughBase(folder.File("NONE.RCM"), folder.File("OUT.RCM"));
  ASSERT_FALSE(outcome.status.ok());
  EXPECT_NE(outcome.status.error().find("NONE.RCM"), std::string::npos);
  EXPECT_FALSE(folder.Exists("OUT.RCM"));
}

}  // namespace
}  // namespace tessaro
