#include "scan/activity_entries.h"

#include "app/text.h"
#include "program/session.h"

namespace tessaro {

std::vector<ActivityEntry> TranslationActivity(const std::string& gcodePath,
                                               const TranslationReport& report) {
  std::vector<ActivityEntry> entries;
  if (!report.written.empty()) {
    std::string detail = std::to_string(report.written.size()) + " programs in " +
                         FolderPart(report.written.front().path) + ":";
    for (const WrittenProgram& program : report.written) {
      detail += (&program == &report.written.front() ? " " : ", ") + FileNamePart(program.path);
      if (program.hidden) detail += " (hidden)";
    }
    entries.push_back({"", activity::kTranslated, gcodePath, detail});
  }
  if (report.refused) {
    entries.push_back({"", activity::kRefused, gcodePath,
                       "not G-code of the accepted kind (the first line is no G70, G71, G81 or "
                       "G150 line)"});
  }
  if (report.empty) {
    entries.push_back({"", activity::kEmpty, gcodePath,
                       "the file holds nothing but blanks: not translated, its programs are kept"});
  }
  if (report.refusedFileDeletion) {
    if (report.refusedFileDeletion->ok()) {
      entries.push_back({"", activity::kDeleted, gcodePath,
                         "refused G-code file, deleted on the operator's Yes"});
    } else {
      entries.push_back({"", activity::kFailed, gcodePath, report.refusedFileDeletion->error()});
    }
  }
  for (const std::string& error : report.errors) {
    entries.push_back({"", activity::kFailed, gcodePath, error});
  }
  return entries;
}

std::vector<ActivityEntry> LeftoverRemovals(const std::vector<std::string>& removedPaths) {
  std::vector<ActivityEntry> entries;
  for (const std::string& path : removedPaths) {
    entries.push_back(
        {"", activity::kDeleted, path, "temporary file of a translation that was stopped"});
  }
  return entries;
}

bool IsProblem(const ActivityEntry& entry) {
  return entry.action == activity::kRefused || entry.action == activity::kFailed ||
         entry.action == activity::kEmpty || entry.action == activity::kKept;
}

void AppendAll(ActivityLog* log, const std::vector<ActivityEntry>& entries) {
  if (log == nullptr) return;
  for (const ActivityEntry& entry : entries) log->Append(entry);
}

}  // namespace tessaro
