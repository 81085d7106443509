#pragma once

#include <string>
#include <vector>

#include "app/activity_log.h"

namespace tessaro {

struct TranslationReport;

// The activity log's lines for one translation of `gcodePath`: the programs written,
// hidden ones marked; a refusal; an empty file; the refused file deleted on the operator's Yes;
// each failure with its reason.
std::vector<ActivityEntry> TranslationActivity(const std::string& gcodePath,
                                               const TranslationReport& report);

// The lines for temporary files of stopped translations that were removed.
std::vector<ActivityEntry> LeftoverRemovals(const std::vector<std::string>& removedPaths);

// Refusals, failures, empty files and programs kept from deletion, which come back at
// every tick until someone acts.
bool IsProblem(const ActivityEntry& entry);

// Appends each entry to `log`, when there is one.
void AppendAll(ActivityLog* log, const std::vector<ActivityEntry>& entries);

}  // namespace tessaro
