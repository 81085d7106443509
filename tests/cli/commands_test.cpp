// tessaro-cli's commands, run as the built program on real folders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_runner.h"
#include "outside/file_ops.h"
#include "support/program_samples.h"

namespace tessaro {
namespace {

using ::testing::HasSubstr;
using Json = nlohmann::ordered_json;

using HolesCommand = testing::CliTest;

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
            "{\"format\":1,\"accepted\":true,\"metric\":true,\"panel\":[800.0,600.0,18.0],"
            "\"macro\":\"DOOR\",\"faces\":[[{\"location\":0.0,\"drill\":false,\"dowel\":true}],"
            "[{\"location\":120.0,\"drill\":true,\"dowel\":true},"
            "{\"location\":680.0,\"drill\":false,\"dowel\":true},"
            "{\"location\":0.0,\"drill\":false,\"dowel\":true}],[],[],"
            "[{\"location\":550.0,\"drill\":false,\"dowel\":true}]]}\n");
  EXPECT_THAT(Run("holes", {door}).out, HasSubstr("\nFace 1 (top): 3 holes\n"
                                                  "  Hole      Location  Drill  Dowel\n"
                                                  "     1           120      1      1\n"));
  EXPECT_THAT(Run("holes", {"--svg", door}).out, HasSubstr("<use xlink:href=\"#dowel\""));
  EXPECT_EQ(folder.Read("home/Tessaro.INI"), settings);  // never written
  EXPECT_EQ(std::filesystem::last_write_time(folder.File("home/Tessaro.INI")), stamp);
}

