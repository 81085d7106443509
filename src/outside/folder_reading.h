#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "outside/folder_listing.h"

// The part of a folder listing that each platform reads its own way; folder_listing.cpp
// matches, names and orders what it gives.
namespace tessaro::folder_reading {

enum class EntryKind { kFile, kFolder };

// Every entry of `folder` of one kind (a link counts as what it points to; one that
// points nowhere is left out) whose name does not begin with "." and passes `wanted`,
// in the file system's order, with name, stamp and, when `readHidden`, the hidden flag.
// A folder that cannot be read gives its error and no entries.
FolderListing ReadEntries(const std::string& folder, EntryKind kind,
                          const std::function<bool(std::string_view)>& wanted, bool readHidden);

// "Cannot read the folder F: reason".
std::string ReadError(const std::string& folder, const std::string& reason);

}  // namespace tessaro::folder_reading
