#include "outside/file_ops.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;
using Names = std::vector<std::string>;

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

bool HasExtendedAttributes(const std::string& path) {
  return ::setxattr(path.c_str(), "user.probe", "1", 1, 0) == 0;
}

TEST(ReplaceFileContents, NewFileGetsTheUsualModeAndAReplacedOneKeepsItsMode) {
  TempFolder folder;
  const std::string path = folder.File("P1.RCM");
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(ReplaceFileContents(path, "first\r\n").ok());
  ::umask(mask);
  EXPECT_EQ(ModeOf(path), 0644u);
  ::chmod(path.c_str(), 0444);  // read-only, in a writable folder
  ASSERT_TRUE(ReplaceFileContents(path, "second").ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "second");
  EXPECT_EQ(ModeOf(path), 0444u);
  EXPECT_EQ(folder.List(), Names{"P1.RCM"});
}

TEST(ReplaceFileContents, FailureNamesTheFileAndKeepsTheOldOne) {
  TempFolder folder;
  const std::string missingFolder = folder.File("gone/P1.RCM");
  EXPECT_EQ(ReplaceFileContents(missingFolder, "x").error(),
            "Cannot write " + missingFolder + ": No such file or directory");
  folder.MakeFolder("P1.RCM");  // a folder where the file should go: the rename fails
  EXPECT_NE(ReplaceFileContents(folder.File("P1.RCM"), "x").error().find(folder.File("P1.RCM")),
            std::string::npos);
  EXPECT_EQ(folder.List(), Names{"P1.RCM"});  // no temporary file left
  if (::geteuid() == 0) return;               // root may write every folder
  const std::string path = folder.Write("P2.RCM", "old");
  ::chmod(folder.path().c_str(), 0555);
  const Status status = ReplaceFileContents(path, "new");
  ::chmod(folder.path().c_str(), 0755);
  EXPECT_EQ(status.error(), "Cannot write " + path + ": Permission denied");
  EXPECT_EQ(folder.Read("P2.RCM"), "old");
}

// A child rewrites the file until it is killed, at varied moments; every read, while
// it writes and after the kill, finds one whole contents.
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

TEST(ReplaceFileContents, SetsTheNewAttributesOnlyWithTheNewContents) {
  TempFolder folder;
  const std::string path = folder.Write("P1.RCM", "old");
  if (!HasExtendedAttributes(path)) GTEST_SKIP() << "no extended attributes here";
  SetFileAttributes(path, kHiddenAttribute | kReadOnlyAttribute);
  {  // a write the kernel refuses: files may not grow past 16 bytes for a while
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old;
    limit.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const Status failed = ReplaceFileContents(path, std::string(100, 'x'), kArchiveAttribute);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failed.error(), "Cannot write " + path + ": File too large");
  }
  EXPECT_EQ(folder.Read("P1.RCM"), "old");
  EXPECT_TRUE(IsHidden(path) && IsReadOnly(path));
  EXPECT_EQ(folder.List(), Names{"P1.RCM"});

  ASSERT_TRUE(ReplaceFileContents(path, "new", kArchiveAttribute).ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "new");
  EXPECT_FALSE(IsHidden(path) || IsReadOnly(path));
  ASSERT_TRUE(ReplaceFileContents(folder.File("P2.RCM"), "new", kHiddenAttribute).ok());
  EXPECT_TRUE(IsHidden(folder.File("P2.RCM")));
}

