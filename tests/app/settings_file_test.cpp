#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "support/killed_writer.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

constexpr const char* kReadSample =
    "Left=5\n"  // before any section: no setting
    "[Window]\n"
    ";Top=7\n"
    "Top=100\n"
    "[settings]\n"
    "AutoScan= 1\n"
    "SourcePath =  /home/shop/gcode/  \r\n"
    "Tabbed=\t7\t\n"
    "Inner=a  b\n"
    "Empty=\n"
    "Marker=END.-\n"
    "Blanks=   \n"
    "[DirDialogBox]\n"
    "Top=200\n"
    "[Settings]\n"
    "Later=2\n";

TEST(ReadSetting, ReadsTheTrimmedValueOfTheKeyInItsSection) {
  TempFolder folder;
  const SettingsFile settings(folder.Write("Tessaro.INI", kReadSample));
  EXPECT_EQ(SettingsFile(folder.File("MISSING.INI")).ReadSetting("Settings", "AutoScan"), "");
  using Key = std::tuple<const char*, const char*, const char*>;
  for (const auto& [section, key, value] :
       {Key{"Settings", "AutoScan", "1"}, Key{"SETTINGS", "autoscan", "1"},
        Key{"Settings", "SourcePath", "/home/shop/gcode/"}, Key{"Settings", "Tabbed", "7"},
        Key{"Settings", "Inner", "a  b"}, Key{"Settings", "Empty", ""},
        Key{"Settings", "Marker", ""}, Key{"Settings", "Blanks", ""},
        Key{"Settings", "Missing", ""}, Key{"Settings", "Later", "2"}, Key{"Window", "Top", "100"},
        Key{"DirDialogBox", "Top", "200"}, Key{"Window", "AutoScan", ""}, Key{"Window", "Left", ""},
        Key{"Window", ";Top", ""}, Key{"Missing", "Top", ""}}) {
    EXPECT_EQ(settings.ReadSetting(section, key), value) << section << "/" << key;
  }
}

struct Write {
  std::string section;
  std::string key;
  std::string value;
};

struct WriteCase {
  std::string name;
  std::optional<std::string> before;  // nullopt: no file yet
  std::vector<Write> writes;
  std::string after;
};

