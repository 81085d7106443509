#include "scan/scan_cycle.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/app_folder.h"
#include "app/file_names.h"
#include "app/operator.h"
#include "app/text.h"
#include "outside/file_ops.h"
#include "outside/folder_listing.h"
#include "program/session.h"
#include "scan/activity_entries.h"
#include "scan/name_table.h"

namespace tessaro {

namespace {

constexpr int kFaceCount = 4;
constexpr std::size_t kLongestSourceName = 8;
constexpr int kStepsPerYield = 256;

Ineligibility IneligibilityOf(std::string_view trimmedName) {
  if (trimmedName.empty()) return Ineligibility::kBlankName;
  if (CharacterCount(trimmedName) > kLongestSourceName) return Ineligibility::kLongName;
  if (trimmedName.find('~') != std::string_view::npos) return Ineligibility::kTilde;
  return Ineligibility::kNone;
}

std::string ProgramPattern(const std::string& extension) { return "*." + extension; }

// Calls the owner's yield now and then: it may run a whole event loop pass.
class Yielder {
 public:
  explicit Yielder(const std::function<void()>& yield) : yield_(yield) {}

  void Now() {
    steps_ = 0;
    if (yield_) yield_();
  }
  void Step() {
    if (++steps_ >= kStepsPerYield) Now();
  }

 private:
  const std::function<void()>& yield_;
  int steps_ = 0;
};

class RunningGuard {
 public:
  explicit RunningGuard(bool& running) : running_(running) { running_ = true; }
  ~RunningGuard() { running_ = false; }
  RunningGuard(const RunningGuard&) = delete;
  RunningGuard& operator=(const RunningGuard&) = delete;

 private:
  bool& running_;
};

// A tick's log lines, written as they happen. Refusals and failures come back at every
// tick until someone acts: one that the tick before logged is not logged again.
class TickLog {
 public:
  TickLog(ActivityLog* log, std::set<std::string>& loggedBefore)
      : log_(log), loggedBefore_(loggedBefore) {}
  ~TickLog() {
    if (log_ != nullptr) loggedBefore_ = std::move(problems_);
  }
  TickLog(const TickLog&) = delete;
  TickLog& operator=(const TickLog&) = delete;

  void Add(const ActivityEntry& entry) {
    if (log_ == nullptr) return;
    if (IsProblem(entry)) {
      const std::string line = entry.action + '\t' + entry.file + '\t' + entry.detail;
      problems_.insert(line);
      if (loggedBefore_.contains(line)) return;
    }
    log_->Append(entry);
  }
  void Add(const std::vector<ActivityEntry>& entries) {
    for (const ActivityEntry& entry : entries) Add(entry);
  }

