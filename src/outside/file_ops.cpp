#include "outside/file_ops.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <string>

#include "outside/staged_file.h"

namespace tessaro {

Status TooLargeFailure(const std::string& path, std::uint64_t maxSize) {
  constexpr std::uint64_t kMiB = 1024 * 1024;
  const std::string limit = maxSize % kMiB == 0 ? std::to_string(maxSize / kMiB) + " MiB"
                                                : std::to_string(maxSize) + " bytes";
  return Status::Failed("Cannot read " + path + ": the file is larger than " + limit);
}

FileContents ReadFileContents(const std::string& path, std::uint64_t maxSize) {
  FileContents contents;
  FileReader reader(path);
  if (reader.status().ok() && reader.Size() > maxSize) {
    contents.status = TooLargeFailure(path, maxSize);
    return contents;
  }
  contents.text.reserve(static_cast<size_t>(reader.Size()));
  char buffer[65536];
  while (const size_t count = reader.Read(buffer, sizeof buffer)) {
    // The file may have grown since it was opened.
    if (contents.text.size() + count > maxSize) {
      contents.status = TooLargeFailure(path, maxSize);
      contents.text.clear();
      return contents;
    }
    contents.text.append(buffer, count);
  }
  if (!reader.status().ok()) {
    contents.status = reader.status();
    contents.text.clear();
  }
  return contents;
}

Status FileReplacement::Stage(const std::string& path, std::string_view contents,
                              std::optional<int> attributes) {
  staging::TemporaryFile temporary = staging::WriteTemporaryFile(path, contents, attributes);
  if (!temporary.status.ok()) return temporary.status;
  staged_.push_back({path, std::move(temporary.path)});
  return Status::Ok();
}

FileReplacement::Committed FileReplacement::Commit() {
  Committed committed;
  std::map<std::string, std::string> folders;  // one file placed in each folder
  for (const Staged& file : staged_) {
    committed.status = staging::PlaceTemporaryFile(file.temporaryPath, file.path);
    if (!committed.status.ok()) break;
    ++committed.placed;
    folders.emplace(file.path.substr(0, file.path.find_last_of("/\\") + 1), file.path);
  }
  for (const auto& [folder, file] : folders) staging::SyncFolderOf(file);
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(committed.placed));
  Discard();
  return committed;
}

void FileReplacement::Discard() {
  for (const Staged& file : staged_) staging::RemoveTemporaryFile(file.temporaryPath);
  staged_.clear();
}

Status ReplaceFileContents(const std::string& path, std::string_view contents,
                           std::optional<int> attributes) {
  FileReplacement replacement;
  if (Status staged = replacement.Stage(path, contents, attributes); !staged.ok()) return staged;
  return replacement.Commit().status;
}

bool IsTemporaryFileName(std::string_view name) {
  if (name.substr(0, kTemporaryFilePrefix.size()) != kTemporaryFilePrefix) return false;
  name.remove_prefix(kTemporaryFilePrefix.size());
  // Two runs of digits at the end, each after a period: the counter, then the process id.
  for (int run = 0; run < 2; ++run) {
    const size_t period = name.find_last_of('.');
    if (period == std::string_view::npos) return false;
    const std::string_view digits = name.substr(period + 1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) {
          return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
      return false;
    }
    name = name.substr(0, period);
  }
  return !name.empty() && name.size() <= 100;
}

}  // namespace tessaro
