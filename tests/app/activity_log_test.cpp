#include "app/activity_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "outside/log_file.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using ::testing::ElementsAre;
using testing::TempFolder;

std::string Now() { return LocalTimeText(std::chrono::system_clock::now()); }

TEST(ActivityLog, LinesAreStampedTabSeparatedOneEachAndReadBackNewestFirst) {
  TempFolder folder;
  ActivityLog log(ActivityLogPath(folder.PathWithSeparator()));
  const std::string before = Now();
  log.Append({"", "translated", "/src/A", "4 programs"});
  log.Append({"", "refused", "/src/B\tC\nD", "not G-code"});
  const std::string after = Now();

  const std::vector<ActivityEntry> entries = ReadRecentActivity(log.path(), 5);

  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE(std::regex_match(entries[0].time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")))
      << entries[0].time;
  EXPECT_TRUE(before <= entries[0].time && entries[0].time <= after) << entries[0].time;
  EXPECT_EQ(entries[0], (ActivityEntry{entries[0].time, "refused", "/src/B C D", "not G-code"}));
  EXPECT_EQ(entries[1], (ActivityEntry{entries[1].time, "translated", "/src/A", "4 programs"}));
  EXPECT_EQ(folder.Read("Tessaro.log"), entries[1].time + "\ttranslated\t/src/A\t4 programs\n" +
                                            entries[0].time +
                                            "\trefused\t/src/B C D\tnot G-code\n");
}

TEST(ActivityLog, AtItsLimitTheLogBecomesItsOneOlderCopyAndANewOneBegins) {
  TempFolder folder;
  // Each line is 19 + 4 + 4 + 2 + 1 = 30 bytes: three fit in 100.
  ActivityLog log(folder.File("Tessaro.log"), 100);
  for (int i = 1; i <= 7; ++i) log.Append({"", "act", "/f" + std::to_string(i), "d"});

  EXPECT_THAT(folder.List(), ElementsAre("Tessaro.log", "Tessaro.log.1"));
  EXPECT_EQ(folder.Read("Tessaro.log").size(), 30u);    // line 7
  EXPECT_EQ(folder.Read("Tessaro.log.1").size(), 90u);  // lines 4 to 6
  std::vector<std::string> files;
  for (const ActivityEntry& entry : ReadRecentActivity(log.path(), 3)) files.push_back(entry.file);
  EXPECT_THAT(files, ElementsAre("/f7", "/f6", "/f5"));
}

TEST(ActivityLog, ALogThatCannotBeWrittenIsToldOnceAndLosesOnlyItsLines) {
  TempFolder folder;
  folder.Write("file", "");
  ActivityLog log(folder.File("file") + "/Tessaro.log");  // even the superuser cannot
  std::vector<std::string> told;
  log.setFailureSink([&told](const std::string& why) { told.push_back(why); });

  for (int i = 0; i < 3; ++i) log.Append({"", "translated", "/src/A", ""});

  ASSERT_EQ(told.size(), 1u);
  // The reason in the platform's words: "Not a directory" on Linux.
  EXPECT_THAT(told[0], ::testing::StartsWith("Cannot write " + log.path() + ": "));
  EXPECT_TRUE(ReadRecentActivity(log.path(), 5).empty());
}

}  // namespace
}  // namespace tessaro
