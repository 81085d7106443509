#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "outside/folder_watch.h"

namespace tessaro {

// How long a tick waits for the source folder to be quiet after a change, and at most
// after the first change.
struct ChangeTiming {
  std::chrono::steady_clock::duration quiet = std::chrono::milliseconds(200);
  std::chrono::steady_clock::duration longest = std::chrono::seconds(1);
};

// When a change in the source folder calls for a tick, on top of the timer's ticks.
// The system reports every file written, moved in or out, or deleted, and a copy of
// many files reports many: a tick comes once the folder has been quiet for a moment,
// or at the latest a while after the first change, so that a long copy gives a tick
// now and then rather than one per file. A tick lists the folder when it starts, so
// changes taken before then are its own, and changes during it give one tick after it.
class ChangeTrigger {
 public:
  using Clock = std::chrono::steady_clock;

  explicit ChangeTrigger(std::unique_ptr<FolderWatch> watch, ChangeTiming timing = {});

  // Watches `folder` ("" none), re-arming a watch the system dropped. Why the folder
  // cannot be watched, the first time only: the timer then works alone.
  std::optional<std::string> Watch(const std::string& folder);
  // Ready when the watch has something to tell: call TakeChanges then.
  WaitHandle waitHandle() const { return watch_->waitHandle(); }
  void TakeChanges(Clock::time_point now);

  // When the tick for the changes taken is due; nullopt when none waits.
  std::optional<Clock::time_point> TickDue() const;
  // A tick starts listing the folder: the changes taken so far are its.
  void TickStarting() { firstChange_.reset(); }

 private:
  std::unique_ptr<FolderWatch> watch_;
  ChangeTiming timing_;
  std::optional<Clock::time_point> firstChange_;  // since the last tick started
  Clock::time_point lastChange_;
  std::string failureTold_;
};

}  // namespace tessaro
