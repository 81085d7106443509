#include "outside/line_scanner.h"

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

Status LineScanner::Scan(const std::string& path, const Handlers& handlers) {
  const FileContents contents = ReadFileContents(path);
  if (!contents.status.ok()) return contents.status;
  ScanText(contents.text, path, handlers);
  return Status::Ok();
}

void LineScanner::ScanText(std::string_view text, const std::string& name,
                           const Handlers& handlers) {
  fileName_ = name;
  line_.clear();
  stopRequested_ = false;
  if (handlers.begin) handlers.begin(*this);
  RunLines(text, handlers);
  if (handlers.end) handlers.end(*this);
}

void LineScanner::RunLines(std::string_view text, const Handlers& handlers) {
  size_t begin = 0;
  while (begin < text.size() && !stopRequested_) {
    size_t end = text.find('\n', begin);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    if (end > begin && text[end - 1] == '\r') --end;
    line_.assign(text.data() + begin, end - begin);
    if (handlers.line) handlers.line(*this);
    begin = next;
  }
  line_.clear();
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
