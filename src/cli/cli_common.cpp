#include "cli/cli_common.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "app/app_folder.h"
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

void AddHomeOption(CLI::App& line, std::string& home) {
  line.add_option("--home", home, "the folder of Tessaro.INI and Template.RCM")->type_name("DIR");
}

std::string AppFolderFor(const std::string& home) {
  return ResolveAppFolder(home, ExecutablePath());
}

std::string OneLine(const std::string& text) {
  std::string result;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line, '\r')) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty()) continue;
    if (!result.empty()) result += ' ';
    result += trimmed;
  }
  return result;
}

}  // namespace tessaro::cli
