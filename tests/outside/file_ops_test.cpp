#include "outside/file_ops.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "outside/path_text.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <thread>

#include "outside/dos_attributes.h"
#include "outside/windows_api.h"
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#endif

namespace tessaro {
namespace {

using testing::TempFolder;
using Names = std::vector<std::string>;

#ifdef _WIN32
// The attribute bits Windows keeps, in the form of "user.DOSATTRIB" elsewhere.
std::string DosAttribute(const std::string& path) {
  const DWORD bits = ::GetFileAttributesW(Widen(path).c_str());
  return bits == INVALID_FILE_ATTRIBUTES ? "(none)" : FormatDosAttributes(bits & 0x27);
}
#else
mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

std::string DosAttribute(const std::string& path) {
  char buffer[256];
  const ssize_t size = ::getxattr(path.c_str(), "user.DOSATTRIB", buffer, sizeof buffer);
  return size < 0 ? "(none)" : std::string(buffer, static_cast<size_t>(size));
}

// Permission bits and umask are POSIX's; Windows keeps read-only as an attribute
// (Attributes.HiddenIsSetClearedAndReadBack).
TEST(ReplaceFileContents, NewFileGetsTheUsualModeAndAReplacedOneKeepsItsMode) {
  TempFolder folder;
  const std::string path = folder.File("P1.RCM");
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(ReplaceFileContents(path, "first\r\n").ok());
  ::umask(mask);
  EXPECT_EQ(folder.Read("P1.RCM"), "first\r\n");
  EXPECT_EQ(ModeOf(path), 0644u);
  ::chmod(path.c_str(), 0444);  // read-only, in a writable folder
  ASSERT_TRUE(ReplaceFileContents(path, "second").ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "second");
  EXPECT_EQ(ModeOf(path), 0444u);
  EXPECT_EQ(folder.List(), Names{"P1.RCM"});
}
#endif

TEST(ReplaceFileContents, FailureNamesTheFileAndKeepsTheOldOne) {
  TempFolder folder;
  const std::string missingFolder = folder.File("gone/P1.RCM");
  EXPECT_EQ(ReplaceFileContents(missingFolder, "x").error(),
            "Cannot write " + missingFolder + ": No such file or directory");
  folder.MakeFolder("P1.RCM");  // a folder where the file should go: the rename fails
  const Status overFolder = ReplaceFileContents(folder.File("P1.RCM"), "x");
  EXPECT_NE(overFolder.error().find(folder.File("P1.RCM")), std::string::npos);
  EXPECT_EQ(folder.List(), Names{"P1.RCM"});  // no temporary file left
#ifndef _WIN32                   // a folder's write permission is taken away by its mode here
  if (::geteuid() == 0) return;  // root may write every folder
  const std::string path = folder.Write("P2.RCM", "old");
  ::chmod(folder.path().c_str(), 0555);
  const Status status = ReplaceFileContents(path, "new");
  ::chmod(folder.path().c_str(), 0755);
  EXPECT_EQ(status.error(), "Cannot write " + path + ": Permission denied");
  EXPECT_EQ(folder.Read("P2.RCM"), "old");
#endif
}

#ifdef _WIN32
// Holds a file open as another program may, letting no one else in.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path)
      : handle_(::CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr)) {}
  ~HeldOpen() { Release(); }
  void Release() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};
#else
// A child rewrites the file until it is killed, at varied moments; every read, while it
// writes and after the kill, finds one whole contents. Windows has no fork().
TEST(ReplaceFileContents, KilledWriterLeavesOneWholeContents) {
  TempFolder folder;
  const std::string a(1'000'000, 'a');
  const std::string b(1'500'000, 'b');
  const std::string path = folder.Write("P1.RCM", a);
  const auto whole = [&] {
    const std::string seen = folder.Read("P1.RCM");
    return seen == a || seen == b;
  };
  int torn = 0;
  for (int round = 0; round < 4; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) (void)ReplaceFileContents(path, i % 2 ? a : b);
    }
    for (int read = 0; read < 5 + round * 3; ++read) torn += whole() ? 0 : 1;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    torn += whole() ? 0 : 1;
  }
  EXPECT_EQ(torn, 0);
}

