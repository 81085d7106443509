#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "outside/file_ops.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::RunCli;
using testing::TempFolder;

namespace fs = std::filesystem;

const fs::path kExamples =
    fs::path(__FILE__).parent_path().parent_path().parent_path() / "examples";

constexpr const char* kTemplate =
    "USERLEVELS,1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n"
    "\"T\",0\r\n16\r\n17\r\n18\r\nMET,0,0,0,1.000000\r\nHOL,1,0,0,0.000000\r\n"
    "DRI,1,0,0,0.000000\r\nDOW,1,0,0,0.000000\r\n";

class TranslateCommand : public ::testing::Test {
 protected:
  TranslateCommand() {
    folder.MakeFolder("dest");
    folder.MakeFolder("gcode");
  }

  void Settings(const std::string& settingsLines) const {
    folder.Write("home/Tessaro.INI", settingsLines);
  }
  std::string Gcode(const std::string& name, const std::string& text) const {
    return folder.Write("gcode/" + name, text);
  }
  testing::CliRun Translate(std::vector<std::string> words) const {
    words.insert(words.begin(), {"translate", "--home", folder.File("home")});
    return RunCli(words, folder);
  }
  std::string Dest(const std::string& name) const { return folder.File("dest/" + name); }

  TempFolder folder;
};

TEST_F(TranslateCommand, WithoutFilesIsAUsageError) {
  const testing::CliRun run = RunCli({"translate"}, folder);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_THAT(run.err, HasSubstr("usage: tessaro-cli translate"));
  EXPECT_THAT(run.out, IsEmpty());
}

TEST_F(TranslateCommand, UnknownOptionOrMissingValueIsAUsageError) {
  EXPECT_EQ(RunCli({"translate", "--frob", "x"}, folder).exitCode, 2);
  EXPECT_EQ(RunCli({"translate", "x", "--dest"}, folder).exitCode, 2);
}

TEST_F(TranslateCommand, TranslatesTheDemoWorkspace) {
  const fs::path demo = folder.File("demo");
  fs::copy(kExamples, demo, fs::copy_options::recursive);
  const std::string programs = (demo / "programs").string();
  std::vector<std::string> words = {"translate", "--home", demo.string(), "--dest", programs};
  for (const char* name : {"DOOR_01", "NOTES01", "SHELF_A", "SIDE_LT", "TOPRAIL"}) {
    words.push_back((demo / "gcode" / name).string());
  }
  const testing::CliRun run = RunCli(words, folder);

  EXPECT_EQ(run.exitCode, 1) << "NOTES01 is refused";
  const std::string p = programs + "/";
  EXPECT_EQ(run.out, p + "DOOR_011.RCM\n" + p + "DOOR_012.RCM\n" + p + "DOOR_013.RCM\n" + p +
                         "DOOR_014.RCM (hidden)\n" + p + "SHELF_A1.RCM\n" + p +
                         "SHELF_A2.RCM (hidden)\n" + p + "SHELF_A3.RCM\n" + p + "SHELF_A4.RCM\n" +
                         p + "SIDE_LT1.RCM\n" + p + "SIDE_LT2.RCM\n" + p + "SIDE_LT3.RCM\n" + p +
                         "SIDE_LT4.RCM\n" + p + "TOPRAIL1.RCM (hidden)\n" + p +
                         "TOPRAIL2.RCM (hidden)\n" + p + "TOPRAIL3.RCM\n" + p +
                         "TOPRAIL4.RCM (hidden)\n");
  EXPECT_THAT(run.err, HasSubstr("NOTES01"));
  EXPECT_TRUE(fs::exists(demo / "gcode" / "NOTES01"));
  EXPECT_FALSE(fs::exists(demo / "programs" / "NOTES011.RCM"));

  const std::string shelf = folder.Read("demo/programs/SHELF_A4.RCM");
  EXPECT_THAT(shelf, HasSubstr("\r\n\"G-code Import Face 4\",0,0\r\n"));
  EXPECT_THAT(shelf, HasSubstr("\r\nMET,0,0,0,0.000000,0\r\n"
                               "HOL,1,0,0,75.000000,0\r\nDRI,1,0,0,1.000000,0\r\n"
                               "DOW,1,0,0,1.000000,0\r\n"
                               "HOL,2,0,0,225.000000,0\r\nDRI,2,0,0,1.000000,0\r\n"
                               "DOW,2,0,0,1.000000,0\r\n"
                               "HOL,3,0,0,0.000000,0\r\n"));
  const std::string side = folder.Read("demo/programs/SIDE_LT1.RCM");
  EXPECT_THAT(side, HasSubstr("HOL,2,0,0,133.000000,0\r\nDRI,2,0,0,1.000000,0\r\n"
                              "DOW,2,0,0,0.000000,0\r\nHOL,3,0,0,683.000000,0\r\n"));
  const std::string rail = folder.Read("demo/programs/TOPRAIL3.RCM");
  EXPECT_THAT(rail, HasSubstr("MET,0,0,0,1.000000,0\r\nHOL,1,0,0,2.000000,0\r\n"));
}

