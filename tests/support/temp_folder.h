#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro::testing {

// A fresh folder below the system's temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }  // without a trailing separator
  std::string PathWithSeparator() const;
  std::string File(std::string_view name) const;  // path of a file in the folder

  // Creates (or overwrites) a file, and any folders on its way; returns its path.
  std::string Write(std::string_view name, std::string_view contents) const;
  std::string Read(std::string_view name) const;  // "" when missing
  bool Exists(std::string_view name) const;
  std::string MakeFolder(std::string_view name) const;

  // The names in a folder of this one ("" for itself), sorted.
  std::vector<std::string> List(std::string_view name = "") const;

  // Sets a file's modification time, as seconds since the epoch plus nanoseconds.
  void SetModifiedSeconds(std::string_view name, long long seconds, long nanoseconds = 0) const;

 private:
  std::string path_;
};

// Makes `link` a symbolic link to `target`; false where none can be made (Wine
// reports success and makes none).
bool MakeSymlink(const std::string& target, const std::string& link);

#ifndef _WIN32
// A small tmpfs on a folder while the object lives (or until Unmount): a real file
// system that fills up, or that can be taken away from under a folder. Only root
// may mount; `why` says what kept it from mounting.
class TmpfsMount {
 public:
  TmpfsMount(const std::string& folder, std::string_view size, bool readOnly = false);
  ~TmpfsMount() { Unmount(); }
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }
  void Unmount();

 private:
  std::string folder_;
  bool mounted_ = false;
  std::string why_;
};
#endif

// Whether the file system of `path` keeps a hidden flag (off Windows, in an extended
// attribute).
bool KeepsHiddenFlag(const std::string& path);

}  // namespace tessaro::testing
