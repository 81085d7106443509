#include "scan/scan_cycle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/activity_log.h"
#include "app/text.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tessaro {
namespace {

using ::testing::ElementsAre;

constexpr long long kNoon = 1'700'000'000;  // the stamp the tests give sources
constexpr std::string_view kOldProgram = "old program";

class ScanTickTest : public ::testing::Test {
 protected:
  ScanTickTest() {
    folder_.MakeFolder("src");
    folder_.MakeFolder("dst");
    folder_.Write("app/Template.RCM", testing::SmallTemplate());
    session_.Settings() = {.rcmFormat = true,
                           .appFolder = folder_.File("app/"),
                           .destinationFolder = folder_.File("dst"),
                           .masks = {"", "    1   ", "    2   ", "    3   ", "    4   "}};
  }

  std::string Src(const std::string& name) const { return folder_.File("src/" + name); }
  std::string Dst(const std::string& name) const { return folder_.File("dst/" + name); }
  void Source(const std::string& name, long long seconds, long nanoseconds = 0,
              std::string_view gcode = testing::kPanelGcode) const {
    folder_.Write("src/" + name, gcode);
    folder_.SetModifiedSeconds("src/" + name, seconds, nanoseconds);
  }
  // Programs with one stamp; a "*" in a name stands for the four faces: "PART*.RCM".
  void Programs(std::initializer_list<std::string> names, long long seconds) const {
    for (const std::string& name : names) {
      const size_t star = name.find('*');
      for (int face = 1; face <= (star == std::string::npos ? 1 : 4); ++face) {
        const std::string program =
            star == std::string::npos
                ? name
                : name.substr(0, star) + char('0' + face) + name.substr(star + 1);
        folder_.Write("dst/" + program, kOldProgram);
        folder_.SetModifiedSeconds("dst/" + program, seconds);
      }
    }
  }
  TickOutcome Tick(int autoScan = 1, int autoDel = 0) {
    return cycle_.RunTick({autoScan, autoDel, folder_.File("src")});
  }

