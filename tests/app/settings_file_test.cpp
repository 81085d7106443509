#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFile WithFile(std::string_view contents) {
    folder_.Write("Tessaro.INI", contents);
    return SettingsFile(folder_.File("Tessaro.INI"));
  }
  std::string Contents() const { return folder_.Read("Tessaro.INI"); }

  TempFolder folder_;
};

TEST_F(SettingsFileTest, MissingFileReadsEmpty) {
  const SettingsFile settings(folder_.File("Tessaro.INI"));
  EXPECT_EQ(settings.ReadSetting("Settings", "AutoScan"), "");
}

TEST_F(SettingsFileTest, ReadsValuesTrimmed) {
  const SettingsFile settings = WithFile(
      "[Settings]\n"
      "AutoScan= 1\n"
      "SourcePath =  /home/shop/gcode/  \n"
      "Tabbed=\t7\t\n"
      "Inner=a  b\n");
  EXPECT_EQ(settings.ReadSetting("Settings", "AutoScan"), "1");
  EXPECT_EQ(settings.ReadSetting("Settings", "SourcePath"), "/home/shop/gcode/");
  EXPECT_EQ(settings.ReadSetting("Settings", "Tabbed"), "7");
  EXPECT_EQ(settings.ReadSetting("Settings", "Inner"), "a  b");
}

TEST_F(SettingsFileTest, MissingKeyEmptyValueAndEndMarkerReadEmpty) {
  const SettingsFile settings = WithFile(
      "[Settings]\n"
      "Empty=\n"
      "Marker=END.-\n"
      "Blanks=   \n");
  EXPECT_EQ(settings.ReadSetting("Settings", "Empty"), "");
  EXPECT_EQ(settings.ReadSetting("Settings", "Marker"), "");
  EXPECT_EQ(settings.ReadSetting("Settings", "Blanks"), "");
  EXPECT_EQ(settings.ReadSetting("Settings", "Missing"), "");
  EXPECT_EQ(settings.ReadSetting("Window", "Marker"), "");
}

TEST_F(SettingsFileTest, LongValueReadsBackWhole) {
  const std::string path = "/" + std::string(150, 'p') + "/";
  const SettingsFile settings(folder_.File("Tessaro.INI"));
  settings.WriteSetting("Settings", "SourcePath", path);
  EXPECT_EQ(settings.ReadSetting("Settings", "SourcePath"), path);
}

TEST_F(SettingsFileTest, NamesMatchWithoutRegardToCase) {
  const SettingsFile settings = WithFile("[settings]\nautoscan= 1\n");
  EXPECT_EQ(settings.ReadSetting("SETTINGS", "AutoScan"), "1");
  settings.WriteSetting("Settings", "AUTOSCAN", " 0");
  EXPECT_EQ(Contents(), "[settings]\nautoscan= 0\n");
}

TEST_F(SettingsFileTest, KeyReadFromItsOwnSection) {
  const SettingsFile settings = WithFile(
      "[Window]\nTop=100\n"
      "[DirDialogBox]\nTop=200\n");
  EXPECT_EQ(settings.ReadSetting("Window", "Top"), "100");
  EXPECT_EQ(settings.ReadSetting("DirDialogBox", "Top"), "200");
}

TEST_F(SettingsFileTest, CommentsAndKeysBeforeAnySectionAreNotSettings) {
  const SettingsFile settings = WithFile(
      "Top=5\n"
      "[Window]\n"
      ";Left=7\n");
  EXPECT_EQ(settings.ReadSetting("Window", "Top"), "");
  EXPECT_EQ(settings.ReadSetting("Window", ";Left"), "");
}

TEST_F(SettingsFileTest, FirstWriteCreatesTheFile) {
  const SettingsFile settings(folder_.File("Tessaro.INI"));
  settings.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_EQ(Contents(), "[Settings]\nAutoScan= 1\n");
}

TEST_F(SettingsFileTest, ExistingKeyIsReplacedInPlace) {
  const SettingsFile settings = WithFile(
      "; shop settings\n"
      "[Settings]\n"
      "AutoScan= 0\n"
      "Unknown line\n"
      "RCM=YES\n"
      "\n"
      "[Window]\n"
      "Top=10\n");
  settings.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_EQ(Contents(),
            "; shop settings\n"
            "[Settings]\n"
            "AutoScan= 1\n"
            "Unknown line\n"
            "RCM=YES\n"
            "\n"
            "[Window]\n"
            "Top=10\n");
}

TEST_F(SettingsFileTest, NewKeyGoesToTheEndOfItsSection) {
  const SettingsFile settings = WithFile(
      "[Settings]\n"
      "RCM=YES\n"
      "\n"
      "[Window]\n"
      "Top=10\n");
  settings.WriteSetting("Settings", "NoEmpties", "1");
  settings.WriteSetting("Window", "Left", "20");
  EXPECT_EQ(Contents(),
            "[Settings]\n"
            "RCM=YES\n"
            "NoEmpties=1\n"
            "\n"
            "[Window]\n"
            "Top=10\n"
            "Left=20\n");
}

TEST_F(SettingsFileTest, NewKeyInAnEmptySectionFollowsItsHeader) {
  const SettingsFile settings = WithFile("[Window]\n[Settings]\nRCM=YES\n");
  settings.WriteSetting("window", "Top", "0");
  EXPECT_EQ(Contents(), "[Window]\nTop=0\n[Settings]\nRCM=YES\n");
}

