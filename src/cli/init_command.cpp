#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "app/app_folder.h"
#include "app/new_settings.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "outside/file_ops.h"
#include "outside/path_text.h"

namespace tessaro::cli {

namespace {

struct InitOptions {
  std::string home;
  std::string source;
  std::string destination;
  std::string format = "rcm";
  bool force = false;
};

std::string Absolute(const std::string& folder) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(FileSystemPath(folder), ignored);
  return ignored ? folder : Utf8Text(absolute.lexically_normal());
}

int RunInit(const InitOptions& options) {
  const std::optional<Configuration> configuration = ReadConfiguration(options.home, "init", false);
  if (!configuration) return kExitConfiguration;
  for (const std::string& folder : {options.source, options.destination}) {
    if (!FolderExists(folder)) {
      TellConfigurationError("init", folder + " is no folder");
      return kExitConfiguration;
    }
  }
  const NewSettings settings{Absolute(options.source), Absolute(options.destination),
                             options.format == "rcm"};
  const std::string& appFolder = configuration->appFolder;
  if (const Status written = WriteNewSettings(appFolder, settings, options.force); !written.ok()) {
    TellConfigurationError("init", written.error());
    return kExitConfiguration;
  }
  std::cout << "wrote " << appFolder << kSettingsFileName << "\n";
  if (settings.rcmFormat) {
    std::cout << TemplatePlace(appFolder) << "\n";
  }
  return kExitOk;
}

}  // namespace

Command AddInitCommand(CLI::App& tool) {
  auto options = std::make_shared<InitOptions>();
  CLI::App* line = tool.add_subcommand("init", "write a new settings file");
  AddHomeOption(*line, options->home);
  line->add_option("--source", options->source, "the folder of the G-code files")
      ->type_name("DIR")
      ->required();
  line->add_option("--dest", options->destination, "the folder of the programs")
      ->type_name("DIR")
      ->required();
  line->add_option("--format", options->format, "rcm (the default) or acc")
      ->type_name("rcm|acc")
      ->check(CLI::IsMember({"rcm", "acc"}));
  line->add_flag("--force", options->force, "replace an existing settings file");
  return {line,
          "usage: tessaro-cli init [--home DIR] --source DIR --dest DIR [--format rcm|acc] "
          "[--force]\n",
          [options] { return RunInit(*options); }};
}

}  // namespace tessaro::cli
