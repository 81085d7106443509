#include "outside/file_ops.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "outside/staged_file.h"
#include "outside/windows_api.h"

namespace tessaro {

namespace {

// The bits a program file's attribute value sets; the others a file keeps.
constexpr DWORD kProgramBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// The boring machine's PC may hold a program open for a moment: this long at most
// is waited for it.
constexpr int kInUseRetries = 20;
constexpr DWORD kInUsePauseMs = 50;

Status Failure(const std::string& action, const std::string& path, DWORD error) {
  return Status::Failed(action + " " + path + ": " + WindowsErrorText(error));
}

DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool Exists(DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES; }

// A file itself: no folder, no device, and no link or other reparse point.
bool IsPlainFile(DWORD attributes) {
  return Exists(attributes) &&
         (attributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool WriteAttributes(const std::wstring& path, DWORD attributes) {
  return ::SetFileAttributesW(path.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) !=
         0;
}

bool InUse(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Calls `attempt` until it succeeds or fails for another reason than a file in use
// (`alsoDenied`: or access denied, which Windows gives for a file held open as well);
// GetLastError() then holds the last reason.
bool RetryWhileInUse(const std::function<bool()>& attempt, bool alsoDenied) {
  for (int retry = 0;; ++retry) {
    if (attempt()) return true;
    const DWORD error = ::GetLastError();
    if (retry == kInUseRetries || !(InUse(error) || (alsoDenied && error == ERROR_ACCESS_DENIED))) {
      ::SetLastError(error);
      return false;
    }
    ::Sleep(kInUsePauseMs);
  }
}

// Deletes a file; a read-only one loses that mark first and gets it back when the
// deletion still fails. A missing file counts as deleted.
DWORD DeleteFileAnyway(const std::wstring& path) {
  const auto attempt = [&] { return ::DeleteFileW(path.c_str()) != 0; };
  if (RetryWhileInUse(attempt, false)) return ERROR_SUCCESS;
  DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ERROR_SUCCESS;
  const DWORD attributes = AttributesOf(path);
  if (error != ERROR_ACCESS_DENIED || !IsPlainFile(attributes) ||
      (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
    return error;
  }
  WriteAttributes(path, attributes & ~FILE_ATTRIBUTE_READONLY);
  if (RetryWhileInUse(attempt, false)) return ERROR_SUCCESS;
  error = ::GetLastError();
  WriteAttributes(path, attributes);
  return error;
}

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    if (!valid()) return true;
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view text) {
  while (!text.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(text.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, text.data(), piece, &written, nullptr)) return false;
    text.remove_prefix(written);
  }
  return true;
}

// Where the name of `path` begins: after its last separator, or after a drive "C:".
size_t NameStart(const std::string& path) {
  const size_t separator = path.find_last_of("/\\");
  if (separator != std::string::npos) return separator + 1;
  return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

struct OpenTemporaryFile {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::string path;
};

// Creates a new temporary file beside `path` with the attributes `attributes`; its
// name starts with kTemporaryFilePrefix. The handle may write it, read-only or not.
OpenTemporaryFile CreateTemporaryFile(const std::string& path, DWORD attributes) {
  static std::atomic<unsigned> counter{0};
  const size_t nameStart = NameStart(path);
  std::string name = path.substr(nameStart);
  if (name.size() > 100) name.resize(100);  // stay well inside the name length limit
  OpenTemporaryFile file;
  for (int attempt = 0; attempt < 100; ++attempt) {
    file.path = path.substr(0, nameStart) + std::string(kTemporaryFilePrefix) + name + "." +
                std::to_string(::GetCurrentProcessId()) + "." + std::to_string(counter++);
    file.handle = ::CreateFileW(LongPath(file.path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes, nullptr);
    if (file.handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  return file;
}

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(LongPath(path));
  return Exists(attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = AttributesOf(LongPath(path));
  return Exists(attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder's read-only attribute says nothing about its files; its access rights do.
bool IsWritableFolder(const std::string& path) {
  if (!FolderExists(path)) return false;
  const Handle folder(::CreateFileW(LongPath(path).c_str(), FILE_ADD_FILE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return folder.valid();
}

Status RemoveFile(const std::string& path) {
  const DWORD error = DeleteFileAnyway(LongPath(path));
  return error == ERROR_SUCCESS ? Status::Ok() : Failure("Cannot delete", path, error);
}

void SetFileAttributes(const std::string& path, int attributes) {
  const std::wstring wide = LongPath(path);
  const DWORD old = AttributesOf(wide);
  if (!IsPlainFile(old)) return;
  WriteAttributes(wide, (old & ~kProgramBits) | (static_cast<DWORD>(attributes) & kProgramBits));
}

bool IsHidden(const std::string& path) {
  const DWORD attributes = AttributesOf(LongPath(path));
  return Exists(attributes) && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool IsReadOnly(const std::string& path) {
  const DWORD attributes = AttributesOf(LongPath(path));
  return Exists(attributes) && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

Status SetReadOnly(const std::string& path, bool readOnly) {
  const std::wstring wide = LongPath(path);
  const DWORD old = AttributesOf(wide);
  if (!Exists(old)) return Failure("Cannot change", path, ::GetLastError());
  const DWORD attributes =
      readOnly ? old | FILE_ATTRIBUTE_READONLY : old & ~DWORD{FILE_ATTRIBUTE_READONLY};
  if (!WriteAttributes(wide, attributes)) return Failure("Cannot change", path, ::GetLastError());
  return Status::Ok();
}

FileReader::FileReader(const std::string& path) : path_(path) {
  const std::wstring wide = LongPath(path);
  // Others may go on reading, writing, renaming and deleting the file meanwhile.
  const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    const DWORD attributes = AttributesOf(wide);
    status_ =
        Exists(attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ? Status::Failed("Cannot read " + path + ": " + std::generic_category().message(EISDIR))
            : Failure("Cannot read", path, error);
    return;
  }
  handle_ = file;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) {
    status_ = Failure("Cannot read", path, ::GetLastError());
  } else if (size.QuadPart > 0) {
    size_ = static_cast<std::uint64_t>(size.QuadPart);
  }
}

FileReader::~FileReader() {
  if (handle_ != nullptr) ::CloseHandle(static_cast<HANDLE>(handle_));
}

size_t FileReader::Read(char* buffer, size_t capacity) {
  if (!status_.ok()) return 0;
  DWORD count = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<size_t>(capacity, 1u << 30));
  if (!::ReadFile(static_cast<HANDLE>(handle_), buffer, wanted, &count, nullptr)) {
    status_ = Failure("Cannot read", path_, ::GetLastError());
    return 0;
  }
  return count;
}

namespace staging {

TemporaryFile WriteTemporaryFile(const std::string& path, std::string_view contents,
                                 std::optional<int> attributes) {
  // A link or other reparse point is replaced, not written through: it lends nothing.
  const DWORD old = AttributesOf(LongPath(path));
  // A folder in the file's place would refuse the rename: it is found before anything
  // of the replacement is placed.
  if (Exists(old) && (old & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {"", Failure("Cannot write", path, ERROR_ACCESS_DENIED)};
  }
  const DWORD newAttributes = attributes         ? static_cast<DWORD>(*attributes) & kProgramBits
                              : IsPlainFile(old) ? old & kProgramBits
                                                 : 0;
  OpenTemporaryFile temporary = CreateTemporaryFile(path, newAttributes);
  Handle file(temporary.handle);
  if (!file.valid()) return {"", Failure("Cannot write", path, ::GetLastError())};

  const auto fail = [&](DWORD error) {
    file.Close();
    DeleteFileAnyway(LongPath(temporary.path));
    return staging::TemporaryFile{"", Failure("Cannot write", path, error)};
  };
  if (!WriteAll(file.get(), contents)) return fail(::GetLastError());
  if (!::FlushFileBuffers(file.get())) return fail(::GetLastError());
  if (!file.Close()) return fail(::GetLastError());
  return {temporary.path, Status::Ok()};
}

Status PlaceTemporaryFile(const std::string& temporaryPath, const std::string& path) {
  const std::wstring source = LongPath(temporaryPath);
  const std::wstring target = LongPath(path);
  const DWORD old = AttributesOf(target);
  // Windows refuses to replace a read-only file: the mark is lifted for the rename
  // and put back when the rename fails.
  const bool liftReadOnly = IsPlainFile(old) && (old & FILE_ATTRIBUTE_READONLY) != 0;
  if (liftReadOnly) WriteAttributes(target, old & ~DWORD{FILE_ATTRIBUTE_READONLY});
  const bool overFolder = Exists(old) && (old & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const bool moved = RetryWhileInUse(
      [&] {
        return ::MoveFileExW(source.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      },
      !overFolder);
  if (moved) return Status::Ok();
  const DWORD error = ::GetLastError();
  if (liftReadOnly) WriteAttributes(target, old);
  DeleteFileAnyway(source);
  return Failure("Cannot write", path, error);
}

void RemoveTemporaryFile(const std::string& temporaryPath) {
  DeleteFileAnyway(LongPath(temporaryPath));
}

// Each rename is written through already.
void SyncFolderOf(const std::string&) {}

}  // namespace staging

std::vector<std::string> RemoveStaleTemporaryFiles(const std::string& folder,
                                                   std::chrono::seconds age) {
  std::vector<std::string> removed;
  if (folder.empty()) return removed;
  const std::string prefix = WithSeparator(folder);
  WIN32_FIND_DATAW entry{};
  const HANDLE find = ::FindFirstFileExW(LongPath(prefix + "*").c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return removed;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const auto ageTicks = static_cast<std::uint64_t>(age.count()) * 10'000'000u;  // of 100 ns
  do {
    const std::string name = Narrow(entry.cFileName);
    if (!IsTemporaryFileName(name) || !IsPlainFile(entry.dwFileAttributes)) continue;
    const std::uint64_t written = Ticks(entry.ftLastWriteTime);
    if (Ticks(now) < written || Ticks(now) - written <= ageTicks) continue;
    const std::string path = prefix + name;
    if (DeleteFileAnyway(LongPath(path)) == ERROR_SUCCESS) removed.push_back(path);
  } while (::FindNextFileW(find, &entry));
  ::FindClose(find);
  return removed;
}

std::optional<std::uint64_t> FileSystemOf(const std::string& folder) {
  const Handle handle(::CreateFileW(LongPath(folder).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return std::nullopt;
  }
  return information.dwVolumeSerialNumber;
}

// As std::filesystem reads them, through a link to its target.
std::optional<FileVersion> VersionOf(const std::string& path) {
  const Handle file(::CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return FileVersion{
      FileClockTime(information.ftLastWriteTime),
      (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow};
}

bool SetModifiedStamp(const std::string& path, std::filesystem::file_time_type stamp) {
  const Handle file(::CreateFileW(LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const FILETIME time = FileTimeOf(stamp);
  return file.valid() && ::SetFileTime(file.get(), nullptr, nullptr, &time) != 0;
}

std::string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD size =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (size == 0) return "";
    if (size < buffer.size()) return Narrow(std::wstring_view(buffer.data(), size));
    buffer.resize(buffer.size() * 2);
  }
}

std::string UserConfigFolder() {
  const DWORD size = ::GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (size <= 1) return "";
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(L"APPDATA", value.data(), size));
  const std::string folder = Narrow(value);
  const bool absolute = (folder.size() >= 3 && folder[1] == ':') || folder.rfind("\\\\", 0) == 0;
  if (!absolute) return "";
  return folder + (folder.back() == '\\' || folder.back() == '/' ? "" : "\\") + "Tessaro";
}

}  // namespace tessaro
