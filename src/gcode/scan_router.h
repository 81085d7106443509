#pragma once

#include <array>
#include <string>

#include "gcode/hole_set.h"
#include "outside/line_scanner.h"
#include "outside/status.h"

namespace tessaro {

class Operator;

// The handlers of one scan mode.
class ScanModeHandler {
 public:
  virtual ~ScanModeHandler() = default;
  virtual void ScanBegin(LineScanner& scanner) = 0;
  virtual void LineScanned(LineScanner& scanner) = 0;
  virtual void ScanEnd(LineScanner& scanner) = 0;
};

// Every file is read by one scanner; ScanMode, set by whoever starts the scan, tells
// which handlers run. Every scan ends with ScanMode back at 0. A G-code file refused
// on its first line ends the scan with the question whether to delete it.
class ScanRouter {
 public:
  ScanRouter(HoleSet& holes, ScanState& state, Operator& op);

  void SetHandler(int mode, ScanModeHandler* handler);

  // Scans `path` with the mode set in ScanState. A file that cannot be read runs no
  // handler, leaves ScanMode at 0 and returns the failure.
  Status Scan(const std::string& path);

 private:
  void ScanBegin(LineScanner& scanner);
  void LineScanned(LineScanner& scanner);
  void ScanEnd(LineScanner& scanner);

  HoleSet& holes_;
  ScanState& state_;
  Operator& operator_;
  LineScanner scanner_;
  std::array<ScanModeHandler*, 5> handlers_{};
  int startedMode_ = kScanIdle;
};

}  // namespace tessaro
