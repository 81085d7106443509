#include "app/file_names.h"

#include <optional>

#include "app/app_folder.h"
#include "app/text.h"
#include "outside/folder_listing.h"

namespace tessaro {

std::vector<std::string> ExistingSpellings(const std::string& folder,
                                           const std::vector<std::string>& names) {
  std::vector<std::string> spellings = names;
  const std::optional<std::vector<std::string>> entries = ListNames(folder);
  if (!entries) return spellings;
  std::vector<std::string> folded;
  for (const std::string& name : names) folded.push_back(FoldCase(name));
  std::vector<bool> exact(names.size(), false);
  std::vector<bool> found(names.size(), false);
  for (const std::string& entry : *entries) {
    for (size_t i = 0; i < names.size(); ++i) {
      // Folding keeps a name's length, so most entries are passed over unfolded.
      if (exact[i] || entry.size() != names[i].size()) continue;
      if (entry == names[i]) {
        spellings[i] = entry;
        exact[i] = true;
      } else if (!found[i] && FoldCase(entry) == folded[i]) {
        spellings[i] = entry;
        found[i] = true;
      }
    }
  }
  return spellings;
}

std::string TemplatePath(const std::string& appFolder) {
  return appFolder + ExistingSpellings(appFolder, {kTemplateFileName}).front();
}

}  // namespace tessaro
