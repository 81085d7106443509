#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "outside/status.h"

namespace tessaro {

// What a log needs of the file system: lines appended to a file that grows, and the
// file renamed aside when it has grown enough.

// Appends `text` with one write to the end of `path`, created when missing: lines that
// two processes append at once do not interleave.
Status AppendToFile(const std::string& path, std::string_view text);

// The size of a file in bytes; 0 when it does not exist.
std::uint64_t FileSizeOf(const std::string& path);

// Renames `from` to `to`, replacing a file of that name.
Status RenameFile(const std::string& from, const std::string& to);

// The local time with seconds, ISO 8601: "2026-12-07T14:03:22".
std::string LocalTimeText(std::chrono::system_clock::time_point time);

}  // namespace tessaro
