#include "scan/change_trigger.h"

#include <algorithm>
#include <utility>

namespace tessaro {

ChangeTrigger::ChangeTrigger(std::unique_ptr<FolderWatch> watch, ChangeTiming timing)
    : watch_(std::move(watch)), timing_(timing) {}

std::optional<std::string> ChangeTrigger::Watch(const std::string& folder) {
  const Status watched = watch_->Watch(folder);
  if (watched.ok()) {
    failureTold_.clear();
    return std::nullopt;
  }
  if (watched.error() == failureTold_) return std::nullopt;
  failureTold_ = watched.error();
  return failureTold_;
}

void ChangeTrigger::TakeChanges(Clock::time_point now) {
  if (watch_->TakeChanges() == 0) return;
  if (!firstChange_) firstChange_ = now;
  lastChange_ = now;
}

std::optional<ChangeTrigger::Clock::time_point> ChangeTrigger::TickDue() const {
  if (!firstChange_) return std::nullopt;
  return std::min(lastChange_ + timing_.quiet, *firstChange_ + timing_.longest);
}

}  // namespace tessaro
