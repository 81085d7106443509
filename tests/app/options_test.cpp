#include "app/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "app/settings_file.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

StoredOptions ReadWith(std::optional<std::string_view> contents) {
  TempFolder folder;
  if (contents) folder.Write("Tessaro.INI", *contents);
  return ReadStoredOptions(SettingsFile(folder.File("Tessaro.INI")));
}

TEST(StoredOptions, MissingFileGivesEveryDefault) {
  const StoredOptions options = ReadWith(std::nullopt);
  EXPECT_FALSE(options.rcmFormat);
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

TEST(StoredOptions, ReadsEveryKeyOfTheFile) {
  const StoredOptions options = ReadWith(
      "[Settings]\nAutoDelete= 1\nAutoScan= 2\nSourcePath=/shop/gcode/\n"
      "DestinationPath=/shop/rcm/\nDowellExclusion=4\nDrillExclusion=7\nFacePriority=21\n"
      "DeleteButtonVisible=yes\nNoDuplicates=1\nNoEmpties=0\nScanTime=2.5\nRCM=Yes\n"
      "[Window]\nTop=1440\nLeft=720\n"
      "[HorizontalRename]\nMask1=AB**CD**\nMask2=ABCDEFGHIJ\nmask3=A?B\nMask4=*******4\n");
  EXPECT_TRUE(options.rcmFormat);
  EXPECT_EQ(options.autoDelete, 1);
  EXPECT_EQ(options.autoScan, 2);
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
  EXPECT_EQ(options.masks, (FaceMasks{"        ", "AB  CD  ", "ABCDEFGH", "A B     ", "       4"}));
  EXPECT_TRUE(options.omissionRulesEnabled());
}

// The option a key sets, written out as text.
std::string Held(const StoredOptions& options, std::string_view key) {
  const auto text = [](std::optional<int> value) {
    return value ? std::to_string(*value) : std::string("none");
  };
  if (key == "RCM") return options.rcmFormat ? "yes" : "no";
  if (key == "DeleteButtonVisible") return options.deleteButtonVisible ? "yes" : "no";
  if (key == "FacePriority") return options.facePriority;
  if (key == "ScanTime") return std::to_string(options.scanIntervalMs);
  if (key == "DowellExclusion") return options.dowelExclusion;
  if (key == "AutoScan") return text(options.autoScan);
  if (key == "AutoDelete") return text(options.autoDelete);
  if (key == "NoEmpties") return text(options.noEmpties);
  return text(options.noDuplicates);
}

TEST(StoredOptions, EachKeyIsReadAsStartUpReadsIt) {
  using Key = std::tuple<std::string, std::string, std::string>;  // key, stored, held
  for (const auto& [key, stored, held] :
       {// only "yes" in any case
        Key{"RCM", "YES", "yes"}, Key{"RCM", "Y", "no"}, Key{"RCM", "1", "no"},
        Key{"DeleteButtonVisible", "no", "no"},
        // one to four characters
        Key{"FacePriority", "12345", "3412"}, Key{"FacePriority", "", "3412"},
        // seconds, taken when the timer takes them (1 to 65535 ms)
        Key{"ScanTime", "abc", "5000"}, Key{"ScanTime", "65.535", "65535"},
        Key{"ScanTime", "65.536", "5000"}, Key{"ScanTime", "0.001", "1"},
        Key{"ScanTime", "0.0004", "5000"}, Key{"ScanTime", "-1", "5000"},
        Key{"ScanTime", "1e300", "5000"}, Key{"ScanTime", "10 s", "10000"},
        Key{"DowellExclusion", "-3", "0"},
        // check states: rounded half to even, 0 to 2
        Key{"AutoScan", "3", "none"}, Key{"AutoScan", "-1", "none"}, Key{"AutoScan", "0.5", "0"},
        Key{"AutoScan", "1.5", "2"}, Key{"AutoScan", "0.6", "1"}, Key{"AutoScan", "on", "0"},
        Key{"AutoDelete", "7", "none"}, Key{"NoDuplicates", "yes", "none"},
        Key{"NoEmpties", "1.5", "none"}}) {
    EXPECT_EQ(Held(ReadWith("[Settings]\n" + key + "=" + stored + "\n"), key), held)
        << key << "=" << stored;
  }
}

TEST(Masks, StoredFormHasStarsForBlanksAndEightCharacters) {
  using Mask = std::pair<std::string, std::string>;
  for (const auto& [stored, mask] :
       {Mask{"", "        "}, Mask{"P*", "P       "}, Mask{"12345678X", "12345678"},
        Mask{"a/b\\c:d|", "a b c d "}, Mask{"\t<>\"", "        "}}) {
    EXPECT_EQ(MaskFromStored(stored), mask) << stored;
  }
  EXPECT_EQ(MaskToStored("AB  CD 1"), "AB**CD*1");
}

TEST(Masks, AllMasksSetNeedsEveryFaceWithACharacter) {
  FaceMasks masks = {"", "1       ", "2       ", "       3", "   4    "};
  EXPECT_TRUE(AllMasksSet(masks));
  masks[3] = "        ";
  EXPECT_FALSE(AllMasksSet(masks));
}

TEST(NormaliseExclusion, KeepsTheFirstDigitAboveZero) {
  for (const auto& [text, digit] :
       {std::pair{"73", "7"}, std::pair{"-3", "0"}, std::pair{"x", "0"}, std::pair{".5", "0"}}) {
    EXPECT_EQ(NormaliseExclusion(text), digit) << text;
  }
}

TEST(ParseWholeNumber, AcceptsOnlyAWholeNumber) {
  using Number = std::pair<std::string, std::optional<int>>;
  for (const auto& [text, number] :
       {Number{" 0 ", 0}, Number{"-2", -2}, Number{"+3", 3}, Number{"  ", std::nullopt},
        Number{"1x", std::nullopt}, Number{"1.0", std::nullopt}, Number{"1 2", std::nullopt},
        Number{"+-1", std::nullopt}, Number{"99999999999", std::nullopt}}) {
    EXPECT_EQ(ParseWholeNumber(text), number) << text;
  }
}

}  // namespace
}  // namespace tessaro
