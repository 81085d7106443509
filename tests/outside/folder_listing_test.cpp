#include "outside/folder_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "outside/file_ops.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

std::vector<std::string> Names(const FolderListing& listing) {
  std::vector<std::string> names;
  for (const FileEntry& entry : listing.entries) names.push_back(entry.name);
  return names;
}

class ListFolderTest : public ::testing::Test {
 protected:
  ListFolderTest() {
    for (const char* name : {"PART", "part2", "part1.rcm", "P2.RCM", "x.acc", "a.b.rcm",
                             "notes.txt", ".hidden.rcm", ".profile", "B.Rcm"}) {
      folder_.Write(name, "x");
    }
    folder_.MakeFolder("SUB.RCM");
    folder_.MakeFolder("SUBFOLDER");
  }

  TempFolder folder_;
};

struct PatternCase {
  std::string name;
  std::string pattern;
  std::vector<std::string> expected;
};

class PatternTest : public ListFolderTest, public ::testing::WithParamInterface<PatternCase> {};
TEST_P(PatternTest, ListsMatchingRegularFilesByName) {
  const FolderListing listing = ListFolder(folder_.path(), GetParam().pattern);
  ASSERT_TRUE(listing.ok()) << listing.error;
  EXPECT_EQ(Names(listing), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Patterns, PatternTest,
    ::testing::Values(
        PatternCase{"ExtensionInAnyCase", "*.RCM", {"a.b.rcm", "B.Rcm", "P2.RCM", "part1.rcm"}},
        PatternCase{"LowerCaseExtension", "*.acc", {"x.acc"}},
        PatternCase{"NoExtension", "*.", {"PART", "part2"}},
        PatternCase{
            "Everything",
            "*",
            {"a.b.rcm", "B.Rcm", "notes.txt", "P2.RCM", "PART", "part1.rcm", "part2", "x.acc"}},
        PatternCase{"NoMatch", "*.ACX", {}},
        PatternCase{"Wildcards", "P?RT*", {"PART", "part1.rcm", "part2"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ListFolderTest, BaseNameLacksTheLastExtension) {
  const FolderListing listing = ListFolder(folder_.path(), "*");
  ASSERT_TRUE(listing.ok());
  std::vector<std::string> baseNames;
  for (const FileEntry& entry : listing.entries) baseNames.push_back(entry.baseName);
  EXPECT_EQ(baseNames,
            (std::vector<std::string>{"a.b", "B", "notes", "P2", "PART", "part1", "part2", "x"}));
}

TEST_F(ListFolderTest, FolderWithTrailingSeparatorListsTheSame) {
  EXPECT_EQ(Names(ListFolder(folder_.PathWithSeparator(), "*.")),
            (std::vector<std::string>{"PART", "part2"}));
}

TEST(ListFolder, TemporaryFilesOfAReplaceAreNotListed) {
  TempFolder folder;
  folder.Write(std::string(kTemporaryFilePrefix) + "P1.RCM.123.0", "half");
  folder.Write("P1.RCM", "x");
  EXPECT_EQ(Names(ListFolder(folder.path(), "*.RCM")), std::vector<std::string>{"P1.RCM"});
}

TEST(ListFolder, StampIsTheModificationTimeToTheNanosecond) {
  TempFolder folder;
  folder.Write("A", "x");
  folder.Write("B", "x");
  folder.SetModifiedSeconds("A", 1700000000, 100);
  folder.SetModifiedSeconds("B", 1700000000, 200);
  const FolderListing listing = ListFolder(folder.path(), "*");
  ASSERT_EQ(listing.entries.size(), 2u);
  using namespace std::chrono;
  const auto expectedA = file_clock::from_sys(sys_seconds(seconds(1700000000)) + nanoseconds(100));
  EXPECT_EQ(listing.entries[0].stamp, expectedA);
  EXPECT_LT(listing.entries[0].stamp, listing.entries[1].stamp);
  EXPECT_EQ(listing.entries[0].stamp, std::filesystem::last_write_time(folder.File("A")));
}

TEST(ListFolder, HiddenIsReadOnlyWhenAsked) {
  TempFolder folder;
  const std::string hidden = folder.Write("P1.RCM", "x");
  folder.Write("P2.RCM", "x");
  if (::setxattr(hidden.c_str(), "user.DOSATTRIB", "0x2", 3, 0) != 0) {
    GTEST_SKIP() << "no extended attributes here";
  }
  const FolderListing read = ListFolder(folder.path(), "*.RCM", HiddenFlag::kRead);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_TRUE(read.entries[0].hidden);
  EXPECT_FALSE(read.entries[1].hidden);
  const FolderListing skipped = ListFolder(folder.path(), "*.RCM");
  ASSERT_EQ(skipped.entries.size(), 2u);
  EXPECT_FALSE(skipped.entries[0].hidden);
}

TEST(ListFolder, LinksToFilesAreListedAndBrokenLinksLeftOut) {
  TempFolder folder;
  folder.Write("REAL", "x");
  std::filesystem::create_symlink(folder.File("REAL"), folder.File("LINK"));
  std::filesystem::create_symlink(folder.File("GONE"), folder.File("BROKEN"));
  std::filesystem::create_directory_symlink(folder.path(), folder.File("LOOP"));
  const FolderListing listing = ListFolder(folder.path(), "*");
  ASSERT_TRUE(listing.ok()) << listing.error;
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"LINK", "REAL"}));
}

TEST(ListFolder, FolderThatCannotBeReadIsAnError) {
  TempFolder folder;
  const std::string file = folder.Write("PART", "x");
  const FolderListing missing = ListFolder(folder.File("gone"), "*");
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.error,
            "Cannot read the folder " + folder.File("gone") + ": No such file or directory");
  const FolderListing notAFolder = ListFolder(file, "*");
  EXPECT_FALSE(notAFolder.ok());
  EXPECT_TRUE(notAFolder.entries.empty());
}

