#include <string>

#include "outside/folder_lock.h"
#include "outside/windows_api.h"

namespace tessaro {

namespace {

// The byte locked lies far past the text, so that others can still read who holds it
// (a Windows lock keeps others from reading the bytes it covers).
constexpr DWORD kLockedByte = 1u << 30;

std::string HostName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &size)) return "";
  return Narrow(std::wstring_view(name, size));
}

std::string ReadAll(HANDLE file) {
  std::string text(4096, '\0');
  OVERLAPPED from{};
  DWORD count = 0;
  if (!::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &count, &from)) count = 0;
  text.resize(count);
  return text;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
  const std::string path = WithSeparator(folder) + std::string(kLockFileName);
  const HANDLE file = ::CreateFileW(LongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    detail_ = "cannot lock " + path + ": " + WindowsErrorText(::GetLastError());
    return;
  }
  OVERLAPPED at{};
  at.Offset = kLockedByte;
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
      state_ = State::kHeldElsewhere;
      detail_ = LockHolderText(ReadAll(file));
    } else {
      detail_ = "cannot lock " + path + ": " + WindowsErrorText(error);
    }
    ::CloseHandle(file);
    return;
  }
  handle_ = file;
  state_ = State::kHeld;
  const std::string holder = std::to_string(::GetCurrentProcessId()) + " " + HostName() + "\r\n";
  DWORD written = 0;
  if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && ::SetEndOfFile(file)) {
    ::WriteFile(file, holder.data(), static_cast<DWORD>(holder.size()), &written, nullptr);
  }
}

FolderLock::~FolderLock() {
  if (handle_ != nullptr) ::CloseHandle(static_cast<HANDLE>(handle_));
}

}  // namespace tessaro
