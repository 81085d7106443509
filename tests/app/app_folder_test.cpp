#include "app/app_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::ScopedEnvironment;
using testing::TempFolder;

TEST(ResolveAppFolder, HomeWinsAndEndsWithASeparator) {
  EXPECT_EQ(ResolveAppFolder("/srv/shop", "/usr/bin/tessaro"), "/srv/shop/");
  EXPECT_EQ(ResolveAppFolder("/srv/shop/", "/usr/bin/tessaro"), "/srv/shop/");
  EXPECT_EQ(ResolveAppFolder("shop", "/usr/bin/tessaro"),
            std::filesystem::current_path().string() + "/shop/");
}

TEST(ResolveAppFolder, ExecutableFolderWhenWritableOrHoldingTheSettings) {
  TempFolder folder;
  EXPECT_EQ(ResolveAppFolder("", folder.File("tessaro")), folder.path() + "/");
  folder.Write("bin/Tessaro.INI", "[Settings]\n");
  ::chmod(folder.File("bin").c_str(), 0555);
  EXPECT_EQ(ResolveAppFolder("", folder.File("bin/tessaro")), folder.path() + "/bin/");
}

TEST(ResolveAppFolder, OtherwiseTheUserConfigurationFolderIsCreated) {
  TempFolder folder;
  const ScopedEnvironment config("XDG_CONFIG_HOME", folder.File("config"));
  EXPECT_EQ(ResolveAppFolder("", folder.File("missing/bin/tessaro")),
            folder.path() + "/config/tessaro/");
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("config/tessaro")));
  if (::geteuid() == 0) return;                     // root may write every folder
  ::chmod(folder.MakeFolder("bin").c_str(), 0555);  // read-only, without the settings
  EXPECT_EQ(ResolveAppFolder("", folder.File("bin/tessaro")), folder.path() + "/config/tessaro/");
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
