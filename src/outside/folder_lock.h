#pragma once

#include <string>
#include <string_view>

namespace tessaro {

// The lock file of a program folder (a dot name, so that listings pass it over).
inline constexpr std::string_view kLockFileName = ".tessaro.lock";

// Makes one process at a time the automatic writer of a program folder: an advisory
// lock on the folder's lock file, held while the object lives. The file names the
// holder's process and host for whoever finds the folder taken. The operating system
// drops the lock with the process, so a lock file left by a dead process never blocks.
class FolderLock {
 public:
  enum class State {
    kHeld,           // this object holds the folder
    kHeldElsewhere,  // another process (or another object of this one) holds it
    kUnavailable,    // the lock file cannot be made or locked (no folder, no permission)
  };

  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  State state() const { return state_; }
  bool held() const { return state_ == State::kHeld; }
  // kHeldElsewhere: who holds the folder ("process 4711 on shop-pc"); kUnavailable:
  // why it cannot be locked; kHeld: nothing.
  const std::string& detail() const { return detail_; }

 private:
  State state_ = State::kUnavailable;
  std::string detail_;
#ifdef _WIN32
  void* handle_ = nullptr;  // a HANDLE
#else
  int fd_ = -1;
#endif
};

// "process 4711 on shop-pc" from a lock file's text "4711 shop-pc".
std::string LockHolderText(std::string_view lockFileText);

}  // namespace tessaro
