// Paths longer than the 260 characters that Windows takes unless they are marked "\\?\".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outside/file_ops.h"
#include "outside/folder_listing.h"
#include "outside/folder_lock.h"
#include "outside/log_file.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include "outside/windows_api.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessaro {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
// std::filesystem takes no path this long on Windows: the test makes its folders itself.
bool MakeFolder(const std::string& path) {
  return ::CreateDirectoryW(LongPath(path).c_str(), nullptr);
}
bool RemoveFolder(const std::string& path) { return ::RemoveDirectoryW(LongPath(path).c_str()); }

// Each path reaches the Win32 calls absolute, with "\" alone, without "." and "..".
TEST(LongPath, IsAbsoluteAndMarked) {
  for (const auto& [path, expected] :
       {std::pair<std::string, std::wstring>{"C:/shop/./gcode/../programs/",
                                             L"\\\\?\\C:\\shop\\programs\\"},
        {"\\\\server\\share\\gcode", L"\\\\?\\UNC\\server\\share\\gcode"},
        {"\\\\?\\C:\\as\\given", L"\\\\?\\C:\\as\\given"}}) {
    EXPECT_EQ(LongPath(path), expected) << path;
  }
}
#else
constexpr char kSeparator = '/';
bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0; }
bool RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0; }
#endif

TEST(LongPaths, AFileOver300CharactersDeepIsWrittenListedRenamedAndDeleted) {
  testing::TempFolder temp;
  std::vector<std::string> folders = {temp.path()};
  while (folders.back().size() <= 300) {
    folders.push_back(folders.back() + kSeparator +
                      std::string(60, static_cast<char>('a' + folders.size())));
    ASSERT_TRUE(MakeFolder(folders.back())) << folders.back();
  }
  const std::string& folder = folders.back();
  // As a settings file may name it: with "/" and a way through "..".
  const std::string file = folder + "/../" + folder.substr(folder.size() - 60) + "/PART1.RCM";
  ASSERT_TRUE(ReplaceFileContents(file, "one").ok());
  ASSERT_TRUE(ReplaceFileContents(file, "two", kHiddenAttribute).ok());  // over the first
  EXPECT_TRUE(ReadFileContents(file).text == "two" && IsHidden(file) && VersionOf(file));
  const FolderListing listing = ListFolder(folder, "*.RCM", HiddenFlag::kRead);
  EXPECT_TRUE(listing.entries.size() == 1 && listing.entries[0].hidden) << listing.error;
  EXPECT_TRUE(RenameFile(file, folder + kSeparator + "PART2.RCM").ok());
  EXPECT_TRUE(AppendToFile(folder + kSeparator + "Tessaro.log", "line\n").ok());
  EXPECT_TRUE(FolderLock(folder).held());

  const auto names = ListNames(folder);  // the program, the log and the lock file
  ASSERT_TRUE(names && names->size() == 3);
  for (const std::string& name : *names) EXPECT_TRUE(RemoveFile(folder + kSeparator + name).ok());
  EXPECT_EQ(ListNames(folder)->size(), 0u);
  for (size_t i = folders.size() - 1; i > 0; --i) EXPECT_TRUE(RemoveFolder(folders[i]));
}

}  // namespace
}  // namespace tessaro
