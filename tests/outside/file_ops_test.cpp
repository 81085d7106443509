#include "outside/file_ops.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

std::optional<std::string> DosAttribute(const std::string& path) {
  char buffer[256];
  const ssize_t size = ::getxattr(path.c_str(), "user.DOSATTRIB", buffer, sizeof buffer);
  if (size < 0) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(size));
}

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// True when the folder's file system keeps user extended attributes.
bool KeepsExtendedAttributes(const TempFolder& folder) {
  const std::string probe = folder.Write(".xattr-probe", "");
  const bool kept = ::setxattr(probe.c_str(), "user.probe", "1", 1, 0) == 0;
  std::filesystem::remove(probe);
  return kept;
}

TEST(FileContents, ReadsEveryByte) {
  TempFolder folder;
  const std::string text("line\r\nnul\0byte\n\xff", 16);
  const FileContents contents = ReadFileContents(folder.Write("PART", text));
  EXPECT_TRUE(contents.status.ok());
  EXPECT_EQ(contents.text, text);
}

TEST(FileContents, ReadsAnEmptyFile) {
  TempFolder folder;
  const FileContents contents = ReadFileContents(folder.Write("EMPTY", ""));
  EXPECT_TRUE(contents.status.ok());
  EXPECT_EQ(contents.text, "");
}

TEST(FileContents, MissingFileOrFolderFailsNamingIt) {
  TempFolder folder;
  const FileContents missing = ReadFileContents(folder.File("GONE"));
  EXPECT_FALSE(missing.status.ok());
  EXPECT_EQ(missing.status.error(),
            "Cannot read " + folder.File("GONE") + ": No such file or directory");
  const FileContents directory = ReadFileContents(folder.path());
  EXPECT_FALSE(directory.status.ok());
  EXPECT_NE(directory.status.error().find(folder.path()), std::string::npos);
}

TEST(ReplaceFileContents, CreatesAndReplacesTheFile) {
  TempFolder folder;
  const std::string path = folder.File("P1.RCM");
  ASSERT_TRUE(ReplaceFileContents(path, "first\r\n").ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "first\r\n");
  ASSERT_TRUE(ReplaceFileContents(path, "second").ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "second");
  ASSERT_TRUE(ReplaceFileContents(path, "").ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"P1.RCM"});
}

TEST(ReplaceFileContents, NewFileGetsTheUsualPermissions) {
  TempFolder folder;
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(ReplaceFileContents(folder.File("P1.RCM"), "x").ok());
  ::umask(mask);
  EXPECT_EQ(ModeOf(folder.File("P1.RCM")), 0644u);
}

TEST(ReplaceFileContents, ReplacedFileKeepsItsPermissions) {
  TempFolder folder;
  const std::string path = folder.Write("P1.RCM", "old");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(ReplaceFileContents(path, "new").ok());
  EXPECT_EQ(ModeOf(path), 0640u);
}

TEST(ReplaceFileContents, ReplacesAReadOnlyFileInAWritableFolder) {
  TempFolder folder;
  const std::string path = folder.Write("P1.RCM", "old");
  ASSERT_TRUE(SetReadOnly(path, true).ok());
  ASSERT_TRUE(ReplaceFileContents(path, "new").ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "new");
  EXPECT_TRUE(IsReadOnly(path));
}

TEST(ReplaceFileContents, HiddenFileStaysHidden) {
  TempFolder folder;
  if (!KeepsExtendedAttributes(folder)) GTEST_SKIP() << "no extended attributes here";
  const std::string path = folder.Write("P2.RCM", "old");
  SetFileAttributes(path, kHiddenAttribute);
  ASSERT_TRUE(ReplaceFileContents(path, "new").ok());
  EXPECT_TRUE(IsHidden(path));
}

