#include "gcode/scan_router.h"

#include "app/operator.h"
#include "app/text.h"
#include "outside/file_ops.h"

namespace tessaro {

ScanRouter::ScanRouter(HoleSet& holes, ScanState& state, Operator& op)
    : holes_(holes), state_(state), operator_(op) {}

void ScanRouter::SetHandler(int mode, ScanModeHandler* handler) {
  if (mode > kScanIdle && mode < static_cast<int>(handlers_.size())) handlers_[mode] = handler;
}

LineScanner::Handlers ScanRouter::ScannerHandlers() {
  return {[this](LineScanner& s) { ScanBegin(s); }, [this](LineScanner& s) { LineScanned(s); },
          [this](LineScanner& s) { ScanEnd(s); }};
}

Status ScanRouter::Scan(const std::string& path) {
  if (scanning_) return Status::Failed("Cannot read " + path + ": another file is being read");
  scanning_ = true;
  startedMode_ = state_.ScanMode;
  // A G-code file may be of any length and is read line by line; a program or the
  // template is never near the limit, and a larger file is not one.
  ScanLimits limits;
  if (startedMode_ != kScanReadGcode) limits.maxFileSize = kMaxTextFileSize;
  const Status status = scanner_.Scan(path, ScannerHandlers(), limits);
  scanning_ = false;
  state_.ScanMode = kScanIdle;
  return status;
}

void ScanRouter::ScanText(std::string_view text, const std::string& name) {
  if (scanning_) return;
  scanning_ = true;
  startedMode_ = state_.ScanMode;
  scanner_.ScanText(text, name, ScannerHandlers());
  scanning_ = false;
  state_.ScanMode = kScanIdle;
}

ScanModeHandler* ScanRouter::HandlerFor(int mode) const {
  if (mode <= kScanIdle || mode >= static_cast<int>(handlers_.size())) return nullptr;
  return handlers_[mode];
}

void ScanRouter::ScanBegin(LineScanner& scanner) {
  state_.LineNumber = 0;
  state_.HoleCounter = 0;
  if (ScanModeHandler* handler = HandlerFor(state_.ScanMode)) handler->ScanBegin(scanner);
}

void ScanRouter::LineScanned(LineScanner& scanner) {
  ++state_.LineNumber;
  ScanModeHandler* handler = HandlerFor(state_.ScanMode);
  if (handler) handler->LineScanned(scanner);
  if (state_.ScanMode == kScanIdle) scanner.StopAfterThisLine();
}

void ScanRouter::ScanEnd(LineScanner& scanner) {
  if (state_.ScanMode == kScanIdle) {
    if (startedMode_ == kScanReadGcode && holes_.RejectedFile) {
      AskToDeleteRefusedFile(scanner.FileName());
    }
  } else if (ScanModeHandler* handler = HandlerFor(state_.ScanMode)) {
    handler->ScanEnd(scanner);
  }
  state_.ScanMode = kScanIdle;
}

void ScanRouter::AskToDeleteRefusedFile(const std::string& path) {
  const std::string text = "         Source file " + FileNamePart(path) + "\r" +
                           "    Is not of the correct file type." + "\r\r" +
                           "      Do you wish to delete it?";
  if (!operator_.AskYesNo("Alert!", text)) return;
  const Status removed = RemoveFile(path);
  if (!removed.ok()) operator_.Tell("Alert!", removed.error());
}

}  // namespace tessaro
