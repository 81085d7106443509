// Change notification through inotify.
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "outside/folder_watch.h"

namespace tessaro {

namespace {

// Written and closed, moved in or out, deleted; the folder itself going away.
constexpr std::uint32_t kWatchedEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;

class InotifyFolderWatch : public FolderWatch {
 public:
  InotifyFolderWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
  ~InotifyFolderWatch() override {
    if (fd_ >= 0) ::close(fd_);
  }
  InotifyFolderWatch(const InotifyFolderWatch&) = delete;
  InotifyFolderWatch& operator=(const InotifyFolderWatch&) = delete;

  Status Watch(const std::string& folder) override {
    if (folder == folder_ && (watch_ >= 0 || folder.empty())) return Status::Ok();
    Drop();
    folder_ = folder;
    if (folder.empty()) return Status::Ok();
    if (fd_ < 0) return Status::Failed("Cannot watch " + folder + ": no inotify instance");
    watch_ = ::inotify_add_watch(fd_, folder.c_str(), kWatchedEvents | IN_ONLYDIR);
    if (watch_ < 0) {
      return Status::Failed("Cannot watch " + folder + ": " +
                            std::generic_category().message(errno));
    }
    return Status::Ok();
  }

  WaitHandle waitHandle() const override { return fd_ >= 0 ? fd_ : kNoWaitHandle; }

  int TakeChanges() override {
    if (fd_ < 0) return 0;
    int changes = 0;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t length = ::read(fd_, buffer, sizeof buffer);
      if (length < 0 && errno == EINTR) continue;
      if (length <= 0) return changes;
      for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        changes += Counts(*event);
      }
    }
  }

 private:
  // Events of a watch given up earlier are not this folder's.
  int Counts(const inotify_event& event) {
    if (event.mask & IN_Q_OVERFLOW) return 1;  // events were lost: any file may have changed
    if (event.wd != watch_ || watch_ < 0) return 0;
    if (event.mask & IN_IGNORED) {
      watch_ = -1;  // the folder is gone: the next Watch of it re-arms
      return 1;
    }
    // A watch follows the folder it was given, not its path: watch the path again.
    if (event.mask & IN_MOVE_SELF) Drop();
    return 1;
  }

  void Drop() {
    if (watch_ >= 0) ::inotify_rm_watch(fd_, watch_);
    watch_ = -1;
  }

  int fd_;
  int watch_ = -1;
  std::string folder_;
};

}  // namespace

std::unique_ptr<FolderWatch> MakeFolderWatch() { return std::make_unique<InotifyFolderWatch>(); }

bool WaitReadable(WaitHandle handle, std::chrono::milliseconds timeout) {
  pollfd wanted{static_cast<int>(handle), POLLIN, 0};
  // poll sleeps for the timeout on a negative descriptor.
  return ::poll(&wanted, 1, static_cast<int>(timeout.count())) > 0 && (wanted.revents & POLLIN);
}

}  // namespace tessaro
