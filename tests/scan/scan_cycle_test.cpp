#include "scan/scan_cycle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/activity_log.h"
#include "app/text.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "support/program_samples.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tessaro {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr long long kNoon = 1'700'000'000;  // the stamp the tests give sources
constexpr std::string_view kOldProgram = "old program";

class ScanTickTest : public ::testing::Test {
 protected:
  ScanTickTest() {
    folder_.MakeFolder("src");
    folder_.MakeFolder("dst");
    folder_.Write("app/Template.RCM", testing::SmallTemplate());
    TranslationSettings& settings = session_.Settings();
    settings.rcmFormat = true;
    settings.appFolder = folder_.File("app/");
    settings.destinationFolder = folder_.File("dst");
    settings.masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};
  }

  std::string Src(std::string_view name) const { return folder_.File("src/" + std::string(name)); }
  std::string Dst(std::string_view name) const { return folder_.File("dst/" + std::string(name)); }
  std::vector<std::string> ProgramFolder() const { return folder_.List("dst"); }

  void Source(std::string_view name, long long seconds, long nanoseconds = 0,
              std::string_view gcode = testing::kPanelGcode) const {
    folder_.Write("src/" + std::string(name), gcode);
    folder_.SetModifiedSeconds("src/" + std::string(name), seconds, nanoseconds);
  }
  void Program(std::string_view name, long long seconds) const {
    folder_.Write("dst/" + std::string(name), kOldProgram);
    folder_.SetModifiedSeconds("dst/" + std::string(name), seconds);
  }
  // BASE1 .. BASE4 with one stamp.
  void FourPrograms(std::string_view base, long long seconds, std::string_view extension = "RCM") {
    for (int face = 1; face <= 4; ++face) {
      Program(std::string(base) + std::to_string(face) + "." + std::string(extension), seconds);
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

// --- which files a tick translates ---

TEST_F(ScanTickTest, UntickedOrGreyedBoxesStopTheTickOrTheOrphanPass) {
  Source("PART", kNoon);
  Program("GONE1.RCM", kNoon);
  for (const int autoScan : {0, 2}) {
    EXPECT_FALSE(Tick(autoScan, 1).changed) << autoScan;
    EXPECT_THAT(ProgramFolder(), ElementsAre("GONE1.RCM"));
  }
  for (const int autoDel : {0, 2}) {
    Tick(1, autoDel);
    EXPECT_TRUE(folder_.Exists("dst/GONE1.RCM")) << autoDel;
  }
}

TEST_F(ScanTickTest, NewShortNamesWithoutExtensionOrTildeAreTranslatedAndSpared) {
  // Names count characters: "\xc4" is no UTF-8 and counts as one.
  std::vector<std::string> names = {"PART.NC",  "PA~T",          "NINECHARS",
                                    "EIGHTCHR", "SCHR\u00c4NKE", "SCHR\u00c4NKEN"};
  std::vector<std::string> translated = {Src("EIGHTCHR"), Src("SCHR\u00c4NKE")};
#ifndef _WIN32  // Windows drops a name's trailing blanks and dots, holds UTF-16 names only
  names.insert(names.end(), {"PANEL.", "   ", " AB ", "T\xc4R"});
  translated = {Src(" AB "), Src("EIGHTCHR"), Src("SCHR\u00c4NKE"), Src("T\xc4R")};
#endif
  for (const std::string& name : names) Source(name, kNoon);
  Program("PA~T1.RCM", kNoon);
  Program("NINE1HAR.RCM", kNoon);
  Program("STRAY1.RCM", kNoon);

  const TickOutcome first = Tick(1, 1);
  const TickOutcome second = Tick(1, 1);

  EXPECT_EQ(first.translatedFiles, translated);
  EXPECT_TRUE(first.ok());
  EXPECT_TRUE(first.changed);
  EXPECT_THAT(first.deletedPrograms, ElementsAre(Dst("STRAY1.RCM")));
  EXPECT_EQ(ProgramFolder().size(), 2 + 4 * translated.size());
  EXPECT_TRUE(folder_.Exists("dst/SCHR1NKE.RCM"));
#ifndef _WIN32
  EXPECT_TRUE(folder_.Exists("dst/T\xc4R-1.RCM"));
#endif
  EXPECT_FALSE(second.changed);
}

TEST_F(ScanTickTest, SourceNewerThanItsProgramsIsTranslated) {
  Source("SECN", kNoon + 1);               // one second newer
  Source("DAYL", kNoon + 86'400 - 3'600);  // a day later, an hour earlier
  Source("SAME", kNoon);                   // identical stamps
  Source("HALF", kNoon, 500'000'000);      // newer within the same second
  Source("OLDR", kNoon - 1);               // programs newer
  for (const char* name : {"SECN", "DAYL", "SAME", "HALF", "OLDR"}) FourPrograms(name, kNoon);

  EXPECT_THAT(Tick().translatedFiles, ElementsAre(Src("DAYL"), Src("HALF"), Src("SECN")));
  EXPECT_NE(folder_.Read("dst/SECN1.RCM"), kOldProgram);
  EXPECT_EQ(folder_.Read("dst/SAME1.RCM"), kOldProgram);
}

TEST_F(ScanTickTest, AnyMatchingProgramOlderOrNoneMatchingCausesATranslation) {
  // Faces 1 and 3 only: found and up to date.
  Source("PART", kNoon);
  Program("PART1.RCM", kNoon + 10);
  Program("PART3.RCM", kNoon + 10);
  Source("OLDR", kNoon);
  FourPrograms("OLDR", kNoon + 10);
  Program("OLDR3.RCM", kNoon - 10);
  // Names match exactly once trimmed; hidden programs count.
  Source("ABCD", kNoon);
  FourPrograms("abcd", kNoon + 10);
  Source("PADD  ", kNoon);
  for (const char* program : {" PADD1.RCM", "PADD2  .RCM", " PADD3 .RCM", "PADD4.RCM"}) {
    Program(program, kNoon + 10);
  }
  Source("LOWX", kNoon);
  FourPrograms("LOWX", kNoon + 10, "rcm");
  Source("HIDN", kNoon);
  FourPrograms("HIDN", kNoon + 10);
  for (int face = 1; face <= 4; ++face) {
    SetFileAttributes(Dst("HIDN" + std::to_string(face) + ".RCM"), kHiddenAttribute);
  }

  // "OLDF1 .RCM" is listed before "OLDF1.RCM"; both read OLDF1 once trimmed, and the
  // first listed decides.
  Source("OLDF", kNoon);
  FourPrograms("OLDF", kNoon + 10);
  Program("OLDF1 .RCM", kNoon - 10);
  Source("NEWF", kNoon);
  FourPrograms("NEWF", kNoon - 10);
  for (const char* program : {"NEWF1 .RCM", "NEWF2 .RCM", "NEWF3 .RCM", "NEWF4 .RCM"}) {
    Program(program, kNoon + 10);
  }

  // abcd1.RCM is ABCD's program: names differ in letter case only.
  EXPECT_THAT(Tick().translatedFiles, ElementsAre(Src("OLDF"), Src("OLDR")));
}

TEST_F(ScanTickTest, ProgramsWrittenDuringATickAreSeenFromTheNextTick) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows holds no two names that differ only by trailing blanks";
#endif
  // With blank masks "P" and "P " both own P.RCM: the second is compared with the
  // listing taken before the first was translated.
  session_.Settings().masks = {"", "        ", "        ", "        ", "        "};
  Source("P", kNoon);
  Source("P ", kNoon);

  EXPECT_THAT(Tick().translatedFiles, ElementsAre(Src("P"), Src("P ")));
  EXPECT_FALSE(Tick().translated);
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
  Program("GONE1.RCM", kNoon);
  const TickInputs inputs = {1, 1, folder_.File("src")};

  cycle.RunTick(inputs);
  cycle.RunTick(inputs);  // BAD is refused again
  asker_.answer = true;
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
          "translated FAIL: 3 programs " + in + ": FAIL1.RCM, FAIL2.RCM, FAIL4.RCM",
          "failed FAIL: Cannot write " + Dst("FAIL3.RCM") + ": " + overAFolder,
          "translated PART: 4 programs " + in +
              ": PART1.RCM, PART2.RCM (hidden), PART3.RCM (hidden), PART4.RCM (hidden)",
          "deleted GONE1.RCM: orphan: no G-code file in the source folder gives its name",
          "deleted BAD: refused G-code file, deleted on the operator's Yes",
          "deleted FAIL1.RCM: delete all RCM files", "deleted FAIL2.RCM: delete all RCM files",
          "deleted FAIL4.RCM: delete all RCM files", "deleted PART1.RCM: delete all RCM files",
          "deleted PART2.RCM: delete all RCM files", "deleted PART3.RCM: delete all RCM files",
          "deleted PART4.RCM: delete all RCM files"}));
}