TEST(ReplaceFileContents, FailureNamesTheFileAndLeavesNoTemporaryFile) {
  TempFolder folder;
  const std::string missingFolder = folder.File("gone/P1.RCM");
  const Status missing = ReplaceFileContents(missingFolder, "x");
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "Cannot write " + missingFolder + ": No such file or directory");

  folder.MakeFolder("P1.RCM");  // a folder where the file should go: the rename fails
  const Status overFolder = ReplaceFileContents(folder.File("P1.RCM"), "x");
  EXPECT_FALSE(overFolder.ok());
  EXPECT_NE(overFolder.error().find(folder.File("P1.RCM")), std::string::npos);
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"P1.RCM"});
}

TEST(ReplaceFileContents, ReadOnlyFolderRefusesAndKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write every folder";
  TempFolder folder;
  const std::string path = folder.Write("P1.RCM", "old");
  ::chmod(folder.path().c_str(), 0555);
  const Status status = ReplaceFileContents(path, "new");
  ::chmod(folder.path().c_str(), 0755);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.error(), "Cannot write " + path + ": Permission denied");
  EXPECT_EQ(folder.Read("P1.RCM"), "old");
}

// A process killed while it replaces a file leaves one of the two contents whole.
TEST(ReplaceFileContents, KilledWriterLeavesOneWholeContents) {
  TempFolder folder;
  const std::string contentsA(1'000'000, 'a');
  const std::string contentsB(1'500'000, 'b');
  const std::string path = folder.Write("P1.RCM", contentsA);
  for (int round = 0; round < 4; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) (void)ReplaceFileContents(path, i % 2 ? contentsA : contentsB);
    }
    // Readers meanwhile see one whole contents or the other, never a part.
    int partialReads = 0;
    for (int read = 0; read < 5 + round * 3; ++read) {
      const std::string seen = folder.Read("P1.RCM");
      if (seen != contentsA && seen != contentsB) ++partialReads;
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(partialReads, 0) << "round " << round;
    const std::string contents = folder.Read("P1.RCM");
    EXPECT_TRUE(contents == contentsA || contents == contentsB)
        << "round " << round << ": " << contents.size() << " bytes";
  }
}

TEST(FileChecks, ExistenceOfFilesAndFolders) {
  TempFolder folder;
  const std::string file = folder.Write("PART", "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(folder.path()));
  EXPECT_FALSE(FileExists(folder.File("GONE")));
  EXPECT_TRUE(FolderExists(folder.path()));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_FALSE(FolderExists(folder.File("GONE")));
  EXPECT_TRUE(IsWritableFolder(folder.path()));
  EXPECT_FALSE(IsWritableFolder(file));
  EXPECT_FALSE(IsWritableFolder(folder.File("GONE")));
}

TEST(RemoveFile, DeletesAndToleratesAMissingFile) {
  TempFolder folder;
  const std::string file = folder.Write("P1.RCM", "x");
  EXPECT_TRUE(RemoveFile(file).ok());
  EXPECT_FALSE(folder.Exists("P1.RCM"));
  EXPECT_TRUE(RemoveFile(file).ok());
}

TEST(RemoveFile, FailureNamesTheFile) {
  TempFolder folder;
  folder.MakeFolder("SUB");
  const Status status = RemoveFile(folder.File("SUB"));
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.error().rfind("Cannot delete " + folder.File("SUB") + ": ", 0), 0u)
      << status.error();
}

TEST(Attributes, ReadOnlyIsTheLackOfWritePermission) {
  TempFolder folder;
  const std::string file = folder.Write("P1.RCM", "x");
  ::chmod(file.c_str(), 0664);
  EXPECT_FALSE(IsReadOnly(file));
  ASSERT_TRUE(SetReadOnly(file, true).ok());
  EXPECT_TRUE(IsReadOnly(file));
  EXPECT_EQ(ModeOf(file), 0444u);
  ASSERT_TRUE(SetReadOnly(file, false).ok());
  EXPECT_FALSE(IsReadOnly(file));
  EXPECT_EQ(ModeOf(file), 0644u);
  EXPECT_FALSE(SetReadOnly(folder.File("GONE"), true).ok());
}

