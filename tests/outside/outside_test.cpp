// The platform layer on real files and folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "outside/dos_attributes.h"
#include "outside/file_ops.h"
#include "outside/folder_listing.h"
#include "outside/folder_lock.h"
#include "outside/line_scanner.h"
#include "outside/path_text.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <thread>

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
using Lines = std::vector<std::string>;
using namespace std::string_literals;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (int b : bytes) text += static_cast<char>(b);
  return text;
}

// What Samba 4.17 stored for a file a client set with `setmode`: an empty text, padding,
// version 5, level 5, padding, valid fields 0x11, the attributes, the creation time.
std::string Samba417(int attributes) {
  return Bytes({0,          0, 5, 0, 5,    0,    0,    0,    0x11, 0,    0,    0,
                attributes, 0, 0, 0, 0xf3, 0x30, 0x35, 0x2b, 0xde, 0x85, 0xdd, 0x01});
}

TEST(ParseDosAttributes, ReadsTheTextAndEveryVersionOfSambasBlob) {
  const struct {
    std::string value;
    std::optional<int> bits;
  } cases[] = {
      // the text, alone or NUL-ended; a blob after a text that is not empty is not read
      {"0x20", 32},
      {"0X22", 0x22},
      {Bytes({'0', 'x', '2', 0}), 2},
      {Bytes({'0', 'x', '2', 0, 0, 3, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0x20, 0, 0, 0}), 2},
      {"", std::nullopt},
      {"0xZ", std::nullopt},
      {"0x2 hidden", std::nullopt},
      // the bytes Samba 4.17 wrote for +h, +r, +hr, +a and -h
      {Samba417(2), 2},
      {Samba417(1), 1},
      {Samba417(3), 3},
      {Samba417(0x20), 0x20},
      {Samba417(0), 0},
      // versions 1 to 4: attributes first; flags, then attributes; valid fields, then attributes
      {Bytes({0, 0, 1, 0, 1, 0, 0, 0, 0x22, 0, 0, 0, 0, 0, 0, 0}), 0x22},
      {Bytes({0, 0, 2, 0, 2, 0, 0, 0, 0xff, 0, 0, 0, 0x02, 0x01, 0, 0}), 0x102},
      {Bytes({0, 0, 3, 0, 3, 0, 0, 0, 0x0f, 0, 0, 0, 0x20, 0, 0, 0}), 0x20},
      {Bytes({0, 0, 4, 0, 4, 0, 0, 0, 0x01, 0, 0, 0, 0x02, 0, 0, 0, 1, 2, 3, 4}), 2},
      // attributes not marked valid, another version, a level that is not the version
      {Bytes({0, 0, 3, 0, 3, 0, 0, 0, 0x10, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      {Bytes({0, 0, 9, 0, 9, 0, 0, 0, 0x11, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      {Bytes({0, 0, 0xff, 0xff, 0xff, 0xff, 0, 0, 0x11, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      {Bytes({0, 0, 5, 0, 4, 0, 0, 0, 0x11, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      // cut short: inside the attributes, before the level, the NUL alone
      {Samba417(2).substr(0, 15), std::nullopt},
      {Bytes({0, 0, 1, 0}), std::nullopt},
      {std::string(1, '\0'), std::nullopt},
  };
  for (const auto& [value, bits] : cases) {
    std::string bytes;
    for (const char c : value) bytes += std::to_string(static_cast<unsigned char>(c)) + " ";
    EXPECT_EQ(ParseDosAttributes(value), bits) << bytes;
  }
}

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

// Runs `write` while the kernel refuses to let files grow past 16 bytes.
Status WithFilesOf16BytesAtMost(const std::function<Status()>& write) {
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = old;
  limit.rlim_cur = 16;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const Status status = write();
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  return status;
}

// Permission bits and umask are POSIX's; Windows keeps read-only as an attribute
// (Attributes.HiddenIsSetClearedAndReadBack). Read-only is the lack of write permission.
TEST(ReplaceFileContents, NewFileGetsTheUsualModeAndAReplacedOneKeepsItsMode) {
  TempFolder folder;
  const std::string path = folder.File("P1.RCM");
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(ReplaceFileContents(path, "first\r\n").ok());
  ::umask(mask);
  EXPECT_EQ(ModeOf(path), 0644u);
  ASSERT_TRUE(SetReadOnly(path, true).ok());
  EXPECT_EQ(ModeOf(path), 0444u);
  ASSERT_TRUE(ReplaceFileContents(path, "second").ok());
  EXPECT_EQ(folder.Read("P1.RCM"), "second");
  EXPECT_EQ(ModeOf(path), 0444u);
  EXPECT_EQ(folder.List(), Names{"P1.RCM"});
  ASSERT_TRUE(SetReadOnly(path, false).ok());
  EXPECT_EQ(ModeOf(path), 0644u);
  ::chmod(path.c_str(), 0444);
  SetFileAttributes(path, kArchiveAttribute);
  EXPECT_EQ(ModeOf(path), 0644u);
}
#endif

TEST(ReplaceFileContents, FailureNamesTheFileAndKeepsTheOldOne) {
  TempFolder folder;
  const std::string missingFolder = folder.File("gone/P1.RCM");
  EXPECT_EQ(ReplaceFileContents(missingFolder, "x").error(),
            "Cannot write " + missingFolder + ": No such file or directory");
  EXPECT_TRUE(folder.List().empty());  // no temporary file left
#ifndef _WIN32                         // a folder's write permission is taken away by its mode here
  if (::geteuid() == 0) GTEST_SKIP() << "root may write every folder: no write can be refused";
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
    const Status failed = WithFilesOf16BytesAtMost(
        [&] { return ReplaceFileContents(path, std::string(100, 'x'), kArchiveAttribute); });
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
  // Only the exact form of our temporary names: a user's own dot files stay.
  for (const char* name :
       {".tessaro-P1.RCM.1.0", ".tessaro-P2.RCM.1.1", ".other", "P3.RCM", ".tessaro-notes.txt",
        ".tessaro-P5.RCM.12", ".tessaro-.1.2", ".tessaro-P6.RCM.1x.2", ".tessaro.lock"}) {
    folder.Write(name, "x");
    folder.SetModifiedSeconds(name, now - 16 * 60);
  }
  ASSERT_TRUE(SetReadOnly(folder.File(".tessaro-P2.RCM.1.1"), true).ok());  // goes all the same
  folder.Write(".tessaro-P4.RCM.1.2", "being written");
  folder.SetModifiedSeconds(".tessaro-P4.RCM.1.2", now - 14 * 60);
  EXPECT_EQ(RemoveStaleTemporaryFiles(folder.path()),
            (Names{folder.File(".tessaro-P1.RCM.1.0"), folder.File(".tessaro-P2.RCM.1.1")}));
  EXPECT_EQ(folder.List(),
            (Names{".other", ".tessaro-.1.2", ".tessaro-P4.RCM.1.2", ".tessaro-P5.RCM.12",
                   ".tessaro-P6.RCM.1x.2", ".tessaro-notes.txt", ".tessaro.lock", "P3.RCM"}));
  EXPECT_TRUE(RemoveStaleTemporaryFiles("").empty());  // never the working folder
}

// Every program of a G-code file is staged before any is renamed: a disk that fills up
// while they are written leaves every old one and no temporary file.
TEST(FileReplacement, AFullDiskLeavesEveryOldFileAndNoTemporaryOne) {
  TempFolder folder;
#ifndef _WIN32
  testing::TmpfsMount disk(folder.path(), "64k");
  // Elsewhere the kernel refuses the third file's writes through RLIMIT_FSIZE.
  const bool byRlimit = !disk.mounted();
#endif
  for (const char* name : {"P1.RCM", "P2.RCM", "P3.RCM", "P4.RCM"}) folder.Write(name, "old");
  const std::string program(20'000, 'n');
  {
    FileReplacement replacement;
    ASSERT_TRUE(replacement.Stage(folder.File("P1.RCM"), program).ok());
    ASSERT_TRUE(replacement.Stage(folder.File("P2.RCM"), program).ok());
    Status third = Status::Ok();
#ifdef _WIN32
    third = replacement.Stage(folder.File("gone/P3.RCM"), program);
#else
    if (byRlimit) {
      third = WithFilesOf16BytesAtMost(
          [&] { return replacement.Stage(folder.File("P3.RCM"), program); });
    } else {
      third = replacement.Stage(folder.File("P3.RCM"), program + program);
      EXPECT_EQ(third.error(),
                "Cannot write " + folder.File("P3.RCM") + ": No space left on device");
    }
#endif
    EXPECT_FALSE(third.ok());
  }
  for (const char* name : {"P1.RCM", "P2.RCM", "P3.RCM", "P4.RCM"})
    EXPECT_EQ(folder.Read(name), "old");
  EXPECT_EQ(folder.List(), (Names{"P1.RCM", "P2.RCM", "P3.RCM", "P4.RCM"}));

  FileReplacement replacement;
  for (const char* name : {"P3.RCM", "P1.RCM"}) {
    ASSERT_TRUE(replacement.Stage(folder.File(name), "new").ok());
  }
  EXPECT_EQ(folder.Read("P1.RCM"), "old");  // nothing is in place before the commit
  const FileReplacement::Committed committed = replacement.Commit();
  EXPECT_TRUE(committed.status.ok());
  EXPECT_EQ(committed.placed, 2u);
  EXPECT_EQ(folder.Read("P1.RCM") + folder.Read("P2.RCM") + folder.Read("P3.RCM"), "newoldnew");
  EXPECT_EQ(folder.List(), (Names{"P1.RCM", "P2.RCM", "P3.RCM", "P4.RCM"}));
}

TEST(FolderLock, OneHolderAtATimeNamedToTheOthersAndNoneLeftByADeadOne) {
  TempFolder folder;
  {
    const FolderLock first(folder.path());
    ASSERT_TRUE(first.held()) << first.detail();
    const FolderLock second(folder.path());
    EXPECT_EQ(second.state(), FolderLock::State::kHeldElsewhere);
#ifdef _WIN32
    const auto process = ::GetCurrentProcessId();
#else
    const auto process = ::getpid();
#endif
    EXPECT_EQ(second.detail().rfind("process " + std::to_string(process) + " on ", 0), 0u);
  }
  EXPECT_TRUE(FolderLock(folder.path()).held());
  EXPECT_EQ(FolderLock(folder.File("gone")).state(), FolderLock::State::kUnavailable);
  EXPECT_EQ(folder.List(), Names{".tessaro.lock"});
#ifndef _WIN32
  // A process that dies holding the folder lets it go with its death.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const FolderLock held(folder.path());
    ::kill(::getpid(), SIGKILL);
  }
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(FolderLock(folder.path()).held());
#endif
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

TEST(Locations, ExecutablePathIsThisTestProgram) {
  EXPECT_EQ(FileSystemPath(ExecutablePath()).stem(), "outside_tests");
}

Names NamesOf(const FolderListing& listing) {
  Names names;
  for (const FileEntry& entry : listing.entries) names.push_back(entry.name);
  return names;
}

// `names` as a folder holds them: on Windows "part" is the file "PART".
Names AsHeld(Names names) {
#ifdef _WIN32
  std::erase(names, "part");
#endif
  return names;
}

TEST(ListFolder, ListsVisibleMatchingFilesAndLinksToFilesByNameIgnoringCase) {
  TempFolder folder;
  for (const char* name : {"PART", "part", "part2", "part1.rcm", "P2.RCM", "x.acc", "a.b.rcm",
                           "notes.txt", ".hidden.rcm", ".tessaro-P1.RCM.1", "B.Rcm"}) {
    folder.Write(name, "x");
  }
  folder.MakeFolder("SUB.RCM");
  // Where no links can be made, a plain file stands in for the link to a file.
  if (!testing::MakeSymlink(folder.File("PART"), folder.File("LINK"))) folder.Write("LINK", "x");
  testing::MakeSymlink(folder.File("GONE"), folder.File("BROKEN"));
  testing::MakeSymlink(folder.path(), folder.File("LOOP"));
  for (const auto& [pattern, names] :
       {std::pair{"*.RCM", Names{"a.b.rcm", "B.Rcm", "P2.RCM", "part1.rcm"}},
        std::pair{"*.", Names{"LINK", "PART", "part", "part2"}},
        std::pair{"*", Names{"a.b.rcm", "B.Rcm", "LINK", "notes.txt", "P2.RCM", "PART", "part",
                             "part1.rcm", "part2", "x.acc"}},
        std::pair{"P?RT*", Names{"PART", "part", "part1.rcm", "part2"}}}) {
    const FolderListing listing = ListFolder(folder.path(), pattern);
    EXPECT_TRUE(listing.ok()) << listing.error;
    EXPECT_EQ(NamesOf(listing), AsHeld(names)) << pattern;
  }
  // Each entry holds the base name and the stamp to the nanosecond.
  folder.SetModifiedSeconds("a.b.rcm", 1700000000, 100);
  const FileEntry entry = ListFolder(folder.path(), "*.RCM").entries.at(0);
  EXPECT_EQ(entry.baseName, "a.b");
  using namespace std::chrono;
  EXPECT_EQ(entry.stamp, file_clock::from_sys(sys_seconds(seconds(1700000000)) + nanoseconds(100)));
}

TEST(ListFolder, HiddenIsReadOnlyWhenAsked) {
  TempFolder folder;
  const std::string hidden = folder.Write("P1.RCM", "x");
  folder.Write("P2.RCM", "x");
  if (!testing::KeepsHiddenFlag(hidden)) GTEST_SKIP() << "no extended attributes here";
  SetFileAttributes(hidden, kHiddenAttribute);
  const FolderListing read = ListFolder(folder.path(), "*.RCM", HiddenFlag::kRead);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_TRUE(read.entries[0].hidden);
  EXPECT_FALSE(read.entries[1].hidden);
  EXPECT_FALSE(ListFolder(folder.path(), "*.RCM").entries.at(0).hidden);
}

TEST(ListFolder, FolderThatCannotBeReadIsAnError) {
  TempFolder folder;
  const std::string file = folder.Write("sub/PART", "x");
  EXPECT_EQ(ListFolder(folder.File("gone"), "*").error,
            "Cannot read the folder " + folder.File("gone") + ": No such file or directory");
  EXPECT_FALSE(ListFolder(file, "*").ok());
  // Empty is not unreadable, whether or not a pattern matches.
  const FolderListing empty = ListFolder(folder.MakeFolder("empty"), "*.RCM");
  EXPECT_TRUE(empty.ok() && empty.entries.empty()) << empty.error;
#ifndef _WIN32  // a folder's permission is taken away by its mode here
  if (::geteuid() == 0) GTEST_SKIP() << "root may read every folder: no listing can be refused";
  for (const mode_t mode : {0u, 0444u}) {  // without read or without search permission
    ::chmod(folder.File("sub").c_str(), mode);
    const FolderListing listing = ListFolder(folder.File("sub"), "*");
    ::chmod(folder.File("sub").c_str(), 0755);
    EXPECT_NE(listing.error.find("Permission denied"), std::string::npos) << mode;
    EXPECT_TRUE(listing.entries.empty()) << mode;
  }
#endif
}

TEST(ListSubfolders, ListsVisibleFoldersByName) {
  TempFolder folder;
  folder.MakeFolder("beta");
  folder.MakeFolder("Alpha");
  folder.MakeFolder(".cache");
  folder.Write("file", "x");
  if (!testing::MakeSymlink(folder.File("beta"), folder.File("gamma"))) folder.MakeFolder("gamma");
  EXPECT_EQ(NamesOf(ListSubfolders(folder.path())), (Names{"Alpha", "beta", "gamma"}));
  EXPECT_FALSE(ListSubfolders(folder.File("gone")).ok());
}

// Scans `text` and returns every line as the line handler saw it.
Lines LinesOf(std::string_view text) {
  LineScanner scanner;
  Lines lines;
  scanner.ScanText(text, "memory",
                   {nullptr, [&](LineScanner& s) { lines.push_back(s.Line()); }, nullptr});
  return lines;
}

LineScanner WithLine(std::string line, char separator) {
  LineScanner scanner;
  scanner.SetLine(std::move(line));
  scanner.SetFieldSeparator(separator);
  return scanner;
}

TEST(LineScanner, RunsBeginEveryLineAndEndInOrder) {
  TempFolder folder;
  // The CR of the long line is the last byte of the first piece read, its LF the first
  // of the next.
  const std::string longLine(65535 - 9, 'x');
  const std::string path = folder.Write(
      "PART", std::string(kUtf8ByteOrderMark) + "first\n" + longLine + "\r\nnul\0byte\xff"s);
  LineScanner scanner;
  Lines events;
  const Status status =
      scanner.Scan(path, {[&](LineScanner& s) { events.push_back("begin " + s.FileName()); },
                          [&](LineScanner& s) { events.push_back("line " + s.Line()); },
                          [&](LineScanner& s) { events.push_back("end " + s.FileName()); }});
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(events, (Lines{"begin " + path, "line first", "line " + longLine, "line nul\0byte\xff"s,
                           "end " + path}));
  EXPECT_EQ(scanner.Line(), "");
}

TEST(LineScanner, EndsALineAtCrLfLfOrALoneCrAndSkipsAByteOrderMark) {
  for (const auto& [text, lines] :
       {std::pair{"\n\r\nx\n\n"s, Lines{"", "", "x", ""}}, std::pair{""s, Lines{}},
        std::pair{"a\rb\n"s, Lines{"a", "b"}}, std::pair{"a\r\r\nb"s, Lines{"a", "", "b"}},
        std::pair{"\xEF\xBB\xBFx\xEF\xBB\xBF"s, Lines{"x\xEF\xBB\xBF"}}}) {
    EXPECT_EQ(LinesOf(text), lines) << text;
  }
}

TEST(LineScanner, KeepsWithinItsLimits) {
  TempFolder folder;
  const std::string path = folder.Write("BIG", std::string(20, 'x') + "\nabc\n" + "tail");
  LineScanner scanner;
  Lines lines;
  const LineScanner::Handlers handlers{
      nullptr, [&](LineScanner& s) { lines.push_back(s.Line() + (s.LineCut() ? " (cut)" : "")); },
      nullptr};

  // A long line is handed over cut, the rest of it skipped.
  EXPECT_TRUE(scanner.Scan(path, handlers, {.maxLineLength = 8}).ok());
  EXPECT_EQ(lines, (Lines{"xxxxxxxx (cut)", "abc", "tail"}));

  bool began = false;
  const Status tooLarge = scanner.Scan(
      path, {[&](LineScanner&) { began = true; }, nullptr, nullptr}, {.maxFileSize = 20});
  EXPECT_FALSE(began);
  EXPECT_EQ(tooLarge.error(), "Cannot read " + path + ": the file is larger than 20 bytes");
}

TEST(LineScannerFields, FieldsLieBetweenSeparators) {
  for (const auto& [line, separator, expected] :
       {std::tuple{"G81 X10 Y20 Z-5", ' ', Lines{"G81", "X10", "Y20", "Z-5"}},
        std::tuple{",a,,b,", ',', Lines{"", "a", "", "b", ""}}, std::tuple{"", ' ', Lines{}}}) {
    const LineScanner scanner = WithLine(line, separator);
    Lines fields;
    for (int n = 1; n <= scanner.FieldCount(); ++n) fields.push_back(scanner.Field(n));
    EXPECT_EQ(fields, expected) << line;
    EXPECT_EQ(scanner.Field(0), line);
    EXPECT_EQ(scanner.Field(scanner.FieldCount() + 1), "");
  }
}

TEST(LineScannerFields, SetFieldReplacesOnlyThatField) {
  for (const auto& [line, field, value, expected] :
       {std::tuple{"a,b,c", 1, "XX", "XX,b,c"}, std::tuple{"a,,c", 2, "b", "a,b,c"},
        std::tuple{"a,b", 4, "d", "a,b,,d"}, std::tuple{"", 3, "c", ",,c"},
        std::tuple{"a,b", 0, "new", "new"}, std::tuple{"a,b,c", 2, "x,y", "a,x,y,c"}}) {
    LineScanner scanner = WithLine(line, ',');
    scanner.SetField(field, value);
    EXPECT_EQ(scanner.Line(), expected) << line << " field " << field;
  }
  // A new separator applies at once to the current line.
  LineScanner scanner = WithLine("G81X10Y20=l/2 Z5", 'X');
  EXPECT_EQ(scanner.Field(2), "10Y20=l/2 Z5");
  scanner.SetFieldSeparator('=');
  EXPECT_EQ(scanner.Field(2), "l/2 Z5");
  scanner.SetField(2, "9 Z5");
  scanner.SetFieldSeparator('X');
  scanner.SetField(1, "G80");
  EXPECT_EQ(scanner.Line(), "G80X10Y20=9 Z5");
}

#ifndef _WIN32
// /proc/self/mounts writes a blank in a mount point as \040: the drive list shows the name.
TEST(FileSystemRoots, AMountPointWithABlankIsListedByItsName) {
  const std::string point = "/mnt/tessaro shop " + std::to_string(::getpid());
  std::error_code ignored;
  std::filesystem::create_directories(point, ignored);
  std::vector<std::string> roots;
  {
    const testing::TmpfsMount share(point, "64k");
    if (!share.mounted()) {
      std::filesystem::remove(point, ignored);
      GTEST_SKIP() << share.why();
    }
    roots = FileSystemRoots();
  }
  std::filesystem::remove(point, ignored);
  EXPECT_NE(std::find(roots.begin(), roots.end(), point), roots.end()) << point;
}
#endif

}  // namespace
}  // namespace tessaro
