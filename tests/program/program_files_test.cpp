#include "program/program_files.h"

#include <gtest/gtest.h>

#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::RcmProgram;
using testing::SmallTemplate;
using testing::SplitCrLf;

class ProgramFiles : public ::testing::Test {
 protected:
  void UseRcm() { session.Settings().rcmFormat = true; }

  testing::TempFolder folder;
  testing::RecordingOperator asker;
  Session session{asker};
};

// ACC format

TEST(AccHoleLine, FollowsTheNumberPatterns) {
  const struct {
    const char *location, *drill, *dowel, *line;
  } cases[] = {
      {"", "", "", "0. 0 0 0"},
      {"-7.25", "-0.4", "2.6", "-7.25 0 0 3"},
      {"12.6999998092651", "0.5", "1.4", "12.7 1 0 1"},
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

TEST_F(ProgramFiles, AccLoadTakesTheFirstLineAsCommentAndSavesTheSameBytes) {
  // A first word holding HOLE is still the comment only.
  const std::string text =
      "HOLES-LEFT, \"oak\"\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n2\r\n"
      "Hole 1\r\n12.5 1 0 0\r\nHole 2\r\n0.3333 0 0 1\r\n";
  const std::string path = folder.Write("P.ACC", text);
  ASSERT_TRUE(session.LoadProgramFile(path).ok());
  EXPECT_EQ(session.Table().Cmt1, "HOLES-LEFT, \"oak\"");
  EXPECT_EQ(session.Table().HoleCount, 2);
  EXPECT_EQ(session.Table().GetCell(1, 1), "12.5");
  EXPECT_EQ(session.Table().GetCell(2, 3), "1");
  // A file that cannot be read leaves the table as it was.
  EXPECT_NE(session.LoadProgramFile(folder.File("GONE.ACC")).error().find(folder.File("GONE.ACC")),
            std::string::npos);
  EXPECT_EQ(session.Table().HoleCount, 2);

  ASSERT_TRUE(session.SaveProgram(folder.File("COPY.ACC"), "").status.ok());
  EXPECT_EQ(folder.Read("COPY.ACC"), text);
}

TEST_F(ProgramFiles, AccProgramWithMoreThanTenHolesLoadsAndSavesWhole) {
  std::string text = "MANY\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n12\r\n";
  for (int hole = 1; hole <= 12; ++hole) {
    text += "Hole " + std::to_string(hole) + "\r\n" + std::to_string(hole * 10) + ". 1 0 0\r\n";
  }
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("MANY.ACC", text)).ok());
  ASSERT_TRUE(session.SaveProgram(folder.File("COPY.ACC"), "").status.ok());
  EXPECT_EQ(folder.Read("COPY.ACC"), text);
}

// RCM format

TEST_F(ProgramFiles, RcmLoadThenSaveThroughTheTemplateGivesTheProgramBack) {
  // As a translation writes it: a comment with a comma and quotes, three holes, inch.
  const std::string program =
      RcmProgram("\"Cut 2, \"\"oak\"\"\",7,8",
                 "MET,0,0,0,-1.000000,9\r\n"
                 "HOL,1,0,0,12.500000,9\r\nDRI,1,0,0,1.000000,9\r\nDOW,1,0,0,0.000000,9\r\n"
                 "HOL,2,0,0,0.500000,9\r\nDRI,2,0,0,0.000000,9\r\nDOW,2,0,0,1.000000,9\r\n"
                 "HOL,3,0,0,12.700000,9\r\nDRI,3,0,0,1.000000,9\r\nDOW,3,0,0,1.000000,9\r\n");
  UseRcm();
  session.Table().Inch = false;
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("PART1.RCM", program)).ok());
  const ProgramTable& table = session.Table();
  EXPECT_EQ(table.FrameCaption, "PART1.RCM");
  EXPECT_EQ(table.Cmt1, "Cut 2, \"oak\"");
  EXPECT_TRUE(table.UnitsEnabled);
  EXPECT_TRUE(table.Inch);
  EXPECT_EQ(session.Table().HoleCount, 3);
  EXPECT_EQ(table.GetCell(2, 1), ".5");
  EXPECT_EQ(table.GetCell(2, 3), "1");
  EXPECT_EQ(table.GetCell(3, 1), "12.7");

  const std::string base = folder.Write("BASE.RCM", SmallTemplate());
  const SaveOutcome saved = session.SaveProgram(folder.File("OUT.RCM"), base);
  ASSERT_TRUE(saved.status.ok()) << saved.status.error();
  EXPECT_EQ(saved.path, folder.File("OUT.RCM"));
  EXPECT_EQ(folder.Read("OUT.RCM"), program);
  EXPECT_EQ(folder.Read("BASE.RCM"), SmallTemplate());
}

