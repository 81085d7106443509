#include "app/app_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

#ifdef _WIN32
constexpr const char* kHome = "C:\\shop";
constexpr const char* kSeparator = "\\";
#else
constexpr const char* kHome = "/srv/shop";
constexpr const char* kSeparator = "/";
#endif

TEST(ResolveAppFolder, HomeWinsAndEndsWithASeparator) {
  const std::string home = std::string(kHome) + kSeparator;
  EXPECT_EQ(ResolveAppFolder(kHome, "/usr/bin/tessaro"), home);
  EXPECT_EQ(ResolveAppFolder(home, "/usr/bin/tessaro"), home);
  EXPECT_EQ(ResolveAppFolder("shop", "/usr/bin/tessaro"),
            Utf8Text(fs::current_path()) + kSeparator + "shop" + kSeparator);
}

TEST(ResolveAppFolder, ExecutableFolderWhenWritableOrHoldingTheSettings) {
  TempFolder folder;
  EXPECT_EQ(ResolveAppFolder("", folder.File("tessaro")), folder.PathWithSeparator());
  folder.Write("bin/Tessaro.INI", "[Settings]\n");
  fs::permissions(FileSystemPath(folder.File("bin")), fs::perms(0555));
  EXPECT_EQ(ResolveAppFolder("", folder.File("bin/tessaro")), folder.File("bin/"));
}

TEST(ResolveAppFolder, OtherwiseTheUserConfigurationFolderIsCreated) {
  TempFolder folder;
#ifdef _WIN32
  const ScopedEnvironment config("APPDATA", folder.File("config"));
  const std::string expected = folder.File("config/Tessaro/");
#else
  const ScopedEnvironment config("XDG_CONFIG_HOME", folder.File("config"));
  const std::string expected = folder.File("config/tessaro/");
#endif
  EXPECT_EQ(ResolveAppFolder("", folder.File("missing/bin/tessaro")), expected);
  EXPECT_TRUE(fs::is_directory(FileSystemPath(expected)));
#ifndef _WIN32                   // a folder's write permission is taken away by its mode here
  if (::geteuid() == 0) return;  // root may write every folder
  ::chmod(folder.MakeFolder("bin").c_str(), 0555);  // read-only, without the settings
  EXPECT_EQ(ResolveAppFolder("", folder.File("bin/tessaro")), expected);
#endif
}

TEST(MissingTemplateHint, NamesTheTemplatesPlaceOnlyWhenTheRcmFormatLacksIt) {
  TempFolder folder;
  const std::string appFolder = folder.PathWithSeparator();
  EXPECT_EQ(MissingTemplateHint(appFolder), std::nullopt);  // no settings: the ACC format
  folder.Write("Tessaro.INI", "[Settings]\nRCM=yes\n");
  EXPECT_EQ(MissingTemplateHint(appFolder),
            "no template: the RCM format makes every program from " + appFolder +
                "Template.RCM; copy your boring machine's template program there");
  folder.Write("Template.RCM", "");
  EXPECT_EQ(MissingTemplateHint(appFolder), std::nullopt);
}

}  // namespace
}  // namespace tessaro
