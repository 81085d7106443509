#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace tessaro {
namespace {

using TranslateCommand = testing::CliTest;
using ::testing::HasSubstr;

TEST_F(TranslateCommand, TakesTheFolderAndOptionsFromTheSettingsFileUnlessDestIsGiven) {
  // "/" cannot be in a file name: it counts as blank. Face 2 has no hole: hidden.
  folder.Write("home/Tessaro.INI",
               "[Settings]\nRCM=no\nDestinationPath=" + folder.MakeFolder("dest") +
                   "\nFacePriority=21\nNoEmpties=1\n[HorizontalRename]\n"
                   "Mask1=X/*A****\nMask2=****B***\nMask3=3\nMask4=4\n");
  const std::string gcode = folder.Write("PART", "G70 X30 Y20 Z1\nG81 P1 X1 Y0 Z-1 E2 G54\n");
  for (const std::string dest : {"dest", "other"}) {
    const testing::CliRun run = dest == "dest"
                                    ? Run("translate", {gcode})
                                    : Run("translate", {"--dest", folder.MakeFolder(dest), gcode});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, folder.File(dest + "/PARTB.ACC") + " (hidden)\n" +
                           folder.File(dest + "/XARA.ACC") + "\n");
  }
}

TEST_F(TranslateCommand, FilesShareOneHoleSetAndFailuresExitOneAndUsageErrorsTwo) {
  EXPECT_EQ(Run("translate").exitCode, 2);
  EXPECT_EQ(Run("translate", {"--frob", "x"}).exitCode, 2);
  // The second file has no header line: the first one's sizes and units hold.
  const std::string dest = folder.MakeFolder("dest");
  const testing::CliRun run =
      Run("translate",
          {"--dest", dest, folder.Write("PANA", "G71 X800 Y600 Z18\nG81 P3 Y25.4 E1 G54\n"),
           folder.Write("PANB", "G81 P3 Y50.8 E1 G54\n"), folder.File("GONE")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, dest + "/PANA.ACC\n" + dest + "/PANB.ACC\n");
  EXPECT_THAT(folder.Read("dest/PANB.ACC"), HasSubstr("Hole 1\r\n2. 1 0 1\r\n"));
  EXPECT_THAT(run.err, HasSubstr(folder.File("GONE")));

  const std::string gcode = folder.Write("PART", "G71 X800 Y600 Z18\n");
  EXPECT_THAT(Run("translate", {"--dest", folder.File("missing"), gcode}).err,
              HasSubstr(folder.File("missing/PART.ACC")));
  folder.Write("home/Tessaro.INI", "[Settings]\nRCM=YES\n");
  const testing::CliRun noTemplate = Run("translate", {"--dest", dest, gcode});
  EXPECT_EQ(noTemplate.exitCode, 1);
  EXPECT_THAT(noTemplate.err, HasSubstr("Template.RCM"));
  EXPECT_FALSE(std::filesystem::exists(dest + "/PART1.RCM"));
}

}  // namespace
}  // namespace tessaro
