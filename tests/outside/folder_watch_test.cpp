#include "outside/folder_watch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "support/temp_folder.h"

namespace tessaro {
namespace {

using std::chrono::milliseconds;
using testing::TempFolder;

// The changes `act` brings, as the watch tells them within a moment (they are queued as the call
// that makes them returns).
int ChangesOf(FolderWatch& watch, const std::function<void()>& act) {
  act();
  if (!WaitReadable(watch.waitHandle(), milliseconds(100))) return 0;
  return watch.TakeChanges();
}

TEST(FolderWatch, TellsFilesClosedAfterWritingMovedInOrOutAndDeletedInTheFolderWatched) {
  TempFolder folder;
  const std::string watched = folder.MakeFolder("watched");
  const std::string other = folder.MakeFolder("other");
  std::unique_ptr<FolderWatch> watch = MakeFolderWatch();
  if (watch->waitHandle() == kNoWaitHandle) GTEST_SKIP() << "this platform reports no changes";
  ASSERT_TRUE(watch->Watch(watched).ok());

  EXPECT_GT(ChangesOf(*watch, [&] { folder.Write("watched/PART", "G71"); }), 0);
  EXPECT_GT(
      ChangesOf(*watch,
                [&] { std::rename(folder.Write("in", "").c_str(), (watched + "/IN").c_str()); }),
      0);
  EXPECT_GT(
      ChangesOf(*watch, [&] { std::rename((watched + "/IN").c_str(), (other + "/IN").c_str()); }),
      0);
  EXPECT_EQ(ChangesOf(*watch, [&] { (void)folder.Read("watched/PART"); }), 0);
  EXPECT_GT(ChangesOf(*watch, [&] { std::filesystem::remove(watched + "/PART"); }), 0);
  EXPECT_EQ(ChangesOf(*watch, [&] { folder.Write("other/PART", "G71"); }), 0);

  // Another folder; then the folder removed and made again: watching it re-arms.
  ASSERT_TRUE(watch->Watch(other).ok());
  EXPECT_EQ(ChangesOf(*watch, [&] { folder.Write("watched/NEXT", "G71"); }), 0);
  EXPECT_GT(ChangesOf(*watch, [&] { std::filesystem::remove_all(other); }), 0);
  folder.MakeFolder("other");
  ASSERT_TRUE(watch->Watch(other).ok());
  EXPECT_GT(ChangesOf(*watch, [&] { folder.Write("other/NEXT", "G71"); }), 0);

  EXPECT_EQ(watch->Watch(folder.File("gone")).error(),
            "Cannot watch " + folder.File("gone") + ": No such file or directory");
}

}  // namespace
}  // namespace tessaro
