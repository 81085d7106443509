#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/operator.h"

namespace tessaro::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The headless tool answers every question itself: No, so that nothing is ever
// deleted unattended, and it reports the question's subject on stderr.
class StderrOperator : public Operator {
 public:
  bool AskYesNo(const std::string& title, const std::string& text) override;
  void Tell(const std::string& title, const std::string& text) override;
};

// Command-line words after the command name, split into options and operands.
// Options are "--name" or "--name VALUE" as the command declares them.
struct ParsedArguments {
  std::vector<std::string> flags;                                 // "--json", "--once"
  std::vector<std::pair<std::string, std::string>> valued;        // {"--home", "DIR"}
  std::vector<std::string> operands;                              // files
  std::string error;                                              // usage error, if any

  bool Has(const std::string& flag) const;
  std::optional<std::string> Value(const std::string& option) const;
};

ParsedArguments ParseArguments(const std::vector<std::string>& words,
                               const std::vector<std::string>& knownFlags,
                               const std::vector<std::string>& knownValued);

// The application folder for `--home` (empty when not given) and this executable.
std::string AppFolderFor(const std::optional<std::string>& home);

// A message text with its "\r" breaks as lines, leading blanks trimmed, joined by
// single blanks (for one-line reports on stderr).
std::string OneLine(const std::string& text);

}  // namespace tessaro::cli
