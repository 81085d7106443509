// Tessaro's files as the shop's Windows PCs see them through a real Samba server.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>

#include "cli/cli_runner.h"
#include "outside/file_ops.h"

namespace tessaro {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Binds (port 0: any free one) or connects a socket on 127.0.0.1; the port, 0 on failure.
int OnLoopback(int port, bool connect) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  socklen_t length = sizeof address;
  const bool done = connect ? ::connect(fd, raw, length) == 0
                            : ::bind(fd, raw, length) == 0 && ::getsockname(fd, raw, &length) == 0;
  ::close(fd);
  return done ? ntohs(address.sin_port) : 0;
}

// An smbd of its own on 127.0.0.1 only, on a free port, with all its state in the test's
// folder and one guest share on folder/share. It runs in a process group of its own,
// which goes with the test (and when this process dies).
class SambaShare : public testing::CliTest {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "smbd needs root here";
    if (::access("/usr/sbin/smbd", X_OK) != 0 || ::access("/usr/bin/smbclient", X_OK) != 0) {
      GTEST_SKIP() << "smbd or smbclient is missing (Debian packages samba, smbclient)";
    }
    port_ = OnLoopback(0, false);
    std::string conf =
        "[global]\ninterfaces = 127.0.0.1\nbind interfaces only = yes\nsmb ports = " +
        std::to_string(port_) +
        "\ndisable netbios = yes\nserver role = standalone server\n"
        "map to guest = Bad User\nguest account = root\nload printers = no\n"
        "printcap name = /dev/null\ndisable spoolss = yes\nlog file = " +
        folder.File("smbd.log") + "\n";
    for (const std::string state : {"pid", "lock", "state", "cache", "private", "ncalrpc"}) {
      conf += state + (state == "private" || state == "ncalrpc" ? " dir = " : " directory = ") +
              folder.MakeFolder("run/" + state) + "\n";
    }
    folder.Write("smb.conf", conf + "[share]\npath = " + folder.File("share") +
                                 "\nread only = no\nguest ok = yes\nguest only = yes\n"
                                 "ea support = yes\nstore dos attributes = yes\n");
    folder.Write("home/Tessaro.INI", "[Settings]\nSourcePath=" + folder.MakeFolder("share/gcode") +
                                         "\nDestinationPath=" + folder.File("share/programs") +
                                         "\n[HorizontalRename]\nMask1=****1\nMask2=****2\n");
    for (const char* name : {"H1.ACC", "R1.ACC", "HR1.ACC", "N1.ACC"}) {
      folder.Write("share/programs/" + std::string(name), "x");
    }
    const std::string configuration = "--configfile=" + folder.File("smb.conf");
    const std::string output = folder.File("smbd.out");
    smbd_ = ::fork();
    if (smbd_ == 0) {
      ::setpgid(0, 0);
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (std::freopen(output.c_str(), "w", stdout) && std::freopen(output.c_str(), "a", stderr)) {
        ::execl("/usr/sbin/smbd", "smbd", "--foreground", "--no-process-group", "--debug-stdout",
                configuration.c_str(), nullptr);
      }
      ::_exit(127);
    }
    ::setpgid(smbd_, smbd_);  // either side may come first
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (OnLoopback(port_, true) == 0) {
      if (::waitpid(smbd_, nullptr, WNOHANG) != 0 || std::chrono::steady_clock::now() > end) {
        GTEST_SKIP() << "smbd did not start: " << folder.Read("smbd.out");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  void TearDown() override {
    if (smbd_ <= 0) return;
    ::kill(-smbd_, SIGTERM);
    for (int waited = 0; waited < 500 && ::waitpid(smbd_, nullptr, WNOHANG) == 0; ++waited) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(-smbd_, SIGKILL);  // smbd, if it is still there, and children that outlived it
    ::waitpid(smbd_, nullptr, 0);
  }

  // Runs smbclient's `commands` on the share as a guest; its output, "failed: ..." on failure.
  std::string Client(const std::string& commands) const {
    const std::string line =
        "/usr/bin/smbclient -N -s " + testing::ShellQuoted(folder.File("smb.conf")) + " -p " +
        std::to_string(port_) + " //127.0.0.1/share -c " + testing::ShellQuoted(commands) + " >" +
        testing::ShellQuoted(folder.File("smbclient.out")) + " 2>&1";
    const int status = std::system(line.c_str());
    const std::string text = folder.Read("smbclient.out");
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "failed: " + text;
  }
  // The attribute letters smbclient lists for the file `name` in programs/.
  std::string ListedAttributes(const std::string& name) const {
    std::istringstream lines(Client("cd programs; ls"));
    for (std::string line, listed, attributes; std::getline(lines, line);) {
      std::istringstream words(line);
      if (words >> listed >> attributes && listed == name) return attributes;
    }
    return "(not listed)";
  }
  int port_ = 0;
  pid_t smbd_ = -1;  // leader of its process group
};

TEST_F(SambaShare, HiddenAndReadOnlyMarksOfAClientReadSoInStatus) {
  ASSERT_THAT(Client("cd programs; setmode H1.ACC +h; setmode R1.ACC +r; setmode HR1.ACC +hr"),
              Not(HasSubstr("failed")));
  const testing::CliRun run = Run("status", {"--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json status = nlohmann::json::parse(run.out);
  std::string flags;
  for (const auto& program : status["programs"]) {
    flags += program["name"].get<std::string>() + (program["hidden"] ? " hidden" : "") +
             (program["read_only"] ? " read-only" : "") + "\n";
  }
  EXPECT_EQ(flags, "H1.ACC hidden\nHR1.ACC hidden read-only\nN1.ACC\nR1.ACC read-only\n");
}

TEST_F(SambaShare, ProgramTessaroHidesIsListedHiddenAndOneItUnhidesIsNot) {
  ASSERT_THAT(Client("cd programs; setmode R1.ACC +h"), Not(HasSubstr("failed")));
  ASSERT_THAT(ListedAttributes("R1.ACC"), HasSubstr("H"));
  SetFileAttributes(folder.File("share/programs/H1.ACC"), kHiddenAttribute);
  SetFileAttributes(folder.File("share/programs/R1.ACC"), kArchiveAttribute);
  EXPECT_EQ(ListedAttributes("H1.ACC"), "H");
  EXPECT_EQ(ListedAttributes("R1.ACC"), "A");
}

TEST_F(SambaShare, GcodeFilePutOntoTheShareIsTranslatedByAScan) {
  const std::string local = folder.Write("PART", "G71 X800 Y600 Z18\nG81 P1 X100 Y0 Z-5 E1 G54\n");
  ASSERT_THAT(Client("cd gcode; put " + local + " PART"), Not(HasSubstr("failed")));
  const testing::CliRun run = Run("scan", {"--once"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "translated " + folder.File("share/gcode/PART") + "\n");
  EXPECT_THAT(Client("cd programs; ls"), HasSubstr("PART1.ACC"));
}

}  // namespace
}  // namespace tessaro
