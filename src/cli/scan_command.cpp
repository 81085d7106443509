#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/activity_log.h"
#include "app/app_folder.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "outside/folder_watch.h"
#include "program/session.h"
#include "scan/change_trigger.h"
#include "scan/scan_cycle.h"
#include "scan/scan_loop.h"

namespace tessaro::cli {

namespace {

// Set by SIGINT and SIGTERM; the loop finishes its tick and ends.
volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) { stopRequested = 1; }

using FileVersion = std::filesystem::file_time_type;

// What the loop has already said, so that an unchanged refused file or a lasting
// failure is reported once rather than at every tick.
class Reporter {
 public:
  void Report(const TickOutcome& outcome) {
    for (const std::string& path : outcome.translatedFiles)
      std::cout << "translated " << path << "\n";
    for (const std::string& path : outcome.deletedPrograms) std::cout << "deleted " << path << "\n";
    std::cout.flush();

    std::map<std::string, FileVersion> refused;
    for (const std::string& path : outcome.refusedFiles) {
      std::error_code ignored;
      const FileVersion version = std::filesystem::last_write_time(path, ignored);
      const auto known = refused_.find(path);
      if (known == refused_.end() || known->second != version) {
        std::cerr << "tessaro-cli: " << path << " is not a G-code file of the accepted kind\n";
      }
      refused.emplace(path, version);
    }
    refused_ = std::move(refused);

    std::set<std::string> errors(outcome.errors.begin(), outcome.errors.end());
    for (const std::string& error : errors) {
      if (!errors_.contains(error)) std::cerr << "tessaro-cli: " << error << "\n";
    }
    errors_ = std::move(errors);
  }

 private:
  std::map<std::string, FileVersion> refused_;
  std::set<std::string> errors_;
};

struct ScanOptions {
  std::string home;
  bool once = false;
};

int RunScan(const ScanOptions& options) {
  const std::optional<ScanSetup> setup = ReadScanSetup(options.home, "scan");
  if (!setup) return kExitFailed;

  if (const auto hint = MissingTemplateHint(setup->settings.appFolder))
    std::cerr << "tessaro-cli: " << *hint << "\n";
  // Questions would come back at every tick; the loop reports refusals itself.
  StderrOperator asker(StderrOperator::Questions::kQuiet);
  Session session(asker);
  session.Settings() = setup->settings;
  ActivityLog log = OpenActivityLog(setup->settings.appFolder);
  ScanCycle cycle(session, &log);
  const TickInputs& inputs = setup->inputs;
  Reporter reporter;

  if (options.once) {
    // Files still being written are waited for, a few seconds at most.
    constexpr int kTicksAtMost = 25;
    bool ok = true;
    for (int tick = 1; tick <= kTicksAtMost; ++tick) {
      const TickOutcome outcome = cycle.RunTick(inputs);
      reporter.Report(outcome);
      ok = ok && outcome.ok();
      if (!outcome.comeBackSoon) break;
      std::this_thread::sleep_for(kQuietTime);
    }
    return ok ? kExitOk : kExitFailed;
  }

  stopRequested = 0;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  ChangeTrigger trigger(MakeFolderWatch());
  const auto period = std::chrono::milliseconds(setup->scanIntervalMs);
  RunScanLoop(cycle, inputs, trigger,
              {.period = period,
               .stopRequested = [] { return stopRequested != 0; },
               .report = [&reporter](const TickOutcome& outcome) { reporter.Report(outcome); },
               .tell =
                   [period](const std::string& why) {
                     std::cerr << "tessaro-cli: " << why << "; scanning every "
                               << std::chrono::duration<double>(period).count() << " s\n";
                   }});
  return kExitOk;
}

}  // namespace

Command AddScanCommand(CLI::App& tool) {
  auto options = std::make_shared<ScanOptions>();
  CLI::App* line = tool.add_subcommand("scan", "keep the program folder in step");
  AddHomeOption(*line, options->home);
  line->add_flag("--once", options->once, "one pass, then exit");
  return {line, "usage: tessaro-cli scan [--home DIR] [--once]\n",
          [options] { return RunScan(*options); }};
}

}  // namespace tessaro::cli
