#include "scan/scan_cycle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/operator.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "scan/scan_files.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::TempFolder;

constexpr long long kNoon = 1'700'000'000;  // the stamp the tests give sources
constexpr std::string_view kOldProgram = "old program";

class RecordingOperator : public Operator {
 public:
  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back(title + "|" + text);
    return answer;
  }
  void Tell(const std::string& title, const std::string& text) override {
    messages.push_back(title + "|" + text);
  }
  bool answer = false;
  std::vector<std::string> questions;
  std::vector<std::string> messages;
};

class ScanTickTest : public ::testing::Test {
 protected:
  ScanTickTest() : session_(asker_), cycle_(session_) {
    folder_.MakeFolder("app");
    folder_.MakeFolder("src");
    folder_.MakeFolder("dst");
    folder_.Write("app/Template.RCM", testing::kSmallTemplate);
    TranslationSettings& settings = session_.Settings();
    settings.rcmFormat = true;
    settings.appFolder = folder_.File("app") + "/";
    settings.destinationFolder = folder_.File("dst");
    settings.masks = {"", "    1   ", "    2   ", "    3   ", "    4   "};
  }

  std::string Src(std::string_view name) const { return folder_.File("src/" + std::string(name)); }
  std::string Dst(std::string_view name) const { return folder_.File("dst/" + std::string(name)); }

  void Source(std::string_view name, long long seconds, long nanoseconds = 0,
              std::string_view gcode = testing::kPanelGcode) const {
    folder_.Write("src/" + std::string(name), gcode);
    folder_.SetModifiedSeconds("src/" + std::string(name), seconds, nanoseconds);
  }
  void Program(std::string_view name, long long seconds, long nanoseconds = 0) const {
    folder_.Write("dst/" + std::string(name), kOldProgram);
    folder_.SetModifiedSeconds("dst/" + std::string(name), seconds, nanoseconds);
  }
  // PART1 .. PART4 with the extension in force, all with one stamp.
  void FourPrograms(std::string_view base, long long seconds, std::string_view extension = "RCM") {
    for (int face = 1; face <= 4; ++face) {
      Program(std::string(base) + std::to_string(face) + "." + std::string(extension), seconds);
    }
  }
  bool Rewritten(std::string_view program) const {
    return folder_.Exists("dst/" + std::string(program)) &&
           folder_.Read("dst/" + std::string(program)) != kOldProgram;
  }

  // Every file name in the program folder, sorted.
  std::vector<std::string> ProgramFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.File("dst"))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TickOutcome Tick(int autoScan = 1, int autoDel = 0) {
    return cycle_.RunTick({autoScan, autoDel, folder_.File("src"), folder_.File("dst")});
  }

  TempFolder folder_;
  RecordingOperator asker_;
  Session session_;
  ScanCycle cycle_;
};

// --- which files a tick translates ---

TEST_F(ScanTickTest, NewFileGetsItsFourPrograms) {
  Source("PART", kNoon);

  const TickOutcome outcome = Tick();

  EXPECT_THAT(outcome.translatedFiles, ElementsAre(Src("PART")));
  EXPECT_TRUE(outcome.translated);
  EXPECT_TRUE(outcome.changed);
  EXPECT_TRUE(outcome.ok());
  EXPECT_THAT(ProgramFolder(), ElementsAre("PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"));
  EXPECT_EQ(outcome.writtenPrograms.size(), 4u);
}

TEST_F(ScanTickTest, UntickedOrGreyedAutomaticTranslationReadsNothing) {
  Source("PART", kNoon);
  Program("GONE1.RCM", kNoon);
  for (const int autoScan : {0, 2}) {
    SCOPED_TRACE(autoScan);
    const TickOutcome outcome = Tick(autoScan, /*autoDel=*/1);
    EXPECT_FALSE(outcome.translated);
    EXPECT_FALSE(outcome.changed);
    EXPECT_TRUE(outcome.ok());
    EXPECT_THAT(ProgramFolder(), ElementsAre("GONE1.RCM"));
  }
}

TEST_F(ScanTickTest, FilesWithAnExtensionAreNotGcodeFiles) {
  Source("PART.NC", kNoon);
  Source("PANEL.", kNoon);

  const TickOutcome outcome = Tick();

  EXPECT_FALSE(outcome.translated);
  EXPECT_THAT(ProgramFolder(), IsEmpty());
}

