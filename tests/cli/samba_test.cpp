// Tessaro's files as the shop's Windows PCs see them through a real Samba server.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_runner.h"
#include "outside/file_ops.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A free TCP port on the loopback address, as the system hands one out.
int FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                     ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  ::close(fd);
  return bound ? ntohs(address.sin_port) : 0;
}

bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(port);
  const bool connected =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

// An smbd of its own, bound to 127.0.0.1 only on a free port, with all its state in
// `folder` and one guest share "share" on folder/share. It runs in a process group of
// its own, which goes when the object goes (and when this process dies).
class SambaServer {
 public:
  explicit SambaServer(const testing::TempFolder& folder) : folder_(folder) {
    if (::geteuid() != 0) {
      whyNot_ = "smbd needs root here";
      return;
    }
    for (const char* program : {"/usr/sbin/smbd", "/usr/bin/smbclient"}) {
      if (::access(program, X_OK) != 0) {
        whyNot_ = std::string(program) + " is missing (Debian packages samba, smbclient)";
        return;
      }
    }
    port_ = FreeLoopbackPort();
    WriteConfiguration();
    Start();
  }

  ~SambaServer() {
    if (group_ <= 0) return;
    ::kill(-group_, SIGTERM);
    if (!Exited(std::chrono::seconds(5))) {
      ::kill(-group_, SIGKILL);
      ::waitpid(group_, nullptr, 0);
    }
    ::kill(-group_, SIGKILL);  // children that outlived smbd
  }

  SambaServer(const SambaServer&) = delete;
  SambaServer& operator=(const SambaServer&) = delete;

  const std::string& whyNot() const { return whyNot_; }

  // Runs smbclient's `commands` on the share as a guest; its output, errors included.
  std::string Client(const std::string& commands) const {
    const std::string out = folder_.File("smbclient.out");
    const std::string line =
        "/usr/bin/smbclient -N -s " + testing::ShellQuoted(folder_.File("smb.conf")) + " -p " +
        std::to_string(port_) + " //127.0.0.1/share -c " + testing::ShellQuoted(commands) + " >" +
        testing::ShellQuoted(out) + " 2>&1";
    const int status = std::system(line.c_str());
    const std::string text = folder_.Read("smbclient.out");
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "failed: " + text;
  }

  // The attribute letters smbclient lists for `name` in the share's folder `folder`.
  std::string ListedAttributes(const std::string& folder, const std::string& name) const {
    std::istringstream lines(Client("cd " + folder + "; ls"));
    std::string line;
    while (std::getline(lines, line)) {
      std::istringstream words(line);
      std::string listed;
      std::string attributes;
      if (words >> listed >> attributes && listed == name) return attributes;
    }
    return "(not listed)";
  }

 private:
  void WriteConfiguration() const {
    const passwd* user = ::getpwuid(::geteuid());
    std::string global = "[global]\n";
    for (const std::string& line : std::vector<std::string>{
             "interfaces = 127.0.0.1", "bind interfaces only = yes",
             "smb ports = " + std::to_string(port_), "disable netbios = yes",
             "server role = standalone server", "map to guest = Bad User",
             "guest account = " + std::string(user ? user->pw_name : "root"), "load printers = no",
             "printcap name = /dev/null", "disable spoolss = yes",
             "pid directory = " + folder_.MakeFolder("run"),
             "lock directory = " + folder_.MakeFolder("lock"),
             "state directory = " + folder_.MakeFolder("state"),
             "cache directory = " + folder_.MakeFolder("cache"),
             "private dir = " + folder_.MakeFolder("private"),
             "ncalrpc dir = " + folder_.MakeFolder("ncalrpc"),
             "log file = " + folder_.File("smbd.log")}) {
      global += "  " + line + "\n";
    }
    folder_.Write("smb.conf", global + "[share]\n  path = " + folder_.MakeFolder("share") +
                                  "\n  read only = no\n  guest ok = yes\n  guest only = yes\n"
                                  "  ea support = yes\n  store dos attributes = yes\n");
  }

