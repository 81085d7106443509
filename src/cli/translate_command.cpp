#include <iostream>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "outside/file_ops.h"
#include "program/session.h"

namespace tessaro::cli {

namespace {

const char kTranslateUsage[] = "usage: tessaro-cli translate [--home DIR] [--dest DIR] FILE...\n";

}  // namespace

int RunTranslateCommand(const std::vector<std::string>& words) {
  const ParsedArguments arguments = ParseArguments(words, {}, {"--home", "--dest"});
  if (!arguments.error.empty()) {
    std::cerr << "tessaro-cli translate: " << arguments.error << "\n" << kTranslateUsage;
    return kExitUsage;
  }
  if (arguments.operands.empty()) {
    std::cerr << "tessaro-cli translate: no G-code file given\n" << kTranslateUsage;
    return kExitUsage;
  }

  const std::string appFolder = AppFolderFor(arguments.Value("--home"));
  const StoredOptions stored = ReadStoredOptions(SettingsFile(appFolder + kSettingsFileName));
  if (const auto hint = MissingTemplateHint(appFolder))
    std::cerr << "tessaro-cli: " << *hint << "\n";

  StderrOperator op;
  Session session(op);
  session.Settings() = TranslationSettingsFromStored(stored, appFolder);
  if (const auto dest = arguments.Value("--dest")) session.Settings().destinationFolder = *dest;
  RemoveStaleTemporaryFiles(session.Settings().destinationFolder);

  bool allTranslated = true;
  for (const std::string& file : arguments.operands) {
    const TranslationReport report = session.Process(file);
    for (const WrittenProgram& program : report.written) {
      std::cout << program.path << (program.hidden ? " (hidden)" : "") << "\n";
    }
    if (report.refused) {
      std::cerr << "tessaro-cli translate: " << file
                << ": refused, its first line is not a G70, G71, G81 or G150 line\n";
    }
    for (const std::string& error : report.errors) {
      std::cerr << "tessaro-cli translate: " << error << "\n";
    }
    if (!report.ok()) allTranslated = false;
  }
  std::cout.flush();
  return allTranslated ? kExitOk : kExitFailed;
}

}  // namespace tessaro::cli
