#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "outside/file_ops.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;

namespace fs = std::filesystem;

class TranslateCommand : public ::testing::Test {
 protected:
  TranslateCommand() { folder.MakeFolder("dest"); }

  void Settings(const std::string& text) const { folder.Write("home/Tessaro.INI", text); }
  std::string Gcode(const std::string& name, const std::string& text) const {
    return folder.Write("gcode/" + name, text);
  }
  // With --dest unless `words` name another one.
  CliRun Translate(std::vector<std::string> words) const {
    words.insert(words.begin(), {"translate", "--home", folder.File("home")});
    if (words[3] != "--dest") words.insert(words.begin() + 3, {"--dest", folder.File("dest")});
    return testing::RunCli(words, folder);
  }
  std::string Dest(const std::string& name) const { return folder.File("dest/" + name); }

  testing::TempFolder folder;
};

TEST_F(TranslateCommand, TranslatesTheDemoWorkspace) {
  const fs::path demo = folder.File("demo");
  fs::copy(fs::path(__FILE__).parent_path().parent_path().parent_path() / "examples", demo,
           fs::copy_options::recursive);
  const std::string p = (demo / "programs").string() + "/";
  std::vector<std::string> words = {"translate", "--home", demo.string(), "--dest",
                                    (demo / "programs").string()};
  for (const char* name : {"DOOR_01", "NOTES01", "SHELF_A", "SIDE_LT", "TOPRAIL"}) {
    words.push_back((demo / "gcode" / name).string());
  }
  const CliRun run = testing::RunCli(words, folder);

  EXPECT_EQ(run.exitCode, 1) << "NOTES01 is refused";
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 16) << run.out;
  EXPECT_THAT(run.out, HasSubstr(p + "DOOR_013.RCM\n" + p + "DOOR_014.RCM (hidden)\n" + p +
                                 "SHELF_A1.RCM\n"));
  EXPECT_THAT(run.err, HasSubstr("NOTES01"));
  EXPECT_TRUE(fs::exists(demo / "gcode" / "NOTES01"));
  EXPECT_THAT(folder.Read("demo/programs/SHELF_A4.RCM"),
              HasSubstr("\r\nMET,0,0,0,0.000000,0\r\n"
                        "HOL,1,0,0,75.000000,0\r\nDRI,1,0,0,1.000000,0\r\nDOW,1,0,0,1.000000,0\r\n"
                        "HOL,2,0,0,225.000000,0\r\n"));
}

TEST_F(TranslateCommand, ReadsTheAccOptionsFromTheSettingsFileUnlessDestIsGiven) {
  // "/" cannot be in a file name: it counts as blank.
  Settings("[Settings]\nRCM=no\nDestinationPath=" + folder.File("dest") +
           "\nFacePriority=21\nDrillExclusion=2\n"
           "[HorizontalRename]\nMask1=X/*A****\nMask2=****B***\nMask3=****C***\nMask4=****D***\n");
  const std::string gcode = Gcode("PART",
                                  "G70 X30 Y20 Z1\n"
                                  "G150(SHELF-4) A1.5\n"
                                  "G81 P1 X=a Y0 Z-1 E2 G54\n"
                                  "G81 P2 X2.25 Y0 Z-1 E1 G54\n");
  CliRun run = testing::RunCli({"translate", "--home", folder.File("home"), gcode}, folder);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Dest("PARTB.ACC") + "\n" + Dest("XARA.ACC") + "\n");
  EXPECT_EQ(folder.Read("dest/XARA.ACC"),
            "SHELF-4\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n1\r\nHole 1\r\n1.5 1 0 1\r\n");
  EXPECT_EQ(folder.Read("dest/PARTB.ACC"),
            "SHELF-4\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n1\r\nHole 1\r\n2.25 0 0 1\r\n");

  folder.MakeFolder("other");
  run = Translate({"--dest", folder.File("other"), gcode});
  EXPECT_EQ(run.out, folder.File("other/PARTB.ACC") + "\n" + folder.File("other/XARA.ACC") + "\n");
}

TEST_F(TranslateCommand, OmissionRulesNeedAllFourMasksAndAWholeNumber) {
  folder.Write("home/Template.RCM", testing::SmallTemplate());
  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\nG81 P2 X5 Y0 Z-5 E1 G54\n");
  const std::string threeMasks = "[HorizontalRename]\nMask1=****1***\nMask2=****2***\nMask3=3\n";
  const std::pair<std::string, bool> cases[] = {
      {"NoEmpties=1\n" + threeMasks, false},
      {"NoEmpties=1\n" + threeMasks + "Mask4=4\n", true},
      {"NoEmpties=1.0\n" + threeMasks + "Mask4=4\n", false}};
  for (const auto& [settings, hidden] : cases) {
    Settings("[Settings]\nRCM=YES\n" + settings);
    const CliRun run = Translate({gcode});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(IsHidden(Dest("PART1.RCM")), hidden) << settings;
  }
}

TEST_F(TranslateCommand, FilesShareOneHoleSetAndARefusedOneIsReportedAndKept) {
  const std::string refused = Gcode("NOTE", "Cut list\n");
  folder.Write("dest/NOTE.ACC", "old\r\n");
  const CliRun run = Translate({Gcode("PANA", "G71 X800 Y600 Z18\nG81 P3 X0 Y25.4 Z-5 E1 G54\n"),
                                refused, Gcode("PANB", "G81 P3 X0 Y50.8 Z-5 E1 G54\n")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, Dest("PANA.ACC") + "\n" + Dest("PANB.ACC") + "\n");
  EXPECT_THAT(folder.Read("dest/PANB.ACC"), HasSubstr("Hole 1\r\n2. 1 0 1\r\n"));
  EXPECT_THAT(run.err, HasSubstr(refused));
  EXPECT_TRUE(fs::exists(refused));
  EXPECT_EQ(folder.Read("dest/NOTE.ACC"), "old\r\n");
}

TEST_F(TranslateCommand, FailuresExitWithOneAndUsageErrorsWithTwo) {
  EXPECT_EQ(testing::RunCli({"translate"}, folder).exitCode, 2);
  EXPECT_EQ(testing::RunCli({"translate", "--frob", "x"}, folder).exitCode, 2);

  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\n");
  CliRun run = Translate({"--dest", folder.File("missing"), gcode});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr(folder.File("missing/PART.ACC")));

  Settings("[Settings]\nRCM=YES\n");
  run = Translate({gcode});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr("Template.RCM"));
  EXPECT_TRUE(fs::is_empty(folder.File("dest")));
}

}  // namespace
}  // namespace tessaro
