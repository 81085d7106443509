#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaro {

inline constexpr const char* kActivityLogFileName = "Tessaro.log";
// At this size the log is renamed to Tessaro.log.1, replacing the older copy.
inline constexpr std::uint64_t kActivityLogLimit = 1024 * 1024;

// The actions a log line names.
namespace activity {
inline constexpr const char* kTranslated = "translated";
inline constexpr const char* kRefused = "refused";
inline constexpr const char* kDeleted = "deleted";
inline constexpr const char* kFailed = "failed";
inline constexpr const char* kEmpty = "empty";      // a G-code file with nothing in it
inline constexpr const char* kKept = "kept";        // programs a tick would have deleted
inline constexpr const char* kSetting = "setting";  // a stored value not used as it stands
}  // namespace activity

// One line of the activity log: "TIME<tab>ACTION<tab>FILE<tab>DETAIL".
struct ActivityEntry {
  std::string time;  // local time, ISO 8601 with seconds; the log fills it in
  std::string action;
  std::string file;
  std::string detail;
  bool operator==(const ActivityEntry&) const = default;
};

// Tessaro.log of the application folder `appFolder` (ending with a separator).
std::string ActivityLogPath(const std::string& appFolder);

// What both programs did, for the operator who comes back in the morning: every
// translation, refusal, deletion and failure as one line. A line that cannot be
// written is lost, never an error of the work it records.
class ActivityLog {
 public:
  explicit ActivityLog(std::string path, std::uint64_t limit = kActivityLogLimit)
      : path_(std::move(path)), limit_(limit) {}

  // Told why once when the log cannot be written, and again only after a line could be
  // written in between.
  void setFailureSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

  // Appends one line stamped with the local time now. A log that would grow past the
  // limit is first renamed to PATH.1.
  void Append(const ActivityEntry& entry);

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::uint64_t limit_;
  std::function<void(const std::string&)> sink_;
  bool failing_ = false;
};

// The last `count` lines of the log at `path` and of its older copy, newest first.
std::vector<ActivityEntry> ReadRecentActivity(const std::string& path, std::size_t count);

}  // namespace tessaro
