#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/activity_log.h"
#include "app/operator.h"
#include "program/session.h"
#include "scan/scan_cycle.h"

namespace CLI {
class App;
}

namespace tessaro::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// Another process keeps the program folder in step: `scan` leaves it alone.
inline constexpr int kExitLocked = 4;

// The headless tool answers every question itself: No, so that nothing is ever
// deleted unattended. It reports the question's subject on stderr unless told to keep
// questions quiet (unattended scanning, which would ask again at every tick and
// reports refusals itself).
class StderrOperator : public Operator {
 public:
  enum class Questions { kReported, kQuiet };
  explicit StderrOperator(Questions questions = Questions::kReported) : questions_(questions) {}

  bool AskYesNo(const std::string& title, const std::string& text) override;
  void Tell(const std::string& title, const std::string& text) override;

 private:
  Questions questions_;
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

// The application folder for `--home` (empty when not given) and this executable.
std::string AppFolderFor(const std::string& home);

// The text as UTF-8, for JSON output. Bytes that are not UTF-8 (older files and file
// names are often Latin-1) become the Latin-1 characters they would be.
std::string ToUtf8(std::string_view text);

// What the scan and status commands read from Tessaro.INI.
struct ScanSetup {
  TranslationSettings settings;
  TickInputs inputs;  // automatic translation on, deletion as AutoDelete says
  int scanIntervalMs = 0;
};

// nullopt, reported on stderr for `command`, when Tessaro.INI names no source folder
// or no program folder.
std::optional<ScanSetup> ReadScanSetup(const std::string& home, const std::string& command);

// Tessaro.log of the application folder; a line that cannot be written is told on
// stderr, once until one can.
ActivityLog OpenActivityLog(const std::string& appFolder);

// A message text with its "\r" breaks as lines, leading blanks trimmed, joined by
// single blanks (for one-line reports on stderr).
std::string OneLine(const std::string& text);

}  // namespace tessaro::cli
