#include "app/app_folder.h"

#include <filesystem>
#include <system_error>

#include "app/file_names.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "outside/file_ops.h"
#include "outside/path_text.h"

namespace tessaro {

namespace {

std::string WithSeparator(const std::string& folder) { return folder + FolderSeparator(folder); }

}  // namespace

bool IsTemplateBaseName(std::string_view baseName) {
  return EqualsIgnoreCase(baseName, kTemplateBaseName);
}

bool IsTemplateFileName(std::string_view fileName) {
  return EqualsIgnoreCase(fileName, kTemplateFileName);
}

std::string ResolveAppFolder(const std::string& home, const std::string& executablePath) {
  if (!home.empty()) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(FileSystemPath(home), ignored);
    return WithSeparator(ignored ? home : Utf8Text(absolute));
  }
  // A portable copy keeps its settings beside itself; nothing else ever writes there.
  const std::string executableFolder = FolderPart(executablePath);
  if (!executableFolder.empty() && FileExists(executableFolder + kSettingsFileName)) {
    return executableFolder;
  }
  const std::string folder = UserConfigFolder();
  if (folder.empty()) return "";
  std::error_code ignored;
  std::filesystem::create_directories(FileSystemPath(folder), ignored);
  return WithSeparator(folder);
}

bool IsFirstStart(const std::string& appFolder) {
  const std::optional<FileVersion> settings = VersionOf(appFolder + kSettingsFileName);
  return !settings || settings->size == 0;
}

std::string TemplatePlace(const std::string& appFolder) {
  return "the RCM format makes every program from " + appFolder + kTemplateFileName +
         "; copy your boring machine's template program there";
}

std::optional<std::string> MissingTemplateHint(const std::string& appFolder) {
  if (FileExists(TemplatePath(appFolder))) return std::nullopt;
  if (!ReadStoredOptions(SettingsFile(appFolder + kSettingsFileName)).rcmFormat)
    return std::nullopt;
  return "no template: " + TemplatePlace(appFolder);
}

}  // namespace tessaro
