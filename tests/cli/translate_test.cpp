#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;

namespace fs = std::filesystem;

class TranslateCommand : public ::testing::Test {
 protected:
  TranslateCommand() { folder.MakeFolder("dest"); }

  std::string Gcode(const std::string& name, const std::string& text) const {
    return folder.Write("gcode/" + name, text);
  }
  CliRun Translate(std::vector<std::string> words) const {
    words.insert(words.begin(), {"translate", "--home", folder.File("home")});
    return testing::RunCli(words, folder);
  }
  std::string Dest(const std::string& name) const { return folder.File("dest/" + name); }

  testing::TempFolder folder;
};

TEST_F(TranslateCommand, TakesTheFolderAndOptionsFromTheSettingsFileUnlessDestIsGiven) {
  // "/" cannot be in a file name: it counts as blank. Face 2 has no hole: hidden.
  folder.Write("home/Tessaro.INI", "[Settings]\nRCM=no\nDestinationPath=" + folder.File("dest") +
                                       "\nFacePriority=21\nNoEmpties=1\n[HorizontalRename]\n"
                                       "Mask1=X/*A****\nMask2=****B***\nMask3=3\nMask4=4\n");
  const std::string gcode = Gcode("PART", "G70 X30 Y20 Z1\nG81 P1 X1 Y0 Z-1 E2 G54\n");
  for (const std::string dest : {"dest", "other"}) {
    const CliRun run =
        dest == "dest" ? Translate({gcode}) : Translate({"--dest", folder.MakeFolder(dest), gcode});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, folder.File(dest + "/PARTB.ACC") + " (hidden)\n" +
                           folder.File(dest + "/XARA.ACC") + "\n");
  }
}

TEST_F(TranslateCommand, FilesShareOneHoleSetAndFailuresExitOneAndUsageErrorsTwo) {
  EXPECT_EQ(testing::RunCli({"translate"}, folder).exitCode, 2);
  EXPECT_EQ(testing::RunCli({"translate", "--frob", "x"}, folder).exitCode, 2);

  // The second file has no header line: the first one's sizes and units hold.
  const CliRun run =
      Translate({"--dest", folder.File("dest"),
                 Gcode("PANA", "G71 X800 Y600 Z18\nG81 P3 X0 Y25.4 Z-5 E1 G54\n"),
                 Gcode("PANB", "G81 P3 X0 Y50.8 Z-5 E1 G54\n"), folder.File("gcode/GONE")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, Dest("PANA.ACC") + "\n" + Dest("PANB.ACC") + "\n");
  EXPECT_THAT(folder.Read("dest/PANB.ACC"), HasSubstr("Hole 1\r\n2. 1 0 1\r\n"));
  EXPECT_THAT(run.err, HasSubstr(folder.File("gcode/GONE")));

  const std::string gcode = Gcode("PART", "G71 X800 Y600 Z18\n");
  EXPECT_THAT(Translate({"--dest", folder.File("missing"), gcode}).err,
              HasSubstr(folder.File("missing/PART.ACC")));
  folder.Write("home/Tessaro.INI", "[Settings]\nRCM=YES\n");
  const CliRun noTemplate = Translate({"--dest", folder.File("dest"), gcode});
  EXPECT_EQ(noTemplate.exitCode, 1);
  EXPECT_THAT(noTemplate.err, HasSubstr("Template.RCM"));
  EXPECT_FALSE(fs::exists(Dest("PART1.RCM")));
}

}  // namespace
}  // namespace tessaro