// RemoveFile tolerates a missing file and names a failure; links go as links.
TEST(RemoveFile, DeletesAFileOrALinkButNeverItsTarget) {
  TempFolder outside;
  TempFolder folder;
  const std::string target = outside.Write("TARGET", "kept");
  ::chmod(target.c_str(), 0444);
  for (const char* name : {"P1.RCM", "P2.RCM"}) {
    std::filesystem::create_symlink(target, folder.File(name));
  }
  SetFileAttributes(folder.File("P1.RCM"), kHiddenAttribute);
  ASSERT_TRUE(ReplaceFileContents(folder.File("P2.RCM"), "new", kArchiveAttribute).ok());
  EXPECT_FALSE(std::filesystem::is_symlink(folder.File("P2.RCM")));
  EXPECT_EQ(folder.Read("P2.RCM"), "new");
  EXPECT_TRUE(RemoveFile(folder.File("P1.RCM")).ok());
  EXPECT_TRUE(RemoveFile(folder.File("P1.RCM")).ok());
  EXPECT_EQ(folder.List(), Names{"P2.RCM"});
  EXPECT_EQ(
      RemoveFile(folder.MakeFolder("SUB")).error().rfind("Cannot delete " + folder.File("SUB"), 0),
      0u);
  EXPECT_EQ(outside.Read("TARGET"), "kept");
  EXPECT_EQ(ModeOf(target), 0444u);
  EXPECT_EQ(DosAttribute(target), "(none)");
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
  folder.Write(".tessaro-P4.RCM.1.2", "being written");
  folder.SetModifiedSeconds(".tessaro-P4.RCM.1.2", now - 14 * 60);
  EXPECT_EQ(RemoveStaleTemporaryFiles(folder.path()).size(), 2u);
  EXPECT_EQ(folder.List(), (Names{".other", ".tessaro-P4.RCM.1.2", "P3.RCM"}));
}

// Read-only is the lack of write permission (or a Samba client's mark); archive clears
// both marks, and hidden lives in the attribute.
TEST(Attributes, AreSetClearedAndReadBack) {
  TempFolder folder;
  const std::string file = folder.Write("P1.RCM", "x");
  ::chmod(file.c_str(), 0664);
  ASSERT_TRUE(SetReadOnly(file, true).ok());
  EXPECT_EQ(ModeOf(file), 0444u);
  ASSERT_TRUE(SetReadOnly(file, false).ok());
  EXPECT_EQ(ModeOf(file), 0644u);
  EXPECT_FALSE(SetReadOnly(folder.File("GONE"), true).ok());
  if (!HasExtendedAttributes(file)) GTEST_SKIP() << "no extended attributes here";
  ::chmod(file.c_str(), 0444);
  // Each row starts from the file the row before left.
  for (const auto& [attributes, hidden, readOnly, stored, mode] :
       {std::tuple{kHiddenAttribute, true, false, "0x2", 0644u},
        std::tuple{kArchiveAttribute, false, false, "0x20", 0644u},
        std::tuple{kHiddenAttribute | kReadOnlyAttribute, true, true, "0x2", 0444u}}) {
    SetFileAttributes(file, attributes);
    EXPECT_EQ(IsHidden(file), hidden) << attributes;
    EXPECT_EQ(IsReadOnly(file), readOnly) << attributes;
    EXPECT_EQ(DosAttribute(file), stored) << attributes;
    EXPECT_EQ(ModeOf(file), mode) << attributes;
  }
  ASSERT_TRUE(ReplaceFileContents(file, "new").ok());  // a replaced file stays hidden
  EXPECT_TRUE(IsHidden(file));
  // Read-only as a Samba client marks it: in the attribute only.
  SetFileAttributes(file, kArchiveAttribute);
  ::setxattr(file.c_str(), "user.DOSATTRIB", "0x21", 4, 0);
  EXPECT_TRUE(IsReadOnly(file));
  ASSERT_TRUE(SetReadOnly(file, false).ok());
  EXPECT_FALSE(IsReadOnly(file));
  EXPECT_EQ(DosAttribute(file), "0x20");
}

TEST(Locations, ExecutableAndUserConfigFolder) {
  EXPECT_EQ(std::filesystem::path(ExecutablePath()).filename(), "outside_tests");
  const testing::ScopedEnvironment home("HOME", "/home/shop");
  const testing::ScopedEnvironment config("XDG_CONFIG_HOME", "/srv/config");
  EXPECT_EQ(UserConfigFolder(), "/srv/config");
  config.Set("relative");  // not absolute: ignored
  EXPECT_EQ(UserConfigFolder(), "/home/shop/.config");
}

}  // namespace
}  // namespace tessaro