  void Start() {
    const std::string configuration = "--configfile=" + folder_.File("smb.conf");
    const std::string output = folder_.File("smbd.out");
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setpgid(0, 0);
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (!std::freopen(output.c_str(), "w", stdout) ||
          !std::freopen(output.c_str(), "a", stderr)) {
        ::_exit(127);
      }
      ::execl("/usr/sbin/smbd", "smbd", "--foreground", "--no-process-group", "--debug-stdout",
              configuration.c_str(), nullptr);
      ::_exit(127);
    }
    if (pid < 0) {
      whyNot_ = "cannot start smbd: fork failed";
      return;
    }
    group_ = pid;
    ::setpgid(group_, group_);  // either side may come first
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Accepts(port_)) {
      if (Exited(std::chrono::milliseconds(50)) || std::chrono::steady_clock::now() > end) {
        whyNot_ = "smbd did not start: " + folder_.Read("smbd.out");
        return;
      }
    }
  }

  // Whether smbd has ended within `wait`; reaps it when so.
  bool Exited(std::chrono::steady_clock::duration wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    while (!reaped_) {
      reaped_ = ::waitpid(group_, nullptr, WNOHANG) == group_;
      if (reaped_ || std::chrono::steady_clock::now() >= end) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return reaped_;
  }

  const testing::TempFolder& folder_;
  int port_ = 0;
  pid_t group_ = -1;  // smbd's own process id
  bool reaped_ = false;
  std::string whyNot_;
};

class SambaShare : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!samba_.whyNot().empty()) GTEST_SKIP() << samba_.whyNot();
    folder_.MakeFolder("share/gcode");
    folder_.MakeFolder("share/programs");
    folder_.Write("home/Tessaro.INI", "[Settings]\nRCM=NO\nSourcePath=" + Share("gcode") +
                                          "\nDestinationPath=" + Share("programs") +
                                          "\n[HorizontalRename]\nMask1=****1\nMask2=****2\n"
                                          "Mask3=****3\nMask4=****4\n");
  }

  std::string Share(const std::string& name) const { return folder_.File("share/" + name); }
  testing::CliRun Cli(const std::string& command, const std::string& option) const {
    return testing::RunCli({command, "--home", folder_.File("home"), option}, folder_);
  }

  testing::TempFolder folder_;
  SambaServer samba_{folder_};
};

TEST_F(SambaShare, HiddenAndReadOnlyMarksOfAClientReadSoInStatus) {
  for (const char* name : {"H1.ACC", "R1.ACC", "HR1.ACC", "N1.ACC"}) {
    folder_.Write("share/programs/" + std::string(name), "x");
  }
  ASSERT_THAT(samba_.Client("cd programs; setmode H1.ACC +h; setmode R1.ACC +r; "
                            "setmode HR1.ACC +hr"),
              ::testing::Not(HasSubstr("failed")));

  const testing::CliRun run = Cli("status", "--json");

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
  const std::string hidden = folder_.Write("share/programs/P1.ACC", "x");
  const std::string unhidden = folder_.Write("share/programs/P2.ACC", "x");
  ASSERT_THAT(samba_.Client("cd programs; setmode P2.ACC +h"), ::testing::Not(HasSubstr("failed")));
  ASSERT_THAT(samba_.ListedAttributes("programs", "P2.ACC"), HasSubstr("H"));

  SetFileAttributes(hidden, kHiddenAttribute);
  SetFileAttributes(unhidden, kArchiveAttribute);

  EXPECT_EQ(samba_.ListedAttributes("programs", "P1.ACC"), "H");
  EXPECT_EQ(samba_.ListedAttributes("programs", "P2.ACC"), "A");
}

TEST_F(SambaShare, GcodeFilePutOntoTheShareIsTranslatedByAScan) {
  const std::string local = folder_.Write(
      "PART", "G71 X800 Y600 Z18\nG81 P1 X100 Y0 Z-5 E1 G54\nG81 P1 X0 Y50 Z-5 E1 G55\n");
  ASSERT_THAT(samba_.Client("cd gcode; put " + local + " PART"),
              ::testing::Not(HasSubstr("failed")));

  const testing::CliRun run = Cli("scan", "--once");

  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "translated " + Share("gcode") + "/PART\n");
  EXPECT_THAT(samba_.Client("cd programs; ls"), HasSubstr("PART1.ACC"));
  EXPECT_TRUE(fs::exists(Share("programs/PART3.ACC")));
}

}  // namespace
}  // namespace tessaro