TEST_F(ScanTickTest, OnlyShortNamesWithoutTildeAreTranslated) {
  Source("PA~T", kNoon);
  Source("NINECHARS", kNoon);
  Source("   ", kNoon);
  Source("EIGHTCHR", kNoon);

  const TickOutcome outcome = Tick();

  EXPECT_THAT(outcome.translatedFiles, ElementsAre(Src("EIGHTCHR")));
  EXPECT_THAT(ProgramFolder(),
              ElementsAre("EIGH1CHR.RCM", "EIGH2CHR.RCM", "EIGH3CHR.RCM", "EIGH4CHR.RCM"));
}

TEST_F(ScanTickTest, NamesWithBlanksKeepThePrograms) {
  Source(" AB ", kNoon);
  Source("CD  ", kNoon);

  const TickOutcome first = Tick(1, 1);
  const TickOutcome second = Tick(1, 1);

  EXPECT_THAT(first.translatedFiles, ElementsAre(Src(" AB "), Src("CD  ")));
  EXPECT_THAT(ProgramFolder(), ElementsAre("AB-1.RCM", "AB-2.RCM", "AB-3.RCM", "AB-4.RCM",
                                           "CD--1.RCM", "CD--2.RCM", "CD--3.RCM", "CD--4.RCM"));
  EXPECT_FALSE(second.changed);
}

TEST_F(ScanTickTest, SourceNewerThanItsProgramsIsTranslated) {
  struct Case {
    const char* name;
    long long sourceSeconds;
    long sourceNanoseconds;
    long long programSeconds;
    bool translated;
  };
  const Case cases[] = {
      {"SECN", kNoon + 1, 0, kNoon, true},               // one second newer
      {"DAYL", kNoon + 86'400 - 3'600, 0, kNoon, true},  // a day later, an hour earlier
      {"SAME", kNoon, 0, kNoon, false},                  // identical stamps
      {"HALF", kNoon, 500'000'000, kNoon, true},         // newer within the same second
      {"OLDR", kNoon - 1, 0, kNoon, false},              // programs newer
  };
  for (const Case& c : cases) {
    Source(c.name, c.sourceSeconds, c.sourceNanoseconds);
    FourPrograms(c.name, c.programSeconds);
  }

  const TickOutcome outcome = Tick();

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool translated =
        std::find(outcome.translatedFiles.begin(), outcome.translatedFiles.end(), Src(c.name)) !=
        outcome.translatedFiles.end();
    EXPECT_EQ(translated, c.translated);
    EXPECT_EQ(Rewritten(std::string(c.name) + "1.RCM"), c.translated);
  }
}

TEST_F(ScanTickTest, MissingFacesDoNotCauseATranslation) {
  Source("PART", kNoon);
  Program("PART1.RCM", kNoon + 10);
  Program("PART3.RCM", kNoon + 10);

  const TickOutcome outcome = Tick();

  EXPECT_FALSE(outcome.translated);
  EXPECT_THAT(ProgramFolder(), ElementsAre("PART1.RCM", "PART3.RCM"));
}

TEST_F(ScanTickTest, OneOlderProgramRetranslatesAllFaces) {
  Source("PART", kNoon);
  FourPrograms("PART", kNoon + 10);
  Program("PART3.RCM", kNoon - 10);

  const TickOutcome outcome = Tick();

  EXPECT_THAT(outcome.translatedFiles, ElementsAre(Src("PART")));
  for (const char* program : {"PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"}) {
    EXPECT_TRUE(Rewritten(program)) << program;
  }
}

TEST_F(ScanTickTest, ProgramNamesCompareCaseSensitively) {
  Source("ABCD", kNoon);
  FourPrograms("abcd", kNoon + 10);

  const TickOutcome outcome = Tick();

  EXPECT_THAT(outcome.translatedFiles, ElementsAre(Src("ABCD")));
  EXPECT_TRUE(Rewritten("ABCD1.RCM"));
  EXPECT_EQ(folder_.Read("dst/abcd1.RCM"), kOldProgram);
}

TEST_F(ScanTickTest, ProgramExtensionMatchesInAnyLetterCase) {
  Source("PART", kNoon);
  FourPrograms("PART", kNoon + 10, "rcm");

  EXPECT_FALSE(Tick().translated);
}

