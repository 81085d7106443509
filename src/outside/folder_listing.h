#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

using FileStamp = std::filesystem::file_time_type;

// One regular file of a folder listing.
struct FileEntry {
  std::string name;      // file name with extension, "PART1.RCM"
  std::string baseName;  // name without its last extension, "PART1"
  FileStamp stamp;       // last modification time at the file system's resolution
  bool hidden = false;   // only filled when the listing was asked to read it
};

struct FolderListing {
  std::vector<FileEntry> entries;  // ordered by name without regard to letter case
  std::string error;               // set when the folder could not be read
  bool ok() const { return error.empty(); }
};

enum class HiddenFlag { kSkip, kRead };

// Lists the regular files of `folder` that match `pattern`: "*" every file, "*."
// files without any ".", "*.EXT" files with that extension in any letter case.
// Names beginning with "." are left out. A folder that cannot be read (gone,
// unmounted, no permission) gives an error, never an empty listing.
FolderListing ListFolder(const std::string& folder, std::string_view pattern,
                         HiddenFlag hidden = HiddenFlag::kSkip);

// The names of every entry of `folder`, of any kind, in the order the file system
// gives them, without a look at the files themselves; nullopt when the folder cannot
// be read.
std::optional<std::vector<std::string>> ListNames(const std::string& folder);

// The subfolders of `folder`, by name without regard to letter case; empty when
// the folder cannot be read (ok() then false).
FolderListing ListSubfolders(const std::string& folder);

// The roots of the mounted file systems, for the drive list of the folder dialog.
std::vector<std::string> FileSystemRoots();

}  // namespace tessaro