TEST(ListFolder, FolderWithoutPermissionIsAnError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may read every folder";
  TempFolder folder;
  folder.Write("sub/PART", "x");
  ::chmod(folder.File("sub").c_str(), 0);
  const FolderListing listing = ListFolder(folder.File("sub"), "*");
  ::chmod(folder.File("sub").c_str(), 0755);
  EXPECT_FALSE(listing.ok());
  EXPECT_NE(listing.error.find("Permission denied"), std::string::npos) << listing.error;
}

TEST(ListFolder, ReadableButNotSearchableFolderIsAnError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may read every folder";
  TempFolder folder;
  folder.Write("sub/PART", "x");
  ::chmod(folder.File("sub").c_str(), 0444);
  const FolderListing listing = ListFolder(folder.File("sub"), "*");
  ::chmod(folder.File("sub").c_str(), 0755);
  EXPECT_FALSE(listing.ok());
  EXPECT_TRUE(listing.entries.empty());
}

TEST(ListSubfolders, ListsVisibleFoldersByName) {
  TempFolder folder;
  folder.MakeFolder("beta");
  folder.MakeFolder("Alpha");
  folder.MakeFolder(".cache");
  folder.Write("file", "x");
  std::filesystem::create_directory_symlink(folder.File("beta"), folder.File("gamma"));
  const FolderListing listing = ListSubfolders(folder.path());
  ASSERT_TRUE(listing.ok()) << listing.error;
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_FALSE(ListSubfolders(folder.File("gone")).ok());
}

TEST(FileSystemRoots, StartWithTheRoot) {
  const std::vector<std::string> roots = FileSystemRoots();
  ASSERT_FALSE(roots.empty());
  EXPECT_EQ(roots.front(), "/");
  EXPECT_EQ(std::count(roots.begin(), roots.end(), "/"), 1);
  for (const std::string& root : roots) {
    EXPECT_EQ(root.rfind("/proc", 0), std::string::npos) << root;
    EXPECT_EQ(root.rfind("/sys", 0), std::string::npos) << root;
  }
}

}  // namespace
}  // namespace tessaro
