#include "app/app_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ResolveAppFolder, HomeWinsAndEndsWithASeparator) {
  TempFolder folder;
  EXPECT_EQ(ResolveAppFolder(folder.path(), "/usr/bin/tessaro"), folder.path() + "/");
  EXPECT_EQ(ResolveAppFolder(folder.path() + "/", "/usr/bin/tessaro"), folder.path() + "/");
}

TEST(ResolveAppFolder, RelativeHomeBecomesAbsolute) {
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(ResolveAppFolder("shop", "/usr/bin/tessaro"), cwd + "/shop/");
}

TEST(ResolveAppFolder, WritableExecutableFolder) {
  TempFolder folder;
  EXPECT_EQ(ResolveAppFolder("", folder.File("tessaro")), folder.path() + "/");
}

TEST(ResolveAppFolder, ExecutableFolderHoldingTheSettings) {
  TempFolder folder;
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
}

TEST(ResolveAppFolder, ReadOnlyExecutableFolderWithoutSettingsIsPassedOver) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write every folder";
  TempFolder folder;
  folder.MakeFolder("bin");
  ::chmod(folder.File("bin").c_str(), 0555);
  const ScopedEnvironment config("XDG_CONFIG_HOME", folder.File("config"));
  EXPECT_EQ(ResolveAppFolder("", folder.File("bin/tessaro")), folder.path() + "/config/tessaro/");
}

}  // namespace
}  // namespace tessaro