  testing::TempFolder folder_;
  testing::RecordingOperator asker_;
  Session session_{asker_};
  ScanCycle cycle_{session_};
};

TEST_F(ScanTickTest, OnlyATickedBoxRunsTheTickOrTheOrphanPass) {
  Source("PART", kNoon);
  Programs({"GONE1.RCM"}, kNoon);
  for (const int autoScan : {0, 2}) EXPECT_FALSE(Tick(autoScan, 1).changed) << autoScan;
  for (const int autoDel : {0, 2}) EXPECT_TRUE(Tick(1, autoDel).deletedPrograms.empty());
  EXPECT_TRUE(folder_.Exists("dst/GONE1.RCM"));
}

TEST_F(ScanTickTest, NewShortNamesWithoutExtensionOrTildeAreTranslatedAndSpared) {
  // Names count characters: "\xc4" is no UTF-8 and counts as one.
  std::vector<std::string> names = {"PART.NC",  "PA~T",          "NINECHARS",
                                    "EIGHTCHR", "SCH\u00c4NKEN", "SCHR\u00c4NKEN"};
  std::vector<std::string> translated = {Src("EIGHTCHR"), Src("SCH\u00c4NKEN")};
#ifndef _WIN32  // Windows drops a name's trailing blanks and dots, holds UTF-16 names only
  names.insert(names.end(), {"PANEL.", "   ", " AB ", "T\xc4R"});
  translated = {Src(" AB "), Src("EIGHTCHR"), Src("SCH\u00c4NKEN"), Src("T\xc4R")};
#endif
  for (const std::string& name : names) Source(name, kNoon);
  Programs({"PA~T1.RCM", "NINE1HAR.RCM", "STRAY1.RCM"}, kNoon);

  const TickOutcome first = Tick(1, 1);

  EXPECT_EQ(first.translatedFiles, translated);
  EXPECT_TRUE(first.ok() && first.changed);
  EXPECT_THAT(first.deletedPrograms, ElementsAre(Dst("STRAY1.RCM")));
  EXPECT_EQ(folder_.List("dst").size(), 2 + 4 * translated.size());
  EXPECT_FALSE(Tick(1, 1).changed);
}

TEST_F(ScanTickTest, SourceNewerThanAnyOfItsProgramsOrWithoutOneIsTranslated) {
  Source("SECN", kNoon + 1);               // one second newer
  Source("DAYL", kNoon + 86'400 - 3'600);  // a day later, an hour earlier
  Source("SAME", kNoon);                   // identical stamps
  Source("HALF", kNoon, 500'000'000);      // newer within the same second
  Source("OLDR", kNoon - 1);               // programs newer
  Programs({"SECN*.RCM", "DAYL*.RCM", "SAME*.RCM", "HALF*.RCM", "OLDR*.RCM"}, kNoon);
  EXPECT_THAT(Tick().translatedFiles, ElementsAre(Src("DAYL"), Src("HALF"), Src("SECN")));
}

TEST_F(ScanTickTest, ProgramsMatchTrimmedInAnyLetterCaseAndTheFirstListedDecides) {
  for (const char* name : {"PART", "OLDR", "ABCD", "PADD  ", "LOWX", "OLDF", "NEWF"}) {
    Source(name, kNoon);
  }
  // PART: faces 1 and 3 only, as new as itself: an RCM translation writes all four.
  Programs({"PART1.RCM", "PART3.RCM", "OLDR*.RCM", "abcd*.RCM", " PADD1.RCM", "PADD2  .RCM",
            " PADD3 .RCM", "PADD4.RCM", "LOWX*.rcm", "OLDF*.RCM", "NEWF* .RCM"},
           kNoon + 10);
  // "OLDF1 .RCM" is listed before "OLDF1.RCM"; both read OLDF1 once trimmed.
  Programs({"OLDR3.RCM", "OLDF1 .RCM", "NEWF*.RCM"}, kNoon - 10);
  EXPECT_THAT(Tick().translatedFiles, ElementsAre(Src("OLDF"), Src("OLDR"), Src("PART")));
}

TEST_F(ScanTickTest, FilesGivingTheSameProgramTranslateTheFirstListedAndReportTheOther) {
  // A face 1 mask that gives every name the same program.
  session_.Settings().masks[1] = "SAMENAME";
  Source("ALPHA", kNoon);
  Source("BETA", kNoon);
  for (int tick = 1; tick <= 2; ++tick) {
    const TickOutcome outcome = Tick();
    EXPECT_EQ(outcome.translatedFiles,
              tick == 1 ? std::vector{Src("ALPHA")} : std::vector<std::string>{});
    EXPECT_THAT(outcome.collisions,
                ElementsAre("BETA not translated: ALPHA gives the same program SAMENAME.RCM and "
                            "is translated instead"));
    EXPECT_FALSE(outcome.ok());
  }
  EXPECT_FALSE(folder_.Exists("dst/BETA2.RCM"));

#ifndef _WIN32  // Windows holds no two names that differ only in letter case
  session_.Settings().masks[1] = "    1   ";
  Source("PART", kNoon);
  Source("part", kNoon);
  const TickOutcome outcome = Tick();
  EXPECT_THAT(outcome.translatedFiles, ElementsAre(Src("ALPHA"), Src("BETA"), Src("PART")));
  EXPECT_THAT(outcome.collisions,
              ElementsAre("part not translated: PART gives the same program PART1.RCM and is "
                          "translated instead"));
#endif
}

TEST_F(ScanTickTest, TickStartedDuringATickIsSkipped) {
  Source("PART", kNoon);
  std::vector<TickOutcome> inner;
  const TickInputs inputs = {1, 1, folder_.File("src")};
  const TickOutcome outer =
      cycle_.RunTick(inputs, [&] { inner.push_back(cycle_.RunTick(inputs)); });
  ASSERT_FALSE(inner.empty());
  EXPECT_TRUE(inner.front().skipped);
  EXPECT_THAT(outer.translatedFiles, ElementsAre(Src("PART")));
}

TEST_F(ScanTickTest, LogsTranslationsRefusalsDeletionsAndFailuresAProblemWhenItBegins) {
  ActivityLog log(folder_.File("Tessaro.log"));
  ScanCycle cycle(session_, &log);
  session_.Settings().omissionRulesEnabled = true;
  session_.Settings().noEmpties = 1;
  Source("PART", kNoon, 0, "G71 X800 Y600 Z18\r\nG81 P1 X100 Y0 Z-5 E1 G54\r\n");
  Source("BAD", kNoon, 0, testing::kRefusedGcode);
  Source("FAIL", kNoon);
  folder_.MakeFolder("dst/FAIL3.RCM");
  Programs({"GONE1.RCM"}, kNoon);
  const TickInputs inputs = {1, 1, folder_.File("src")};

  cycle.RunTick(inputs);
  cycle.RunTick(inputs);  // BAD is refused again, and not logged again
  asker_.answer = true;
  Source("BAD", kNoon + 1, 0, std::string(testing::kRefusedGcode) + "\n");  // a new version
  cycle.RunTick(inputs);
  DeleteAllPrograms(folder_.File("dst"), true, asker_, &log);

  std::vector<std::string> lines;
  for (const ActivityEntry& entry : ReadRecentActivity(log.path(), 20)) {
    lines.insert(lines.begin(),
                 entry.action + " " + FileNamePart(entry.file) + ": " + entry.detail);
  }
  const std::string in = "in " + Dst("");
#ifdef _WIN32
  const std::string overAFolder = "Permission denied";
#else
  const std::string overAFolder = "Is a directory";
#endif
  EXPECT_EQ(
      lines,
      (std::vector<std::string>{
          "refused BAD: not G-code of the accepted kind (the first line is no G70, "
          "G71, G81 or G150 line)",
          "failed FAIL: Cannot write " + Dst("FAIL3.RCM") + ": " + overAFolder,
          "translated PART: 4 programs " + in +
              ": PART1.RCM, PART2.RCM (hidden), PART3.RCM (hidden), PART4.RCM (hidden)",
          "deleted GONE1.RCM: orphan: no G-code file in the source folder gives its name",
          "deleted BAD: refused G-code file, deleted on the operator's Yes",
          "deleted PART1.RCM: delete all RCM files", "deleted PART2.RCM: delete all RCM files",
          "deleted PART3.RCM: delete all RCM files", "deleted PART4.RCM: delete all RCM files"}));
}

TEST_F(ScanTickTest, FolderThatCannotBeListedStopsTheTickBeforeAnyTranslationOrDeletion) {
  namespace fs = std::filesystem;
  Programs({"PART*.RCM"}, kNoon);
  fs::remove_all(folder_.File("src"));
  const TickOutcome noSources = Tick(1, 1);
  EXPECT_FALSE(noSources.ok() || noSources.changed);
  EXPECT_EQ(folder_.List("dst").size(), 4u);

  Source("NEWP", kNoon);
  fs::remove_all(folder_.File("dst"));
  const TickOutcome noPrograms = Tick(1, 1);
  EXPECT_FALSE(noPrograms.ok() || noPrograms.translated);
}

TEST_F(ScanTickTest, RemovedGcodeFileLosesItsProgramsOfTheFormatInForceButNeverTheTemplate) {
  Source("KEEP", kNoon);
  Programs({"KEEP*.RCM", "PART*.RCM"}, kNoon + 10);
  // A writer killed 20 minutes ago left its temporary file.
  Programs({"PART1.ACC", ".tessaro-KEEP1.RCM.99.0", "TeMpLaTe.rcm", "TEMPLATE1.RCM", "TEMPLAT.RCM"},
           kNoon);
  ASSERT_TRUE(SetReadOnly(Dst("PART1.RCM"), true).ok());
  SetFileAttributes(Dst("PART2.RCM"), kHiddenAttribute);

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_THAT(outcome.deletedPrograms,
              ElementsAre(Dst("PART1.RCM"), Dst("PART2.RCM"), Dst("PART3.RCM"), Dst("PART4.RCM"),
                          Dst("TEMPLAT.RCM"), Dst("TEMPLATE1.RCM")));
  EXPECT_TRUE(outcome.ok() && outcome.changed);
  EXPECT_THAT(folder_.List("dst"), ElementsAre("KEEP1.RCM", "KEEP2.RCM", "KEEP3.RCM", "KEEP4.RCM",
                                               "PART1.ACC", "TeMpLaTe.rcm"));
}

TEST_F(ScanTickTest, FileStillBeingWrittenWaitsUntilItHasBeenQuiet) {
  folder_.Write("src/PART", testing::kPanelGcode);  // written just now
  const TickOutcome early = Tick();
  EXPECT_TRUE(early.comeBackSoon);
  EXPECT_FALSE(early.translated);
  std::this_thread::sleep_for(kQuietTime + std::chrono::milliseconds(50));
  const TickOutcome quiet = Tick();
  EXPECT_THAT(quiet.translatedFiles, ElementsAre(Src("PART")));
  EXPECT_FALSE(quiet.comeBackSoon);
}

// What an empty file leaves as it is, the translation's own test shows; a tick reports it.
TEST_F(ScanTickTest, EmptyFileIsReportedAtEveryTickAndLoggedOnce) {
  ActivityLog log(folder_.File("Tessaro.log"));
  ScanCycle cycle(session_, &log);
  Source("VOID", kNoon, 0, "  \r\n\t\r\n");
  for (int tick = 1; tick <= 2; ++tick) {
    const TickOutcome outcome = cycle.RunTick({1, 1, folder_.File("src")});
    EXPECT_THAT(outcome.emptyFiles, ElementsAre(Src("VOID")));
  }
  EXPECT_EQ(ReadRecentActivity(log.path(), 10).size(), 1u);
}

// An unmounted share leaves its mount point empty, or holding what was there before.
TEST_F(ScanTickTest, NoProgramIsDeletedFromAnEmptySourceFolderOrOneThatWasUnmounted) {
  Programs({"PART*.RCM"}, kNoon);
  const TickOutcome empty = Tick(1, 1);
  EXPECT_TRUE(empty.deletedPrograms.empty());
  EXPECT_THAT(empty.notes,
              ElementsAre("no program deleted: the source folder " + folder_.File("src") +
                          " holds no G-code file (Delete All clears the program folder)"));
  EXPECT_EQ(folder_.List("dst").size(), 4u);
#ifdef _WIN32
  GTEST_SKIP() << "no mount can be made here";
#else
  testing::TmpfsMount share(folder_.File("src"), "1m");
  if (!share.mounted()) GTEST_SKIP() << share.why();
  Source("PART", kNoon);
  Source("SHELF", kNoon);
  EXPECT_THAT(Tick(1, 1).translatedFiles, ElementsAre(Src("SHELF")));
  share.Unmount();
  Source("STRAY", kNoon);  // left in the mount point long ago
  const TickOutcome unmounted = Tick(1, 1);
  EXPECT_TRUE(unmounted.deletedPrograms.empty());
  EXPECT_THAT(unmounted.notes,
              ElementsAre(::testing::HasSubstr("lies on another file system than when it last "
                                               "held G-code files")));
  EXPECT_EQ(folder_.List("dst").size(), 12u);
#endif
}

#ifndef _WIN32
TEST_F(ScanTickTest, ADeletionThatFailsLeavesTheProgramsAttributes) {
  Source("KEEP", kNoon);
  Programs({"KEEP*.RCM", "GONE1.RCM"}, kNoon + 10);
  SetFileAttributes(Dst("GONE1.RCM"), kHiddenAttribute | kReadOnlyAttribute);
  if (!IsHidden(Dst("GONE1.RCM"))) GTEST_SKIP() << "no extended attributes here";
  ::chmod(folder_.File("dst").c_str(), 0555);
  // Permissions do not bind root: its tick runs as nobody, who owns the program.
  const bool asNobody = ::geteuid() == 0;
  if (asNobody) ::chown(Dst("GONE1.RCM").c_str(), 65534, 65534);
  const pid_t child = asNobody ? ::fork() : 0;
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (asNobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const TickOutcome outcome = Tick(1, 1);
    const bool failed = outcome.deletedPrograms.empty() && outcome.errors.size() == 1;
    if (asNobody) ::_exit(failed ? 0 : 1);
    EXPECT_TRUE(failed);
  } else {
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  ::chmod(folder_.File("dst").c_str(), 0755);
  EXPECT_TRUE(IsHidden(Dst("GONE1.RCM")));
  EXPECT_TRUE(IsReadOnly(Dst("GONE1.RCM")));
}
#endif

TEST_F(ScanTickTest, DeleteAllAsksAndOnYesDeletesEveryProgramOfTheFormat) {
  Programs({"PART1.RCM", "template.rcm", "KEEP1.ACC"}, kNoon);
  const std::string question =
      " files will allow all files in the source directory\r"
      "     to be reprocessed if Automatic Translation is turned on.\r\r"
      "                Do You Wish To Continue With Deletion?";

  EXPECT_FALSE(DeleteAllPrograms(folder_.File("dst"), false, asker_).confirmed);
  EXPECT_EQ(folder_.List("dst").size(), 3u);
  asker_.answer = true;
  const DeleteAllOutcome yes = DeleteAllPrograms(folder_.File("dst"), true, asker_);
  EXPECT_TRUE(yes.confirmed && yes.errors.empty());
  EXPECT_THAT(folder_.List("dst"), ElementsAre("KEEP1.ACC"));
  EXPECT_THAT(asker_.questions, ElementsAre("Alert!|Deleting all ACC" + question,
                                            "Alert!|Deleting all RCM" + question));
  EXPECT_EQ(DeleteAllPrograms(folder_.File("nowhere"), true, asker_).errors.size(), 1u);
}

}  // namespace
}  // namespace tessaro
