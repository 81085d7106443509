// A settings file carried over from an older Windows installation, its paths written in
// the system's code page rather than in UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "app/settings_file.h"
#include "outside/file_ops.h"
#include "outside/system_text.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

TEST(ReadSetting, AValueThatIsNotUtf8IsReadInTheSystemsCodePage) {
  const std::string utf8 = "Auftr\xC3\xA4ge", cp1252 = "Auftr\xE4ge";
#ifdef _WIN32
  if (SystemCodePage() != 1252u) {
    GTEST_SKIP() << "the system's code page is " << SystemCodePage().value_or(0)
                 << ", not 1252 (Western European), in which this file is written";
  }
  const std::string name = utf8;  // Windows: the folder's name, in UTF-8
#else
  const std::string name = cp1252;  // Linux: a file name is its bytes, kept as they are
#endif
  testing::TempFolder folder;
  const std::string source = folder.MakeFolder(name);
  const std::string lines = "[Settings]\r\nSourcePath=" + folder.File(cp1252) + "\r\n";
  const SettingsFile settings(folder.Write("Tessaro.INI", lines + "DestinationPath=x\r\n"));
  EXPECT_EQ(settings.ReadSetting("Settings", "SourcePath"), source);
  EXPECT_TRUE(FolderExists(source));

  // A value written is UTF-8; every other line keeps its bytes and is read as before.
  settings.WriteSetting("Settings", "DestinationPath", utf8);
  EXPECT_EQ(folder.Read("Tessaro.INI"), lines + "DestinationPath=" + utf8 + "\r\n");
  EXPECT_EQ(settings.ReadSetting("Settings", "DestinationPath"), utf8);
  EXPECT_EQ(settings.ReadSetting("Settings", "SourcePath"), source);
}

}  // namespace
}  // namespace tessaro
