#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaro {

// Our paths are UTF-8 text. std::filesystem reads a plain string in the C library's
// locale, which on Windows is not UTF-8, so every path crosses over through these two.
inline std::filesystem::path FileSystemPath(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tessaro