// --- folders that cannot be listed ---

TEST_F(ScanTickTest, FolderThatCannotBeListedStopsTheTickBeforeAnyTranslationOrDeletion) {
  namespace fs = std::filesystem;
  FourPrograms("PART", kNoon);
#ifndef _WIN32  // a folder's permission is taken away by its mode here
  // Permissions do not bind the superuser.
  if (::geteuid() != 0) {
    fs::permissions(folder_.File("src"), fs::perms::none);
    EXPECT_FALSE(Tick(1, 1).ok());
  }
#endif
  fs::permissions(folder_.File("src"), fs::perms::owner_all);
  fs::remove_all(folder_.File("src"));

  TickOutcome outcome = Tick(1, 1);

  EXPECT_FALSE(outcome.ok());
  EXPECT_FALSE(outcome.changed);
  EXPECT_THAT(ProgramFolder(), ElementsAre("PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"));

  folder_.MakeFolder("src");
  Source("NEWP", kNoon);
  fs::remove_all(folder_.File("dst"));
  outcome = Tick(1, 1);
  EXPECT_FALSE(outcome.ok());
  EXPECT_FALSE(outcome.translated);
}

// --- the orphan pass ---

TEST_F(ScanTickTest, RemovedGcodeFileLosesItsProgramsOfTheFormatInForce) {
  Source("KEEP", kNoon);
  FourPrograms("KEEP", kNoon + 10);
  FourPrograms("PART", kNoon + 10);
  Program("PART1.ACC", kNoon);
  ASSERT_TRUE(SetReadOnly(Dst("PART1.RCM"), true).ok());
  SetFileAttributes(Dst("PART2.RCM"), kHiddenAttribute);
  // A link goes as a link; the file it points to stays as it is.
  const std::string target = folder_.Write("elsewhere/TARGET", "kept");
  std::filesystem::permissions(target, std::filesystem::perms(0444));
  if (!testing::MakeSymlink(target, Dst("LINK1.RCM"))) Program("LINK1.RCM", kNoon);  // no links
  // A writer killed 20 minutes ago left its temporary file.
  Program(".tessaro-KEEP1.RCM.99.0", kNoon);

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_THAT(outcome.deletedPrograms,
              ElementsAre(Dst("LINK1.RCM"), Dst("PART1.RCM"), Dst("PART2.RCM"), Dst("PART3.RCM"),
                          Dst("PART4.RCM")));
  EXPECT_EQ(folder_.Read("elsewhere/TARGET"), "kept");
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0444));
  EXPECT_TRUE(outcome.ok());
  EXPECT_TRUE(outcome.changed);
  EXPECT_THAT(ProgramFolder(),
              ElementsAre("KEEP1.RCM", "KEEP2.RCM", "KEEP3.RCM", "KEEP4.RCM", "PART1.ACC"));
}

