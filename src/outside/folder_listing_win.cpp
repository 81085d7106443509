#include <cwchar>
#include <optional>

#include "outside/folder_listing.h"
#include "outside/folder_reading.h"
#include "outside/windows_api.h"

namespace tessaro {

using folder_reading::EntryKind;

namespace {

struct Found {
  DWORD attributes;
  FILETIME written;
};

// What a link or other reparse point leads to; nullopt when it leads nowhere.
std::optional<Found> TargetOf(const std::string& path) {
  const HANDLE file = ::CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool read = ::GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  if (!read) return std::nullopt;
  return Found{info.dwFileAttributes, info.ftLastWriteTime};
}

// Calls `each` for every entry of `folder` but "." and ".."; the error text when the
// folder cannot be read.
template <typename Each>
std::optional<std::string> ForEachEntry(const std::string& folder, Each each) {
  WIN32_FIND_DATAW entry{};
  // "*" and never the caller's pattern: no match is then an empty folder, not an error.
  const HANDLE find =
      ::FindFirstFileExW(LongPath(WithSeparator(folder) + "*").c_str(), FindExInfoBasic, &entry,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // Only a drive's root lacks "." and "..": found empty, it must still be a folder.
    const DWORD attributes = ::GetFileAttributesW(LongPath(folder.empty() ? "." : folder).c_str());
    const bool empty = error == ERROR_FILE_NOT_FOUND && attributes != INVALID_FILE_ATTRIBUTES &&
                       (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (empty) return std::nullopt;
    return WindowsErrorText(error);
  }
  do {
    const std::wstring_view name = entry.cFileName;
    if (name != L"." && name != L"..") each(entry);
  } while (::FindNextFileW(find, &entry));
  const DWORD error = ::GetLastError();
  ::FindClose(find);
  if (error != ERROR_NO_MORE_FILES) return WindowsErrorText(error);
  return std::nullopt;
}

}  // namespace

FolderListing folder_reading::ReadEntries(const std::string& folder, EntryKind kind,
                                          const std::function<bool(std::string_view)>& wanted,
                                          bool readHidden) {
  FolderListing listing;
  const std::string prefix = WithSeparator(folder);
  const std::optional<std::string> error = ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
    std::string name = Narrow(entry.cFileName);
    if (name.empty() || name[0] == '.' || !wanted(name)) return;
    // The listing holds the stamp and the attributes; a link needs one look more.
    Found found{entry.dwFileAttributes, entry.ftLastWriteTime};
    if (found.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      const std::optional<Found> target = TargetOf(prefix + name);
      if (!target) return;
      found = *target;
    }
    const bool isFolder = (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (kind == EntryKind::kFile ? isFolder || (found.attributes & FILE_ATTRIBUTE_DEVICE) != 0
                                 : !isFolder) {
      return;
    }
    FileEntry file;
    file.name = std::move(name);
    file.stamp = FileClockTime(found.written);
    file.hidden = readHidden && (found.attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    listing.entries.push_back(std::move(file));
  });
  if (error) {
    listing.entries.clear();
    listing.error = ReadError(folder, *error);
  }
  return listing;
}

std::optional<std::vector<std::string>> ListNames(const std::string& folder) {
  std::vector<std::string> names;
  const auto each = [&](const WIN32_FIND_DATAW& entry) {
    names.push_back(Narrow(entry.cFileName));
  };
  if (ForEachEntry(folder, each)) return std::nullopt;
  return names;
}

std::vector<std::string> FileSystemRoots() {
  std::vector<wchar_t> drives(256);
  for (;;) {
    const DWORD size = ::GetLogicalDriveStringsW(static_cast<DWORD>(drives.size()), drives.data());
    if (size == 0) return {};
    if (size < drives.size()) break;
    drives.resize(size + 1);
  }
  // "C:\", NUL, "D:\", NUL, ..., NUL
  std::vector<std::string> roots;
  for (const wchar_t* drive = drives.data(); *drive != L'\0'; drive += wcslen(drive) + 1) {
    roots.push_back(Narrow(drive));
  }
  return roots;
}

}  // namespace tessaro
