#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "scan/activity_entries.h"

namespace tessaro::cli {

namespace {

const char kTranslateUsage[] = "usage: tessaro-cli translate [--home DIR] [--dest DIR] FILE...\n";

struct TranslateOptions {
  std::string home;
  std::string destination;
  std::vector<std::string> files;
};

int RunTranslate(const TranslateOptions& options) {
  const std::optional<Configuration> configuration = ReadConfiguration(options.home, "translate");
  if (!configuration) return kExitConfiguration;
  const std::string& appFolder = configuration->appFolder;
  StderrOperator op;
  Session session(op);
  session.Settings() = TranslationSettingsFromStored(configuration->stored, appFolder);
  if (!options.destination.empty()) session.Settings().destinationFolder = options.destination;
  // Programs go to a folder that was named, never to the current one.
  const std::string destination = session.Settings().destinationFolder;
  if (const auto problem = DestinationProblem(destination, appFolder + kSettingsFileName)) {
    TellConfigurationError("translate", *problem + (destination.empty() ? " (nor --dest)" : ""));
    return kExitConfiguration;
  }
  if (const auto hint = MissingTemplateHint(appFolder)) {
    TellConfigurationError("translate", *hint);
    return kExitConfiguration;
  }

  ActivityLog log = OpenActivityLog(appFolder);
  LogSettingProblems(*configuration, log);
  AppendAll(&log,
            LeftoverRemovals(RemoveStaleTemporaryFiles(session.Settings().destinationFolder)));

  bool allTranslated = true;
  for (const std::string& file : options.files) {
    const TranslationReport report = session.Process(file);
    for (const WrittenProgram& program : report.written) {
      std::cout << program.path << (program.hidden ? " (hidden)" : "") << "\n";
    }
    if (report.refused) {
      std::cerr << "tessaro-cli translate: " << file << kRefusedAndKept << "\n";
    }
    if (report.empty) {
      std::cerr << "tessaro-cli translate: " << file
                << ": empty (nothing but blanks): nothing written, its programs are kept\n";
    }
    if (report.unsettled) {
      std::cerr << "tessaro-cli translate: " << file
                << ": changed while it was read: translate it again once it is complete\n";
    }
    for (const std::string& error : report.errors) {
      std::cerr << "tessaro-cli translate: " << error << "\n";
    }
    AppendAll(&log, TranslationActivity(file, report));
    if (!report.ok()) allTranslated = false;
  }
  std::cout.flush();
  return allTranslated ? kExitOk : kExitFailed;
}

}  // namespace

Command AddTranslateCommand(CLI::App& tool) {
  auto options = std::make_shared<TranslateOptions>();
  CLI::App* line = tool.add_subcommand("translate", "write the programs of G-code files");
  AddHomeOption(*line, options->home);
  line->add_option("--dest", options->destination, "the program folder instead of DestinationPath")
      ->type_name("DIR");
  line->add_option("FILE", options->files, "the G-code files, in this order")->required();
  return {line, kTranslateUsage, [options] { return RunTranslate(*options); }};
}

}  // namespace tessaro::cli