TEST_F(HolesCommand, MacroNameIsEscapedForJsonAndARefusedOrMissingFileExitsOne) {
  const testing::CliRun macro =
      Run("holes",
          {"--json", folder.Write("P", "G150(A \"q\" \\ \x01 \xC3\xA4 \xC4) B1\nG81 P1 X1 G54\n")});
  EXPECT_THAT(macro.out, HasSubstr("\"macro\":\"A \\\"q\\\" \\\\ \\u0001 \xC3\xA4 \xC3\x84\""));
  EXPECT_FALSE(folder.Exists("home/Tessaro.INI"));
  const std::string notes = folder.Write("NOTES", "%\nG81 P1 X5 G54\n");
  const testing::CliRun refused = Run("holes", {"--json", notes});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(
      refused.out,
      "{\"format\":1,\"accepted\":false,\"metric\":false,\"panel\":[0.0,0.0,0.0],\"macro\":\"\","
      "\"faces\":[[],[],[],[],[]]}\n");
  EXPECT_THAT(refused.err, HasSubstr("refused"));
  EXPECT_TRUE(folder.Exists("NOTES"));
  const testing::CliRun refusedSvg = Run("holes", {"--svg", notes});
  EXPECT_EQ(refusedSvg.exitCode, 1);
  EXPECT_EQ(refusedSvg.out, "");
  const testing::CliRun missing = Run("holes", {"--json", folder.File("GONE")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_THAT(missing.err, HasSubstr(folder.File("GONE")));
}

using TranslateCommand = testing::CliTest;

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

// A program's bytes are on the disk before its name is: a power cut after the rename
// never leaves a program that is empty or cut short. strace shows the order of the calls.
TEST_F(TranslateCommand, EachProgramIsFlushedBeforeItTakesItsName) {
  if (std::system("strace -o /dev/null true >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "strace is missing or may not trace here";
  }
  folder.Write("home/Tessaro.INI", "[Settings]\nRCM=no\n");
  const std::string gcode = folder.Write("PART", "G70 X30 Y20 Z1\nG81 P1 X1 Y0 Z-1 E2 G54\n");
  const std::string command =
      "strace -f -y -qq -e trace=fsync,fdatasync,rename,renameat,renameat2 -o " +
      testing::ShellQuoted(folder.File("calls")) + " " + testing::ShellQuoted(TESSARO_CLI_PATH) +
      " translate --home " + testing::ShellQuoted(folder.File("home")) + " --dest " +
      testing::ShellQuoted(folder.MakeFolder("dest")) + " " + testing::ShellQuoted(gcode) +
      " >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  // fsync(3</dest/.tessaro-PART1.ACC.x1>) = 0, then rename("/dest/.tessaro-...", "/dest/PART1.ACC")
  const std::regex flush(R"re(f(?:data)?sync\(\d+<([^>]*)>\) = 0)re");
  const std::regex rename(R"re(rename(?:at2?)?\((?:[^,]*, )?"([^"]*)", (?:[^,]*, )?"([^"]*)")re");
  std::set<std::string> flushed;
  int renamed = 0;
  std::istringstream calls(folder.Read("calls"));
  for (std::string line; std::getline(calls, line);) {
    std::smatch match;
    if (std::regex_search(line, match, flush)) flushed.insert(match[1]);
    if (std::regex_search(line, match, rename)) {
      EXPECT_TRUE(flushed.count(match[1]))
          << match[2] << " was renamed before its bytes were flushed";
      ++renamed;
    }
  }
  EXPECT_GE(renamed, 1) << folder.Read("calls");
}

TEST_F(TranslateCommand, FilesShareOneHoleSetAndFailuresExitOne) {
  folder.Write("home/Tessaro.INI", "[Settings]\n");
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
}

// Each exit code from a real process, and what is said for each configuration error.
TEST_F(TranslateCommand, ConfigurationErrorsExitThreeSayingWhatIsWrongAndWriteNothing) {
  const std::string gcode = folder.Write("PART", "G71 X800 Y600 Z18\n");
  const std::string dest = folder.MakeFolder("dest");
  const std::string big = "[Settings]\nDestinationPath=" + dest + "\n;" + std::string(1 << 20, 'x');
  const struct {
    const char* settings;  // "" for none
    std::vector<std::string> words;
    const char* said;
  } cases[] = {
      {"[Settings]\n", {"--home", folder.File("nonexist"), gcode}, "nonexist is no folder"},
      {"", {gcode}, "Tessaro.INI: write one with tessaro-cli init --source DIR --dest DIR"},
      {"big", {gcode}, "Tessaro.INI: the file is larger than 1 MiB"},
      {"[Settings]\n", {gcode}, "Tessaro.INI names no DestinationPath (nor --dest)"},
      {"[Settings]\n", {"--dest", folder.File("missing"), gcode}, "missing does not exist"},
      {"[Settings]\nRCM=YES\n", {"--dest", dest, gcode}, "Template.RCM; copy your boring"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(folder.File("home/Tessaro.INI"));
    if (std::string(c.settings) == "big") {
      folder.Write("home/Tessaro.INI", big);
    } else if (*c.settings != '\0') {
      folder.Write("home/Tessaro.INI", c.settings);
    }
    std::vector<std::string> words = {"translate"};
    if (c.words.front() != "--home") words.insert(words.end(), {"--home", folder.File("home")});
    words.insert(words.end(), c.words.begin(), c.words.end());
    const testing::CliRun run = testing::RunCli(words, folder);
    EXPECT_EQ(run.exitCode, 3) << c.said;
    EXPECT_THAT(run.err, HasSubstr(c.said));
  }
  EXPECT_TRUE(folder.List("dest").empty());
  EXPECT_FALSE(folder.Exists("PART.ACC") || folder.Exists("home/PART.ACC"));
}

using InitCommand = testing::CliTest;

TEST_F(InitCommand, WritesASettingsFileThatTheOtherCommandsTakeAndKeepsAnExistingOne) {
  const std::string source = folder.MakeFolder("gcode");
  const std::string programs = folder.MakeFolder("programs");
  const testing::CliRun init = Run("init", {"--source", source, "--dest", programs});
  ASSERT_EQ(init.exitCode, 0) << init.err;
  EXPECT_EQ(init.out, "wrote " + folder.File("home/Tessaro.INI") +
                          "\nthe RCM format makes every program from " +
                          folder.File("home/Template.RCM") +
                          "; copy your boring machine's template program there\n");
  const std::string written = folder.Read("home/Tessaro.INI");
  EXPECT_THAT(written, HasSubstr("\nSourcePath=" + source + "\n"));
  EXPECT_EQ(Run("status").exitCode, 3);  // the template is missing
  folder.Write("home/Template.RCM", testing::SmallTemplate());
  const testing::CliRun status = Run("status");
  EXPECT_EQ(status.exitCode, 0) << status.err;
  EXPECT_EQ(status.err, "");  // every value checked and taken

  const testing::CliRun again =
      Run("init", {"--source", source, "--dest", programs, "--format", "acc"});
  EXPECT_EQ(again.exitCode, 3);
  EXPECT_THAT(again.err, HasSubstr("Tessaro.INI exists already: it is kept (--force replaces it)"));
  EXPECT_EQ(folder.Read("home/Tessaro.INI"), written);
  EXPECT_EQ(
      Run("init", {"--source", source, "--dest", programs, "--format", "acc", "--force"}).exitCode,
      0);
  EXPECT_THAT(folder.Read("home/Tessaro.INI"), HasSubstr("\nRCM=NO\n"));
  EXPECT_EQ(Run("init", {"--source", source, "--dest", folder.File("gone")}).exitCode, 3);
  EXPECT_EQ(Run("init", {"--source", source, "--dest", programs, "--format", "xyz"}).exitCode, 2);
}

constexpr long long kNoon = 1'700'000'000;

class StatusCommand : public testing::CliTest {
 protected:
  StatusCommand() {
    Settings("0");
    folder.Write("home/Template.RCM", testing::SmallTemplate());
  }
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
  File("src/SAME", kNoon);  // as new as its programs, but faces 3 and 4 are missing
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
  File("src/T\xC3\x9CR", kNoon);  // padded by characters, sorted after plain letters
  for (const auto& [name, text] :
       {std::pair{"src/NOTE", "Cut list for cabinet 4\n"}, std::pair{"src/VOID", " \r\n"}}) {
    folder.Write(name, text);
    folder.SetModifiedSeconds(name, kNoon);
  }
  const std::vector<std::string> programs = folder.List("dst");
  const std::string settings = folder.Read("home/Tessaro.INI");

  const testing::CliRun json = Status();
  const testing::CliRun text = Status("");

  ASSERT_EQ(json.exitCode, 1) << json.err;  // files need attention
  const Json status = Json::parse(json.out);
  EXPECT_EQ(status["format"], 1);
  EXPECT_EQ(status["auto_delete"], false);
  EXPECT_EQ(status["gcode_files"], Json::parse(R"([
      {"name": "   ", "state": "not_eligible", "reason": "blank_name"},
      {"name": "A~B", "state": "not_eligible", "reason": "tilde"},
      {"name": "NEWR", "state": "translate", "reason": "newer", "newer_than": ["NEWR2.RCM"]},
      {"name": "NINECHARS", "state": "not_eligible", "reason": "long_name"},
      {"name": "NONE", "state": "translate", "reason": "no_program"},
      {"name": "NOTE", "state": "refused", "reason": "not_gcode"},
      {"name": "SAME", "state": "translate", "reason": "program_missing"},
      {"name": "T\u00dcR", "state": "translate", "reason": "no_program"},
      {"name": "VOID", "state": "empty"}])"));
  EXPECT_EQ(status["programs"], Json::parse(R"([
      {"name": "GONE1.RCM", "gcode_file": null, "hidden": false, "read_only": false, "orphan": true},
      {"name": "NEWR1.RCM", "gcode_file": "NEWR", "hidden": false, "read_only": false, "orphan": false},
      {"name": "NEWR2.RCM", "gcode_file": "NEWR", "hidden": false, "read_only": false, "orphan": false},
      {"name": "SAME1.RCM", "gcode_file": "SAME", "hidden": true, "read_only": true, "orphan": false},
      {"name": "SAME2.RCM", "gcode_file": "SAME", "hidden": false, "read_only": true, "orphan": false},
      {"name": "template.RCM", "gcode_file": null, "hidden": false, "read_only": false, "orphan": false}])"));
  EXPECT_EQ(
      status["totals"].dump(),
      R"({"translate":4,"refused":1,"failed":0,"up_to_date":0,"not_eligible":3,"settling":0,"collisions":0,"empty":1,)"
      R"("programs":6,"hidden":1,)"
      R"("read_only":2,"orphans":1})");

  EXPECT_EQ(text.exitCode, 1) << text.err;
  EXPECT_EQ(
      text.out,
      "G-code files in " + folder.File("src") +
          ":\n"
          "             not eligible: the name is blank\n"
          "  A~B        not eligible: the name holds a ~\n"
          "  NEWR       translate: newer than NEWR2.RCM\n"
          "  NINECHARS  not eligible: the name is longer than 8 characters\n"
          "  NONE       translate: no program yet\n"
          "  NOTE       refused: not G-code of the accepted kind, the file is kept\n"
          "  SAME       translate: a program is missing\n"
          "  T\xC3\x9CR        translate: no program yet\n"
          "  VOID       empty: not translated, its programs are kept\n"
          "Programs in " +
          folder.File("dst") +
          " (automatic deletion off):\n"
          "  GONE1.RCM     orphan: kept while automatic deletion is off\n"
          "  NEWR1.RCM     NEWR\n"
          "  NEWR2.RCM     NEWR\n"
          "  SAME1.RCM     SAME, hidden, read-only\n"
          "  SAME2.RCM     SAME, read-only\n"
          "  template.RCM  never deleted\n"
          "Totals: 4 to translate, 0 up to date, 3 not eligible, 1 refused, 0 failed, 1 empty, 0 "
          "collisions, 0 being "
          "written; 6 programs, "
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
}

// Polls until `condition` holds, for far longer than any tick takes.
bool WaitFor(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class ScanCommandTest : public testing::CliTest {
 protected:
  ScanCommandTest() {
    folder.Write("home/Template.RCM", testing::SmallTemplate());
    WriteSettings("0", folder.MakeFolder("src"));
  }
  void WriteSettings(const std::string& autoDelete, const std::string& sourcePath,
                     const std::string& scanTime = "0.2") const {
    folder.Write("home/Tessaro.INI",
                 "[Settings]\nRCM=YES\nSourcePath=" + sourcePath +
                     "\nDestinationPath=" + folder.MakeFolder("dst") + "\nScanTime=" + scanTime +
                     "\nAutoDelete=" + autoDelete +
                     "\n[HorizontalRename]\nMask1=****1\nMask2=****2\nMask3=****3\nMask4=****4\n");
  }
  testing::CliRun Once(const std::string& option = "--once") const {
    return testing::RunCli({"scan", "--home=" + folder.File("home"), option}, folder);
  }
  bool HasPrograms(const std::string& base) const {
    return folder.Exists("dst/" + base + "1.RCM") && folder.Exists("dst/" + base + "4.RCM");
  }
  // The loop `tessaro-cli scan`, with its output in out.txt and err.txt.
  pid_t StartScan() const {
    const std::string out = folder.File("out.txt");
    const std::string err = folder.File("err.txt");
    const std::string home = folder.File("home");
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (std::freopen(out.c_str(), "w", stdout) && std::freopen(err.c_str(), "w", stderr)) {
        ::execl(TESSARO_CLI_PATH, TESSARO_CLI_PATH, "scan", "--home", home.c_str(), nullptr);
      }
      ::_exit(127);
    }
    return pid;
  }
  // Sends `signal` and waits for the process to end; its wait status.
  static int End(pid_t pid, int signal) {
    ::kill(pid, signal);
    int status = -1;
    if (!WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; })) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    return status;
  }
  // `count` panels P000, P001... quiet for a while; the even ones beside the four
  // programs of an older version of themselves, the odd ones new.
  std::vector<std::string> Panels(int count) const {
    const long long old = 1'700'000'000;
    const long long quiet = std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count() -
                            2;
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
      const std::string name = "P" +
                               std::string(i < 10    ? "00"
                                           : i < 100 ? "0"
                                                     : "") +
                               std::to_string(i);
      paths.push_back(folder.Write("src/" + name, testing::kPanelGcode));
      folder.SetModifiedSeconds("src/" + name, quiet);
      for (const char face : {'1', '2', '3', '4'}) {
        if (i % 2 == 1) break;
        folder.Write("dst/" + name + face + ".RCM", "old");
        folder.SetModifiedSeconds("dst/" + name + face + ".RCM", old);
      }
    }
    return paths;
  }
  // Whether each panel's programs are all old, all missing or all new.
  bool EachPanelWhole(const std::vector<std::string>& panels, int& translated) const {
    translated = 0;
    for (const std::string& path : panels) {
      const std::string name = std::filesystem::path(path).filename().string();
      std::set<std::string> states;
      for (const char face : {'1', '2', '3', '4'}) {
        const std::string program = "dst/" + name + face + ".RCM";
        const std::string text = folder.Read(program);
        states.insert(!folder.Exists(program) ? "missing" : text == "old" ? "old" : "new");
      }
      if (states.size() != 1) return false;
      translated += *states.begin() == "new" ? 1 : 0;
    }
    return true;
  }
};

TEST_F(ScanCommandTest, OnceTranslatesDeletesOrphansOnlyWhenAutoDeleteReadsOneAndExits) {
  folder.Write("src/PART", testing::kPanelGcode);
  folder.Write("dst/GONE1.RCM", "old");
  for (const auto& [autoDelete, out] :
       {std::pair{"0", "translated " + folder.File("src/PART") + "\n"},
        std::pair{"1", "deleted " + folder.File("dst/GONE1.RCM") + "\n"}}) {
    WriteSettings(autoDelete, folder.File("src"));
    const testing::CliRun run = Once();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, out) << autoDelete;
  }
  EXPECT_TRUE(HasPrograms("PART"));

  // A folder that cannot be listed, a program that cannot be written: exit 1.
  folder.Write("dst/GONE1.RCM", "old");
  WriteSettings("1", folder.File("gone"));
  testing::CliRun run = Once();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr(folder.File("gone")));
  EXPECT_TRUE(folder.Exists("dst/GONE1.RCM"));

  // A program folder that cannot be written: each file fails, none is translated.
#ifndef _WIN32
  WriteSettings("0", folder.File("src"));
  folder.Write("src/NEXT", testing::kPanelGcode);
  folder.SetModifiedSeconds("src/NEXT", 1'700'000'000);
  testing::TmpfsMount readOnly(folder.File("dst"), "64k", true);
  if (!readOnly.mounted()) ::chmod(folder.File("dst").c_str(), 0555);
  if (readOnly.mounted() || ::geteuid() != 0) {
    run = Once();
    const testing::CliRun status = Run("status");
    ::chmod(folder.File("dst").c_str(), 0755);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.out, ::testing::StartsWith("failed " + folder.File("src/NEXT") +
                                               ": Cannot write " + folder.File("dst/NEXT1.RCM")));
    EXPECT_THAT(run.out, ::testing::Not(HasSubstr("translated")));
    EXPECT_EQ(status.exitCode, 1);
    EXPECT_THAT(status.err, HasSubstr(folder.File("dst") + " cannot be written"));
  }
#endif
}

