#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "outside/status.h"

namespace tessaro {

// What a waiter waits on for a change: a file descriptor on Linux (readable when a change
// is reported), an event HANDLE on Windows (signalled then). Qt takes either: a
// QSocketNotifier on the descriptor, a QWinEventNotifier on the event.
using WaitHandle = std::intptr_t;
inline constexpr WaitHandle kNoWaitHandle = -1;

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
  // Becomes ready when a change is reported, and stays so until TakeChanges; the same for
  // the watch's whole life. kNoWaitHandle when nothing is ever reported.
  virtual WaitHandle waitHandle() const = 0;
  // Takes what was reported so far, without waiting: the number of changes.
  virtual int TakeChanges() = 0;
};

// Reports nothing: platforms without change notification, and tests of the timer alone.
class SilentFolderWatch : public FolderWatch {
 public:
  Status Watch(const std::string&) override { return Status::Ok(); }
  WaitHandle waitHandle() const override { return kNoWaitHandle; }
  int TakeChanges() override { return 0; }
};

// The platform's watch (inotify on Linux, ReadDirectoryChangesW on Windows), silent where
// there is none.
std::unique_ptr<FolderWatch> MakeFolderWatch();

// Waits up to `timeout` for `handle` to become ready; without one (kNoWaitHandle) it only
// sleeps. True when it is ready; false on the timeout or a signal.
bool WaitReadable(WaitHandle handle, std::chrono::milliseconds timeout);

}  // namespace tessaro