TEST_F(ProgramFiles, RcmLoadFillsRowsOnlyFromLineNineteenAfterTheFirstHoleInAnyLineEnds) {
  UseRcm();
  std::string text = SmallTemplate();
  text.replace(text.find("MET,0,0,0,1.000000"), 18, "MET,0,0,0,0.000000");
  text.replace(text.find("HOL,1,0,0,0.000000"), 18, "hole,1,0,0,4.250000");
  text.insert(text.find("hole,1"), "DRI,0,0,0,1.000000\r\nDOW,0,0,0,1.000000\r\n");
  text.replace(text.find("P16,0"), 5, "HOL,0,0,0,9.000000");
  // A byte-order mark and lone CR line ends, as some editors leave them.
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", end)) {
    text.erase(end + 1, 1);
  }
  ASSERT_TRUE(session.LoadProgramFile(folder.Write("P.RCM", "\xEF\xBB\xBF" + text)).ok());
  EXPECT_FALSE(session.Table().Inch);
  EXPECT_EQ(session.Table().GetCell(0, 2), "Drill");
  EXPECT_EQ(session.Table().GetCell(0, 3), "Dowel");
  EXPECT_EQ(session.Table().GetCell(1, 1), "4.25");
  EXPECT_EQ(session.Table().HoleCount, 3);
}

TEST(RcmComment, IsReadFromFieldOneAndReplacedKeepingTheOtherFields) {
  EXPECT_EQ(ReadRcmComment("\"say \"hi\" now\",7"), "say \"hi\" now");
  EXPECT_EQ(ReadRcmComment("Bare words,7"), "Bare words");
  EXPECT_EQ(ReadRcmComment("\"open,7,8"), "open");
  EXPECT_EQ(ReplaceRcmComment("\"a,b\",\"x\",8", "two\r\nlines"), "\"two  lines\",\"x\",8");
  for (const char* comment : {"a,b", "\"", "\"\"", "x\",y", "\",", "end\"", ",,,"}) {
    const std::string line = ReplaceRcmComment("\"Template\",7,8", comment);
    EXPECT_EQ(ReadRcmComment(line), comment) << line;
    EXPECT_EQ(line.substr(line.size() - 4), ",7,8") << line;
  }
}

TEST_F(ProgramFiles, TemplateLoadsAndSavesAsUntitledBesideIt) {
  UseRcm();
  const std::string base = folder.Write("template.rcm", SmallTemplate());
  ASSERT_TRUE(session.LoadProgramFile(base).ok());
  EXPECT_EQ(session.Table().FrameCaption, "Untitled.RCM");
  session.Table().SetCell(1, 1, "7");
  const SaveOutcome outcome = session.SaveProgram(base, base);
  ASSERT_TRUE(outcome.status.ok());
  EXPECT_EQ(outcome.path, folder.File("Untitled.RCM"));
  EXPECT_EQ(folder.Read("template.rcm"), SmallTemplate());
  EXPECT_EQ(SplitCrLf(folder.Read("Untitled.RCM")).at(19), "HOL,1,0,0,7.000000,9");

  EXPECT_EQ(ResolveSaveTarget("/q/TEMPLATE.RCM.bak"), "/q/TEMPLATE.RCM.bak");
}

}  // namespace
}  // namespace tessaro
