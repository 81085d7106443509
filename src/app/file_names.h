#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tessaro {

// File names are compared as the shop's Windows file servers compare them: without
// regard to letter case (see FoldCase).
// The names a folder holds, looked up without regard to letter case: a tick takes
// them from its one listing of the program folder and adds each program it writes,
// so that translating into a folder of many programs lists it no more often than
// into an empty one.
class FolderSpellings {
 public:
  explicit FolderSpellings(const std::vector<std::string>& names);
  // The names of every entry of `folder`; none when it cannot be read.
  static FolderSpellings Of(const std::string& folder);

  // The spelling `name` has in the folder: the exact one when it is there, else the
  // first name equal but for letter case, else `name` itself.
  std::string SpellingOf(const std::string& name) const;
  void Add(const std::string& name);

 private:
  std::unordered_set<std::string> exact_;
  std::unordered_map<std::string, std::string> byFoldedName_;  // the first spelling
};

// The path of Template.RCM in `appFolder` (which ends with a separator), in whatever
// letter case it was saved.
std::string TemplatePath(const std::string& appFolder);

}  // namespace tessaro
