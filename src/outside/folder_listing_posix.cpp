#include "outside/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <system_error>

#include "outside/file_ops.h"
#include "outside/folder_reading.h"

namespace tessaro {

using folder_reading::EntryKind;

namespace {

FileStamp StampOf(const struct stat& info) {
  const auto since =
      std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec);
  return std::chrono::file_clock::from_sys(std::chrono::sys_time<std::chrono::nanoseconds>(since));
}

std::string ReadFailure(const std::string& folder, int error) {
  return folder_reading::ReadError(folder, std::generic_category().message(error));
}

}  // namespace

// The stat of a file is skipped when its kind is known from the directory entry and
// nothing else is needed.
FolderListing folder_reading::ReadEntries(const std::string& folder, EntryKind kind,
                                          const std::function<bool(std::string_view)>& wanted,
                                          bool readHidden) {
  FolderListing listing;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) {
    listing.error = ReadFailure(folder, errno);
    return listing;
  }
  const int dirFd = ::dirfd(dir);
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      if (errno != 0) listing.error = ReadFailure(folder, errno);
      break;
    }
    const std::string_view name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    if (!wanted(name)) continue;
    const unsigned char type = entry->d_type;
    if (kind == EntryKind::kFile && (type == DT_DIR || type == DT_FIFO || type == DT_SOCK ||
                                     type == DT_CHR || type == DT_BLK)) {
      continue;
    }
    if (kind == EntryKind::kFolder && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN) {
      continue;
    }
    struct stat info {};
    if (::fstatat(dirFd, entry->d_name, &info, 0) != 0) {
      // Gone since the directory was read, or a link to nowhere.
      if (errno == ENOENT || errno == ELOOP) continue;
      listing.error = ReadFailure(folder, errno);
      break;
    }
    if (kind == EntryKind::kFile ? !S_ISREG(info.st_mode) : !S_ISDIR(info.st_mode)) continue;
    FileEntry file;
    file.name = std::string(name);
    file.stamp = StampOf(info);
    if (readHidden) file.hidden = IsHidden(prefix + file.name);
    listing.entries.push_back(std::move(file));
  }
  ::closedir(dir);
  if (!listing.ok()) listing.entries.clear();
  return listing;
}

namespace {

// Undoes the octal escapes of a mount point (\040 for a blank).
std::string UnescapeMountField(std::string_view field) {
  std::string result;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string_view::npos) {
        result +=
            static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    result += field[i];
  }
  return result;
}

bool IsBelow(std::string_view path, std::string_view folder) {
  return path == folder || (path.size() > folder.size() &&
                            path.substr(0, folder.size()) == folder && path[folder.size()] == '/');
}

// Mounts that hold the operator's files: disks, removable media and network shares,
// not the kernel's and the system's own file systems.
bool IsStorageMount(std::string_view source, std::string_view type, std::string_view point) {
  if (IsBelow(point, "/run/media") || IsBelow(point, "/media") || IsBelow(point, "/mnt")) {
    return true;
  }
  for (std::string_view system : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap"}) {
    if (IsBelow(point, system)) return false;
  }
  if (!source.empty() && source[0] == '/') return true;  // a block device
  for (std::string_view network : {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "virtiofs"}) {
    if (type == network) return true;
  }
  return type.substr(0, 5) == "fuse.";
}

}  // namespace

std::optional<std::vector<std::string>> ListNames(const std::string& folder) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) break;
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  const int error = errno;
  ::closedir(dir);
  if (error != 0) return std::nullopt;
  return names;
}

std::vector<std::string> FileSystemRoots() {
  std::vector<std::string> roots = {"/"};
  std::ifstream mounts("/proc/self/mounts");
  std::string source;
  std::string point;
  std::string type;
  std::string rest;
  while (mounts >> source >> point >> type && std::getline(mounts, rest)) {
    const std::string path = UnescapeMountField(point);
    if (path == "/" || !IsStorageMount(source, type, path)) continue;
    if (std::find(roots.begin(), roots.end(), path) == roots.end()) roots.push_back(path);
  }
  std::sort(roots.begin() + 1, roots.end());
  return roots;
}

}  // namespace tessaro
