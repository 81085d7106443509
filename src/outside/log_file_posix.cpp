#include "outside/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <system_error>

namespace tessaro {

namespace {

Status Failure(const std::string& action, const std::string& path, int error) {
  return Status::Failed(action + " " + path + ": " + std::generic_category().message(error));
}

}  // namespace

Status AppendToFile(const std::string& path, std::string_view text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return Failure("Cannot write", path, errno);
  ssize_t written = 0;
  do {
    written = ::write(fd, text.data(), text.size());
  } while (written < 0 && errno == EINTR);
  const int writeError = written < 0 ? errno : ENOSPC;  // a short write: the disk is full
  const bool whole = written == static_cast<ssize_t>(text.size());
  if (::close(fd) != 0 && whole) return Failure("Cannot write", path, errno);
  return whole ? Status::Ok() : Failure("Cannot write", path, writeError);
}

std::uint64_t FileSizeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

Status RenameFile(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) == 0) return Status::Ok();
  return Failure("Cannot rename", from + " to " + to, errno);
}

std::string LocalTimeText(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

}  // namespace tessaro
