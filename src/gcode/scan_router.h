#pragma once

#include <array>
#include <string>
#include <string_view>

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
// which handlers run. LineNumber and HoleCounter start at 0 with every scan, and every
// scan ends with ScanMode back at 0. A handler that sets ScanMode to 0 refuses the file:
// no further line is read. A G-code file refused on its first line ends the scan with
// the question whether to delete it.
class ScanRouter {
 public:
  ScanRouter(HoleSet& holes, ScanState& state, Operator& op);

  // The handlers for mode 1 to 4 (nullptr: that mode does nothing).
  void SetHandler(int mode, ScanModeHandler* handler);

  // Scans `path` with the mode set in ScanState. A file that cannot be read runs no
  // handler, leaves ScanMode at 0 and returns the failure. Scans do not nest: a scan
  // started while one runs fails the same way.
  Status Scan(const std::string& path);
  // The same for text held in memory, as the contents of a file named `name`.
  void ScanText(std::string_view text, const std::string& name);

 private:
  LineScanner::Handlers ScannerHandlers();
  ScanModeHandler* HandlerFor(int mode) const;
  void ScanBegin(LineScanner& scanner);
  void LineScanned(LineScanner& scanner);
  void ScanEnd(LineScanner& scanner);
  void AskToDeleteRefusedFile(const std::string& path);

  HoleSet& holes_;
  ScanState& state_;
  Operator& operator_;
  LineScanner scanner_;
  std::array<ScanModeHandler*, 5> handlers_{};
  int startedMode_ = kScanIdle;
  bool scanning_ = false;
};

}  // namespace tessaro
