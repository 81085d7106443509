#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/activity_log.h"
#include "app/operator.h"
#include "app/options.h"
#include "program/session.h"
#include "scan/scan_cycle.h"

namespace CLI {
class App;
}

namespace tessaro::cli {

// The exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // some file refused, empty or not translated
inline constexpr int kExitUsage = 2;
// The configuration cannot be worked with: the settings file missing, unreadable or
// too big, --home no folder, the template or the program folder missing.
inline constexpr int kExitConfiguration = 3;
// Another process keeps the program folder in step: `scan` leaves it alone.
inline constexpr int kExitLocked = 4;

// The headless tool answers every question itself: No, so that nothing is ever
// deleted unattended. Each command says in its own words what it kept (a refused file),
// so the questions themselves are not shown; what it is told goes to stderr.
class StderrOperator : public Operator {
 public:
  bool AskYesNo(const std::string& title, const std::string& text) override;
  void Tell(const std::string& title, const std::string& text) override;
};

// One command of the tool: its part of the command line, filled in by parsing, its
// usage line for errors, and what runs it once the line is parsed.
struct Command {
  CLI::App* line = nullptr;
  std::string usage;  // "usage: tessaro-cli holes [--home DIR] [--json] FILE\n"
  std::function<int()> run;
};

// Adds `--home DIR` (also `--home=DIR`): the folder of Tessaro.INI and Template.RCM.
void AddHomeOption(CLI::App& line, std::string& home);

// The application folder and what its settings file holds.
struct Configuration {
  std::string appFolder;  // ends with a separator
  StoredOptions stored;
  // The values not used as they stand, described (see CheckSettings); said on stderr
  // as the configuration is read.
  std::vector<std::string> settingProblems;
};

// Appends the configuration's setting problems to the log.
void LogSettingProblems(const Configuration& configuration, ActivityLog& log);

// The application folder for `--home` (empty when not given) and this executable, and
// its settings; nullopt, said on stderr for `command`, when --home names no folder or
// the settings file is missing, unreadable or too big (unless `settingsRequired` is
// false: the settings then read as empty).
std::optional<Configuration> ReadConfiguration(const std::string& home, const std::string& command,
                                               bool settingsRequired = true);

// What the tool says after the path of a file that is not G-code of the accepted kind.
inline constexpr const char* kRefusedAndKept =
    " is not a G-code file of the accepted kind (its first line is no G70, G71, G81 or G150 "
    "line): not translated, the file is kept";

// Says a configuration error of `command` on stderr.
void TellConfigurationError(const std::string& command, const std::string& why);

// The text as UTF-8, for JSON output. Bytes that are not UTF-8 (older files and file
// names are often Latin-1) become the Latin-1 characters they would be.
std::string ToUtf8(std::string_view text);

// What the scan and status commands read from Tessaro.INI.
struct ScanSetup {
  Configuration configuration;
  TranslationSettings settings;
  TickInputs inputs;  // automatic translation on, deletion as AutoDelete says
  int scanIntervalMs = 0;
};

// nullopt, said on stderr for `command`, on a configuration error: those of
// ReadConfiguration, no source or program folder named, a program folder that does not
// exist, or the RCM format without its template.
std::optional<ScanSetup> ReadScanSetup(const std::string& home, const std::string& command);

// Why the program folder `destination` cannot be written into, for a settings file
// at `settingsPath`; nullopt when it can.
std::optional<std::string> DestinationProblem(const std::string& destination,
                                              const std::string& settingsPath);

// Tessaro.log of the application folder; a line that cannot be written is told on
// stderr, once until one can.
ActivityLog OpenActivityLog(const std::string& appFolder);

// A message text with its "\r" breaks as lines, leading blanks trimmed, joined by
// single blanks (for one-line reports on stderr).
std::string OneLine(const std::string& text);

}  // namespace tessaro::cli
