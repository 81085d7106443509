#include "outside/file_ops.h"

#include <dirent.h>
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
#include "outside/path_text.h"
#include "outside/staged_file.h"

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

// The file itself, not the target of a symbolic link.
bool StatEntry(const std::string& path, struct stat& info) {
  return ::lstat(path.c_str(), &info) == 0;
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
  if (!StatEntry(path, info) || !S_ISREG(info.st_mode)) return;
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

FileReader::FileReader(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    status_ = Failure("Cannot read", path, errno);
    return;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    status_ = Failure("Cannot read", path, errno);
  } else if (S_ISDIR(info.st_mode)) {
    status_ = Failure("Cannot read", path, EISDIR);
  } else if (info.st_size > 0) {
    size_ = static_cast<std::uint64_t>(info.st_size);
  }
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

size_t FileReader::Read(char* buffer, size_t capacity) {
  if (!status_.ok()) return 0;
  for (;;) {
    const ssize_t count = ::read(fd_, buffer, capacity);
    if (count >= 0) return static_cast<size_t>(count);
    if (errno == EINTR) continue;
    status_ = Failure("Cannot read", path_, errno);
    return 0;
  }
}

namespace staging {

TemporaryFile WriteTemporaryFile(const std::string& path, std::string_view contents,
                                 std::optional<int> attributes) {
  // A folder in the file's place would refuse the rename: it is found before anything
  // of the replacement is placed.
  struct stat old {};
  const bool exists = StatEntry(path, old);
  if (exists && S_ISDIR(old.st_mode)) return {"", Failure("Cannot write", path, EISDIR)};
  std::string temporaryPath;
  Descriptor fd(CreateTemporaryFile(path, temporaryPath));
  if (!fd.valid()) return {"", Failure("Cannot write", path, errno)};

  auto fail = [&](int error) {
    fd.Close();
    ::unlink(temporaryPath.c_str());
    return TemporaryFile{"", Failure("Cannot write", path, error)};
  };

  // A symbolic link is replaced, not written through: its target lends nothing.
  const bool replacesFile = exists && S_ISREG(old.st_mode);
  if (attributes) {
    // A new program gets the permissions the process gives new files.
    struct stat created {};
    if (!replacesFile && ::fstat(fd.get(), &created) != 0) return fail(errno);
    const mode_t mode = (replacesFile ? old.st_mode : created.st_mode) & 07777;
    const std::string text = FormatDosAttributes(*attributes & ~kReadOnlyAttribute);
    ::fsetxattr(fd.get(), kAttributeName, text.data(), text.size(), 0);
    ::fchmod(fd.get(), (*attributes & kReadOnlyAttribute) ? mode & ~kAnyWrite : mode | S_IWUSR);
  } else if (replacesFile) {
    // The attributes first: a read-only mode would refuse them.
    if (const std::optional<std::string> kept = ReadAttributeValue(path)) {
      ::fsetxattr(fd.get(), kAttributeName, kept->data(), kept->size(), 0);
    }
    ::fchmod(fd.get(), old.st_mode & 07777);
  }

  if (!WriteAll(fd.get(), contents)) return fail(errno);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (fd.Close() != 0) return fail(errno);
  return {temporaryPath, Status::Ok()};
}

Status PlaceTemporaryFile(const std::string& temporaryPath, const std::string& path) {
  if (::rename(temporaryPath.c_str(), path.c_str()) == 0) return Status::Ok();
  const int error = errno;
  ::unlink(temporaryPath.c_str());
  return Failure("Cannot write", path, error);
}

void RemoveTemporaryFile(const std::string& temporaryPath) { ::unlink(temporaryPath.c_str()); }

void SyncFolderOf(const std::string& path) {
  const Descriptor fd(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) ::fsync(fd.get());
}

}  // namespace staging

std::vector<std::string> RemoveStaleTemporaryFiles(const std::string& folder,
                                                   std::chrono::seconds age) {
  std::vector<std::string> removed;
  if (folder.empty()) return removed;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return removed;
  const std::string prefix = folder.back() == '/' ? folder : folder + "/";
  const auto now = std::chrono::system_clock::now();
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!IsTemporaryFileName(name)) continue;
    struct stat info {};
    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode)) {
      continue;
    }
    const auto written = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
    if (now - written <= age) continue;
    const std::string path = prefix + std::string(name);
    if (::unlink(path.c_str()) == 0) removed.push_back(path);
  }
  ::closedir(dir);
  return removed;
}

std::optional<std::uint64_t> FileSystemOf(const std::string& folder) {
  struct stat info {};
  if (!StatPath(folder, info) || !S_ISDIR(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_dev);
}

std::optional<FileVersion> VersionOf(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file = FileSystemPath(path);
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (error || !std::filesystem::is_regular_file(status)) return std::nullopt;
  FileVersion version;
  version.stamp = std::filesystem::last_write_time(file, error);
  if (error) return std::nullopt;
  version.size = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  return version;
}

bool SetModifiedStamp(const std::string& path, std::filesystem::file_time_type stamp) {
  std::error_code error;
  std::filesystem::last_write_time(FileSystemPath(path), stamp, error);
  return !error;
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
  if (config != nullptr && config[0] == '/') return std::string(config) + "/tessaro";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/tessaro";
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return std::string(user->pw_dir) + "/.config/tessaro";
  }
  return "";
}

}  // namespace tessaro