TEST(WriteSetting, ChangesOnlyTheLinesItMust) {
  for (const WriteCase& c :
       {WriteCase{"FirstWriteCreatesTheFile",
                  std::nullopt,
                  {{"Settings", "AutoScan", " 1"}},
                  "[Settings]\nAutoScan= 1\n"},
        WriteCase{"ExistingKeyIsReplacedInPlaceKeepingItsSpelling",
                  "; shop\n[settings]\nautoscan= 0\nUnknown line\nRCM=YES\n\n[Window]\nTop=10\n",
                  {{"Settings", "AUTOSCAN", " 1"}},
                  "; shop\n[settings]\nautoscan= 1\nUnknown line\nRCM=YES\n\n[Window]\nTop=10\n"},
        WriteCase{"NewKeyGoesToTheEndOfItsSection",
                  "[Empty]\n[Settings]\nRCM=YES\n\n[Window]\nTop=10\n",
                  {{"Settings", "NoEmpties", "1"}, {"Window", "Left", "20"}, {"empty", "A", "0"}},
                  "[Empty]\nA=0\n[Settings]\nRCM=YES\nNoEmpties=1\n\n[Window]\nTop=10\nLeft=20\n"},
        WriteCase{"NewKeyAfterALastLineWithoutLineEnd",
                  "[Settings]\nRCM=YES",
                  {{"Settings", "ScanTime", "2"}},
                  "[Settings]\nRCM=YES\nScanTime=2"},
        WriteCase{"NewSectionAfterALastLineWithoutLineEnd",
                  "[Settings]\nRCM=YES",
                  {{"Window", "Top", "1"}},
                  "[Settings]\nRCM=YES\n[Window]\nTop=1\n"},
        WriteCase{"LineEndsOfTheFileAreKept",
                  "[Settings]\r\nRCM=YES\r\nAutoScan= 0\r\n",
                  {{"Settings", "AutoScan", " 1"},
                   {"Settings", "NoEmpties", "0"},
                   {"Window", "Top", "3"}},
                  "[Settings]\r\nRCM=YES\r\nAutoScan= 1\r\nNoEmpties=0\r\n[Window]\r\nTop=3\r\n"},
        WriteCase{"RepeatedSectionKeepsKeysWhereTheyAreAndNewOnesInTheFirst",
                  "[Settings]\nA=1\n[Window]\nTop=1\n[Settings]\nB=2\n",
                  {{"Settings", "B", "3"}, {"Settings", "C", "4"}},
                  "[Settings]\nA=1\nC=4\n[Window]\nTop=1\n[Settings]\nB=3\n"},
        WriteCase{"ValuesThatWouldBreakTheLayoutAreNotStored",
                  "[Settings]\nSourcePath=/old/\n",
                  {{"Settings", "SourcePath", "/new/\n[Evil]\nx=1"},
                   {"Settings", "Bad=Key", "1"},
                   {"Sec]tion", "Key", "1"},
                   {"Settings", "", "1"}},
                  "[Settings]\nSourcePath=/old/\n"}}) {
    TempFolder folder;
    if (c.before) folder.Write("Tessaro.INI", *c.before);
    const SettingsFile settings(folder.File("Tessaro.INI"));
    for (const Write& write : c.writes) {
      settings.WriteSetting(write.section, write.key, write.value);
    }
    EXPECT_EQ(folder.Read("Tessaro.INI"), c.after) << c.name;
    EXPECT_EQ(folder.List(), std::vector<std::string>{"Tessaro.INI"});  // no temporary file left
  }
}

TEST(SettingsFile, LongValueReadsBackWhole) {
  TempFolder folder;
  const std::string path = "/" + std::string(150, 'p') + "/";
  const SettingsFile settings(folder.File("Tessaro.INI"));
  settings.WriteSetting("Settings", "SourcePath", path);
  EXPECT_EQ(settings.ReadSetting("Settings", "SourcePath"), path);
}

TEST(SettingsFile, ReadOnlyFileIsLeftAsItIs) {
  TempFolder folder;
  const SettingsFile settings(folder.Write("Tessaro.INI", "[Settings]\nAutoScan= 0\n"));
  ASSERT_EQ(::chmod(settings.path().c_str(), 0444), 0);
  settings.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_EQ(folder.Read("Tessaro.INI"), "[Settings]\nAutoScan= 0\n");
}

TEST(SettingsFile, WriteIntoAMissingFolderFailsSilently) {
  TempFolder folder;
  const SettingsFile settings(folder.File("gone/Tessaro.INI"));
  settings.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_FALSE(folder.Exists("gone"));
  EXPECT_EQ(settings.ReadSetting("Settings", "AutoScan"), "");
}

// A process killed while it writes leaves the old or the new file, never a part.
TEST(SettingsFile, KilledWriterLeavesOneWholeFile) {
  TempFolder folder;
  const std::string valueA(200000, 'a');
  const std::string valueB(300000, 'b');
  const std::string fileA = "[Settings]\nRCM=YES\nBig=" + valueA + "\nTail=1\n";
  const std::string fileB = "[Settings]\nRCM=YES\nBig=" + valueB + "\nTail=1\n";
  const SettingsFile settings(folder.Write("Tessaro.INI", fileA));
  const auto write = [&](int i) {
    settings.WriteSetting("Settings", "Big", i % 2 ? valueA : valueB);
  };
  const auto whole = [&] {
    const std::string seen = folder.Read("Tessaro.INI");
    return seen == fileA || seen == fileB;
  };
  EXPECT_EQ(testing::TornReadsOfAKilledWriter(4, write, whole), 0);
}

}  // namespace
}  // namespace tessaro