TEST(Attributes, ArchiveGivesWritePermissionBack) {
  TempFolder folder;
  const std::string file = folder.Write("P1.RCM", "x");
  ::chmod(file.c_str(), 0444);
  SetFileAttributes(file, kArchiveAttribute);
  EXPECT_FALSE(IsReadOnly(file));
  EXPECT_EQ(ModeOf(file), 0644u);
}

TEST(Attributes, HiddenIsSetClearedAndReadBack) {
  TempFolder folder;
  if (!KeepsExtendedAttributes(folder)) GTEST_SKIP() << "no extended attributes here";
  const std::string file = folder.Write("P1.RCM", "x");
  EXPECT_FALSE(IsHidden(file));
  SetFileAttributes(file, kHiddenAttribute);
  EXPECT_TRUE(IsHidden(file));
  EXPECT_EQ(DosAttribute(file), "0x2");
  SetFileAttributes(file, kArchiveAttribute);
  EXPECT_FALSE(IsHidden(file));
  EXPECT_EQ(DosAttribute(file), "0x20");
}

TEST(Attributes, HiddenOnAReadOnlyFileMakesItWritable) {
  TempFolder folder;
  if (!KeepsExtendedAttributes(folder)) GTEST_SKIP() << "no extended attributes here";
  const std::string file = folder.Write("P1.RCM", "x");
  ::chmod(file.c_str(), 0444);
  SetFileAttributes(file, kHiddenAttribute);
  EXPECT_TRUE(IsHidden(file));
  EXPECT_FALSE(IsReadOnly(file));
}

TEST(Attributes, ReadOnlyBitKeepsHiddenAndRemovesWritePermission) {
  TempFolder folder;
  if (!KeepsExtendedAttributes(folder)) GTEST_SKIP() << "no extended attributes here";
  const std::string file = folder.Write("P1.RCM", "x");
  SetFileAttributes(file, kHiddenAttribute | 1);
  EXPECT_TRUE(IsHidden(file));
  EXPECT_TRUE(IsReadOnly(file));
  EXPECT_EQ(DosAttribute(file), "0x2");
}

TEST(Attributes, BinaryFormWrittenByAFileServerReadsAsHidden) {
  TempFolder folder;
  if (!KeepsExtendedAttributes(folder)) GTEST_SKIP() << "no extended attributes here";
  const std::string file = folder.Write("P1.RCM", "x");
  // "0x22" NUL, version 3, valid flags 1, attributes 0x22, then sizes.
  const std::string value("0x22\0\x03\x00\x01\x00\x00\x00\x22\x00\x00\x00\x00\x00\x00\x00", 19);
  ASSERT_EQ(::setxattr(file.c_str(), "user.DOSATTRIB", value.data(), value.size(), 0), 0);
  EXPECT_TRUE(IsHidden(file));
}

TEST(Attributes, MissingFileIsLeftAlone) {
  TempFolder folder;
  SetFileAttributes(folder.File("GONE"), kArchiveAttribute);
  SetFileAttributes(folder.File("GONE"), kHiddenAttribute);
  EXPECT_FALSE(folder.Exists("GONE"));
  EXPECT_FALSE(IsHidden(folder.File("GONE")));
  EXPECT_FALSE(IsReadOnly(folder.File("GONE")));
}

TEST(Locations, ExecutablePathIsThisTestProgram) {
  const std::string path = ExecutablePath();
  EXPECT_EQ(std::filesystem::path(path).filename(), "outside_tests");
  EXPECT_TRUE(FileExists(path));
}

TEST(Locations, UserConfigFolderFollowsTheEnvironment) {
  const ScopedEnvironment home("HOME", "/home/shop");
  const ScopedEnvironment config("XDG_CONFIG_HOME", "/srv/config");
  EXPECT_EQ(UserConfigFolder(), "/srv/config");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_EQ(UserConfigFolder(), "/home/shop/.config");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserConfigFolder(), "/home/shop/.config");
}

}  // namespace
}  // namespace tessaro
