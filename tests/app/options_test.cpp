#include "app/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/settings_file.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

class StoredOptionsTest : public ::testing::Test {
 protected:
  StoredOptions ReadWith(std::string_view contents) {
    folder_.Write("Tessaro.INI", contents);
    return ReadStoredOptions(SettingsFile(folder_.File("Tessaro.INI")));
  }
  StoredOptions ReadSetting(std::string_view key, std::string_view value) {
    return ReadWith("[Settings]\n" + std::string(key) + "=" + std::string(value) + "\n");
  }

  TempFolder folder_;
};

TEST_F(StoredOptionsTest, MissingFileGivesEveryDefault) {
  const StoredOptions options = ReadStoredOptions(SettingsFile(folder_.File("Tessaro.INI")));
  EXPECT_FALSE(options.rcmFormat);
  EXPECT_EQ(options.programExtension(), "ACC");
  EXPECT_EQ(options.autoDelete, 0);
  EXPECT_EQ(options.autoScan, 0);
  EXPECT_EQ(options.sourcePath, "");
  EXPECT_EQ(options.destinationPath, "");
  EXPECT_EQ(options.drillExclusion, "0");
  EXPECT_EQ(options.dowelExclusion, "0");
  EXPECT_EQ(options.facePriority, "3412");
  EXPECT_FALSE(options.deleteButtonVisible);
  EXPECT_EQ(options.noDuplicates, std::nullopt);
  EXPECT_EQ(options.noEmpties, std::nullopt);
  EXPECT_EQ(options.scanIntervalMs, 5000);
  EXPECT_EQ(options.windowTop, 0);
  EXPECT_EQ(options.windowLeft, 0);
  for (int face = 1; face <= 4; ++face) EXPECT_EQ(options.masks[face], "        ");
  EXPECT_FALSE(options.omissionRulesEnabled());
}

TEST_F(StoredOptionsTest, ReadsEveryKeyOfTheFile) {
  const StoredOptions options = ReadWith(
      "[Settings]\n"
      "AutoDelete= 1\n"
      "AutoScan= 1\n"
      "SourcePath=/shop/gcode/\n"
      "DestinationPath=/shop/rcm/\n"
      "DowellExclusion=4\n"
      "DrillExclusion=7\n"
      "FacePriority=21\n"
      "DeleteButtonVisible=yes\n"
      "NoDuplicates=1\n"
      "NoEmpties=0\n"
      "ScanTime=2.5\n"
      "RCM=Yes\n"
      "[Window]\n"
      "Top=1440\n"
      "Left=720\n"
      "[HorizontalRename]\n"
      "Mask1=*******1\n"
      "Mask2=*******2\n"
      "Mask3=*******3\n"
      "Mask4=*******4\n");
  EXPECT_TRUE(options.rcmFormat);
  EXPECT_EQ(options.programExtension(), "RCM");
  EXPECT_EQ(options.autoDelete, 1);
  EXPECT_EQ(options.autoScan, 1);
  EXPECT_EQ(options.sourcePath, "/shop/gcode/");
  EXPECT_EQ(options.destinationPath, "/shop/rcm/");
  EXPECT_EQ(options.dowelExclusion, "4");
  EXPECT_EQ(options.drillExclusion, "7");
  EXPECT_EQ(options.facePriority, "21");
  EXPECT_TRUE(options.deleteButtonVisible);
  EXPECT_EQ(options.noDuplicates, 1);
  EXPECT_EQ(options.noEmpties, 0);
  EXPECT_EQ(options.scanIntervalMs, 2500);
  EXPECT_EQ(options.windowTop, 1440);
  EXPECT_EQ(options.windowLeft, 720);
  EXPECT_EQ(options.masks[1], "       1");
  EXPECT_EQ(options.masks[4], "       4");
  EXPECT_TRUE(options.omissionRulesEnabled());
}

