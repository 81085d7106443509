// Settings, options, text helpers and the application folder.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/settings_check.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "outside/file_ops.h"
#include "outside/path_text.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tessaro {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::TempFolder;

TEST(ReadNumber, ReadsTheLeadingNumberAndNeverAnInfiniteOne) {
  using Number = std::pair<std::string, double>;
  for (const auto& [text, value] :
       {Number{"120 Y40", 120}, Number{"50 E3", 50000}, Number{"", 0}, Number{"-5.5X", -5.5},
        Number{"1D2", 100}, Number{"X5", 0}, Number{" \t1\n2 ", 12}, Number{".5", 0.5},
        Number{"2d-1", 0.2}, Number{"1.2.3", 1.2}, Number{"12,5", 12}, Number{"--5", 0},
        // hexadecimal and octal integers
        Number{"&hff", 255}, Number{"&H 1 0", 16}, Number{"&O17", 15}, Number{"&o8", 0},
        Number{"&HFG", 15},
        // never infinite or not a number
        Number{"-1e400", 0}, Number{"inf", 0}, Number{"nan", 0}, Number{"1e-400", 0},
        Number{"&H" + std::string(300, 'F'), 0}, Number{std::string(400, '9'), 0},
        Number{"1" + std::string(300, '0'), 1e300}}) {
    EXPECT_EQ(ReadNumber(text), value) << "text: " << text;
  }
}

TEST(PathParts, SplitAtTheLastSeparatorAndJoinWithOne) {
  using Split = std::tuple<std::string, std::string, std::string>;  // path, folder, name
  std::vector<Split> splits = {{"/progs/PART1.RCM", "/progs/", "PART1.RCM"},
                               {"PART1.RCM", "", "PART1.RCM"},
                               {"/a/b/c", "/a/b/", "c"},
                               {"/", "/", ""}};
#ifdef _WIN32
  // Windows takes both separators; a drive or a share is never cut.
  splits.insert(splits.end(), {{"C:\\PROGS\\PART1.RCM", "C:\\PROGS\\", "PART1.RCM"},
                               {"D:\\out/../P1.RCM", "D:\\out/../", "P1.RCM"},
                               {"C:PART", "C:", "PART"},
                               {"\\\\srv\\cnc", "\\\\srv\\cnc", ""},
                               {"//srv/cnc/P1", "//srv/cnc/", "P1"}});
  EXPECT_EQ(JoinPath("C:\\", "PART"), "C:\\PART");
  EXPECT_EQ(JoinPath("D:/cnc", "PART"), "D:/cnc\\PART");
#else
  // A backslash is a character of a name here.
  splits.push_back({"C:\\PROGS\\PART1.RCM", "", "C:\\PROGS\\PART1.RCM"});
  EXPECT_EQ(JoinPath("/home/shop", "PART"), "/home/shop/PART");
#endif
  for (const auto& [path, folder, name] : splits) {
    EXPECT_EQ(FolderPart(path), folder) << path;
    EXPECT_EQ(FileNamePart(path), name) << path;
  }
  EXPECT_EQ(JoinPath("/", "PART"), "/PART");
}

TEST(NumberFormats, WriteNoSignedZeroAndNothingInfinite) {
  using Format = std::pair<std::string, std::string>;  // written, expected
  for (const auto& [written, expected] :
       {Format{FormatFixed6(12.5), "12.500000"}, Format{FormatFixed6(-0.0000001), "0.000000"},
        Format{FormatFixed6(INFINITY), "0.000000"}, Format{FormatUpTo4Decimals(12), "12."},
        Format{FormatUpTo4Decimals(-0.00001), "0."}, Format{FormatUpTo4Decimals(2.0 / 3), "0.6667"},
        Format{FormatUpTo4Decimals(9.99996), "10."}, Format{FormatUpTo4Decimals(NAN), "0."},
        Format{FormatGeneral(0.999999984981507), "0.999999984981507"},
        Format{FormatGeneral(-0.0), "0"}, Format{FormatGeneral(0.1 + 0.2), "0.3"},
        Format{FormatGeneral(1e20), "100000000000000000000"}, Format{FormatGeneral(-INFINITY), "0"},
        Format{FormatShortest(1234.5678), "1234.5678"},
        Format{FormatShortest(1e21), "1000000000000000000000"}, Format{FormatShortest(-0.0), "0"},
        Format{FormatShortest(123e-20), "0.00000000000000000123"},
        Format{FormatShortest(NAN), "0"}}) {
    EXPECT_EQ(written, expected);
  }
}

TEST(FormatShortest, ReadsBackAsTheSameNumber) {
  for (double value : {1.0 / 3, 1e-300, 1.7976931348623157e308, 5e-324, -98765.4321, 1.0 / 25.4}) {
    EXPECT_EQ(ReadNumber(FormatShortest(value)), value) << FormatShortest(value);
  }
}

TEST(FillFormat, PutsEachArgumentInItsPlaceInOnePass) {
  EXPECT_EQ(FillFormat("Panel %1 x %2 x %3 mm", {"800", "600", "18"}), "Panel 800 x 600 x 18 mm");
  EXPECT_EQ(FillFormat("%2 of %1, %3", {"%2", "b"}), "b of %2, %3");
}

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
        // a byte-order mark is skipped and kept, and a lone CR ends a line
        WriteCase{"\xEF\xBB\xBF[Settings]\rSourcePath=/g\rRCM=YES\r",
                  {{"Settings", "RCM", "NO"}, {"Settings", "AutoScan", "1"}},
                  "\xEF\xBB\xBF[Settings]\rSourcePath=/g\rRCM=NO\rAutoScan=1\r"},
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