// A write the kernel refuses: files may not grow past 16 bytes in this process.
class FileSizeLimit {
 public:
  FileSizeLimit() {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};
#endif

TEST(ReplaceFileContents, SetsTheNewAttributesOnlyWithTheNewContents) {
  TempFolder folder;
  const std::string path = folder.Write("P1.RCM", "old");
  if (!testing::KeepsHiddenFlag(path)) GTEST_SKIP() << "no extended attributes here";
  SetFileAttributes(path, kHiddenAttribute | kReadOnlyAttribute);
  {
#ifdef _WIN32
    const HeldOpen held(path);  // for longer than the replacement waits
    const Status failed = ReplaceFileContents(path, std::string(100, 'x'), kArchiveAttribute);
    EXPECT_EQ(failed.error().rfind("Cannot write " + path + ": ", 0), 0u) << failed.error();
#else
    const FileSizeLimit limit;
    const Status failed = ReplaceFileContents(path, std::string(100, 'x'), kArchiveAttribute);
    EXPECT_EQ(failed.error(), "Cannot write " + path + ": File too large");
#endif
  }
  EXPECT_EQ(folder.Read("P1.RCM"), "old");
  EXPECT_TRUE(IsHidden(path));
  EXPECT_TRUE(IsReadOnly(path));
  EXPECT_EQ(folder.List(), Names{"P1.RCM"});

#ifdef _WIN32
  HeldOpen held(path);  // let go while the replacement waits
  std::thread release([&held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    held.Release();
  });
  EXPECT_TRUE(ReplaceFileContents(path, "new", kArchiveAttribute).ok());
  release.join();
#else
  ASSERT_TRUE(ReplaceFileContents(path, "new", kArchiveAttribute).ok());
#endif
  EXPECT_EQ(folder.Read("P1.RCM"), "new");
  EXPECT_FALSE(IsHidden(path));
  EXPECT_FALSE(IsReadOnly(path));
  ASSERT_TRUE(ReplaceFileContents(folder.File("P2.RCM"), "new", kHiddenAttribute).ok());
  EXPECT_TRUE(IsHidden(folder.File("P2.RCM")));
}

TEST(Links, AreReplacedOrRemovedAsLinksAndTheirTargetsNeverChange) {
  TempFolder outside;
  TempFolder folder;
  const std::string target = outside.Write("TARGET", "kept");
  ASSERT_TRUE(SetReadOnly(target, true).ok());
  const std::string stored = DosAttribute(target);
  if (!testing::MakeSymlink(target, folder.File("P1.RCM")) ||
      !testing::MakeSymlink(target, folder.File("P2.RCM"))) {
    GTEST_SKIP() << "no symbolic links here";
  }
  SetFileAttributes(folder.File("P1.RCM"), kArchiveAttribute);
  SetFileAttributes(folder.File("P1.RCM"), kHiddenAttribute);
  EXPECT_TRUE(std::filesystem::is_symlink(FileSystemPath(folder.File("P1.RCM"))));
  ASSERT_TRUE(ReplaceFileContents(folder.File("P2.RCM"), "new", kArchiveAttribute).ok());
  EXPECT_FALSE(std::filesystem::is_symlink(FileSystemPath(folder.File("P2.RCM"))));
  EXPECT_EQ(folder.Read("P2.RCM"), "new");
  EXPECT_TRUE(RemoveFile(folder.File("P1.RCM")).ok());
  EXPECT_EQ(outside.Read("TARGET"), "kept");
  EXPECT_TRUE(IsReadOnly(target));
  EXPECT_EQ(DosAttribute(target), stored);
}

TEST(RemoveStaleTemporaryFiles, RemovesOnlyOurOwnLeftoversOlderThanTheAge) {
  TempFolder folder;
  const long long now = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
  for (const char* name : {".tessaro-P1.RCM.1.0", ".tessaro-P2.RCM.1.1", ".other", "P3.RCM"}) {
    folder.Write(name, "x");
    folder.SetModifiedSeconds(name, now - 16 * 60);
  }
  ASSERT_TRUE(SetReadOnly(folder.File(".tessaro-P2.RCM.1.1"), true).ok());  // goes all the same
  folder.Write(".tessaro-P4.RCM.1.2", "being written");
  folder.SetModifiedSeconds(".tessaro-P4.RCM.1.2", now - 14 * 60);
  EXPECT_EQ(RemoveStaleTemporaryFiles(folder.path()).size(), 2u);
  EXPECT_EQ(folder.List(), (Names{".other", ".tessaro-P4.RCM.1.2", "P3.RCM"}));
}

TEST(RemoveFile, DeletesToleratesAMissingFileAndNamesAFailure) {
  TempFolder folder;
  const std::string file = folder.Write("P1.RCM", "x");
  ASSERT_TRUE(SetReadOnly(file, true).ok());  // deleted all the same
  EXPECT_TRUE(RemoveFile(file).ok());
  EXPECT_FALSE(folder.Exists("P1.RCM"));
  EXPECT_TRUE(RemoveFile(file).ok());
  const Status status = RemoveFile(folder.MakeFolder("SUB"));
  EXPECT_EQ(status.error().rfind("Cannot delete " + folder.File("SUB") + ": ", 0), 0u)
      << status.error();
}

#ifndef _WIN32  // permission bits; Windows has the attribute (HiddenIsSetClearedAndReadBack)
TEST(Attributes, ReadOnlyIsTheLackOfWritePermissionAndArchiveGivesItBack) {
  TempFolder folder;
  const std::string file = folder.Write("P1.RCM", "x");
  ::chmod(file.c_str(), 0664);
  ASSERT_TRUE(SetReadOnly(file, true).ok());
  EXPECT_TRUE(IsReadOnly(file));
  EXPECT_EQ(ModeOf(file), 0444u);
  ASSERT_TRUE(SetReadOnly(file, false).ok());
  EXPECT_EQ(ModeOf(file), 0644u);
  ::chmod(file.c_str(), 0444);
  SetFileAttributes(file, kArchiveAttribute);
  EXPECT_EQ(ModeOf(file), 0644u);
  EXPECT_FALSE(SetReadOnly(folder.File("GONE"), true).ok());
}
#endif

TEST(Attributes, HiddenIsSetClearedAndReadBack) {
  TempFolder folder;
  const std::string file = folder.Write("P1.RCM", "x");
  if (!testing::KeepsHiddenFlag(file)) GTEST_SKIP() << "no extended attributes here";
  ASSERT_TRUE(SetReadOnly(file, true).ok());
  // Each row starts from the file the row before left.
  for (const auto& [attributes, hidden, readOnly, stored] :
       {std::tuple{kHiddenAttribute, true, false, "0x2"},
        std::tuple{kArchiveAttribute, false, false, "0x20"},
        std::tuple{kHiddenAttribute | kReadOnlyAttribute, true, true, "0x2"}}) {
    SetFileAttributes(file, attributes);
    EXPECT_EQ(IsHidden(file), hidden) << attributes;
    EXPECT_EQ(IsReadOnly(file), readOnly) << attributes;
#ifndef _WIN32  // on Windows the two above are the attributes themselves
    EXPECT_EQ(DosAttribute(file), stored) << attributes;
#endif
  }
  ASSERT_TRUE(ReplaceFileContents(file, "new").ok());  // a replaced file stays as it was
  EXPECT_TRUE(IsHidden(file));
  EXPECT_TRUE(IsReadOnly(file));
  EXPECT_FALSE(SetReadOnly(folder.File("GONE"), true).ok());
#ifndef _WIN32
  // Read-only as a Samba client marks it: in the attribute only.
  SetFileAttributes(file, kArchiveAttribute);
  ::setxattr(file.c_str(), "user.DOSATTRIB", "0x21", 4, 0);
  EXPECT_TRUE(IsReadOnly(file));
  ASSERT_TRUE(SetReadOnly(file, false).ok());
  EXPECT_FALSE(IsReadOnly(file));
  EXPECT_EQ(DosAttribute(file), "0x20");
#endif
}

TEST(Locations, ExecutablePathAndUserConfigFolder) {
  EXPECT_EQ(FileSystemPath(ExecutablePath()).stem(), "outside_tests");
#ifdef _WIN32
  const testing::ScopedEnvironment appData("APPDATA", "C:\\Users\\Jürgen\\AppData\\Roaming");
  EXPECT_EQ(UserConfigFolder(), "C:\\Users\\Jürgen\\AppData\\Roaming\\Tessaro");
  appData.Set("relative");  // not absolute: ignored
  EXPECT_EQ(UserConfigFolder(), "");
#else
  const testing::ScopedEnvironment home("HOME", "/home/shop");
  const testing::ScopedEnvironment config("XDG_CONFIG_HOME", "/srv/config");
  EXPECT_EQ(UserConfigFolder(), "/srv/config/tessaro");
  config.Set("relative");  // not absolute: ignored
  EXPECT_EQ(UserConfigFolder(), "/home/shop/.config/tessaro");
#endif
}

}  // namespace
}  // namespace tessaro
