#include "outside/line_scanner.h"

#include <algorithm>

#include "outside/file_ops.h"

namespace tessaro {

namespace {

// The range [begin, end) of field n (n >= 1) in `line`, or npos begin when there is
// no such field.
struct FieldRange {
  size_t begin = std::string::npos;
  size_t end = std::string::npos;
};

FieldRange FindField(std::string_view line, char separator, int n) {
  size_t begin = 0;
  for (int field = 1; field < n; ++field) {
    const size_t next = line.find(separator, begin);
    if (next == std::string_view::npos) return {};
    begin = next + 1;
  }
  const size_t next = line.find(separator, begin);
  return {begin, next == std::string_view::npos ? line.size() : next};
}

}  // namespace

Status LineScanner::Scan(const std::string& path, const Handlers& handlers,
                         const ScanLimits& limits) {
  FileReader reader(path);
  if (!reader.status().ok()) return reader.status();
  if (limits.maxFileSize != 0 && reader.Size() > limits.maxFileSize) {
    return TooLargeFailure(path, limits.maxFileSize);
  }
  Begin(path, handlers, limits);
  std::string buffer(65536, '\0');
  while (!stopRequested_) {
    const size_t count = reader.Read(buffer.data(), buffer.size());
    if (count == 0) break;
    Feed(std::string_view(buffer.data(), count), handlers);
  }
  Finish(handlers);
  return reader.status();
}

void LineScanner::ScanText(std::string_view text, const std::string& name, const Handlers& handlers,
                           const ScanLimits& limits) {
  Begin(name, handlers, limits);
  Feed(text, handlers);
  Finish(handlers);
}

void LineScanner::Begin(const std::string& name, const Handlers& handlers,
                        const ScanLimits& limits) {
  fileName_ = name;
  line_.clear();
  stopRequested_ = false;
  maxLineLength_ = limits.maxLineLength;
  lineCut_ = false;
  atStart_ = true;
  afterCr_ = false;
  lineStarted_ = false;
  skippingRest_ = false;
  if (handlers.begin) handlers.begin(*this);
}

void LineScanner::Feed(std::string_view piece, const Handlers& handlers) {
  if (atStart_ && !piece.empty()) {
    piece.remove_prefix(ByteOrderMarkLength(piece));
    atStart_ = false;
  }
  while (!piece.empty() && !stopRequested_) {
    if (afterCr_ && piece.front() == '\n') piece.remove_prefix(1);
    afterCr_ = false;
    const size_t end = piece.find_first_of("\r\n");
    const std::string_view text = piece.substr(0, end);
    if (!skippingRest_) {
      const size_t room = maxLineLength_ - std::min(maxLineLength_, line_.size());
      line_.append(text.substr(0, room));
      lineStarted_ = lineStarted_ || !text.empty();
      if (text.size() > room) {
        // Handed over at once, so that a file of one endless line is refused
        // without being read to its end.
        lineCut_ = true;
        HandOver(handlers);
        skippingRest_ = true;
      }
    }
    if (end == std::string_view::npos) return;
    afterCr_ = piece[end] == '\r';
    piece.remove_prefix(end + 1);
    if (skippingRest_) {
      skippingRest_ = false;
    } else {
      HandOver(handlers);
    }
  }
}

void LineScanner::Finish(const Handlers& handlers) {
  if (lineStarted_ && !skippingRest_ && !stopRequested_) HandOver(handlers);
  line_.clear();
  lineCut_ = false;
  if (handlers.end) handlers.end(*this);
}

void LineScanner::HandOver(const Handlers& handlers) {
  if (!stopRequested_ && handlers.line) handlers.line(*this);
  line_.clear();
  lineCut_ = false;
  lineStarted_ = false;
}

std::string LineScanner::Field(int n) const {
  if (n == 0) return line_;
  if (n < 0) return "";
  const FieldRange range = FindField(line_, separator_, n);
  if (range.begin == std::string::npos) return "";
  return line_.substr(range.begin, range.end - range.begin);
}

void LineScanner::SetField(int n, std::string_view value) {
  if (n == 0) {
    line_ = std::string(value);
    return;
  }
  if (n < 0) return;
  const int count = line_.empty() ? 1 : FieldCount();
  if (n > count) line_.append(static_cast<size_t>(n - count), separator_);
  const FieldRange range = FindField(line_, separator_, n);
  line_.replace(range.begin, range.end - range.begin, value);
}

int LineScanner::FieldCount() const {
  if (line_.empty()) return 0;
  int count = 1;
  for (char c : line_) {
    if (c == separator_) ++count;
  }
  return count;
}

}  // namespace tessaro
