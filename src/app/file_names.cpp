#include "app/file_names.h"

#include <optional>

#include "app/app_folder.h"
#include "app/text.h"
#include "outside/folder_listing.h"

namespace tessaro {

FolderSpellings::FolderSpellings(const std::vector<std::string>& names) {
  for (const std::string& name : names) Add(name);
}

FolderSpellings FolderSpellings::Of(const std::string& folder) {
  return FolderSpellings(ListNames(folder).value_or(std::vector<std::string>{}));
}

std::string FolderSpellings::SpellingOf(const std::string& name) const {
  if (exact_.contains(name)) return name;
  const auto found = byFoldedName_.find(FoldCase(name));
  return found == byFoldedName_.end() ? name : found->second;
}

void FolderSpellings::Add(const std::string& name) {
  if (exact_.insert(name).second) byFoldedName_.emplace(FoldCase(name), name);
}

std::string TemplatePath(const std::string& appFolder) {
  return appFolder + FolderSpellings::Of(appFolder).SpellingOf(kTemplateFileName);
}

}  // namespace tessaro
