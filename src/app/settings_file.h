#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

// The settings file, an INI file of sections and key=value lines. Nothing is cached:
// every read reads the file and every write replaces it at once (atomically).
// Section and key names match without regard to letter case; lines the program does
// not know are kept as they are.
class SettingsFile {
 public:
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // The stored value with blanks removed at both ends; "" when the file, section or
  // key is missing, the value is empty, or the value is "END.-". Never fails. A value
  // that is not UTF-8 was written in the system's code page by an older Windows program
  // and is read in it there (FromSystemCodePage); elsewhere its bytes are kept as they
  // are, as a file name of those bytes is what it names.
  std::string ReadSetting(std::string_view section, std::string_view key) const;
  // The line of the key, counted from 1; nullopt when it is not there.
  std::optional<int> LineOf(std::string_view section, std::string_view key) const;

  // Replaces an existing key's line in place, adds a new key at the end of its
  // section, a new section at the end of the file, and creates a missing file. The
  // value is written as given (UTF-8); every other line is kept byte for byte.
  // A failed write is silent and leaves the old file whole.
  void WriteSetting(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::string path_;
};

}  // namespace tessaro
