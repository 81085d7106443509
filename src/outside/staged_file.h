#pragma once

// The platform steps of FileReplacement; only the outside layer uses them.
#include <optional>
#include <string>
#include <string_view>

#include "outside/status.h"

namespace tessaro::staging {

struct TemporaryFile {
  std::string path;  // empty when none was left behind
  Status status = Status::Ok();
};

// Writes `contents` into a new temporary file beside `path` with the attributes the
// replacement is to have, and flushes it to the disk. A failure leaves no file behind.
TemporaryFile WriteTemporaryFile(const std::string& path, std::string_view contents,
                                 std::optional<int> attributes);

// Renames the temporary file over `path`; on a failure `path` keeps what it held.
Status PlaceTemporaryFile(const std::string& temporaryPath, const std::string& path);

void RemoveTemporaryFile(const std::string& temporaryPath);

// Makes the renames into the folder of `path` durable.
void SyncFolderOf(const std::string& path);

}  // namespace tessaro::staging
