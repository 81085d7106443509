#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_runner.h"
#include "support/program_samples.h"

namespace tessaro {
namespace {

using ::testing::HasSubstr;

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
                 "[Settings]\nRCM=YES\nSourcePath=" + sourcePath + "\nDestinationPath=" +
                     folder.MakeFolder("dst") + "\nScanTime=" + scanTime + "\nAutoDelete=" +
                     autoDelete +
                     "\n[HorizontalRename]\nMask1=****1\nMask2=****2\nMask3=****3\nMask4=****4\n");
  }
  testing::CliRun Once(const std::string& option = "--once") const {
    return testing::RunCli({"scan", "--home=" + folder.File("home"), option}, folder);
  }
  bool HasPrograms(const std::string& base) const {
    return folder.Exists("dst/" + base + "1.RCM") && folder.Exists("dst/" + base + "4.RCM");
  }
};

TEST_F(ScanCommandTest, OnceTranslatesDeletesOrphansOnlyWhenAutoDeleteReadsOneAndExits) {
  folder.Write("src/PART", testing::kPanelGcode);
  folder.Write("src/BAD", testing::kRefusedGcode);
  folder.Write("dst/GONE1.RCM", "old");
  for (const auto& [autoDelete, out] :
       {std::pair{"0", "translated " + folder.File("src/PART") + "\n"},
        std::pair{"1", "deleted " + folder.File("dst/GONE1.RCM") + "\n"}}) {
    WriteSettings(autoDelete, folder.File("src"));
    const testing::CliRun run = Once();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr(folder.File("src/BAD")));
    EXPECT_EQ(run.out, out) << autoDelete;
  }
  EXPECT_TRUE(HasPrograms("PART") && folder.Exists("src/BAD"));
  EXPECT_EQ(Once("--twice").exitCode, 2);

  // A folder that cannot be listed, a program that cannot be written: exit 1.
  folder.Write("dst/GONE1.RCM", "old");
  WriteSettings("1", folder.File("gone"));
  testing::CliRun run = Once();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr(folder.File("gone")));
  EXPECT_TRUE(folder.Exists("dst/GONE1.RCM"));
  WriteSettings("0", folder.File("src"));
  folder.Write("src/NEXT", testing::kPanelGcode);
  folder.MakeFolder("dst/NEXT3.RCM");
  run = Once();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr("NEXT3.RCM"));
}

TEST_F(ScanCommandTest, LogThatCannotBeWrittenIsToldAndTheScanGoesOn) {
  folder.MakeFolder("home/Tessaro.log");
  folder.Write("src/PART", testing::kPanelGcode);
  const testing::CliRun run = Once();
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(HasPrograms("PART"));
  EXPECT_EQ(run.err, "tessaro-cli: the activity log is not written: Cannot write " +
                         folder.File("home/Tessaro.log") + ": Is a directory\n");
}

TEST_F(ScanCommandTest, WatchLoopTranslatesNewFilesAtOnceUntilTerminated) {
  // The timer would take a minute: a new file is translated when it is closed.
  WriteSettings("0", folder.File("src"), "60");
  folder.Write("src/BAD", testing::kRefusedGcode);
  const std::string err = folder.File("err.txt");
  const std::string home = folder.File("home");
  const std::string bad = folder.File("src/BAD");
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (std::freopen("/dev/null", "w", stdout) && std::freopen(err.c_str(), "w", stderr)) {
      ::execl(TESSARO_CLI_PATH, TESSARO_CLI_PATH, "scan", "--home", home.c_str(), nullptr);
    }
    ::_exit(127);
  }
  // A tick has seen BAD before NEXT comes.
  const bool sawBad =
      WaitFor([&] { return folder.Read("err.txt").find(bad) != std::string::npos; });
  folder.Write("src/NEXT", testing::kPanelGcode);
  const bool translated = sawBad && WaitFor([&] { return HasPrograms("NEXT"); });
  ::kill(pid, SIGTERM);
  int status = -1;
  if (!WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; })) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  EXPECT_TRUE(translated);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // Nothing else, no temporary file in particular.
  EXPECT_EQ(folder.List("dst"),
            (std::vector<std::string>{"NEXT1.RCM", "NEXT2.RCM", "NEXT3.RCM", "NEXT4.RCM"}));
  const std::string errors = folder.Read("err.txt");
  EXPECT_EQ(errors.find(bad), errors.rfind(bad)) << errors;
  EXPECT_TRUE(folder.Exists("src/BAD"));
  const std::string log = folder.Read("home/Tessaro.log");
  EXPECT_EQ(log.find("\trefused\t" + bad), log.rfind("\trefused\t")) << log;
  EXPECT_THAT(log, HasSubstr("\ttranslated\t" + folder.File("src/NEXT") + "\t4 programs in "));
}

}  // namespace
}  // namespace tessaro