TEST_F(StoredOptionsTest, OnlyYesInAnyCaseSelectsTheRcmFormat) {
  EXPECT_TRUE(ReadSetting("RCM", "yes").rcmFormat);
  EXPECT_TRUE(ReadSetting("RCM", "YES").rcmFormat);
  EXPECT_FALSE(ReadSetting("RCM", "Y").rcmFormat);
  EXPECT_FALSE(ReadSetting("RCM", "TRUE").rcmFormat);
  EXPECT_FALSE(ReadSetting("RCM", "1").rcmFormat);
  EXPECT_TRUE(ReadSetting("DeleteButtonVisible", "Yes").deleteButtonVisible);
  EXPECT_FALSE(ReadSetting("DeleteButtonVisible", "no").deleteButtonVisible);
}

TEST_F(StoredOptionsTest, FacePriorityOfOneToFourCharacters) {
  EXPECT_EQ(ReadSetting("FacePriority", "12345").facePriority, "3412");
  EXPECT_EQ(ReadSetting("FacePriority", "21").facePriority, "21");
  EXPECT_EQ(ReadSetting("FacePriority", "4321").facePriority, "4321");
  EXPECT_EQ(ReadSetting("FacePriority", "").facePriority, "3412");
  EXPECT_EQ(ReadSetting("FacePriority", "END.-").facePriority, "3412");
}

struct IntervalCase {
  std::string stored;
  int expectedMs;
};
class ScanTimeTest : public StoredOptionsTest,
                     public ::testing::WithParamInterface<IntervalCase> {};
TEST_P(ScanTimeTest, GivesTheIntervalWhenTheTimerTakesIt) {
  EXPECT_EQ(ReadSetting("ScanTime", GetParam().stored).scanIntervalMs, GetParam().expectedMs)
      << "ScanTime=" << GetParam().stored;
}
INSTANTIATE_TEST_SUITE_P(Values, ScanTimeTest,
                         ::testing::Values(IntervalCase{"2.5", 2500}, IntervalCase{"0", 5000},
                                           IntervalCase{"", 5000}, IntervalCase{"abc", 5000},
                                           IntervalCase{"70", 5000}, IntervalCase{"65.535", 65535},
                                           IntervalCase{"65.536", 5000}, IntervalCase{"0.001", 1},
                                           IntervalCase{"0.0004", 5000}, IntervalCase{"-1", 5000},
                                           IntervalCase{"1e300", 5000},
                                           IntervalCase{"10 s", 10000}));

TEST_F(StoredOptionsTest, ExclusionsAreNormalisedToOneDigit) {
  EXPECT_EQ(ReadSetting("DowellExclusion", "12").dowelExclusion, "1");
  EXPECT_EQ(ReadSetting("DowellExclusion", "-3").dowelExclusion, "0");
  EXPECT_EQ(ReadSetting("DrillExclusion", "x").drillExclusion, "0");
  EXPECT_EQ(ReadSetting("DrillExclusion", "9").drillExclusion, "9");
}

TEST_F(StoredOptionsTest, CheckStatesAreRoundedAndLimited) {
  EXPECT_EQ(ReadSetting("AutoScan", " 1").autoScan, 1);
  EXPECT_EQ(ReadSetting("AutoScan", "2").autoScan, 2);
  EXPECT_EQ(ReadSetting("AutoScan", "3").autoScan, std::nullopt);
  EXPECT_EQ(ReadSetting("AutoScan", "-1").autoScan, std::nullopt);
  EXPECT_EQ(ReadSetting("AutoScan", "0.5").autoScan, 0);
  EXPECT_EQ(ReadSetting("AutoScan", "1.5").autoScan, 2);
  EXPECT_EQ(ReadSetting("AutoScan", "0.6").autoScan, 1);
  EXPECT_EQ(ReadSetting("AutoScan", "on").autoScan, 0);
  EXPECT_EQ(ReadSetting("AutoDelete", " 1").autoDelete, 1);
  EXPECT_EQ(ReadSetting("AutoDelete", "7").autoDelete, std::nullopt);
}

TEST_F(StoredOptionsTest, OmissionRulesNeedAStrictWholeNumber) {
  EXPECT_EQ(ReadSetting("NoDuplicates", "1").noDuplicates, 1);
  EXPECT_EQ(ReadSetting("NoDuplicates", "").noDuplicates, std::nullopt);
  EXPECT_EQ(ReadSetting("NoDuplicates", "yes").noDuplicates, std::nullopt);
  EXPECT_EQ(ReadSetting("NoEmpties", "1.5").noEmpties, std::nullopt);
  EXPECT_EQ(ReadSetting("NoEmpties", "0").noEmpties, 0);
}

