#include "outside/windows_api.h"

#include <cerrno>
#include <chrono>
#include <system_error>

namespace tessaro {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::wstring LongPath(std::string_view utf8) {
  const std::wstring path = Widen(utf8);
  constexpr std::wstring_view kMarked = L"\\\\?\\";
  if (path.empty() || path.starts_with(kMarked)) return path;
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;  // the call itself will say what is wrong with it
    const bool fits = length < full.size();
    full.resize(length);
    if (fits) break;
  }
  if (full.starts_with(L"\\\\.\\") || full.starts_with(kMarked)) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC" + full.substr(1);
  return std::wstring(kMarked) + full;
}

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  return folder + "\\";
}

std::string WindowsErrorText(unsigned long error) {
  const auto same = [](int code) { return std::generic_category().message(code); };
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return same(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return same(EACCES);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return same(ENOSPC);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return same(EEXIST);
    case ERROR_DIRECTORY:
      return same(ENOTDIR);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "the file is open in another program";
    default:
      break;
  }
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length > 0 ? Narrow(std::wstring_view(text, length)) : "";
  ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "Windows error " + std::to_string(error) : message;
}

namespace {
constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;
using FileTimeTicks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
}  // namespace

std::filesystem::file_time_type FileClockTime(const FILETIME& time) {
  const FileTimeTicks since1970(static_cast<std::int64_t>(Ticks(time)) - kTicksFrom1601To1970);
  return std::chrono::file_clock::from_sys(std::chrono::sys_time<FileTimeTicks>(since1970));
}

FILETIME FileTimeOf(std::filesystem::file_time_type time) {
  const auto since1970 = std::chrono::floor<FileTimeTicks>(std::chrono::file_clock::to_sys(time));
  const auto ticks =
      static_cast<std::uint64_t>(since1970.time_since_epoch().count() + kTicksFrom1601To1970);
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace tessaro
