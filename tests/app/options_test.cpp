#include "app/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
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

TEST(StoredOptions, ReadsEveryKeyOfTheFile) {
  const StoredOptions options = ReadWith(
      "[Settings]\nAutoDelete= 1\nAutoScan= 2\nSourcePath=/shop/gcode/\n"
      "DestinationPath=/shop/rcm/\nDowellExclusion=-3\nDrillExclusion=73\nFacePriority=21\n"
      "DeleteButtonVisible=yes\nNoDuplicates=1\nNoEmpties=0\nScanTime=2.5\nRCM=Yes\n"
      "[Window]\nTop=1440\nLeft=720\n"
      "[HorizontalRename]\nMask1=AB**CD**\nMask2=ABCDEFGHIJ\nmask3=A?B\nMask4=*******4\n");
  EXPECT_TRUE(options.rcmFormat);
  EXPECT_EQ(options.autoDelete, 1);
  EXPECT_EQ(options.autoScan, 2);
  EXPECT_EQ(options.sourcePath, "/shop/gcode/");
  EXPECT_EQ(options.destinationPath, "/shop/rcm/");
  EXPECT_EQ(options.dowelExclusion, "0");  // the first digit above 0
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

TEST(StoredOptions, EachKeyIsReadAsStartUpReadsIt) {
  const auto read = [](const std::string& line) { return ReadWith("[Settings]\n" + line + "\n"); };
  EXPECT_FALSE(read("RCM=Y").rcmFormat);  // only "yes" in any case
  EXPECT_EQ(read("FacePriority=12345").facePriority, "3412");
  // seconds, taken when the timer takes them (1 to 65535 ms)
  for (const auto& [stored, ms] :
       {std::pair{"abc", 5000}, std::pair{"65.535", 65535}, std::pair{"65.536", 5000},
        std::pair{"0.0004", 5000}, std::pair{"10 s", 10000}}) {
    EXPECT_EQ(read(std::string("ScanTime=") + stored).scanIntervalMs, ms) << stored;
  }
  // check states are rounded half to even, 0 to 2; omission rules a strict whole number
  using State = std::pair<const char*, std::optional<int>>;
  for (const auto& [stored, state] :
       {State{"3", std::nullopt}, State{"0.5", 0}, State{"1.5", 2}, State{"on", 0}}) {
    EXPECT_EQ(read(std::string("AutoScan=") + stored).autoScan, state) << stored;
  }
  for (const auto& [stored, state] :
       {State{"-2", -2}, State{"1.5", std::nullopt}, State{"1 2", std::nullopt}}) {
    EXPECT_EQ(read(std::string("NoEmpties=") + stored).noEmpties, state) << stored;
  }
}

// Every blank is stored as "*"; the omission rules need a character in every mask.
TEST(Masks, StoredWithStarsAndAllSetNeedsEveryFaceWithACharacter) {
  EXPECT_EQ(MaskToStored("AB  CD 1"), "AB**CD*1");
  FaceMasks masks = {"", "1       ", "2       ", "       3", "   4    "};
  EXPECT_TRUE(AllMasksSet(masks));
  masks[3] = "        ";
  EXPECT_FALSE(AllMasksSet(masks));
}

}  // namespace
}  // namespace tessaro
