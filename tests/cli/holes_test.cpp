#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_runner.h"

namespace tessaro {
namespace {

using HolesCommand = testing::CliTest;
using ::testing::HasSubstr;

TEST_F(HolesCommand, JsonTableAndSvgHoldEveryCountedHoleAsTheSettingsLeaveThem) {
  const std::string settings = "[Settings]\r\nDrillExclusion=3\r\nDowellExclusion=0\r\n";
  folder.Write("home/Tessaro.INI", settings);
  folder.SetModifiedSeconds("home/Tessaro.INI", 1000000000);
  const auto stamp = std::filesystem::last_write_time(folder.File("home/Tessaro.INI"));
  const std::string door = folder.Write(
      "DOOR",
      "G71 X800 Y600 Z18\nG150(DOOR) A1\nG81 P1 X120 Y40 Z-5 E3 G54\nG81 P1 X120 E2 G56\n"
      "G81 P1 X5 G57\nG81 P4 X0 Y50 Z-5 E1 G55\nG81 P0 X7 G54\nG81 P9 X1 G54\n");

  const testing::CliRun json = Run("holes", {"--json", door});
  EXPECT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out,
            "{\"accepted\":true,\"metric\":true,\"panel\":[800.0,600.0,18.0],"
            "\"macro\":\"DOOR\",\"faces\":[[{\"location\":0.0,\"drill\":0,\"dowel\":1}],"
            "[{\"location\":120.0,\"drill\":1,\"dowel\":1},"
            "{\"location\":680.0,\"drill\":0,\"dowel\":1},"
            "{\"location\":0.0,\"drill\":0,\"dowel\":1}],[],[],"
            "[{\"location\":550.0,\"drill\":0,\"dowel\":1}]]}\n");
  EXPECT_THAT(Run("holes", {door}).out, HasSubstr("\nFace 1 (top): 3 holes\n"
                                                  "  Hole      Location  Drill  Dowel\n"
                                                  "     1           120      1      1\n"));
  EXPECT_THAT(Run("holes", {"--svg", door}).out, HasSubstr("<use xlink:href=\"#dowel\""));
  EXPECT_EQ(folder.Read("home/Tessaro.INI"), settings);  // never written
  EXPECT_EQ(std::filesystem::last_write_time(folder.File("home/Tessaro.INI")), stamp);
}

TEST_F(HolesCommand, MacroNameIsEscapedForJsonAndARefusedFileExitsOneAndUsageErrorsTwo) {
  const testing::CliRun macro =
      Run("holes",
          {"--json", folder.Write("P", "G150(A \"q\" \\ \x01 \xC3\xA4 \xC4) B1\nG81 P1 X1 G54\n")});
  EXPECT_THAT(macro.out, HasSubstr("\"macro\":\"A \\\"q\\\" \\\\ \\u0001 \xC3\xA4 \xC3\x84\""));
  EXPECT_FALSE(folder.Exists("home/Tessaro.INI"));
  const std::string notes = folder.Write("NOTES", "%\nG81 P1 X5 G54\n");
  const testing::CliRun refused = Run("holes", {"--json", notes});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out,
            "{\"accepted\":false,\"metric\":false,\"panel\":[0.0,0.0,0.0],\"macro\":\"\","
            "\"faces\":[[],[],[],[],[]]}\n");
  EXPECT_THAT(refused.err, HasSubstr("refused"));
  EXPECT_TRUE(folder.Exists("NOTES"));
  const testing::CliRun refusedSvg = Run("holes", {"--svg", notes});
  EXPECT_EQ(refusedSvg.exitCode, 1);
  EXPECT_EQ(refusedSvg.out, "");
  const testing::CliRun missing = Run("holes", {"--json", folder.File("GONE")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_THAT(missing.err, HasSubstr(folder.File("GONE")));
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{}, {notes, notes}, {"--verbose", notes}}) {
    EXPECT_EQ(Run("holes", words).exitCode, 2) << words.size();
  }
}

}  // namespace
}  // namespace tessaro