TEST_F(ScanTickTest, EmptySourceFolderSparesOnlyTemplate) {
  for (const char* program : {"TEMPLATE.RCM", "template.RCM", "TeMpLaTe.rcm", "PART1.RCM",
                              "TEMPLATE1.RCM", "TEMPLAT.RCM"}) {
    Program(program, kNoon);
  }

  Tick(1, 1);

#ifdef _WIN32  // one file: letter case makes no other name here
  EXPECT_THAT(ProgramFolder(), ElementsAre("TEMPLATE.RCM"));
#else
  EXPECT_THAT(ProgramFolder(), ElementsAre("TEMPLATE.RCM", "TeMpLaTe.rcm", "template.RCM"));
#endif
}

// --- delete all ---

TEST_F(ScanTickTest, DeleteAllAsksAndOnYesDeletesEveryProgramOfTheFormat) {
  for (const char* program : {"PART1.RCM", "template.rcm", "LOCK1.RCM", "HIDE1.RCM", "KEEP1.ACC"}) {
    Program(program, kNoon);
  }
  ASSERT_TRUE(SetReadOnly(Dst("LOCK1.RCM"), true).ok());
  SetFileAttributes(Dst("HIDE1.RCM"), kHiddenAttribute);
  const std::string question =
      " files will allow all files in the source directory\r"
      "     to be reprocessed if Automatic Translation is turned on.\r\r"
      "                Do You Wish To Continue With Deletion?";

  EXPECT_FALSE(DeleteAllPrograms(folder_.File("dst"), false, asker_).confirmed);
  EXPECT_EQ(ProgramFolder().size(), 5u);

  asker_.answer = true;
  const DeleteAllOutcome yes = DeleteAllPrograms(folder_.File("dst"), true, asker_);
  EXPECT_TRUE(yes.confirmed);
  EXPECT_TRUE(yes.errors.empty());
  EXPECT_THAT(ProgramFolder(), ElementsAre("KEEP1.ACC"));
  EXPECT_THAT(asker_.questions, ElementsAre("Alert!|Deleting all ACC" + question,
                                            "Alert!|Deleting all RCM" + question));
  EXPECT_EQ(DeleteAllPrograms(folder_.File("nowhere"), true, asker_).errors.size(), 1u);
}

}  // namespace
}  // namespace tessaro
