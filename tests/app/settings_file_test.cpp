#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "outside/file_ops.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

TEST(ReadSetting, ReadsTheTrimmedValueOfTheKeyInItsSection) {
  TempFolder folder;
  const SettingsFile settings(folder.Write("Tessaro.INI",
                                           "Left=5\n[Window]\n;Top=7\nTop=100\n"
                                           "[settings]\nAutoScan= 1\n"
                                           "SourcePath =  /home/shop/gcode/  \r\n"
                                           "Tabbed=\t7\t\nInner=a  b\nMarker=END.-\n"
                                           "[DirDialogBox]\nTop=200\n[Settings]\nLater=2\n"));
  using Key = std::tuple<const char*, const char*, const char*>;
  for (const auto& [section, key, value] :
       {Key{"Settings", "AutoScan", "1"}, Key{"SETTINGS", "autoscan", "1"},
        Key{"Settings", "SourcePath", "/home/shop/gcode/"}, Key{"Settings", "Tabbed", "7"},
        Key{"Settings", "Inner", "a  b"}, Key{"Settings", "Marker", ""},
        Key{"Settings", "Missing", ""}, Key{"Settings", "Later", "2"}, Key{"Window", "Top", "100"},
        Key{"DirDialogBox", "Top", "200"}, Key{"Window", "AutoScan", ""},
        Key{"Window", "Left", ""}}) {
    EXPECT_EQ(settings.ReadSetting(section, key), value) << section << "/" << key;
  }
}

using Write = std::tuple<std::string, std::string, std::string>;  // section, key, value

struct WriteCase {
  std::optional<std::string> before;  // nullopt: no file yet
  std::vector<Write> writes;
  std::string after;
};

TEST(WriteSetting, ChangesOnlyTheLinesItMust) {
#ifdef _WIN32
  const std::string created = "[Settings]\r\nAutoScan= 1\r\n";  // the platform's line ends
#else
  const std::string created = "[Settings]\nAutoScan= 1\n";
#endif
  for (const WriteCase& c :
       {// the first write creates the file
        WriteCase{std::nullopt, {{"Settings", "AutoScan", " 1"}}, created},
        // an existing key is replaced in place, keeping its spelling
        WriteCase{"; shop\n[settings]\nautoscan= 0\nUnknown line\n\n[Window]\nTop=10\n",
                  {{"Settings", "AUTOSCAN", " 1"}},
                  "; shop\n[settings]\nautoscan= 1\nUnknown line\n\n[Window]\nTop=10\n"},
        // a new key goes to the end of its section
        WriteCase{"[Empty]\n[Settings]\nRCM=YES\n\n[Window]\nTop=10\n",
                  {{"Settings", "NoEmpties", "1"}, {"Window", "Left", "20"}, {"empty", "A", "0"}},
                  "[Empty]\nA=0\n[Settings]\nRCM=YES\nNoEmpties=1\n\n[Window]\nTop=10\nLeft=20\n"},
        // a new key and a new section after a last line without line end
        WriteCase{"[Settings]\nRCM=YES",
                  {{"Settings", "ScanTime", "2"}, {"Window", "Top", "1"}},
                  "[Settings]\nRCM=YES\nScanTime=2\n[Window]\nTop=1\n"},
        // the file's line ends are kept
        WriteCase{"[Settings]\r\nAutoScan= 0\r\n",
                  {{"Settings", "AutoScan", " 1"}, {"Window", "Top", "3"}},
                  "[Settings]\r\nAutoScan= 1\r\n[Window]\r\nTop=3\r\n"},
        // values and names that would break the layout are not stored
        WriteCase{"[Settings]\nSourcePath=/old/\n",
                  {{"Settings", "SourcePath", "/new/\n[Evil]\nx=1"},
                   {"Settings", "Bad=Key", "1"},
                   {"Sec]tion", "Key", "1"}},
                  "[Settings]\nSourcePath=/old/\n"}}) {
    TempFolder folder;
    if (c.before) folder.Write("Tessaro.INI", *c.before);
    const SettingsFile settings(folder.File("Tessaro.INI"));
    for (const auto& [section, key, value] : c.writes) settings.WriteSetting(section, key, value);
    EXPECT_EQ(folder.Read("Tessaro.INI"), c.after) << c.before.value_or("(none)");
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

TEST(SettingsFile, ByteOrderMarkIsSkippedAndKeptAndALoneCrEndsALine) {
  TempFolder folder;
  const SettingsFile settings(
      folder.Write("Tessaro.INI", "\xEF\xBB\xBF[Settings]\rSourcePath=/g\rRCM=YES\r"));
  EXPECT_EQ(settings.ReadSetting("Settings", "SourcePath"), "/g");
  settings.WriteSetting("Settings", "RCM", "NO");
  settings.WriteSetting("Settings", "AutoScan", "1");
  EXPECT_EQ(folder.Read("Tessaro.INI"),
            "\xEF\xBB\xBF[Settings]\rSourcePath=/g\rRCM=NO\rAutoScan=1\r");
}

TEST(SettingsFile, FailedWriteIsSilentAndChangesNothing) {
  TempFolder folder;
  const SettingsFile readOnly(folder.Write("Tessaro.INI", "[Settings]\nAutoScan= 0\n"));
  ASSERT_TRUE(SetReadOnly(readOnly.path(), true).ok());
  readOnly.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_EQ(folder.Read("Tessaro.INI"), "[Settings]\nAutoScan= 0\n");
  SettingsFile(folder.File("gone/Tessaro.INI")).WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_FALSE(folder.Exists("gone"));
}

}  // namespace
}  // namespace tessaro
