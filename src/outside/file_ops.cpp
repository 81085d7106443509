#include "outside/file_ops.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "outside/dos_attributes.h"

namespace tessaro {

namespace {

constexpr const char* kAttributeName = "user.DOSATTRIB";
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

std::string ErrorText(int error) { return std::generic_category().message(error); }

Status Failure(const std::string& action, const std::string& path, int error) {
  return Status::Failed(action + " " + path + ": " + ErrorText(error));
}

bool StatPath(const std::string& path, struct stat& info) {
  return ::stat(path.c_str(), &info) == 0;
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Close() {
    if (fd_ < 0) return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::optional<std::string> ReadAttributeValue(const std::string& path) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t size = ::getxattr(path.c_str(), kAttributeName, buffer.data(), buffer.size());
    if (size >= 0) return std::string(buffer.data(), static_cast<size_t>(size));
    if (errno != ERANGE) return std::nullopt;
    const ssize_t needed = ::getxattr(path.c_str(), kAttributeName, nullptr, 0);
    if (needed < 0) return std::nullopt;
    buffer.resize(static_cast<size_t>(needed) + 1);
  }
}

int StoredAttributes(const std::string& path) {
  const std::optional<std::string> value = ReadAttributeValue(path);
  return value ? ParseDosAttributes(*value).value_or(0) : 0;
}

void WriteAttributes(const std::string& path, int attributes) {
  const std::string text = FormatDosAttributes(attributes);
  // A file system without extended attributes simply keeps none.
  ::setxattr(path.c_str(), kAttributeName, text.data(), text.size(), 0);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new temporary file beside `path`; its name starts with kTemporaryFilePrefix.
int CreateTemporaryFile(const std::string& path, std::string& temporaryPath) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(path);
  std::string name = NameOf(path);
  if (name.size() > 100) name.resize(100);  // stay well inside the name length limit
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporaryPath = folder + "/" + std::string(kTemporaryFilePrefix) + name + "." +
                    std::to_string(::getpid()) + "." + std::to_string(counter++);
    const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

void SyncFolder(const std::string& folder) {
  const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) ::fsync(fd.get());
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info {};
  return StatPath(path, info) && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool IsWritableFolder(const std::string& path) {
  return FolderExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

Status RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return Status::Ok();
  return Failure("Cannot delete", path, errno);
}

void SetFileAttributes(const std::string& path, int attributes) {
  struct stat info {};
  if (!StatPath(path, info) || !S_ISREG(info.st_mode)) return;
  const int kept = attributes & ~kReadOnlyAttribute;
  if (attributes & kReadOnlyAttribute) {
    // The attribute is written while the file can still be written.
    WriteAttributes(path, kept);
    ::chmod(path.c_str(), info.st_mode & 07777 & ~kAnyWrite);
  } else {
    if ((info.st_mode & S_IWUSR) == 0) ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
    WriteAttributes(path, kept);
  }
}

bool IsHidden(const std::string& path) { return (StoredAttributes(path) & kHiddenAttribute) != 0; }

// A Windows client's read-only mark on a Samba share that stores DOS attributes is
// kept in the attribute alone: the file's mode does not change.
bool IsReadOnly(const std::string& path) {
  struct stat info {};
  if (!StatPath(path, info)) return false;
  return (info.st_mode & S_IWUSR) == 0 || (StoredAttributes(path) & kReadOnlyAttribute) != 0;
}

Status SetReadOnly(const std::string& path, bool readOnly) {
  struct stat info {};
  if (!StatPath(path, info)) return Failure("Cannot change", path, errno);
  const mode_t mode =
      readOnly ? (info.st_mode & 07777 & ~kAnyWrite) : ((info.st_mode & 07777) | S_IWUSR);
  if (::chmod(path.c_str(), mode) != 0) return Failure("Cannot change", path, errno);
  const int stored = StoredAttributes(path);
  if (!readOnly && (stored & kReadOnlyAttribute) != 0) {
    WriteAttributes(path, stored & ~kReadOnlyAttribute);
  }
  return Status::Ok();
}

FileContents ReadFileContents(const std::string& path) {
  FileContents contents;
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    contents.status = Failure("Cannot read", path, errno);
    return contents;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      contents.status = Failure("Cannot read", path, EISDIR);
      return contents;
    }
    if (info.st_size > 0) contents.text.reserve(static_cast<size_t>(info.st_size));
  }
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      contents.status = Failure("Cannot read", path, errno);
      contents.text.clear();
      return contents;
    }
    contents.text.append(buffer, static_cast<size_t>(count));
  }
  return contents;
}

Status ReplaceFileContents(const std::string& path, std::string_view contents) {
  std::string temporaryPath;
  Descriptor fd(CreateTemporaryFile(path, temporaryPath));
  if (!fd.valid()) return Failure("Cannot write", path, errno);

  auto fail = [&](int error) {
    fd.Close();
    ::unlink(temporaryPath.c_str());
    return Failure("Cannot write", path, error);
  };

  // The new file keeps the permissions and the attributes of the one it replaces.
  struct stat old {};
  if (StatPath(path, old) && S_ISREG(old.st_mode)) {
    // The attributes first: a read-only mode would refuse them.
    if (const std::optional<std::string> attributes = ReadAttributeValue(path)) {
      ::fsetxattr(fd.get(), kAttributeName, attributes->data(), attributes->size(), 0);
    }
    ::fchmod(fd.get(), old.st_mode & 07777);
  }

  if (!WriteAll(fd.get(), contents)) return fail(errno);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (fd.Close() != 0) return fail(errno);
  if (::rename(temporaryPath.c_str(), path.c_str()) != 0) return fail(errno);
  SyncFolder(FolderOf(path));
  return Status::Ok();
}

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t size = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (size < 0) return "";
    if (static_cast<size_t>(size) < buffer.size()) {
      return std::string(buffer.data(), static_cast<size_t>(size));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string UserConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config";
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return std::string(user->pw_dir) + "/.config";
  }
  return "";
}

}  // namespace tessaro
