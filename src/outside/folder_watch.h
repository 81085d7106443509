#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "outside/status.h"

namespace tessaro {

// Tells when the files of one folder change: a file written and closed, moved in or
// out, or deleted. Where the operating system reports nothing (a network share, a
// platform without such notification) it stays silent, and the caller's timer does
// the work alone.
class FolderWatch {
 public:
  virtual ~FolderWatch() = default;

  // Watches `folder` instead of the folder watched so far; "" watches none. Watching the
  // same folder again re-arms a watch the system dropped (the folder was removed).
  virtual Status Watch(const std::string& folder) = 0;
  // Becomes readable when a change is reported; -1 when nothing ever is.
  virtual int descriptor() const = 0;
  // Takes what was reported so far, without waiting: the number of changes.
  virtual int TakeChanges() = 0;
};

// Reports nothing: platforms without change notification, and tests of the timer alone.
class SilentFolderWatch : public FolderWatch {
 public:
  Status Watch(const std::string&) override { return Status::Ok(); }
  int descriptor() const override { return -1; }
  int TakeChanges() override { return 0; }
};

// The platform's watch (inotify on Linux), silent where there is none.
std::unique_ptr<FolderWatch> MakeFolderWatch();

// Waits up to `timeout` for `descriptor` to become readable; without one (-1) it only
// sleeps. True when it is readable; false on the timeout or a signal.
bool WaitReadable(int descriptor, std::chrono::milliseconds timeout);

}  // namespace tessaro
