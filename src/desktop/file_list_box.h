#pragma once

#include <QListWidget>
#include <set>
#include <string>
#include <vector>

#include "outside/folder_listing.h"

namespace tessaro::desktop {

// A list of the files of one folder that match a pattern ("*", "*.", "*.RCM"), fed by
// the core folder listing. Hidden files can be left out. The folder and the pattern are
// kept as set; refresh() reads the folder again.
class FileListBox : public QListWidget {
  Q_OBJECT

 public:
  // Starts on the process's current folder with the pattern "*".
  explicit FileListBox(HiddenFlag hidden, QWidget* parent = nullptr);

  // The folder listed, without a trailing separator except at a root: "/data/src", "/".
  const std::string& path() const { return path_; }
  // Lists `folder`. When it cannot be read the list keeps its folder and files and the
  // reason is returned; "" on success.
  std::string setPath(const std::string& folder);

  const std::string& pattern() const { return pattern_; }
  void setPattern(const std::string& pattern);

  // Reads the folder again; the selected file stays selected while it is listed. No
  // selection signal fires for it. Returns "" or why the folder could not be read
  // (the list is then empty).
  std::string refresh();

  // Name of the selected file as the folder holds it (its bytes, UTF-8 or not), ""
  // when none is selected.
  std::string fileName() const;
  // Name of the file listed at `index`, as fileName(); "" when there is none.
  std::string fileNameAt(int index) const;
  int listCount() const { return count(); }
  int listIndex() const { return currentRow(); }  // -1 when none is selected
  void setListIndex(int index);

  // Shows the files of these names greyed, with `why` as their tooltip, from now on and
  // over every refresh, until other names are marked.
  void markFiles(const std::vector<std::string>& names, const QString& why);

  // Why the last reading failed, "" after a good one.
  const std::string& lastError() const { return lastError_; }

  // A folder as a list reports it: absolute, without a trailing separator except at a root.
  static std::string NormalisedFolder(const std::string& folder);

 private:
  static constexpr int kNameBytesRole = Qt::UserRole;

  void fill(const FolderListing& listing, const std::string& keepSelected);

  HiddenFlag hidden_;
  std::string path_;
  std::string pattern_ = "*";
  std::string lastError_;
  std::set<std::string> marked_;
  QString markedWhy_;
};

}  // namespace tessaro::desktop