TEST_F(SettingsFileTest, NewSectionGoesToTheEndOfTheFile) {
  const SettingsFile settings = WithFile("[Settings]\nRCM=YES\n");
  settings.WriteSetting("HorizontalRename", "Mask1", "****1***");
  EXPECT_EQ(Contents(), "[Settings]\nRCM=YES\n[HorizontalRename]\nMask1=****1***\n");
}

TEST_F(SettingsFileTest, LastLineWithoutLineEndIsKept) {
  const SettingsFile settings = WithFile("[Settings]\nRCM=YES");
  settings.WriteSetting("Settings", "ScanTime", "2");
  EXPECT_EQ(Contents(), "[Settings]\nRCM=YES\nScanTime=2");
  settings.WriteSetting("Window", "Top", "1");
  EXPECT_EQ(Contents(), "[Settings]\nRCM=YES\nScanTime=2\n[Window]\nTop=1\n");
}

TEST_F(SettingsFileTest, LineEndsOfTheFileAreKept) {
  const SettingsFile settings = WithFile("[Settings]\r\nRCM=YES\r\nAutoScan= 0\r\n");
  EXPECT_EQ(settings.ReadSetting("Settings", "RCM"), "YES");
  settings.WriteSetting("Settings", "AutoScan", " 1");
  settings.WriteSetting("Settings", "NoEmpties", "0");
  settings.WriteSetting("Window", "Top", "3");
  EXPECT_EQ(Contents(),
            "[Settings]\r\nRCM=YES\r\nAutoScan= 1\r\nNoEmpties=0\r\n[Window]\r\nTop=3\r\n");
}

TEST_F(SettingsFileTest, RepeatedSectionReadsAndWritesTheSameLine) {
  const SettingsFile settings = WithFile("[Settings]\nA=1\n[Window]\nTop=1\n[Settings]\nB=2\n");
  EXPECT_EQ(settings.ReadSetting("Settings", "B"), "2");
  settings.WriteSetting("Settings", "B", "3");
  settings.WriteSetting("Settings", "C", "4");
  EXPECT_EQ(Contents(), "[Settings]\nA=1\nC=4\n[Window]\nTop=1\n[Settings]\nB=3\n");
}

TEST_F(SettingsFileTest, ValuesThatWouldBreakTheLayoutAreNotStored) {
  const SettingsFile settings = WithFile("[Settings]\nSourcePath=/old/\n");
  settings.WriteSetting("Settings", "SourcePath", "/new/\n[Evil]\nx=1");
  settings.WriteSetting("Settings", "Bad=Key", "1");
  settings.WriteSetting("Sec]tion", "Key", "1");
  settings.WriteSetting("Settings", "", "1");
  EXPECT_EQ(Contents(), "[Settings]\nSourcePath=/old/\n");
}

TEST_F(SettingsFileTest, ReadOnlyFileIsLeftAsItIs) {
  const SettingsFile settings = WithFile("[Settings]\nAutoScan= 0\n");
  ASSERT_EQ(::chmod(settings.path().c_str(), 0444), 0);
  settings.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_EQ(Contents(), "[Settings]\nAutoScan= 0\n");
  EXPECT_EQ(settings.ReadSetting("Settings", "AutoScan"), "0");
}

TEST_F(SettingsFileTest, WriteIntoMissingFolderFailsSilently) {
  const SettingsFile settings(folder_.File("gone/Tessaro.INI"));
  settings.WriteSetting("Settings", "AutoScan", " 1");
  EXPECT_FALSE(folder_.Exists("gone"));
  EXPECT_EQ(settings.ReadSetting("Settings", "AutoScan"), "");
}

TEST_F(SettingsFileTest, WriteLeavesNoTemporaryFileBehind) {
  const SettingsFile settings = WithFile("[Settings]\n");
  settings.WriteSetting("Settings", "AutoScan", " 1");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    EXPECT_EQ(entry.path().filename(), "Tessaro.INI");
    ++files;
  }
  EXPECT_EQ(files, 1);
}

// A process killed while it writes the settings file leaves either the old or the new
// file, never a mixture or a truncated one.
TEST_F(SettingsFileTest, KilledWriterLeavesOneWholeFile) {
  const std::string valueA(200000, 'a');
  const std::string valueB(300000, 'b');
  const std::string fileA = "[Settings]\nRCM=YES\nBig=" + valueA + "\nTail=1\n";
  const std::string fileB = "[Settings]\nRCM=YES\nBig=" + valueB + "\nTail=1\n";
  const SettingsFile settings = WithFile(fileA);
  for (int round = 0; round < 4; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) settings.WriteSetting("Settings", "Big", i % 2 ? valueA : valueB);
    }
    // Readers meanwhile see one whole file or the other, never a part.
    int partialReads = 0;
    for (int read = 0; read < 5 + round * 3; ++read) {
      const std::string seen = Contents();
      if (seen != fileA && seen != fileB) ++partialReads;
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(partialReads, 0) << "round " << round;
    const std::string contents = Contents();
    EXPECT_TRUE(contents == fileA || contents == fileB)
        << "round " << round << ", " << contents.size() << " bytes";
  }
}

}  // namespace
}  // namespace tessaro