// The timer would take a minute: a new file is translated when it is closed. A refusal is
// reported and logged once.
TEST_F(ScanCommandTest, WatchLoopTranslatesNewFilesAtOnceUntilTerminated) {
  WriteSettings("0", folder.File("src"), "60");
  folder.Write("src/BAD", testing::kRefusedGcode);
  const std::string bad = folder.File("src/BAD");
  const pid_t pid = StartScan();
  // A tick has seen BAD before NEXT comes.
  const bool sawBad =
      WaitFor([&] { return folder.Read("err.txt").find(bad) != std::string::npos; });
  folder.Write("src/NEXT", testing::kPanelGcode);
  const bool translated = sawBad && WaitFor([&] { return HasPrograms("NEXT"); });
  // SIGHUP: the settings file is read again, and a tick follows at once.
  WriteSettings("0", folder.MakeFolder("other"), "60");
  folder.Write("other/OTHR", testing::kPanelGcode);
  folder.SetModifiedSeconds("other/OTHR", 1'700'000'000);
  ::kill(pid, SIGHUP);
  const bool reread = WaitFor([&] { return HasPrograms("OTHR"); });
  const int status = End(pid, SIGTERM);
  EXPECT_TRUE(reread);
  EXPECT_TRUE(translated);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string errors = folder.Read("err.txt");
  EXPECT_EQ(errors.find(bad), errors.rfind(bad)) << errors;
  EXPECT_TRUE(folder.Exists("src/BAD"));
  const std::string log = folder.Read("home/Tessaro.log");
  EXPECT_EQ(log.find("\trefused\t" + bad), log.rfind("\trefused\t")) << log;
}

// A kill between a panel's programs and their renames, at any moment: the restarted
// scan leaves what a fresh translation of the same files gives.
TEST_F(ScanCommandTest, ScansKilledAtAnyMomentLeaveWhatAFreshTranslationGives) {
  const std::vector<std::string> panels = Panels(150);
  std::mt19937 random(2026);
  int whole = 0;
  for (int round = 0; round < 5; ++round) {
    const pid_t pid = StartScan();
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::uniform_int_distribution<int>(5, 150)(random)));
    End(pid, SIGKILL);
    int translated = 0;
    whole += EachPanelWhole(panels, translated) ? 1 : 0;
  }
  EXPECT_GE(whole, 4);  // a kill within the renames themselves may split one panel
  ASSERT_EQ(Once().exitCode, 0);
  std::vector<std::string> words = {"--dest", folder.MakeFolder("fresh")};
  words.insert(words.end(), panels.begin(), panels.end());
  const testing::CliRun fresh = Run("translate", words);
  ASSERT_EQ(fresh.exitCode, 0) << fresh.err;
  // Beside the programs: the lock file, and the temporary files of killed scans, which
  // no listing shows and which go once they are older than any writer could be.
  std::vector<std::string> programs = folder.List("dst");
  std::erase_if(programs, [](const std::string& name) {
    return name == ".tessaro.lock" || IsTemporaryFileName(name);
  });
  ASSERT_EQ(programs, folder.List("fresh"));
  for (const std::string& name : programs) {
    EXPECT_EQ(folder.Read("dst/" + name), folder.Read("fresh/" + name)) << name;
    EXPECT_EQ(IsHidden(folder.File("dst/" + name)), IsHidden(folder.File("fresh/" + name)));
  }
}

