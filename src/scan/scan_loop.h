#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "scan/change_trigger.h"
#include "scan/scan_cycle.h"

namespace tessaro {

struct ScanLoopHooks {
  std::chrono::milliseconds period{5000};  // ScanTime
  std::function<bool()> stopRequested;     // asked at least every 50 ms
  std::function<bool()> mayTick;           // asked before each tick: false skips it
  std::function<bool()> tickNow;           // asked with stopRequested: true starts a tick
  std::function<void(const TickOutcome&)> report;
  std::function<void(const std::string&)> tell;  // why the source folder cannot be watched
};

// The unattended scan: keeps the program folder in step until a stop is requested,
// with a tick every `period` as the window's timer gives them, and one soon after the
// trigger sees a change in the source folder, and one once a G-code file too new to
// translate has been quiet. A stop ends the tick under way after the G-code file
// being translated.
void RunScanLoop(ScanCycle& cycle, const TickInputs& inputs, ChangeTrigger& trigger,
                 const ScanLoopHooks& hooks);

}  // namespace tessaro
