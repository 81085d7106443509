#include "app/activity_log.h"

#include <algorithm>
#include <chrono>

#include "outside/file_ops.h"
#include "outside/log_file.h"

namespace tessaro {

namespace {

constexpr char kFieldSeparator = '\t';
constexpr std::string_view kOlderCopySuffix = ".1";

// A field keeps to its line and its column: tabs and line breaks become blanks.
std::string Field(std::string_view text) {
  std::string field(text);
  std::replace_if(
      field.begin(), field.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return field;
}

ActivityEntry ParseLine(std::string_view line) {
  ActivityEntry entry;
  std::string* fields[] = {&entry.time, &entry.action, &entry.file, &entry.detail};
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    const std::size_t end =
        i + 1 < std::size(fields) ? line.find(kFieldSeparator) : std::string_view::npos;
    *fields[i] = std::string(line.substr(0, end));
    if (end == std::string_view::npos) break;
    line.remove_prefix(end + 1);
  }
  return entry;
}

// Adds the lines of `text`, last first, until `entries` holds `count`.
void TakeNewestLines(std::string_view text, std::size_t count,
                     std::vector<ActivityEntry>& entries) {
  while (!text.empty() && entries.size() < count) {
    if (text.back() == '\n') text.remove_suffix(1);
    const std::size_t start = text.rfind('\n');
    const std::string_view line = start == std::string_view::npos ? text : text.substr(start + 1);
    if (!line.empty()) entries.push_back(ParseLine(line));
    text.remove_suffix(line.size());
  }
}

}  // namespace

std::string ActivityLogPath(const std::string& appFolder) {
  return appFolder + kActivityLogFileName;
}

void ActivityLog::Append(const ActivityEntry& entry) {
  const std::string line = LocalTimeText(std::chrono::system_clock::now()) + kFieldSeparator +
                           Field(entry.action) + kFieldSeparator + Field(entry.file) +
                           kFieldSeparator + Field(entry.detail) + "\n";
  Status status = Status::Ok();
  const std::uint64_t size = FileSizeOf(path_);
  if (size > 0 && size + line.size() > limit_) {
    status = RenameFile(path_, path_ + std::string(kOlderCopySuffix));
  }
  // Still appended when the rename failed: a log too long beats a line lost.
  const Status appended = AppendToFile(path_, line);
  if (status.ok()) status = appended;
  if (status.ok()) {
    failing_ = false;
  } else if (!failing_) {
    failing_ = true;
    if (sink_) sink_(status.error());
  }
}

std::vector<ActivityEntry> ReadRecentActivity(const std::string& path, std::size_t count) {
  std::vector<ActivityEntry> entries;
  for (const std::string& file : {path, path + std::string(kOlderCopySuffix)}) {
    // A log grows past its limit by its last line at most, or more when it cannot be renamed.
    const FileContents contents = ReadFileContents(file, 4 * kActivityLogLimit);
    if (contents.status.ok()) TakeNewestLines(contents.text, count, entries);
  }
  return entries;
}

}  // namespace tessaro
