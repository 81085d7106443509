#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
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
#include "outside/file_ops.h"
#include "outside/folder_lock.h"
#include "outside/folder_watch.h"
#include "program/session.h"
#include "scan/change_trigger.h"
#include "scan/scan_cycle.h"
#include "scan/scan_loop.h"

namespace tessaro::cli {

namespace {

// Set by SIGINT and SIGTERM; the loop ends after the G-code file being translated.
volatile std::sig_atomic_t stopRequested = 0;
// Set by SIGHUP: the settings file is read again before the next tick (its ScanTime
// only at a restart).
volatile std::sig_atomic_t reloadRequested = 0;

extern "C" void RequestStop(int) { stopRequested = 1; }
extern "C" void RequestReload(int) { reloadRequested = 1; }

// What the loop has already said, so that an unchanged refused or empty file or a
// lasting failure is reported once rather than at every tick.
class Reporter {
 public:
  void Report(const TickOutcome& outcome) {
    for (const std::string& path : outcome.translatedFiles)
      std::cout << "translated " << path << "\n";
    for (const std::string& path : outcome.deletedPrograms) std::cout << "deleted " << path << "\n";
    // A lasting failure is said once, until it changes.
    std::set<std::string> failures(outcome.failedFiles.begin(), outcome.failedFiles.end());
    for (const std::string& failure : failures) {
      if (!failures_.contains(failure)) std::cout << "failed " << failure << "\n";
    }
    failures_ = std::move(failures);
    std::cout.flush();

    refused_.Report(outcome.refusedFiles, kRefusedAndKept);
    empty_.Report(outcome.emptyFiles,
                  " is empty (nothing but blanks): not translated, its programs are kept");
    std::set<std::string> problems(outcome.errors.begin(), outcome.errors.end());
    problems.insert(outcome.collisions.begin(), outcome.collisions.end());
    problems.insert(outcome.notes.begin(), outcome.notes.end());
    for (const std::string& problem : problems) {
      if (!problems_.contains(problem)) std::cerr << "tessaro-cli: " << problem << "\n";
    }
    problems_ = std::move(problems);
  }

 private:
  // Files reported once for each version of theirs.
  class FileVersions {
   public:
    void Report(const std::vector<std::string>& paths, const std::string& what) {
      std::map<std::string, std::optional<FileVersion>> seen;
      for (const std::string& path : paths) {
        const std::optional<FileVersion> version = VersionOf(path);
        const auto known = seen_.find(path);
        if (known == seen_.end() || known->second != version) {
          std::cerr << "tessaro-cli: " << path << what << "\n";
        }
        seen.emplace(path, version);
      }
      seen_ = std::move(seen);
    }

   private:
    std::map<std::string, std::optional<FileVersion>> seen_;
  };

  FileVersions refused_;
  FileVersions empty_;
  std::set<std::string> failures_;
  std::set<std::string> problems_;
};

// One automatic writer per program folder: the lock is taken before the first tick
// and, where the folder could not be locked yet, tried again before each tick.
class WriterLock {
 public:
  explicit WriterLock(std::string folder) : folder_(std::move(folder)) {}

  // False while another process holds the folder (said once until that changes).
  bool MayTick() {
    if (lock_ && lock_->held()) return true;
    lock_.emplace(folder_);
    const std::string said = lock_->held() ? "" : lock_->detail();
    if (said != said_ && !said.empty()) std::cerr << "tessaro-cli: " << Explained() << "\n";
    said_ = said;
    return lock_->state() != FolderLock::State::kHeldElsewhere;
  }
  bool HeldElsewhere() const {
    return lock_ && lock_->state() == FolderLock::State::kHeldElsewhere;
  }

  std::string Explained() const {
    if (!HeldElsewhere()) return lock_->detail() + "; scanning without the lock";
    return "the program folder " + folder_ + " is kept in step by " + lock_->detail() +
           ": this scan translates and deletes nothing";
  }

 private:
  std::string folder_;
  std::optional<FolderLock> lock_;
  std::string said_;
};

struct ScanOptions {
  std::string home;
  bool once = false;
};

int RunScan(const ScanOptions& options) {
  const std::optional<ScanSetup> setup = ReadScanSetup(options.home, "scan");
  if (!setup) return kExitConfiguration;

  StderrOperator asker;
  Session session(asker);
  session.Settings() = setup->settings;
  ActivityLog log = OpenActivityLog(setup->settings.appFolder);
  LogSettingProblems(setup->configuration, log);
  ScanCycle cycle(session, &log);
  TickInputs inputs = setup->inputs;
  Reporter reporter;
  auto lock = std::make_unique<WriterLock>(setup->settings.destinationFolder);
  if (!lock->MayTick()) return kExitLocked;

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

  // The settings in force are kept when the file read again is not fit to work with.
  const auto reload = [&] {
    reloadRequested = 0;
    const std::optional<ScanSetup> fresh = ReadScanSetup(options.home, "scan");
    if (!fresh) {
      std::cerr << "tessaro-cli: the settings in force are kept\n";
      return;
    }
    LogSettingProblems(fresh->configuration, log);
    if (fresh->settings.destinationFolder != session.Settings().destinationFolder) {
      lock = std::make_unique<WriterLock>(fresh->settings.destinationFolder);
    }
    session.Settings() = fresh->settings;
    inputs = fresh->inputs;
    std::cerr << "tessaro-cli: settings read again from " << fresh->settings.appFolder
              << kSettingsFileName << "\n";
  };

  stopRequested = 0;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
#ifdef SIGHUP  // none on Windows
  std::signal(SIGHUP, RequestReload);
#endif
  ChangeTrigger trigger(MakeFolderWatch());
  const auto period = std::chrono::milliseconds(setup->scanIntervalMs);
  RunScanLoop(cycle, inputs, trigger,
              {.period = period,
               .stopRequested = [] { return stopRequested != 0; },
               .mayTick =
                   [&] {
                     if (reloadRequested != 0) reload();
                     return lock->MayTick();
                   },
               .tickNow = [] { return reloadRequested != 0; },
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
