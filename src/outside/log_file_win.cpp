#include "outside/log_file.h"

#include <ctime>

#include "outside/windows_api.h"

namespace tessaro {

namespace {

Status Failure(const std::string& action, const std::string& path, DWORD error) {
  return Status::Failed(action + " " + path + ": " + WindowsErrorText(error));
}

}  // namespace

Status AppendToFile(const std::string& path, std::string_view text) {
  // Append-only access: every write goes to the end, also when two processes write.
  const HANDLE file =
      ::CreateFileW(LongPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Failure("Cannot write", path, ::GetLastError());
  DWORD written = 0;
  const bool whole =
      ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
      written == text.size();
  const DWORD error = whole ? ERROR_SUCCESS : ::GetLastError();
  ::CloseHandle(file);
  return whole ? Status::Ok() : Failure("Cannot write", path, error == 0 ? ERROR_DISK_FULL : error);
}

std::uint64_t FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Status RenameFile(const std::string& from, const std::string& to) {
  if (::MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return Status::Ok();
  }
  return Failure("Cannot rename", from + " to " + to, ::GetLastError());
}

std::string LocalTimeText(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm local{};
  ::localtime_s(&local, &seconds);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

}  // namespace tessaro
