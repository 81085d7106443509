#include "outside/folder_lock.h"

namespace tessaro {

std::string LockHolderText(std::string_view lockFileText) {
  const size_t end = lockFileText.find_first_of("\r\n");
  const std::string_view line = lockFileText.substr(0, end);
  const size_t blank = line.find(' ');
  const std::string_view process = line.substr(0, blank);
  const std::string_view host =
      blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
  if (process.empty()) return "another process";
  std::string text = "process " + std::string(process);
  if (!host.empty()) text += " on " + std::string(host);
  return text;
}

}  // namespace tessaro
