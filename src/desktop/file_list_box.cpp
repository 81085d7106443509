#include "desktop/file_list_box.h"

#include <QSignalBlocker>
#include <filesystem>
#include <system_error>

#include "desktop/qt_text.h"
#include "outside/path_text.h"

namespace tessaro::desktop {

namespace fs = std::filesystem;

FileListBox::FileListBox(HiddenFlag hidden, QWidget* parent)
    : QListWidget(parent), hidden_(hidden) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  std::error_code error;
  const fs::path current = fs::current_path(error);
  path_ = NormalisedFolder(error ? std::string("/") : Utf8Text(current));
  refresh();
}

std::string FileListBox::NormalisedFolder(const std::string& folder) {
  if (folder.empty()) return folder;
  std::error_code error;
  fs::path absolute = fs::absolute(FileSystemPath(folder), error);
  if (error) absolute = FileSystemPath(folder);
  absolute = absolute.lexically_normal();
  // "/a/b/" and "C:\a\b\" lose their last separator; a root ("/", "C:\") keeps it.
  if (absolute.has_relative_path() && !absolute.has_filename()) absolute = absolute.parent_path();
  return Utf8Text(absolute);
}

std::string FileListBox::setPath(const std::string& folder) {
  const std::string normalised = NormalisedFolder(folder);
  if (normalised.empty()) return ToStd(tr("No folder given"));
  FolderListing listing = ListFolder(normalised, pattern_, hidden_);
  if (!listing.ok()) return listing.error;
  path_ = normalised;
  lastError_.clear();
  fill(listing, "");
  return "";
}

void FileListBox::setPattern(const std::string& pattern) {
  pattern_ = pattern;
  refresh();
}

std::string FileListBox::refresh() {
  const std::string selected = fileName();
  FolderListing listing = ListFolder(path_, pattern_, hidden_);
  lastError_ = listing.error;
  fill(listing, selected);
  return lastError_;
}

void FileListBox::fill(const FolderListing& listing, const std::string& keepSelected) {
  const QSignalBlocker blocker(this);
  clear();
  int keep = -1;
  for (const FileEntry& entry : listing.entries) {
    if (hidden_ == HiddenFlag::kRead && entry.hidden) continue;
    if (!keepSelected.empty() && entry.name == keepSelected) keep = count();
    // Shown as UTF-8 (a byte that is not shows as U+FFFD), kept as its bytes.
    auto* item = new QListWidgetItem(ToQt(entry.name), this);
    item->setData(kNameBytesRole, QByteArray::fromStdString(entry.name));
    if (marked_.contains(entry.name)) {
      item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
      item->setToolTip(markedWhy_);
    }
  }
  setCurrentRow(keep);
}

void FileListBox::markFiles(const std::vector<std::string>& names, const QString& why) {
  std::set<std::string> marked(names.begin(), names.end());
  if (marked == marked_ && why == markedWhy_) return;
  marked_ = std::move(marked);
  markedWhy_ = why;
  refresh();
}

std::string FileListBox::fileName() const {
  const QListWidgetItem* item = currentItem();
  if (item == nullptr || !item->isSelected()) return "";
  return fileNameAt(row(item));
}

std::string FileListBox::fileNameAt(int index) const {
  const QListWidgetItem* listed = item(index);
  return listed == nullptr ? std::string()
                           : listed->data(kNameBytesRole).toByteArray().toStdString();
}

void FileListBox::setListIndex(int index) { setCurrentRow(index); }

}  // namespace tessaro::desktop
