#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_runner.h"
#include "outside/file_ops.h"

namespace tessaro {
namespace {

using ::testing::HasSubstr;
using Json = nlohmann::ordered_json;

constexpr long long kNoon = 1'700'000'000;

class StatusCommand : public testing::CliTest {
 protected:
  StatusCommand() { Settings("0"); }
  void Settings(const std::string& autoDelete) const {
    folder.Write("home/Tessaro.INI", "[Settings]\nRCM=YES\nSourcePath=" + folder.MakeFolder("src") +
                                         "\nDestinationPath=" + folder.MakeFolder("dst") +
                                         "\nAutoDelete=" + autoDelete +
                                         "\n[HorizontalRename]\nMask1=****1\nMask2=****2\n");
  }
  void File(const std::string& name, long long seconds) const {
    folder.Write(name, "G71 X800 Y600 Z18\n");
    folder.SetModifiedSeconds(name, seconds);
  }
  testing::CliRun Status(const std::string& option = "--json") const {
    return Run("status", option.empty() ? std::vector<std::string>{} : std::vector{option});
  }
};

TEST_F(StatusCommand, ReportsEveryFileInItsStateAndChangesNothing) {
  File("src/NONE", kNoon);  // no program yet
  File("src/NEWR", kNoon);  // newer than NEWR2.RCM only
  File("dst/NEWR1.RCM", kNoon + 10);
  File("dst/NEWR2.RCM", kNoon - 10);
  File("src/SAME", kNoon);  // both programs as new as itself
  File("dst/SAME1.RCM", kNoon);
  File("dst/SAME2.RCM", kNoon);
  SetFileAttributes(folder.File("dst/SAME1.RCM"), kHiddenAttribute | kReadOnlyAttribute);
  SetFileAttributes(folder.File("dst/SAME2.RCM"), kReadOnlyAttribute);
  if (!IsHidden(folder.File("dst/SAME1.RCM"))) GTEST_SKIP() << "no extended attributes here";
  File("src/   ", kNoon);
  File("src/NINECHARS", kNoon);
  File("src/A~B", kNoon);
  File("dst/GONE1.RCM", kNoon);
  File("dst/template.RCM", kNoon);
  const std::vector<std::string> programs = folder.List("dst");
  const std::string settings = folder.Read("home/Tessaro.INI");

  const testing::CliRun json = Status();
  const testing::CliRun text = Status("");

  ASSERT_EQ(json.exitCode, 0) << json.err;
  const Json status = Json::parse(json.out);
  EXPECT_EQ(status["auto_delete"], false);
  EXPECT_EQ(status["gcode_files"], Json::parse(R"([
      {"name": "   ", "state": "not_eligible", "reason": "blank_name"},
      {"name": "A~B", "state": "not_eligible", "reason": "tilde"},
      {"name": "NEWR", "state": "translate", "reason": "newer", "newer_than": ["NEWR2.RCM"]},
      {"name": "NINECHARS", "state": "not_eligible", "reason": "long_name"},
      {"name": "NONE", "state": "translate", "reason": "no_program"},
      {"name": "SAME", "state": "up_to_date"}])"));
  EXPECT_EQ(status["programs"], Json::parse(R"([
      {"name": "GONE1.RCM", "gcode_file": null, "hidden": false, "read_only": false, "orphan": true},
      {"name": "NEWR1.RCM", "gcode_file": "NEWR", "hidden": false, "read_only": false, "orphan": false},
      {"name": "NEWR2.RCM", "gcode_file": "NEWR", "hidden": false, "read_only": false, "orphan": false},
      {"name": "SAME1.RCM", "gcode_file": "SAME", "hidden": true, "read_only": true, "orphan": false},
      {"name": "SAME2.RCM", "gcode_file": "SAME", "hidden": false, "read_only": true, "orphan": false},
      {"name": "template.RCM", "gcode_file": null, "hidden": false, "read_only": false, "orphan": false}])"));
  EXPECT_EQ(status["totals"].dump(),
            R"({"translate":2,"up_to_date":1,"not_eligible":3,"programs":6,"hidden":1,)"
            R"("read_only":2,"orphans":1})");

  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out, "G-code files in " + folder.File("src") +
                          ":\n"
                          "             not eligible: the name is blank\n"
                          "  A~B        not eligible: the name holds a ~\n"
                          "  NEWR       translate: newer than NEWR2.RCM\n"
                          "  NINECHARS  not eligible: the name is longer than 8 characters\n"
                          "  NONE       translate: no program yet\n"
                          "  SAME       up to date\n"
                          "Programs in " +
                          folder.File("dst") +
                          " (automatic deletion off):\n"
                          "  GONE1.RCM     orphan: kept while automatic deletion is off\n"
                          "  NEWR1.RCM     NEWR\n"
                          "  NEWR2.RCM     NEWR\n"
                          "  SAME1.RCM     SAME, hidden, read-only\n"
                          "  SAME2.RCM     SAME, read-only\n"
                          "  template.RCM  never deleted\n"
                          "Totals: 2 to translate, 1 up to date, 3 not eligible; 6 programs, "
                          "1 hidden, 2 read-only, 1 orphan\n");

  EXPECT_EQ(folder.List("dst"), programs);
  EXPECT_EQ(folder.Read("home/Tessaro.INI"), settings);
  EXPECT_EQ(folder.Read("dst/GONE1.RCM"), "G71 X800 Y600 Z18\n");
}

TEST_F(StatusCommand, OrphansAreMarkedForDeletionWhenAutoDeleteIsOnAndAnUnlistedFolderExitsOne) {
  Settings("1");
  File("dst/GONE1.RCM", kNoon);
  testing::CliRun run = Status("");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr(" (automatic deletion on):\n"
                                 "  GONE1.RCM  orphan: the next scan deletes it\n"));
  EXPECT_EQ(Json::parse(Status().out)["auto_delete"], true);
  EXPECT_TRUE(folder.Exists("dst/GONE1.RCM"));

  std::filesystem::remove(folder.File("src"));
  run = Status();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_THAT(run.err, HasSubstr(folder.File("src")));
  EXPECT_EQ(Status("--verbose").exitCode, 2);
}

}  // namespace
}  // namespace tessaro
