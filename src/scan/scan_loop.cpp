#include "scan/scan_loop.h"

#include <algorithm>

#include "outside/folder_watch.h"

namespace tessaro {

namespace {

using Clock = ChangeTrigger::Clock;
constexpr auto kStopCheck = std::chrono::milliseconds(50);

// Waits until the timer's tick or a change's tick is due, or a stop or a tick is
// requested.
void WaitForTick(ChangeTrigger& trigger, Clock::time_point timerDue, const ScanLoopHooks& hooks) {
  while (!hooks.stopRequested()) {
    if (hooks.tickNow && hooks.tickNow()) return;
    const Clock::time_point now = Clock::now();
    const Clock::time_point due = std::min(timerDue, trigger.TickDue().value_or(timerDue));
    if (now >= due) return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
        std::min<Clock::duration>(due - now, kStopCheck));
    if (WaitReadable(trigger.waitHandle(), wait)) trigger.TakeChanges(Clock::now());
  }
}

}  // namespace

void RunScanLoop(ScanCycle& cycle, const TickInputs& inputs, ChangeTrigger& trigger,
                 const ScanLoopHooks& hooks) {
  const Clock::duration period = std::max(hooks.period, std::chrono::milliseconds(1));
  Clock::time_point timerDue = Clock::now();
  while (!hooks.stopRequested()) {
    // Each tick re-arms a watch the system dropped with the folder.
    if (const auto why = trigger.Watch(inputs.sourceFolder); why && hooks.tell) hooks.tell(*why);
    trigger.TickStarting();
    TickOutcome outcome;
    if (!hooks.mayTick || hooks.mayTick()) {
      outcome = cycle.RunTick(inputs, {}, hooks.stopRequested);
      if (hooks.report) hooks.report(outcome);
    }
    // Timer ticks that came due while this one ran are skipped, not run back to back.
    const Clock::time_point now = Clock::now();
    while (timerDue <= now) timerDue += period;
    // A file too new to translate is come back for once it has been quiet.
    const Clock::time_point due =
        outcome.comeBackSoon ? std::min(timerDue, now + kQuietTime) : timerDue;
    WaitForTick(trigger, due, hooks);
  }
}

}  // namespace tessaro
