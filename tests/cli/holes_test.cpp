#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

constexpr const char* kSettings =
    "[Settings]\r\nDrillExclusion=3\r\nDowellExclusion=0\r\nRCM=NO\r\n";

constexpr const char* kDoor =
    "G71 X800 Y600 Z18\n"
    "G150(DOOR) A1\n"
    "G81 P1 X120 Y40 Z-5 E3 G54\n"
    "G81 P1 X120 E2 G56\n"
    "G81 P1 X5 G57\n"
    "G81 P4 X0 Y50 Z-5 E1 G55\n"
    "G81 P0 X7 G54\n"
    "G81 P9 X1 G54\n";

class HolesCommand : public ::testing::Test {
 protected:
  CliRun Run(const std::vector<std::string>& arguments) { return RunCli(arguments, scratch_); }

  TempFolder home_;
  TempFolder source_;
  TempFolder scratch_;
};

TEST_F(HolesCommand, JsonHoldsEveryCountedHoleOfEachFaceInFileOrder) {
  home_.Write("Tessaro.INI", kSettings);
  const std::string gcode = source_.Write("DOOR", kDoor);
  const CliRun run = Run({"holes", "--home", home_.path(), "--json", gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"accepted\": true, \"metric\": true, \"panel\": [800, 600, 18], "
            "\"macro\": \"DOOR\", \"faces\": ["
            "[{\"location\": 0, \"drill\": 0, \"dowel\": 1}], "
            "[{\"location\": 120, \"drill\": 1, \"dowel\": 1}, "
            "{\"location\": 680, \"drill\": 0, \"dowel\": 1}, "
            "{\"location\": 0, \"drill\": 0, \"dowel\": 1}], "
            "[], [], "
            "[{\"location\": 550, \"drill\": 0, \"dowel\": 1}]]}\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(HolesCommand, ExclusionDigitsAreNormalisedAsTheExclusionBoxesDo) {
  home_.Write("Tessaro.INI", "[Settings]\nDrillExclusion=21\nDowellExclusion=-2\n");
  const std::string gcode = source_.Write("P", "G70 X24.5 Y18 Z0.75\nG81 P3 Y2.125 E2 G54\n");
  const CliRun run = Run({"holes", "--json", "--home", home_.path(), gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"accepted\": true, \"metric\": false, \"panel\": [24.5, 18, 0.75], "
            "\"macro\": \"\", \"faces\": [[], [], [], "
            "[{\"location\": 2.125, \"drill\": 1, \"dowel\": 1}], []]}\n");
}

TEST_F(HolesCommand, WithoutSettingsFileNothingIsExcluded) {
  const std::string gcode = source_.Write("P", "G81 P2 X=1/3 E7 G54\n");
  const CliRun run = Run({"holes", "--home", home_.path(), "--json", gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("[{\"location\": 0.3333333333333333, \"drill\": 1, \"dowel\": 1}]"),
            std::string::npos)
      << run.out;
  EXPECT_FALSE(home_.Exists("Tessaro.INI"));
}

TEST_F(HolesCommand, RefusedFileIsReportedAndKept) {
  home_.Write("Tessaro.INI", kSettings);
  const std::string gcode = source_.Write("NOTES", "%\nG81 P1 X5 G54\n");
  const CliRun run = Run({"holes", "--home", home_.path(), "--json", gcode});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out,
            "{\"accepted\": false, \"metric\": false, \"panel\": [0, 0, 0], \"macro\": \"\", "
            "\"faces\": [[], [], [], [], []]}\n");
  EXPECT_NE(run.err.find("Source file NOTES Is not of the correct file type."), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("refused"), std::string::npos) << run.err;
  EXPECT_EQ(source_.Read("NOTES"), "%\nG81 P1 X5 G54\n");
}

TEST_F(HolesCommand, SettingsFileIsNeverWritten) {
  home_.Write("Tessaro.INI", kSettings);
  home_.SetModifiedSeconds("Tessaro.INI", 1000000000);
  const std::string before = home_.Read("Tessaro.INI");
  const auto stampBefore = std::filesystem::last_write_time(home_.File("Tessaro.INI"));
  Run({"holes", "--home", home_.path(), source_.Write("DOOR", kDoor)});
  Run({"holes", "--home", home_.path(), source_.Write("BAD", "%\n")});
  EXPECT_EQ(home_.Read("Tessaro.INI"), before);
  EXPECT_EQ(std::filesystem::last_write_time(home_.File("Tessaro.INI")), stampBefore);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(home_.path())) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(HolesCommand, TableListsEachFace) {
  home_.Write("Tessaro.INI", kSettings);
  const std::string gcode = source_.Write("DOOR", kDoor);
  const CliRun run = Run({"holes", "--home", home_.path(), gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, gcode +
                         ": metric (G71)\n"
                         "Panel: X 800, Y 600, Z 18\n"
                         "Macro: DOOR\n"
                         "\n"
                         "Face 0 (no program): 1 hole\n"
                         "  Hole      Location  Drill  Dowel\n"
                         "     1             0      0      1\n"
                         "\n"
                         "Face 1 (top): 3 holes\n"
                         "  Hole      Location  Drill  Dowel\n"
                         "     1           120      1      1\n"
                         "     2           680      0      1\n"
                         "     3             0      0      1\n"
                         "\n"
                         "Face 2 (bottom): no holes\n"
                         "\n"
                         "Face 3 (left): no holes\n"
                         "\n"
                         "Face 4 (right): 1 hole\n"
                         "  Hole      Location  Drill  Dowel\n"
                         "     1           550      0      1\n");
}

TEST_F(HolesCommand, MacroNameIsEscapedForJson) {
  const std::string gcode =
      source_.Write("P", "G150(A \"q\" \\ \x01 \xC3\xA4 \xC4) B1\nG81 P1 X1 G54\n");
  const CliRun run = Run({"holes", "--home", home_.path(), "--json", gcode});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"macro\": \"A \\\"q\\\" \\\\ \\u0001 \xC3\xA4 \\u00c4\""),
            std::string::npos)
      << run.out;
}

TEST_F(HolesCommand, UnreadableFileFailsNamingIt) {
  const std::string missing = source_.File("GONE");
  const CliRun run = Run({"holes", "--home", home_.path(), "--json", missing});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
}

TEST_F(HolesCommand, UsageErrorsExitWithTwo) {
  const std::string gcode = source_.Write("DOOR", kDoor);
  EXPECT_EQ(Run({"holes"}).exitCode, 2);
  EXPECT_EQ(Run({"holes", "--home", home_.path()}).exitCode, 2);
  EXPECT_EQ(Run({"holes", "--home", home_.path(), gcode, gcode}).exitCode, 2);
  EXPECT_EQ(Run({"holes", "--home", home_.path(), "--verbose", gcode}).exitCode, 2);
  EXPECT_EQ(Run({"holes", gcode, "--home"}).exitCode, 2);
}

}  // namespace
}  // namespace tessaro
