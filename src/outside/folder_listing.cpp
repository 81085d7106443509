#include "outside/folder_listing.h"

#include <algorithm>
#include <compare>

#include "outside/folder_reading.h"

namespace tessaro {

namespace {

// As a byte from 0 to 255: names with letters beyond ASCII sort after the plain ones.
unsigned char LowerAscii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// '*' any run of characters, '?' any one character, all else without regard to case.
bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  size_t n = 0;
  size_t p = 0;
  size_t starPattern = std::string_view::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern.empty() || pattern == "*" || pattern == "*.*") return true;
  if (pattern == "*.") return name.find('.') == std::string_view::npos;
  return MatchesWildcard(name, pattern);
}

// Case-insensitive name order; names equal but for case fall back to byte order.
bool LessIgnoringCase(const FileEntry& a, const FileEntry& b) {
  const std::strong_ordering order = std::lexicographical_compare_three_way(
      a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
      [](char x, char y) { return LowerAscii(x) <=> LowerAscii(y); });
  return order != 0 ? order < 0 : a.name < b.name;
}

std::string BaseNameOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

FolderListing Ordered(FolderListing listing, folder_reading::EntryKind kind) {
  for (FileEntry& entry : listing.entries) {
    entry.baseName = kind == folder_reading::EntryKind::kFile ? BaseNameOf(entry.name) : entry.name;
  }
  std::sort(listing.entries.begin(), listing.entries.end(), LessIgnoringCase);
  return listing;
}

}  // namespace

std::string folder_reading::ReadError(const std::string& folder, const std::string& reason) {
  return "Cannot read the folder " + folder + ": " + reason;
}

FolderListing ListFolder(const std::string& folder, std::string_view pattern, HiddenFlag hidden) {
  using folder_reading::EntryKind;
  const auto matches = [pattern](std::string_view name) { return MatchesPattern(name, pattern); };
  return Ordered(
      folder_reading::ReadEntries(folder, EntryKind::kFile, matches, hidden == HiddenFlag::kRead),
      EntryKind::kFile);
}

FolderListing ListSubfolders(const std::string& folder) {
  using folder_reading::EntryKind;
  const auto any = [](std::string_view) { return true; };
  return Ordered(folder_reading::ReadEntries(folder, EntryKind::kFolder, any, false),
                 EntryKind::kFolder);
}

}  // namespace tessaro
