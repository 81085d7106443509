#include "cli/cli_common.h"

#include <algorithm>
#include <iostream>
#include <sstream>

#include "app/app_folder.h"
#include "app/text.h"
#include "outside/file_ops.h"

namespace tessaro::cli {

bool StderrOperator::AskYesNo(const std::string& title, const std::string& text) {
  std::cerr << title << " " << OneLine(text) << " (answered No)\n";
  return false;
}

void StderrOperator::Tell(const std::string& title, const std::string& text) {
  std::cerr << title << " " << OneLine(text) << "\n";
}

bool ParsedArguments::Has(const std::string& flag) const {
  return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::optional<std::string> ParsedArguments::Value(const std::string& option) const {
  for (const auto& [name, value] : valued) {
    if (name == option) return value;
  }
  return std::nullopt;
}

ParsedArguments ParseArguments(const std::vector<std::string>& words,
                               const std::vector<std::string>& knownFlags,
                               const std::vector<std::string>& knownValued) {
  auto known = [](const std::vector<std::string>& list, const std::string& word) {
    return std::find(list.begin(), list.end(), word) != list.end();
  };
  ParsedArguments parsed;
  bool operandsOnly = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (operandsOnly || word.size() < 2 || word.rfind("--", 0) != 0) {
      parsed.operands.push_back(word);
    } else if (word == "--") {
      operandsOnly = true;
    } else if (known(knownFlags, word)) {
      parsed.flags.push_back(word);
    } else if (known(knownValued, word)) {
      if (i + 1 >= words.size()) {
        parsed.error = word + " needs a value";
        return parsed;
      }
      parsed.valued.emplace_back(word, words[++i]);
    } else {
      parsed.error = "unknown option " + word;
      return parsed;
    }
  }
  return parsed;
}

std::string AppFolderFor(const std::optional<std::string>& home) {
  return ResolveAppFolder(home.value_or(""), ExecutablePath());
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
