#include "outside/folder_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "outside/file_ops.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessaro {
namespace {

using testing::TempFolder;
using Names = std::vector<std::string>;

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
#ifndef _WIN32                             // a folder's permission is taken away by its mode here
  if (::geteuid() == 0) return;            // root may read every folder
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

#ifdef _WIN32
TEST(FileSystemRoots, AreTheDrives) {
  const std::vector<std::string> roots = FileSystemRoots();
  EXPECT_NE(std::find(roots.begin(), roots.end(), "C:\\"), roots.end());
  for (const std::string& root : roots) {
    EXPECT_TRUE(root.size() == 3 && root.substr(1) == ":\\") << root;
  }
}
#else
TEST(FileSystemRoots, StartWithTheRootAndLeaveOutTheKernelsOwn) {
  const std::vector<std::string> roots = FileSystemRoots();
  ASSERT_FALSE(roots.empty());
  EXPECT_EQ(roots.front(), "/");
  for (const std::string& root : roots) EXPECT_NE(root.rfind("/proc", 0), 0u) << root;
}
#endif

}  // namespace
}  // namespace tessaro
