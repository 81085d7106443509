#include "outside/file_ops.h"

#include <cstdint>
#include <string>

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

}  // namespace tessaro
