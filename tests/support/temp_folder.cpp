#include "support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "outside/path_text.h"

#ifdef _WIN32
#include "outside/windows_api.h"
#else
#include <sys/mount.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstring>
#endif

namespace tessaro::testing {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

}  // namespace

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path folder =
        fs::temp_directory_path() / ("tessaro-test-" + std::to_string(random()));
    if (fs::create_directory(folder)) path_ = Utf8Text(folder);
  }
  if (path_.empty()) throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Give back write permission so that read-only files and folders can go.
  for (auto it = fs::recursive_directory_iterator(FileSystemPath(path_), ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(FileSystemPath(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(FileSystemPath(path_), ignored);
}

std::string TempFolder::PathWithSeparator() const { return path_ + kSeparator; }

// The separators of `name` are the platform's, as the paths the programs build.
std::string TempFolder::File(std::string_view name) const {
  std::string file = path_ + kSeparator + std::string(name);
  std::replace(file.begin() + static_cast<std::ptrdiff_t>(path_.size()), file.end(), '/',
               kSeparator);
  return file;
}

std::string TempFolder::Write(std::string_view name, std::string_view contents) const {
  const fs::path file = FileSystemPath(File(name));
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) throw std::runtime_error("cannot write " + File(name));
  return File(name);
}

std::string TempFolder::Read(std::string_view name) const {
  std::ifstream in(FileSystemPath(File(name)), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool TempFolder::Exists(std::string_view name) const {
  return fs::exists(FileSystemPath(File(name)));
}

std::string TempFolder::MakeFolder(std::string_view name) const {
  const std::string folder = File(name);
  fs::create_directories(FileSystemPath(folder));
  return folder;
}

std::vector<std::string> TempFolder::List(std::string_view name) const {
  std::vector<std::string> names;
  for (const auto& entry :
       fs::directory_iterator(FileSystemPath(name.empty() ? path_ : File(name)))) {
    names.push_back(Utf8Text(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void TempFolder::SetModifiedSeconds(std::string_view name, long long seconds,
                                    long nanoseconds) const {
#ifdef _WIN32
  // std::filesystem sets whole seconds only on Windows; FILETIME counts 100 ns from 1601.
  const long long ticks = (seconds + 11'644'473'600LL) * 10'000'000 + nanoseconds / 100;
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const HANDLE file =
      ::CreateFileW(Widen(File(name)).c_str(), FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  const bool set = file != INVALID_HANDLE_VALUE && ::SetFileTime(file, nullptr, &time, &time);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
#else
  const auto since = std::chrono::seconds(seconds) + std::chrono::nanoseconds(nanoseconds);
  std::error_code error;
  fs::last_write_time(
      FileSystemPath(File(name)),
      std::chrono::file_clock::from_sys(std::chrono::sys_time<std::chrono::nanoseconds>(since)),
      error);
  const bool set = !error;
#endif
  if (!set) throw std::runtime_error("cannot set the time of " + File(name));
}

bool MakeSymlink(const std::string& target, const std::string& link) {
#ifdef _WIN32
  const bool folder = fs::is_directory(FileSystemPath(target));
  ::CreateSymbolicLinkW(
      Widen(link).c_str(), Widen(target).c_str(),
      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0));
  const DWORD attributes = ::GetFileAttributesW(Widen(link).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
  std::error_code error;
  fs::create_symlink(FileSystemPath(target), FileSystemPath(link), error);
  return !error;
#endif
}

bool KeepsHiddenFlag(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return true;
#else
  return ::setxattr(path.c_str(), "user.probe", "1", 1, 0) == 0;
#endif
}

#ifndef _WIN32
TmpfsMount::TmpfsMount(const std::string& folder, std::string_view size, bool readOnly)
    : folder_(folder) {
  const std::string options = "size=" + std::string(size);
  mounted_ =
      ::mount("tmpfs", folder.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, options.c_str()) == 0;
  if (!mounted_) why_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
}

void TmpfsMount::Unmount() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  mounted_ = false;
}
#endif

}  // namespace tessaro::testing