TEST_F(StoredOptionsTest, MasksTurnStarsIntoBlanks) {
  const StoredOptions options = ReadWith(
      "[HorizontalRename]\n"
      "Mask1=AB**CD**\n"
      "Mask2=ABCDEFGHIJ\n"
      "mask3=A?B\n");
  EXPECT_EQ(options.masks[1], "AB  CD  ");
  EXPECT_EQ(options.masks[2], "ABCDEFGH");
  EXPECT_EQ(options.masks[3], "A B     ");
  EXPECT_EQ(options.masks[4], "        ");
  EXPECT_FALSE(options.omissionRulesEnabled());
}

struct TextCase {
  std::string text;
  std::string expected;
};

class MaskFromStoredTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(MaskFromStoredTest, GivesEightCharacters) {
  EXPECT_EQ(MaskFromStored(GetParam().text), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Values, MaskFromStoredTest,
    ::testing::Values(TextCase{"", "        "}, TextCase{"********", "        "},
                      TextCase{"P*", "P       "}, TextCase{"12345678X", "12345678"},
                      TextCase{"a/b\\c:d|", "a b c d "}, TextCase{"\t<>\"", "        "}));

TEST(Masks, StoredFormWritesBlanksAsStars) {
  EXPECT_EQ(MaskToStored("AB  CD  "), "AB**CD**");
  EXPECT_EQ(MaskToStored("        "), "********");
  EXPECT_EQ(MaskToStored("PART1234"), "PART1234");
}

TEST(Masks, AllMasksSetNeedsEveryFaceWithACharacter) {
  FaceMasks masks = {"        ", "1       ", "2       ", "       3", "   4    "};
  EXPECT_TRUE(AllMasksSet(masks));
  masks[3] = "        ";
  EXPECT_FALSE(AllMasksSet(masks));
  masks[3] = "3";
  masks[0] = "";
  EXPECT_TRUE(AllMasksSet(masks));
}

TEST(Masks, KeyNames) {
  EXPECT_EQ(keys::MaskKey(1), "Mask1");
  EXPECT_EQ(keys::MaskKey(4), "Mask4");
}

class NormaliseExclusionTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(NormaliseExclusionTest, KeepsTheFirstDigitAboveZero) {
  EXPECT_EQ(NormaliseExclusion(GetParam().text), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Values, NormaliseExclusionTest,
                         ::testing::Values(TextCase{"12", "1"}, TextCase{"-3", "0"},
                                           TextCase{"", "0"}, TextCase{"x", "0"},
                                           TextCase{" ", "0"}, TextCase{"0", "0"},
                                           TextCase{"9", "9"}, TextCase{"73", "7"},
                                           TextCase{".5", "0"}, TextCase{"+", "0"}));

struct WholeNumberCase {
  std::string text;
  std::optional<int> expected;
};
class ParseWholeNumberTest : public ::testing::TestWithParam<WholeNumberCase> {};
TEST_P(ParseWholeNumberTest, AcceptsOnlyAWholeNumber) {
  EXPECT_EQ(ParseWholeNumber(GetParam().text), GetParam().expected) << GetParam().text;
}
INSTANTIATE_TEST_SUITE_P(
    Values, ParseWholeNumberTest,
    ::testing::Values(WholeNumberCase{"1", 1}, WholeNumberCase{" 0 ", 0}, WholeNumberCase{"-2", -2},
                      WholeNumberCase{"+3", 3}, WholeNumberCase{"", std::nullopt},
                      WholeNumberCase{"  ", std::nullopt}, WholeNumberCase{"x", std::nullopt},
                      WholeNumberCase{"1x", std::nullopt}, WholeNumberCase{"1.0", std::nullopt},
                      WholeNumberCase{"1 2", std::nullopt}, WholeNumberCase{"+-1", std::nullopt},
                      WholeNumberCase{"++1", std::nullopt},
                      WholeNumberCase{"99999999999", std::nullopt}));

}  // namespace
}  // namespace tessaro
