#include "cli/cli_common.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/settings_check.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "outside/file_ops.h"

namespace tessaro::cli {

bool StderrOperator::AskYesNo(const std::string&, const std::string&) { return false; }

void StderrOperator::Tell(const std::string& title, const std::string& text) {
  std::cerr << title << " " << OneLine(text) << "\n";
}

std::string ToUtf8(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = Utf8SequenceLength(text.substr(i))) {
      out.append(text.substr(i, length));
      i += length;
      continue;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
    ++i;
  }
  return out;
}

void AddHomeOption(CLI::App& line, std::string& home) {
  line.add_option("--home", home, "the folder of Tessaro.INI and Template.RCM")->type_name("DIR");
}

void TellConfigurationError(const std::string& command, const std::string& why) {
  std::cerr << "tessaro-cli " << command << ": " << why << "\n";
}

std::optional<Configuration> ReadConfiguration(const std::string& home, const std::string& command,
                                               bool settingsRequired) {
  if (!home.empty() && !FolderExists(home)) {
    TellConfigurationError(command, "--home " + home + " is no folder");
    return std::nullopt;
  }
  Configuration configuration;
  configuration.appFolder = ResolveAppFolder(home, ExecutablePath());
  const std::string path = configuration.appFolder + kSettingsFileName;
  if (!FileExists(path)) {
    if (!settingsRequired) return configuration;
    TellConfigurationError(command,
                           "no settings file " + path +
                               ": write one with tessaro-cli init --source DIR --dest DIR" +
                               (home.empty() ? "" : " --home " + home));
    return std::nullopt;
  }
  if (const Status readable = ReadFileContents(path).status; !readable.ok()) {
    TellConfigurationError(command, readable.error());
    return std::nullopt;
  }
  const SettingsFile settings(path);
  configuration.stored = ReadStoredOptions(settings);
  for (const SettingProblem& problem : CheckSettings(settings, configuration.stored)) {
    configuration.settingProblems.push_back(DescribeProblem(path, problem));
    std::cerr << "tessaro-cli " << command << ": " << configuration.settingProblems.back() << "\n";
  }
  return configuration;
}

void LogSettingProblems(const Configuration& configuration, ActivityLog& log) {
  for (const std::string& problem : configuration.settingProblems) {
    log.Append({"", activity::kSetting, configuration.appFolder + kSettingsFileName, problem});
  }
}

std::optional<std::string> DestinationProblem(const std::string& destination,
                                              const std::string& settingsPath) {
  if (destination.empty()) return settingsPath + " names no DestinationPath";
  if (!FolderExists(destination)) return "the program folder " + destination + " does not exist";
  return std::nullopt;
}

std::optional<ScanSetup> ReadScanSetup(const std::string& home, const std::string& command) {
  const std::optional<Configuration> configuration = ReadConfiguration(home, command);
  if (!configuration) return std::nullopt;
  const StoredOptions& stored = configuration->stored;
  const std::string settingsPath = configuration->appFolder + kSettingsFileName;
  if (stored.sourcePath.empty()) {
    TellConfigurationError(command, settingsPath + " names no SourcePath");
    return std::nullopt;
  }
  if (const auto problem = DestinationProblem(stored.destinationPath, settingsPath)) {
    TellConfigurationError(command, *problem);
    return std::nullopt;
  }
  if (const auto hint = MissingTemplateHint(configuration->appFolder)) {
    TellConfigurationError(command, *hint);
    return std::nullopt;
  }
  ScanSetup setup;
  setup.configuration = *configuration;
  setup.settings = TranslationSettingsFromStored(stored, configuration->appFolder);
  setup.inputs.autoScan = 1;
  setup.inputs.autoDel = stored.autoDelete == 1 ? 1 : 0;
  setup.inputs.sourceFolder = stored.sourcePath;
  setup.scanIntervalMs = stored.scanIntervalMs;
  return setup;
}

ActivityLog OpenActivityLog(const std::string& appFolder) {
  ActivityLog log(ActivityLogPath(appFolder));
  log.setFailureSink([](const std::string& why) {
    std::cerr << "tessaro-cli: the activity log is not written: " << why << "\n";
  });
  return log;
}

std::string OneLine(const std::string& text) {
  std::string result;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line, '\r')) {
    const std::string trimmed(Trim(line));
    if (trimmed.empty()) continue;
    if (!result.empty()) result += ' ';
    result += trimmed;
  }
  return result;
}

}  // namespace tessaro::cli
