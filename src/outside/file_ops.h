#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "outside/status.h"

namespace tessaro {

// File attribute bits as the program files know them.
inline constexpr int kReadOnlyAttribute = 1;
inline constexpr int kHiddenAttribute = 2;
inline constexpr int kArchiveAttribute = 32;

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool IsWritableFolder(const std::string& path);

// Deletes a file. Fails with a message naming the file when it is still there.
Status RemoveFile(const std::string& path);

// Replaces the attribute bits of a file: kArchiveAttribute alone makes it writable
// and visible; kHiddenAttribute hides it. Read-only is the lack of write permission;
// without that bit the owner may write the file again. Hidden and archive are kept in
// the extended attribute "user.DOSATTRIB", where a file system has them. Failures are
// silent (a file that does not exist yet is left alone).
void SetFileAttributes(const std::string& path, int attributes);
bool IsHidden(const std::string& path);
bool IsReadOnly(const std::string& path);
Status SetReadOnly(const std::string& path, bool readOnly);

// Reads a whole file; the status names the file and the reason on failure.
struct FileContents {
  std::string text;
  Status status = Status::Ok();
};
FileContents ReadFileContents(const std::string& path);

// Replaces the contents of `path` atomically: the text goes to a temporary file in
// the same folder, is flushed to the disk and renamed over the target. A failure
// leaves the old file whole and removes the temporary file.
Status ReplaceFileContents(const std::string& path, std::string_view contents);

// The prefix of the temporary files ReplaceFileContents creates (for tests and for
// listings that must not mistake one for a program).
inline constexpr std::string_view kTemporaryFilePrefix = ".tessaro-";

// Full path of the running executable, or empty when unknown.
std::string ExecutablePath();

// The per-user configuration folder ($XDG_CONFIG_HOME or ~/.config).
std::string UserConfigFolder();

}  // namespace tessaro
