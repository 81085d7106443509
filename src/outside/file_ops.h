#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outside/status.h"

namespace tessaro {

// File attribute bits as the program files know them.
inline constexpr int kReadOnlyAttribute = 1;
inline constexpr int kHiddenAttribute = 2;
inline constexpr int kArchiveAttribute = 32;

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool IsWritableFolder(const std::string& path);

// Deletes a file, a read-only one too (a link as a link). Fails with a message naming
// the file when it is still there.
Status RemoveFile(const std::string& path);

// Replaces the attribute bits of a file: kArchiveAttribute alone makes it writable
// and visible; kHiddenAttribute hides it. On Windows these are the file's own
// attributes. Elsewhere read-only is the lack of write permission; without that bit the
// owner may write the file again; hidden and archive are kept in the extended attribute
// "user.DOSATTRIB", where a file system has them. Failures are silent (a file that does
// not exist yet is left alone). A symbolic link (on Windows any reparse point) is never
// followed: its target keeps its permissions and attributes.
void SetFileAttributes(const std::string& path, int attributes);
bool IsHidden(const std::string& path);
bool IsReadOnly(const std::string& path);
Status SetReadOnly(const std::string& path, bool readOnly);

// No text file Tessaro reads whole (a program, the template, the settings file) comes
// near this size; a larger one is refused rather than read into memory.
inline constexpr std::uint64_t kMaxTextFileSize = 1024 * 1024;

// The UTF-8 byte-order mark that some editors put at the start of a text file; every
// reader skips it.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
inline size_t ByteOrderMarkLength(std::string_view text) {
  return text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark ? kUtf8ByteOrderMark.size()
                                                                         : 0;
}

// A file opened for reading in pieces, so that memory never grows with its size.
class FileReader {
 public:
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Open and no read has failed so far; otherwise the reason, naming the file.
  const Status& status() const { return status_; }
  std::uint64_t Size() const { return size_; }
  // Reads up to `capacity` bytes; 0 at the end of the file or after a failure.
  size_t Read(char* buffer, size_t capacity);

 private:
  std::string path_;
#ifdef _WIN32
  void* handle_ = nullptr;  // a HANDLE; windows.h stays out of our headers
#else
  int fd_ = -1;
#endif
  std::uint64_t size_ = 0;
  Status status_ = Status::Ok();
};

// Reads a whole file of at most `maxSize` bytes; the status names the file and the
// reason on failure (a larger file included).
struct FileContents {
  std::string text;
  Status status = Status::Ok();
};
FileContents ReadFileContents(const std::string& path, std::uint64_t maxSize = kMaxTextFileSize);
// The failure of a file larger than `maxSize`.
Status TooLargeFailure(const std::string& path, std::uint64_t maxSize);

// Several files replaced as one: every new text is written to a temporary file beside
// its target and flushed to the disk first (Stage); only then are they renamed into
// place, one after the other, and each folder is synced once (Commit). A stop or a full
// disk at any moment leaves all the old files or all the new ones, but for the instant
// of the renames themselves. What is staged and not committed is removed when the
// object goes.
//
// Each new file gets `attributes` (see SetFileAttributes) when given, else the
// permissions and attributes of the file it replaces; they are set on the temporary
// file, so the old file is not touched before the rename. A symbolic link at a target
// is replaced by the new file; its target is not touched. A read-only file is replaced
// too. On Windows a file that another program holds open is waited for briefly.
class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement() { Discard(); }
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  Status Stage(const std::string& path, std::string_view contents,
               std::optional<int> attributes = std::nullopt);

  struct Committed {
    std::size_t placed = 0;  // files renamed into place, in the order staged
    Status status = Status::Ok();
  };
  // On a failure the files not yet renamed keep their old contents.
  Committed Commit();
  void Discard();

 private:
  struct Staged {
    std::string path;
    std::string temporaryPath;
  };
  std::vector<Staged> staged_;
};

// One file replaced atomically through FileReplacement. A failure leaves the old file
// whole, its attributes included, and removes the temporary file.
Status ReplaceFileContents(const std::string& path, std::string_view contents,
                           std::optional<int> attributes = std::nullopt);

// The temporary files FileReplacement creates are named
// ".tessaro-" + the target's name (at most 100 bytes) + "." + process id + "." + counter.
inline constexpr std::string_view kTemporaryFilePrefix = ".tessaro-";
// True for a name of exactly that form, and for no other file.
bool IsTemporaryFileName(std::string_view name);
// A temporary file is never this old while it is being written: an older one was
// left by a writer that was killed.
inline constexpr std::chrono::minutes kStaleTemporaryFileAge{15};

// Removes the temporary files of FileReplacement in `folder` that were last written
// more than `age` ago; returns the paths removed. An empty `folder` names none.
std::vector<std::string> RemoveStaleTemporaryFiles(
    const std::string& folder, std::chrono::seconds age = kStaleTemporaryFileAge);

// What tells one version of a file from the next: its last-write stamp and its size.
struct FileVersion {
  std::filesystem::file_time_type stamp;
  std::uint64_t size = 0;
  bool operator==(const FileVersion&) const = default;
};
// nullopt when `path` is no file that can be looked at.
std::optional<FileVersion> VersionOf(const std::string& path);
// Sets a file's last-write stamp; false when it cannot be set.
bool SetModifiedStamp(const std::string& path, std::filesystem::file_time_type stamp);

// Which file system holds `folder` (the device on POSIX, the volume on Windows), so
// that a folder that was unmounted from under its path is told from the one that was
// there; nullopt when it cannot be read.
std::optional<std::uint64_t> FileSystemOf(const std::string& folder);

// Full path of the running executable, or empty when unknown.
std::string ExecutablePath();

// Tessaro's per-user configuration folder: tessaro in $XDG_CONFIG_HOME or ~/.config;
// on Windows %APPDATA%\Tessaro. Empty when unknown; it may not exist yet.
std::string UserConfigFolder();

}  // namespace tessaro
