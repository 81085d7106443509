#pragma once

#include <chrono>
#include <cstdint>
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

// Replaces the contents of `path` atomically: the text goes to a temporary file in
// the same folder, is flushed to the disk and renamed over the target. The new file
// gets `attributes` (see SetFileAttributes) when given, else the permissions and
// attributes of the file it replaces; they are set on the temporary file, so the old
// file is not touched before the rename. A failure leaves the old file whole, its
// attributes included, and removes the temporary file. A symbolic link at `path` is
// replaced by the new file; its target is not touched. A read-only file is replaced
// too. On Windows a file that another program holds open is waited for briefly.
Status ReplaceFileContents(const std::string& path, std::string_view contents,
                           std::optional<int> attributes = std::nullopt);

// The prefix of the temporary files ReplaceFileContents creates (for tests and for
// listings that must not mistake one for a program).
inline constexpr std::string_view kTemporaryFilePrefix = ".tessaro-";
// A temporary file is never this old while it is being written: an older one was
// left by a writer that was killed.
inline constexpr std::chrono::minutes kStaleTemporaryFileAge{15};

// Removes the temporary files of ReplaceFileContents in `folder` that were last
// written more than `age` ago; returns the paths removed.
std::vector<std::string> RemoveStaleTemporaryFiles(
    const std::string& folder, std::chrono::seconds age = kStaleTemporaryFileAge);

// Full path of the running executable, or empty when unknown.
std::string ExecutablePath();

// Tessaro's per-user configuration folder: tessaro in $XDG_CONFIG_HOME or ~/.config;
// on Windows %APPDATA%\Tessaro. Empty when unknown; it may not exist yet.
std::string UserConfigFolder();

}  // namespace tessaro
