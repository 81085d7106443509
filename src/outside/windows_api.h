#pragma once

// Windows only, and only for .cpp files: the Win32 declarations without the macros that
// would rename our own functions, and the UTF-8/UTF-16 crossing. Our code keeps UTF-8
// text; UTF-16 appears only in the arguments of the Win32 calls.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// windows.h maps these names to their W or A variants; ours must keep theirs.
#undef SetFileAttributes
#undef GetFileAttributes

namespace tessaro {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// `path` as every Win32 call that takes a path should be given it: made absolute as the
// call itself would read it (GetFullPathNameW: "/" turned into "\\", "." and ".." taken
// away), then marked "\\?\" ("\\?\UNC\" for a share), which lifts the limit of MAX_PATH
// (260 characters). A device ("\\.\") and a path already marked are left as they are.
std::wstring LongPath(std::string_view utf8);

// The reason for a Win32 error code, in the words the other platforms use where they
// have the same failure ("No such file or directory", "Permission denied").
std::string WindowsErrorText(unsigned long error);

// `folder` ready for a name to be appended: with a separator at its end unless empty.
std::string WithSeparator(const std::string& folder);

// A FILETIME as one number: 100 ns steps since 1601.
inline std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// A FILETIME on the clock of std::filesystem, and back.
std::filesystem::file_time_type FileClockTime(const FILETIME& time);
FILETIME FileTimeOf(std::filesystem::file_time_type time);

}  // namespace tessaro