TEST(SettingsFile, FailedWriteIsSilentAndChangesNothing) {
  TempFolder folder;
  const SettingsFile readOnly(folder.Write("Tessaro.INI", "[Settings]\nAutoScan= 0\n"));
  ASSERT_TRUE(SetReadOnly(readOnly.path(), true).ok());
  readOnly.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_EQ(folder.Read("Tessaro.INI"), "[Settings]\nAutoScan= 0\n");
  SettingsFile(folder.File("gone/Tessaro.INI")).WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_FALSE(folder.Exists("gone"));
}

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
  // up to four different digits 1 to 4, kept as stored; anything else the default
  for (const auto& [stored, order] :
       {std::pair{"4321", "4321"}, std::pair{"21", "21"}, std::pair{"11", "3412"}}) {
    EXPECT_EQ(read(std::string("FacePriority=") + stored).facePriority, order) << stored;
  }
  // seconds, from a millisecond to a day
  for (const auto& [stored, ms] :
       {std::pair{"abc", 5000}, std::pair{"86400", 86'400'000}, std::pair{"86400.001", 5000},
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

// Each bad value is told with its line, its key, the value and what is used instead.
TEST(CheckSettings, TellsEveryValueNotUsedAsItStands) {
  TempFolder folder;
  const struct {
    const char* line;
    const char* told;  // "" when the value is used as it stands
  } cases[] = {
      {"ScanTime=2.5", ""},
      {"ScanTime=1e9", "ScanTime=1e9 is not a number of seconds from 0.001 to 86400; 5 is used"},
      {"FacePriority=4321", ""},
      {"FacePriority=11",
       "FacePriority=11 is not one to four different digits 1 to 4; 3412 is used"},
      {"FacePriority=9x", "FacePriority=9x is not one to four different digits 1 to 4; 3412 is"},
      {"DrillExclusion=12", "DrillExclusion=12 is not one digit 0 to 9; 1 is used"},
      {"AutoScan=on", "AutoScan=on is not 0, 1 or 2; 0 is used"},
      {"NoEmpties=1", ""},
      {"RCM=ja", "RCM=ja is neither YES nor NO; NO is used"},
      {"[HorizontalRename]\nMask1=TOOLONGMASK123",
       "Mask1=TOOLONGMASK123 is longer than 8 characters; TOOLONGM is used"},
      {"[HorizontalRename]\nMask2=**/*2",
       "Mask2=**/*2 holds characters no file name can hold; "
       "****2*** is used"},
  };
  for (const auto& c : cases) {
    folder.Write("Tessaro.INI", std::string("[Settings]\n") + c.line + "\n");
    const SettingsFile settings(folder.File("Tessaro.INI"));
    const std::vector<SettingProblem> problems =
        CheckSettings(settings, ReadStoredOptions(settings));
    if (*c.told == '\0') {
      EXPECT_TRUE(problems.empty()) << c.line;
      continue;
    }
    ASSERT_EQ(problems.size(), 1u) << c.line;
    const std::string said = DescribeProblem(settings.path(), problems.front());
    const int line = std::string(c.line).find('[') == 0 ? 3 : 2;
    EXPECT_EQ(said.rfind(settings.path() + " line " + std::to_string(line) + ": " + c.told, 0), 0u)
        << said;
  }
}

#ifdef _WIN32
constexpr const char* kSeparator = "\\";
#else
constexpr const char* kSeparator = "/";
#endif

// A home given wins: a relative one is taken from the current folder (an absolute one as
// it stands, as every tessaro-cli test gives it). Else a writable executable folder (root's
// /usr/bin) holds no settings unless a portable copy put them there.
TEST(ResolveAppFolder, HomeWinsElseTheExecutableFolderOnlyWhenItHoldsTheSettings) {
  EXPECT_EQ(ResolveAppFolder("shop", "/usr/bin/tessaro"),
            Utf8Text(fs::current_path()) + kSeparator + "shop" + kSeparator);
  TempFolder folder;
#ifdef _WIN32
  const ScopedEnvironment config("APPDATA", folder.File("config"));
  const std::string expected = folder.File("config/Tessaro/");
#else
  const ScopedEnvironment config("XDG_CONFIG_HOME", folder.File("config"));
  const std::string expected = folder.File("config/tessaro/");
#endif
  folder.MakeFolder("bin");
  EXPECT_EQ(ResolveAppFolder("", folder.File("bin/tessaro")), expected);
  EXPECT_TRUE(fs::is_directory(FileSystemPath(expected)));
  EXPECT_TRUE(folder.List("bin").empty());
  // A portable copy as unpacked: its empty settings file is still to be made.
  folder.Write("bin/Tessaro.INI", "");
  EXPECT_EQ(ResolveAppFolder("", folder.File("bin/tessaro")), folder.File("bin/"));
  EXPECT_TRUE(IsFirstStart(folder.File("bin/")));
  folder.Write("bin/Tessaro.INI", "[Settings]\n");
  EXPECT_FALSE(IsFirstStart(folder.File("bin/")));
  EXPECT_TRUE(IsFirstStart(expected));
}

TEST(MissingTemplateHint, NamesTheTemplatesPlaceOnlyWhenTheRcmFormatLacksIt) {
  TempFolder folder;
  const std::string appFolder = folder.PathWithSeparator();
  EXPECT_EQ(MissingTemplateHint(appFolder), std::nullopt);  // no settings: the ACC format
  folder.Write("Tessaro.INI", "[Settings]\nRCM=yes\n");
  EXPECT_EQ(MissingTemplateHint(appFolder),
            "no template: the RCM format makes every program from " + appFolder +
                "Template.RCM; copy your boring machine's template program there");
}

}  // namespace
}  // namespace tessaro
