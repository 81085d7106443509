#include "cli/cli_common.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "outside/file_ops.h"

namespace tessaro::cli {

bool StderrOperator::AskYesNo(const std::string& title, const std::string& text) {
  if (questions_ == Questions::kQuiet) return false;
  std::cerr << title << " " << OneLine(text) << " (answered No)\n";
  return false;
}

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

std::string AppFolderFor(const std::string& home) {
  return ResolveAppFolder(home, ExecutablePath());
}

std::optional<ScanSetup> ReadScanSetup(const std::string& home, const std::string& command) {
  const std::string appFolder = AppFolderFor(home);
  const SettingsFile settings(appFolder + kSettingsFileName);
  const StoredOptions stored = ReadStoredOptions(settings);
  if (stored.sourcePath.empty() || stored.destinationPath.empty()) {
    std::cerr << "tessaro-cli " << command << ": " << settings.path()
              << " names no SourcePath or no DestinationPath\n";
    return std::nullopt;
  }
  ScanSetup setup;
  setup.settings = TranslationSettingsFromStored(stored, appFolder);
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