TEST_F(ScanTickTest, PaddedNamesMatchOnceTrimmed) {
  Source("PART  ", kNoon);
  Program(" PART1.RCM", kNoon + 10);
  Program("PART2  .RCM", kNoon + 10);
  Program(" PART3 .RCM", kNoon + 10);
  Program("PART4.RCM", kNoon + 10);

  EXPECT_FALSE(Tick().translated);
}

TEST_F(ScanTickTest, FirstListedProgramOfAnEqualNameDecides) {
  // "PART1 .RCM" is listed before "PART1.RCM"; both read PART1 once trimmed.
  Source("OLDF", kNoon);
  FourPrograms("OLDF", kNoon + 10);
  Program("OLDF1 .RCM", kNoon - 10);
  Source("NEWF", kNoon);
  FourPrograms("NEWF", kNoon - 10);
  Program("NEWF1 .RCM", kNoon + 10);
  Program("NEWF2 .RCM", kNoon + 10);
  Program("NEWF3 .RCM", kNoon + 10);
  Program("NEWF4 .RCM", kNoon + 10);

  const TickOutcome outcome = Tick();

  EXPECT_THAT(outcome.translatedFiles, ElementsAre(Src("OLDF")));
}

TEST_F(ScanTickTest, HiddenProgramsCountAsListed) {
  Source("PART", kNoon);
  FourPrograms("PART", kNoon + 10);
  for (const char* program : {"PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"}) {
    SetFileAttributes(Dst(program), kHiddenAttribute);
  }

  EXPECT_FALSE(Tick().translated);
}

TEST_F(ScanTickTest, ProgramsWrittenDuringATickAreSeenFromTheNextTick) {
  // With blank masks "P" and "P " both own P.RCM: the second is compared with the
  // listing taken before the first was translated.
  session_.Settings().masks = {"", "        ", "        ", "        ", "        "};
  Source("P", kNoon);
  Source("P ", kNoon);

  const TickOutcome first = Tick();
  const TickOutcome second = Tick();

  EXPECT_THAT(first.translatedFiles, ElementsAre(Src("P"), Src("P ")));
  EXPECT_FALSE(second.translated);
  EXPECT_FALSE(second.changed);
}

TEST_F(ScanTickTest, UpToDateFolderChangesNothing) {
  Source("PART", kNoon);
  Tick();

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_FALSE(outcome.translated);
  EXPECT_FALSE(outcome.changed);
  EXPECT_TRUE(outcome.ok());
}

TEST_F(ScanTickTest, RefusedFileIsReportedKeptAndRetried) {
  Source("BAD", kNoon, 0, testing::kRefusedGcode);

  const TickOutcome first = Tick(1, 1);
  const TickOutcome second = Tick(1, 1);

  EXPECT_THAT(first.refusedFiles, ElementsAre(Src("BAD")));
  EXPECT_THAT(first.translatedFiles, IsEmpty());
  EXPECT_TRUE(first.ok());
  EXPECT_THAT(second.refusedFiles, ElementsAre(Src("BAD")));
  EXPECT_TRUE(folder_.Exists("src/BAD"));
  EXPECT_THAT(ProgramFolder(), IsEmpty());
  EXPECT_EQ(asker_.questions.size(), 2u);
}

TEST_F(ScanTickTest, ProgramThatCannotBeWrittenIsAnError) {
  Source("PART", kNoon);
  folder_.MakeFolder("dst/PART2.RCM");  // not a file: listed by no one, written by no one

  const TickOutcome outcome = Tick();

  EXPECT_FALSE(outcome.ok());
  ASSERT_FALSE(outcome.errors.empty());
  EXPECT_THAT(outcome.errors.front(), HasSubstr("PART2.RCM"));
}

TEST_F(ScanTickTest, ProgramsGoToTheListedDestination) {
  session_.Settings().destinationFolder = folder_.MakeFolder("elsewhere");
  Source("PART", kNoon);

  Tick();

  EXPECT_TRUE(folder_.Exists("dst/PART1.RCM"));
  EXPECT_FALSE(folder_.Exists("elsewhere/PART1.RCM"));
}

TEST_F(ScanTickTest, TickStartedDuringATickIsSkipped) {
  Source("PART", kNoon);
  std::vector<TickOutcome> inner;
  bool runningInside = false;

  const TickOutcome outer = cycle_.RunTick({1, 1, folder_.File("src"), folder_.File("dst")}, [&] {
    runningInside = cycle_.Running();
    inner.push_back(cycle_.RunTick({1, 1, folder_.File("src"), folder_.File("dst")}));
  });

  ASSERT_FALSE(inner.empty());
  EXPECT_TRUE(runningInside);
  EXPECT_TRUE(inner.front().skipped);
  EXPECT_FALSE(inner.front().translated);
  EXPECT_FALSE(outer.skipped);
  EXPECT_THAT(outer.translatedFiles, ElementsAre(Src("PART")));
  EXPECT_FALSE(cycle_.Running());
}

