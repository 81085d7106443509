#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "scan/scan_files.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::TempFolder;

constexpr auto kPatience = std::chrono::seconds(20);  // far beyond any tick

pid_t StartCli(const std::vector<std::string>& args, const std::string& out,
               const std::string& err) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(TESSARO_CLI_PATH));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(outFd, STDOUT_FILENO);
    ::dup2(errFd, STDERR_FILENO);
    ::execv(TESSARO_CLI_PATH, argv.data());
    ::_exit(127);
  }
  return pid;
}

bool WaitFor(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// The exit status, or -1 when the process did not exit by itself in time.
int WaitForExit(pid_t pid) {
  int status = 0;
  const bool exited = WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; });
  if (!exited) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ScanCommandTest : public ::testing::Test {
 protected:
  ScanCommandTest() {
    folder_.MakeFolder("src");
    folder_.MakeFolder("dst");
    folder_.Write("home/Template.RCM", testing::kSmallTemplate);
    WriteSettings("0", folder_.File("src"));
  }

  void WriteSettings(const std::string& autoDelete, const std::string& sourcePath) const {
    folder_.Write("home/Tessaro.INI",
                  "[Settings]\nRCM=YES\nSourcePath=" + sourcePath + "\nDestinationPath=" +
                      folder_.File("dst") + "\nScanTime=0.2\nAutoDelete=" + autoDelete +
                      "\n[HorizontalRename]\nMask1=****1\nMask2=****2\nMask3=****3\nMask4=****4\n");
  }

  pid_t Start(std::vector<std::string> args) const {
    args.insert(args.begin(), {"scan", "--home", folder_.File("home")});
    return StartCli(args, folder_.File("out.txt"), folder_.File("err.txt"));
  }
  int RunOnce() const { return WaitForExit(Start({"--once"})); }

  std::string Out() const { return folder_.Read("out.txt"); }
  std::string Err() const { return folder_.Read("err.txt"); }

  bool HasPrograms(const std::string& base) const {
    for (int face = 1; face <= 4; ++face) {
      if (!folder_.Exists("dst/" + base + std::to_string(face) + ".RCM")) return false;
    }
    return true;
  }
  std::vector<std::string> TemporaryFilesLeft() const {
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.File("dst"))) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(".tessaro-", 0) == 0) left.push_back(name);
    }
    return left;
  }

  TempFolder folder_;
};

TEST_F(ScanCommandTest, OnceTranslatesNewFilesAndSaysSo) {
  folder_.Write("src/PART", testing::kPanelGcode);

  EXPECT_EQ(RunOnce(), 0);

  EXPECT_EQ(Out(), "translated " + folder_.File("src/PART") + "\n");
  EXPECT_TRUE(HasPrograms("PART"));
}

TEST_F(ScanCommandTest, OnceDeletesOrphansOnlyWhenAutoDeleteReadsOne) {
  const struct {
    const char* autoDelete;
    bool deleted;
  } cases[] = {{"0", false}, {"1", true}, {"2", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.autoDelete);
    WriteSettings(c.autoDelete, folder_.File("src"));
    folder_.Write("dst/GONE1.RCM", "old");

    EXPECT_EQ(RunOnce(), 0);

    EXPECT_EQ(folder_.Exists("dst/GONE1.RCM"), !c.deleted);
    EXPECT_EQ(Out(), c.deleted ? "deleted " + folder_.File("dst/GONE1.RCM") + "\n" : "");
  }
}

TEST_F(ScanCommandTest, OnceFailsWhenTheSourceFolderCannotBeListed) {
  WriteSettings("1", folder_.File("gone"));
  folder_.Write("dst/PART1.RCM", "old");

  EXPECT_EQ(RunOnce(), 1);

  EXPECT_THAT(Err(), HasSubstr(folder_.File("gone")));
  EXPECT_TRUE(folder_.Exists("dst/PART1.RCM"));
}

TEST_F(ScanCommandTest, OnceFailsWhenAProgramCannotBeWritten) {
  folder_.Write("src/PART", testing::kPanelGcode);
  folder_.MakeFolder("dst/PART3.RCM");

  EXPECT_EQ(RunOnce(), 1);

  EXPECT_THAT(Err(), HasSubstr("PART3.RCM"));
}

TEST_F(ScanCommandTest, OnceReportsARefusedFileAndKeepsIt) {
  WriteSettings("1", folder_.File("src"));
  folder_.Write("src/BAD", testing::kRefusedGcode);

  EXPECT_EQ(RunOnce(), 0);

  EXPECT_THAT(Err(), HasSubstr(folder_.File("src/BAD")));
  EXPECT_TRUE(folder_.Exists("src/BAD"));
  EXPECT_EQ(Out(), "");
}

TEST_F(ScanCommandTest, UnknownOptionIsAUsageError) {
  EXPECT_EQ(WaitForExit(Start({"--twice"})), 2);
}

TEST_F(ScanCommandTest, WatchLoopTranslatesNewFilesUntilTerminated) {
  folder_.Write("src/ERLY", testing::kPanelGcode);
  const pid_t pid = Start({});
  ASSERT_TRUE(WaitFor([&] { return HasPrograms("ERLY"); }));

  folder_.Write("src/NEXT", testing::kPanelGcode);
  const bool translated = WaitFor([&] { return HasPrograms("NEXT"); });
  ::kill(pid, SIGTERM);

  EXPECT_TRUE(translated);
  EXPECT_EQ(WaitForExit(pid), 0);
  EXPECT_THAT(TemporaryFilesLeft(), IsEmpty());
  EXPECT_THAT(Out(), HasSubstr("translated " + folder_.File("src/NEXT") + "\n"));
}

TEST_F(ScanCommandTest, WatchLoopReportsAnUnchangedRefusedFileOnce) {
  folder_.Write("src/BAD", testing::kRefusedGcode);
  const pid_t pid = Start({});
  ASSERT_TRUE(WaitFor([&] { return Err().find("BAD") != std::string::npos; }));

  // Every tick that translates LATE has seen BAD again.
  folder_.Write("src/LATE", testing::kPanelGcode);
  const bool translated = WaitFor([&] { return HasPrograms("LATE"); });
  ::kill(pid, SIGINT);

  EXPECT_TRUE(translated);
  EXPECT_EQ(WaitForExit(pid), 0);
  const std::string err = Err();
  const std::size_t first = err.find(folder_.File("src/BAD"));
  ASSERT_NE(first, std::string::npos);
  EXPECT_THAT(err.substr(first + 1), Not(HasSubstr(folder_.File("src/BAD"))));
  EXPECT_TRUE(folder_.Exists("src/BAD"));
}

}  // namespace
}  // namespace tessaro
