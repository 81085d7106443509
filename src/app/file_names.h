#pragma once

#include <string>
#include <vector>

namespace tessaro {

// File names are compared as the shop's Windows file servers compare them: without
// regard to letter case (see FoldCase). For each of `names`, the spelling of the
// entry of `folder` that is the same file name there: the exact spelling when it
// exists, else the first entry equal but for letter case, else the name itself
// (also when the folder cannot be read). `folder` is read once for all names.
std::vector<std::string> ExistingSpellings(const std::string& folder,
                                           const std::vector<std::string>& names);

// The path of Template.RCM in `appFolder` (which ends with a separator), in whatever
// letter case it was saved.
std::string TemplatePath(const std::string& appFolder);

}  // namespace tessaro