TEST_F(TranslateCommand, ReadsTheAccOptionsFromTheSettingsFile) {
  Settings("[Settings]\nRCM=no\nDestinationPath=" + folder.File("dest") +
           "\nFacePriority=21\nDrillExclusion=2\n"
           "[HorizontalRename]\nMask1=****A***\nMask2=****B***\nMask3=****C***\nMask4=****D***\n");
  const std::string gcode = Gcode("PART",
                                  "G70 X30 Y20 Z1\n"
                                  "G81 P1 X1.5 Y0 Z-1 E2 G54\n"
                                  "G81 P2 X2.25 Y0 Z-1 E1 G54\n");
  const testing::CliRun run = Translate({gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Dest("PARTB.ACC") + "\n" + Dest("PARTA.ACC") + "\n");
  EXPECT_EQ(folder.Read("dest/PARTA.ACC"),
            "\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n1\r\nHole 1\r\n1.5 1 0 1\r\n");
  EXPECT_EQ(folder.Read("dest/PARTB.ACC"),
            "\r\n100\r\nZones\r\n4\r\nNumber of holes\r\n1\r\nHole 1\r\n2.25 0 0 1\r\n");
}

TEST_F(TranslateCommand, DestOptionOverridesTheStoredDestination) {
  Settings("[Settings]\nDestinationPath=" + folder.File("elsewhere") + "\n");
  folder.MakeFolder("other");
  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\nG81 P3 X0 Y254 Z-5 E1 G54\n");
  const testing::CliRun run = Translate({"--dest", folder.File("other"), gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, folder.File("other/PART.ACC") + "\n");
  EXPECT_THAT(folder.Read("other/PART.ACC"), HasSubstr("Hole 1\r\n10. 1 0 1\r\n"));
}

TEST_F(TranslateCommand, OmissionRulesNeedAllFourMasks) {
  const std::string masks = "[HorizontalRename]\nMask1=****1***\nMask2=****2***\nMask3=****3***\n";
  Settings("[Settings]\nRCM=YES\nNoEmpties=1\n" + masks);
  folder.Write("home/Template.RCM", kTemplate);
  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\nG81 P2 X5 Y0 Z-5 E1 G54\n");
  testing::CliRun run = Translate({"--dest", folder.File("dest"), gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Dest("PART1.RCM") + "\n" + Dest("PART2.RCM") + "\n" + Dest("PART3.RCM") +
                         "\n" + Dest("PART.RCM") + "\n");

  Settings("[Settings]\nRCM=YES\nNoEmpties=1\n" + masks + "Mask4=****4***\n");
  run = Translate({"--dest", folder.File("dest"), gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Dest("PART1.RCM") + " (hidden)\n" + Dest("PART2.RCM") + "\n" +
                         Dest("PART3.RCM") + " (hidden)\n" + Dest("PART4.RCM") + " (hidden)\n");
  EXPECT_TRUE(IsHidden(Dest("PART1.RCM")));
  EXPECT_FALSE(IsHidden(Dest("PART2.RCM")));
}

TEST_F(TranslateCommand, OmissionRuleValuesAreStrictWholeNumbers) {
  Settings(
      "[Settings]\nRCM=YES\nNoEmpties=1.0\n[HorizontalRename]\n"
      "Mask1=****1***\nMask2=****2***\nMask3=****3***\nMask4=****4***\n");
  folder.Write("home/Template.RCM", kTemplate);
  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\n");
  const testing::CliRun run = Translate({"--dest", folder.File("dest"), gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_THAT(run.out, ::testing::Not(HasSubstr("hidden")));
}

TEST_F(TranslateCommand, MaskCharactersNoFileNameHoldsCountAsBlank) {
  Settings("[HorizontalRename]\nMask1=../*****\nMask2=****2***\nMask3=****3***\nMask4=****4***\n");
  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\nG81 P1 X5 Y0 Z-5 E1 G54\n");
  const testing::CliRun run = Translate({"--dest", folder.File("dest"), gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr(Dest("..RT.ACC") + "\n"));
  EXPECT_TRUE(fs::exists(Dest("..RT.ACC")));
}

TEST_F(TranslateCommand, FilesShareOneHoleSetInTheOrderGiven) {
  const std::string first = Gcode("PANA", "G71 X800 Y600 Z18\nG81 P3 X0 Y25.4 Z-5 E1 G54\n");
  const std::string second = Gcode("PANB", "G81 P3 X0 Y50.8 Z-5 E1 G54\n");
  const testing::CliRun run = Translate({"--dest", folder.File("dest"), first, second});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Dest("PANA.ACC") + "\n" + Dest("PANB.ACC") + "\n");
  EXPECT_THAT(folder.Read("dest/PANB.ACC"), HasSubstr("Hole 1\r\n2. 1 0 1\r\n"));
}

TEST_F(TranslateCommand, RefusedFileIsReportedAndKeptAndTheOthersStillTranslated) {
  const std::string refused = Gcode("NOTE", "Cut list\n");
  const std::string good = Gcode("PART", "G71 X800 Y600 Z18\nG81 P3 X0 Y10 Z-5 E1 G54\n");
  folder.Write("dest/NOTE.ACC", "old\r\n");
  const testing::CliRun run = Translate({"--dest", folder.File("dest"), refused, good});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, Dest("PART.ACC") + "\n");
  EXPECT_THAT(run.err, HasSubstr(refused));
  EXPECT_TRUE(fs::exists(refused));
  EXPECT_EQ(folder.Read("dest/NOTE.ACC"), "old\r\n");
}

TEST_F(TranslateCommand, MissingTemplateIsReportedAndNothingWritten) {
  Settings("[Settings]\nRCM=YES\n");
  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\n");
  const testing::CliRun run = Translate({"--dest", folder.File("dest"), gcode});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.out, IsEmpty());
  EXPECT_THAT(run.err, HasSubstr("Template.RCM"));
  EXPECT_TRUE(fs::is_empty(folder.File("dest")));
}

TEST_F(TranslateCommand, UnwritableProgramIsReportedWithExitOne) {
  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\n");
  const testing::CliRun run = Translate({"--dest", folder.File("missing"), gcode});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr(folder.File("missing/PART.ACC")));
}

TEST_F(TranslateCommand, MissingGcodeFileIsReportedWithExitOne) {
  const testing::CliRun run = Translate({"--dest", folder.File("dest"), folder.File("gcode/NONE")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr("NONE"));
}

}  // namespace
}  // namespace tessaro
