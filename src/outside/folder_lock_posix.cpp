#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "outside/folder_lock.h"

namespace tessaro {

namespace {

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[256];
  off_t offset = 0;
  for (;;) {
    const ssize_t count = ::pread(fd, buffer, sizeof buffer, offset);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0 || text.size() > 4096) return text;
    text.append(buffer, static_cast<size_t>(count));
    offset += count;
  }
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
  const std::string path =
      folder + (folder.empty() || folder.back() == '/' ? "" : "/") + std::string(kLockFileName);
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd_ < 0) {
    detail_ = "cannot lock " + path + ": " + std::generic_category().message(errno);
    return;
  }
  // An open file description's lock: another FolderLock of this process conflicts too.
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  if (::fcntl(fd_, F_OFD_SETLK, &whole) != 0) {
    const int error = errno;
    if (error == EAGAIN || error == EACCES) {
      state_ = State::kHeldElsewhere;
      detail_ = LockHolderText(ReadAll(fd_));
    } else {
      detail_ = "cannot lock " + path + ": " + std::generic_category().message(error);
    }
    ::close(fd_);
    fd_ = -1;
    return;
  }
  state_ = State::kHeld;
  const std::string holder = std::to_string(::getpid()) + " " + HostName() + "\n";
  if (::ftruncate(fd_, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::pwrite(fd_, holder.data(), holder.size(), 0);
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace tessaro