// --- folders that cannot be listed ---

TEST_F(ScanTickTest, SourceFolderThatCannotBeListedDeletesNothing) {
  FourPrograms("PART", kNoon);
  struct Case {
    const char* name;
    void (*spoil)(const TempFolder&);
  };
  const Case cases[] = {
      {"removed", [](const TempFolder& f) { std::filesystem::remove_all(f.File("src")); }},
      {"a file",
       [](const TempFolder& f) {
         std::filesystem::remove_all(f.File("src"));
         f.Write("src", "not a folder");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.spoil(folder_);

    const TickOutcome outcome = Tick(1, 1);

    EXPECT_FALSE(outcome.ok());
    EXPECT_FALSE(outcome.changed);
    EXPECT_THAT(outcome.deletedPrograms, IsEmpty());
    EXPECT_THAT(ProgramFolder(), ElementsAre("PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"));
  }
}

TEST_F(ScanTickTest, UnreadableSourceFolderDeletesNothing) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  FourPrograms("PART", kNoon);
  std::filesystem::permissions(folder_.File("src"), std::filesystem::perms::none);

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_FALSE(outcome.ok());
  EXPECT_THAT(ProgramFolder(), ElementsAre("PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"));
}

TEST_F(ScanTickTest, DestinationThatCannotBeListedTranslatesNothing) {
  Source("PART", kNoon);
  std::filesystem::remove_all(folder_.File("dst"));

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_FALSE(outcome.ok());
  EXPECT_FALSE(outcome.translated);
  EXPECT_FALSE(folder_.Exists("dst"));
}

// --- the orphan pass ---

TEST_F(ScanTickTest, RemovedGcodeFileLosesItsPrograms) {
  Source("KEEP", kNoon);
  FourPrograms("KEEP", kNoon + 10);
  FourPrograms("PART", kNoon + 10);

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_THAT(outcome.deletedPrograms,
              ElementsAre(Dst("PART1.RCM"), Dst("PART2.RCM"), Dst("PART3.RCM"), Dst("PART4.RCM")));
  EXPECT_TRUE(outcome.changed);
  EXPECT_FALSE(outcome.translated);
  EXPECT_THAT(ProgramFolder(), ElementsAre("KEEP1.RCM", "KEEP2.RCM", "KEEP3.RCM", "KEEP4.RCM"));
}

TEST_F(ScanTickTest, OrphanPassNeedsAutomaticDeletionTicked) {
  FourPrograms("PART", kNoon);
  for (const int autoDel : {0, 2}) {
    SCOPED_TRACE(autoDel);
    const TickOutcome outcome = Tick(1, autoDel);
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(ProgramFolder().size(), 4u);
  }
}

TEST_F(ScanTickTest, EmptySourceFolderSparesOnlyTemplate) {
  for (const char* program : {"TEMPLATE.RCM", "template.RCM", "TeMpLaTe.rcm", "PART1.RCM",
                              "TEMPLATE1.RCM", "TEMPLAT.RCM"}) {
    Program(program, kNoon);
  }

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_EQ(outcome.deletedPrograms.size(), 3u);
  EXPECT_THAT(ProgramFolder(), ElementsAre("TEMPLATE.RCM", "TeMpLaTe.rcm", "template.RCM"));
}

TEST_F(ScanTickTest, ProgramsOfUntranslatedSourcesSurvive) {
  Source("PA~T", kNoon);       // never translated: "~"
  Source("NINECHARS", kNoon);  // never translated: longer than 8
  Program("PA~T1.RCM", kNoon);
  Program("NINE1HAR.RCM", kNoon);
  Program("STRAY1.RCM", kNoon);

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_THAT(outcome.deletedPrograms, ElementsAre(Dst("STRAY1.RCM")));
  EXPECT_THAT(ProgramFolder(), ElementsAre("NINE1HAR.RCM", "PA~T1.RCM"));
}

TEST_F(ScanTickTest, ReadOnlyAndHiddenOrphansAreDeleted) {
  Program("LOCK1.RCM", kNoon);
  Program("HIDE1.RCM", kNoon);
  ASSERT_TRUE(SetReadOnly(Dst("LOCK1.RCM"), true).ok());
  SetFileAttributes(Dst("HIDE1.RCM"), kHiddenAttribute);

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_TRUE(outcome.ok());
  EXPECT_THAT(ProgramFolder(), IsEmpty());
}

TEST_F(ScanTickTest, OrphanPassKeepsToTheExtensionInForce) {
  for (const bool rcm : {true, false}) {
    SCOPED_TRACE(rcm);
    session_.Settings().rcmFormat = rcm;
    Program("GONE1.RCM", kNoon);
    Program("GONE1.ACC", kNoon);

    Tick(1, 1);

    EXPECT_THAT(ProgramFolder(), ElementsAre(rcm ? "GONE1.ACC" : "GONE1.RCM"));
    std::filesystem::remove(Dst(rcm ? "GONE1.ACC" : "GONE1.RCM"));
  }
}

TEST_F(ScanTickTest, ProgramsWrittenThisTickSurviveTheOrphanPass) {
  Source("PART", kNoon);

  const TickOutcome outcome = Tick(1, 1);

  EXPECT_THAT(outcome.deletedPrograms, IsEmpty());
  EXPECT_THAT(ProgramFolder(), ElementsAre("PART1.RCM", "PART2.RCM", "PART3.RCM", "PART4.RCM"));
}

// --- delete all ---

class DeleteAllTest : public ScanTickTest {};

TEST_F(DeleteAllTest, AsksWithTheExactTextOfTheFormat) {
  struct Case {
    bool rcm;
    const char* question;
  };
  const Case cases[] = {
      {true,
       "Alert!|Deleting all RCM files will allow all files in the source directory\r"
       "     to be reprocessed if Automatic Translation is turned on.\r\r"
       "                Do You Wish To Continue With Deletion?"},
      {false,
       "Alert!|Deleting all ACC files will allow all files in the source directory\r"
       "     to be reprocessed if Automatic Translation is turned on.\r\r"
       "                Do You Wish To Continue With Deletion?"},
  };
  for (const Case& c : cases) {
    RecordingOperator asker;
    DeleteAllPrograms(folder_.File("dst"), c.rcm, asker);
    EXPECT_THAT(asker.questions, ElementsAre(c.question));
  }
}

TEST_F(DeleteAllTest, AnsweredNoDeletesNothing) {
  FourPrograms("PART", kNoon);
  RecordingOperator asker;
  asker.answer = false;

  const DeleteAllOutcome outcome = DeleteAllPrograms(folder_.File("dst"), true, asker);

  EXPECT_FALSE(outcome.confirmed);
  EXPECT_THAT(outcome.deletedPrograms, IsEmpty());
  EXPECT_EQ(ProgramFolder().size(), 4u);
}

TEST_F(DeleteAllTest, AnsweredYesDeletesEveryProgramOfTheFormatOnly) {
  Source("PART", kNoon);
  for (const char* program :
       {"PART1.RCM", "TEMPLATE.RCM", "template.rcm", "LOCK1.RCM", "HIDE1.RCM", "KEEP1.ACC"}) {
    Program(program, kNoon);
  }
  ASSERT_TRUE(SetReadOnly(Dst("LOCK1.RCM"), true).ok());
  SetFileAttributes(Dst("HIDE1.RCM"), kHiddenAttribute);
  RecordingOperator asker;
  asker.answer = true;

  const DeleteAllOutcome outcome = DeleteAllPrograms(folder_.File("dst"), true, asker);

  EXPECT_TRUE(outcome.confirmed);
  EXPECT_TRUE(outcome.errors.empty());
  EXPECT_EQ(outcome.deletedPrograms.size(), 5u);
  EXPECT_THAT(ProgramFolder(), ElementsAre("KEEP1.ACC"));
  EXPECT_TRUE(folder_.Exists("src/PART"));
}

TEST_F(DeleteAllTest, FolderThatCannotBeListedIsReported) {
  RecordingOperator asker;
  asker.answer = true;

  const DeleteAllOutcome outcome = DeleteAllPrograms(folder_.File("nowhere"), true, asker);

  EXPECT_TRUE(outcome.confirmed);
  EXPECT_EQ(outcome.errors.size(), 1u);
}

}  // namespace
}  // namespace tessaro