 private:
  ActivityLog* log_;
  std::set<std::string>& loggedBefore_;
  std::set<std::string> problems_;
};

// The folder a planning error is about, "" when none is set.
std::string FolderOfPlanError(const TickPlan& plan, const TickInputs& inputs,
                              const std::string& error) {
  if (!plan.sourceListing.ok() && error == plan.sourceListing.error) return inputs.sourceFolder;
  if (!plan.programListing.ok() && error == plan.programListing.error) return plan.programFolder;
  return "";
}

// The four program names of each listed source, as keys. A source's names come
// from its name as Process sees it: trailing blanks change nothing, and leading ones
// name the programs Process actually writes.
using FaceKeys = std::array<std::optional<NameKeyValue>, kFaceCount>;

std::vector<FaceKeys> ProgramKeysOfSources(const Session& session, const FolderListing& sources,
                                           Yielder& yielder) {
  std::vector<FaceKeys> keys(sources.entries.size());
  for (std::size_t i = 0; i < sources.entries.size(); ++i) {
    for (int face = 1; face <= kFaceCount; ++face) {
      keys[i][face - 1] = NameKey(session.ApplyMask(sources.entries[i].baseName, face));
    }
    yielder.Step();
  }
  return keys;
}

// Program name (trimmed) to its first listed entry: the first equal name wins, as
// in a walk of the listing in order. Names longer than any mask gives never match.
NameTable IndexPrograms(const FolderListing& programs) {
  NameTable index(programs.entries.size());
  for (std::size_t j = 0; j < programs.entries.size(); ++j) {
    if (const auto key = NameKey(Trim(programs.entries[j].baseName))) {
      index.Add(*key, static_cast<std::uint32_t>(j));
    }
  }
  return index;
}

// An eligible source is translated when a program the format always writes is not
// listed under its face name, when no program is listed at all, or when one is older
// than itself.
SourcePlan PlanEligibleSource(const FileEntry& source, const FaceKeys& keys, const NameTable& index,
                              const FolderListing& programs,
                              const std::vector<int>& alwaysWritten) {
  SourcePlan plan;
  int found = 0;
  for (int face = 1; face <= kFaceCount; ++face) {
    const std::optional<NameKeyValue>& key = keys[face - 1];
    const std::optional<std::uint32_t> program = key ? index.Find(*key) : std::nullopt;
    if (!program) {
      if (std::find(alwaysWritten.begin(), alwaysWritten.end(), face) != alwaysWritten.end()) {
        plan.incomplete = true;
      }
      continue;
    }
    ++found;
    const bool named = std::find(plan.olderPrograms.begin(), plan.olderPrograms.end(), *program) !=
                       plan.olderPrograms.end();
    if (source.stamp > programs.entries[*program].stamp && !named) {
      plan.olderPrograms.push_back(*program);
    }
  }
  if (found == 0) plan.incomplete = false;  // no program yet
  plan.verdict = found == 0 || plan.incomplete || !plan.olderPrograms.empty()
                     ? SourceVerdict::kTranslate
                     : SourceVerdict::kUpToDate;
  return plan;
}

// The face of `keys` whose name an earlier source has claimed, or 0; a source that
// collides with none claims its names.
int ClaimNames(const FaceKeys& keys, std::uint32_t source, NameTable& claimed,
               std::size_t& claimedBy) {
  for (int face = 1; face <= kFaceCount; ++face) {
    const std::optional<NameKeyValue>& key = keys[face - 1];
    if (!key) continue;
    if (const std::optional<std::uint32_t> owner = claimed.Find(*key); owner && *owner != source) {
      claimedBy = *owner;
      return face;
    }
  }
  for (const std::optional<NameKeyValue>& key : keys) {
    if (key) claimed.Add(*key, source);
  }
  return 0;
}

std::vector<ProgramPlan> PlanPrograms(const std::vector<FaceKeys>& sourceKeys,
                                      const FolderListing& programs, Yielder& yielder) {
  // Every listed source owns its names, the ones never translated included; the
  // first listed source that gives a name owns it.
  NameTable owned(sourceKeys.size() * kFaceCount);
  for (std::size_t i = 0; i < sourceKeys.size(); ++i) {
    for (const std::optional<NameKeyValue>& key : sourceKeys[i]) {
      if (key) owned.Add(*key, static_cast<std::uint32_t>(i));
    }
  }

  std::vector<ProgramPlan> plans(programs.entries.size());
  for (std::size_t j = 0; j < programs.entries.size(); ++j) {
    yielder.Step();
    const std::string_view name = Trim(programs.entries[j].baseName);
    const std::optional<NameKeyValue> key = NameKey(name);
    if (const std::optional<std::uint32_t> source = key ? owned.Find(*key) : std::nullopt) {
      plans[j].verdict = ProgramVerdict::kOwned;
      plans[j].source = *source;
    } else if (!name.empty() && !IsTemplateBaseName(name)) {
      plans[j].verdict = ProgramVerdict::kOrphan;
    }
  }
  return plans;
}

// What a tick does with each source. The tables it builds go before the orphan pass
// builds its own: a tick over a large folder holds one set at a time.
std::vector<SourcePlan> PlanSources(const Session& session, const FolderListing& sources,
                                    const FolderListing& programs,
                                    const std::vector<FaceKeys>& sourceKeys) {
  const std::string extension = session.Settings().programExtension();
  const NameTable index = IndexPrograms(programs);
  const std::vector<int> alwaysWritten = FacesAlwaysWritten(session.Settings());
  const FileStamp quietSince = FileStamp::clock::now() - kQuietTime;
  NameTable claimed(sources.entries.size() * kFaceCount);
  std::vector<SourcePlan> plans;
  plans.reserve(sources.entries.size());
  for (std::size_t i = 0; i < sources.entries.size(); ++i) {
    const FileEntry& source = sources.entries[i];
    SourcePlan planned;
    planned.ineligibility = IneligibilityOf(Trim(source.baseName));
    if (planned.ineligibility != Ineligibility::kNone) {
      planned.verdict = SourceVerdict::kNotEligible;
    } else if (const int face = ClaimNames(sourceKeys[i], static_cast<std::uint32_t>(i), claimed,
                                           planned.collidesWith)) {
      planned.verdict = SourceVerdict::kCollision;
      planned.sharedProgram =
          session.ApplyMask(sources.entries[planned.collidesWith].baseName, face) + "." + extension;
    } else if (source.stamp > quietSince) {
      planned.verdict = SourceVerdict::kSettling;
    } else {
      planned = PlanEligibleSource(source, sourceKeys[i], index, programs, alwaysWritten);
    }
    plans.push_back(std::move(planned));
  }
  return plans;
}

TickPlan MakePlan(const Session& session, const TickInputs& inputs, ProgramAttributes attributes,
                  Yielder& yielder) {
  const std::string& destinationFolder = session.Settings().destinationFolder;
  TickPlan plan;
  plan.programFolder = destinationFolder;
  // An empty path would list the working folder.
  if (inputs.sourceFolder.empty() || destinationFolder.empty()) {
    plan.errors.push_back("No source or no program folder is set");
    return plan;
  }
  const std::string extension = session.Settings().programExtension();
  // Hidden programs are listed all the same; only a report needs the flag.
  plan.sourceListing = ListFolder(inputs.sourceFolder, "*.", HiddenFlag::kSkip);
  plan.programListing =
      ListFolder(destinationFolder, ProgramPattern(extension),
                 attributes == ProgramAttributes::kRead ? HiddenFlag::kRead : HiddenFlag::kSkip);
  if (!plan.sourceListing.ok()) plan.errors.push_back(plan.sourceListing.error);
  if (!plan.programListing.ok()) plan.errors.push_back(plan.programListing.error);
  if (!plan.ok()) return plan;

  const FolderListing& sources = plan.sourceListing;
  const FolderListing& programs = plan.programListing;
  const std::vector<FaceKeys> sourceKeys = ProgramKeysOfSources(session, sources, yielder);
  plan.sources = PlanSources(session, sources, programs, sourceKeys);
  plan.programs = PlanPrograms(sourceKeys, programs, yielder);
  if (attributes == ProgramAttributes::kRead) {
    for (std::size_t j = 0; j < programs.entries.size(); ++j) {
      plan.programs[j].hidden = programs.entries[j].hidden;
      plan.programs[j].readOnly = IsReadOnly(JoinPath(destinationFolder, programs.entries[j].name));
    }
  }
  return plan;
}

void RunOrphanPass(const TickPlan& plan, const std::string& destinationFolder, Yielder& yielder,
                   TickLog& log, TickOutcome& outcome) {
  for (std::size_t j = 0; j < plan.programs.size(); ++j) {
    yielder.Step();
    if (plan.programs[j].verdict != ProgramVerdict::kOrphan) continue;

    const std::string path = JoinPath(destinationFolder, plan.programListing.entries[j].name);
    // A program gone since the listing is passed over; one that cannot be deleted keeps
    // its attributes.
    if (!FileExists(path)) continue;
    const Status removed = RemoveFile(path);
    if (!removed.ok()) {
      outcome.errors.push_back(removed.error());
      log.Add({"", activity::kFailed, path, removed.error()});
      continue;
    }
    outcome.deletedPrograms.push_back(path);
    outcome.changed = true;
    log.Add({"", activity::kDeleted, path,
             "orphan: no G-code file in the source folder gives its name"});
  }
}

std::vector<std::string> ProgramNames(const FolderListing& programs) {
  std::vector<std::string> names;
  names.reserve(programs.entries.size());
  for (const FileEntry& program : programs.entries) names.push_back(program.name);
  return names;
}

}  // namespace

TickPlan PlanTick(const Session& session, const TickInputs& inputs, ProgramAttributes attributes) {
  const std::function<void()> noYield;
  Yielder yielder(noYield);
  return MakePlan(session, inputs, attributes, yielder);
}

ScanCycle::ScanCycle(Session& session, ActivityLog* log) : session_(session), log_(log) {}

TickOutcome ScanCycle::RunTick(const TickInputs& inputs, const std::function<void()>& yield,
                               const std::function<bool()>& stopRequested) {
  TickOutcome outcome;
  if (running_) {
    outcome.skipped = true;
    return outcome;
  }
  if (inputs.autoScan != 1) return outcome;
  const RunningGuard guard(running_);
  Yielder yielder(yield);
  TickLog log(log_, problemsLogged_);

  const TickPlan plan = MakePlan(session_, inputs, ProgramAttributes::kSkip, yielder);
  if (!plan.ok()) {
    outcome.errors = plan.errors;
    for (const std::string& error : plan.errors) {
      log.Add({"", activity::kFailed, FolderOfPlanError(plan, inputs, error), error});
    }
    return outcome;
  }

  const std::string& destinationFolder = session_.Settings().destinationFolder;
  log.Add(LeftoverRemovals(RemoveStaleTemporaryFiles(destinationFolder)));
  // The names are kept up to date as programs are written: the folder is listed once.
  // Built at the first translation: an idle tick over a large folder needs none.
  std::optional<FolderSpellings> spellings;

  for (std::size_t i = 0; i < plan.sources.size(); ++i) {
    const SourcePlan& source = plan.sources[i];
    // Before a translation rather than after: the owner shows that a tick runs before
    // the translation may ask the operator something.
    if (source.verdict == SourceVerdict::kTranslate) {
      yielder.Now();
    } else {
      yielder.Step();
    }
    if (stopRequested && stopRequested()) {
      outcome.stopped = true;
      break;
    }
    const std::string path = JoinPath(inputs.sourceFolder, plan.sourceListing.entries[i].name);
    if (source.verdict == SourceVerdict::kSettling) {
      outcome.comeBackSoon = true;
    } else if (source.verdict == SourceVerdict::kCollision) {
      const std::string earlier = plan.sourceListing.entries[source.collidesWith].name;
      const std::string why = "not translated: " + earlier + " gives the same program " +
                              source.sharedProgram + " and is translated instead";
      outcome.collisions.push_back(FileNamePart(path) + " " + why);
      log.Add({"", activity::kRefused, path, why});
    }
    if (source.verdict != SourceVerdict::kTranslate) continue;

    if (!spellings) spellings.emplace(ProgramNames(plan.programListing));
    const TranslationReport report = session_.Process(path, &*spellings);
    outcome.translated = true;
    if (report.refused) {
      outcome.refusedFiles.push_back(path);
    } else if (report.empty) {
      outcome.emptyFiles.push_back(path);
    } else if (report.unsettled) {
      outcome.comeBackSoon = true;
    } else if (report.ok()) {
      outcome.translatedFiles.push_back(path);
    }
    for (const WrittenProgram& written : report.written) {
      outcome.writtenPrograms.push_back(written.path);
    }
    for (const std::string& error : report.errors)
      outcome.failedFiles.push_back(path + ": " + error);
    log.Add(TranslationActivity(path, report));
  }
  outcome.changed = outcome.translated;

  const std::optional<std::string> hold = WhyNoDeletion(inputs, plan);
  if (outcome.stopped || inputs.autoDel != 1) return outcome;
  const bool orphans = std::any_of(
      plan.programs.begin(), plan.programs.end(),
      [](const ProgramPlan& program) { return program.verdict == ProgramVerdict::kOrphan; });
  if (!hold) {
    RunOrphanPass(plan, destinationFolder, yielder, log, outcome);
  } else if (orphans) {
    outcome.notes.push_back(*hold);
    log.Add({"", activity::kKept, plan.programFolder, *hold});
  }
  return outcome;
}

std::optional<std::string> ScanCycle::WhyNoDeletion(const TickInputs& inputs,
                                                    const TickPlan& plan) {
  if (inputs.sourceFolder != sourceFolder_) {
    sourceFolder_ = inputs.sourceFolder;
    sourceFileSystem_.reset();
  }
  if (plan.sourceListing.entries.empty()) {
    return "no program deleted: the source folder " + inputs.sourceFolder +
           " holds no G-code file (Delete All clears the program folder)";
  }
  const std::optional<std::uint64_t> fileSystem = FileSystemOf(inputs.sourceFolder);
  if (!sourceFileSystem_) sourceFileSystem_ = fileSystem;
  if (fileSystem != sourceFileSystem_) {
    return "no program deleted: the source folder " + inputs.sourceFolder +
           " lies on another file system than when it last held G-code files (a share "
           "unmounted from it?)";
  }
  return std::nullopt;
}

std::string DeleteAllQuestion(bool rcmFormat) {
  return std::string("Deleting all ") + ProgramExtension(rcmFormat) +
         " files will allow all files in the source directory" + "\r" +
         "     to be reprocessed if Automatic Translation is turned on." + "\r\r" +
         "                Do You Wish To Continue With Deletion?";
}

DeleteAllOutcome DeleteAllPrograms(const std::string& destinationFolder, bool rcmFormat,
                                   Operator& op, ActivityLog* log) {
  DeleteAllOutcome outcome;
  outcome.confirmed = op.AskYesNo(kDeleteAllTitle, DeleteAllQuestion(rcmFormat));
  if (!outcome.confirmed) return outcome;

  const std::string extension = ProgramExtension(rcmFormat);
  const std::string why = "delete all " + extension + " files";
  const auto note = [log](const ActivityEntry& entry) {
    if (log != nullptr) log->Append(entry);
  };
  // A file that resists the first pass gets a second try; only the second
  // pass's failures are reported.
  for (int pass = 1; pass <= 2; ++pass) {
    const FolderListing programs =
        ListFolder(destinationFolder, ProgramPattern(extension), HiddenFlag::kSkip);
    if (!programs.ok()) {
      outcome.errors.push_back(programs.error);
      note({"", activity::kFailed, destinationFolder, programs.error});
      break;
    }
    for (const FileEntry& program : programs.entries) {
      const std::string path = JoinPath(destinationFolder, program.name);
      const Status removed = RemoveFile(path);
      if (removed.ok()) {
        outcome.deletedPrograms.push_back(path);
        note({"", activity::kDeleted, path, why});
      } else if (pass == 2) {
        outcome.errors.push_back(removed.error());
        note({"", activity::kFailed, path, removed.error()});
      }
    }
  }
  return outcome;
}

}  // namespace tessaro