TEST_F(ScanCommandTest, TermEndsThePassAfterThePanelBeingTranslated) {
  const std::vector<std::string> panels = Panels(400);
  const pid_t pid = StartScan();
  const bool began = WaitFor([&] { return folder.Exists("dst/P0011.RCM"); });
  const int status = End(pid, SIGTERM);
  ASSERT_TRUE(began);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  int translated = 0;
  EXPECT_TRUE(EachPanelWhole(panels, translated));
  EXPECT_LT(translated, 400);
  const std::string out = folder.Read("out.txt");
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), translated) << out;
}

TEST_F(ScanCommandTest, ASecondScanOfTheProgramFolderExitsFourNamingTheFirst) {
  const pid_t pid = StartScan();
  const std::string holder = std::to_string(pid) + " ";
  const bool locked =
      WaitFor([&] { return folder.Read("dst/.tessaro.lock").rfind(holder, 0) == 0; });
  const testing::CliRun second = Once();
  End(pid, SIGTERM);
  ASSERT_TRUE(locked);
  EXPECT_EQ(second.exitCode, 4);
  EXPECT_THAT(second.err, HasSubstr(folder.File("dst") + " is kept in step by process " +
                                    std::to_string(pid) + " on "));
  EXPECT_EQ(Once().exitCode, 0);  // the first has let go
}

}  // namespace
}  // namespace tessaro
