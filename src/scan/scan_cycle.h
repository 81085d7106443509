#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "outside/folder_listing.h"

namespace tessaro {

class ActivityLog;
class Session;
class Operator;

// What the owner of the cycle reads from its controls at every tick.
struct TickInputs {
  int autoScan = 0;  // check box value: only 1 runs the tick
  int autoDel = 0;   // only 1 runs the orphan pass
  std::string sourceFolder;
};

// A G-code file written less than this long ago may still be being written: no tick
// translates it before it has been quiet for so long.
inline constexpr std::chrono::milliseconds kQuietTime{200};

struct TickOutcome {
  bool skipped = false;     // another tick was still running: nothing was done
  bool translated = false;  // Process ran at least once (refused files included)
  bool changed = false;     // something was translated or deleted: refresh the lists
  bool stopped = false;     // a stop was requested: the rest of the tick was left out
  // A G-code file was too new to translate, or changed while it was read: a tick
  // should come back once it has been quiet (kQuietTime).
  bool comeBackSoon = false;
  std::vector<std::string> translatedFiles;  // G-code paths translated, in order
  std::vector<std::string> writtenPrograms;  // program paths written
  std::vector<std::string> deletedPrograms;  // program paths deleted
  std::vector<std::string> refusedFiles;     // G-code paths refused on their first line
  std::vector<std::string> emptyFiles;       // G-code paths holding nothing: their programs stay
  // Why a G-code file was not translated: another one gives a program of the same name.
  std::vector<std::string> collisions;
  std::vector<std::string> notes;  // why the orphan pass deleted nothing
  // G-code files whose programs were not all written: "PATH: why" (the G-code file
  // first, then each reason).
  std::vector<std::string> failedFiles;
  std::vector<std::string> errors;  // folders not listed, programs not written or deleted
  bool ok() const { return errors.empty() && collisions.empty() && failedFiles.empty(); }
};

// What a tick would do with one G-code file of the source folder.
enum class SourceVerdict {
  kTranslate,    // a program the format always writes is missing, or one is older
  kUpToDate,     // programs are listed, none older than the file
  kNotEligible,  // its name rules it out
  kSettling,     // written less than kQuietTime ago: translated once it is quiet
  kCollision,    // an earlier listed file gives a program of the same name
};

enum class Ineligibility { kNone, kBlankName, kLongName, kTilde };

struct SourcePlan {
  SourceVerdict verdict = SourceVerdict::kNotEligible;
  Ineligibility ineligibility = Ineligibility::kNone;  // why, for kNotEligible
  // For kTranslate: the listed programs (indexes into the program listing) older
  // than the file; empty when a program is missing.
  std::vector<std::size_t> olderPrograms;
  // For kTranslate: it has programs, but one the format always writes is missing (a
  // translation that was cut short).
  bool incomplete = false;
  // For kCollision: the earlier G-code file (an index into the source listing) and the
  // program name they share.
  std::size_t collidesWith = 0;
  std::string sharedProgram;
};

// What the orphan pass makes of one program of the destination folder.
enum class ProgramVerdict {
  kOwned,   // a listed G-code file gives its name
  kOrphan,  // deleted when automatic deletion is on
  kSpared,  // named TEMPLATE (any letter case) or blank: never deleted
};

struct ProgramPlan {
  ProgramVerdict verdict = ProgramVerdict::kSpared;
  std::size_t source = 0;  // for kOwned: the first listed G-code file it belongs to
  bool hidden = false;     // both only read on request (ProgramAttributes::kRead)
  bool readOnly = false;
};

enum class ProgramAttributes { kSkip, kRead };

// A tick's decisions, taken from one listing of each folder.
struct TickPlan {
  std::string programFolder;          // the session's destination folder
  FolderListing sourceListing;        // G-code files, entries in listing order
  FolderListing programListing;       // programs of the extension in force
  std::vector<SourcePlan> sources;    // one per source listing entry
  std::vector<ProgramPlan> programs;  // one per program listing entry
  std::vector<std::string> errors;    // unset or unlistable folders: nothing is planned
  bool ok() const { return errors.empty(); }
};

// Lists both folders and decides, without touching any file, which G-code files a
// tick translates and which programs its orphan pass deletes (the latter only when
// `inputs.autoDel` is 1; the plan marks orphans whatever it holds).
TickPlan PlanTick(const Session& session, const TickInputs& inputs,
                  ProgramAttributes attributes = ProgramAttributes::kSkip);

// One tick of the automatic scan: plans (see PlanTick), then translates every
// G-code file the plan marks and runs the orphan pass. The listings are all the
// tick knows: programs it writes are seen from the next tick on. A folder that
// cannot be listed stops the tick before anything is translated or deleted.
//
// No tick deletes many programs by accident: the orphan pass does not run while the
// source folder holds no G-code file (the Delete All command clears the program
// folder), nor while the source folder lies on another file system than when it last
// held G-code files (a share unmounted from under its mount point); the tick says so
// in `notes`.
//
// `stopRequested` is asked before each G-code file: a stop lets the translation under
// way complete and leaves out the rest of the tick.
//
// `yield` runs between pieces of work (before each translation and every few
// hundred names) so that a window stays responsive. Ticks never overlap: a RunTick
// called while one is running, from inside `yield` say, returns at once with
// `skipped` set.
//
// With a log, each translation, refusal, deletion and failure is appended as it
// happens; a refusal or failure that the tick before logged as well is not logged again.
class ScanCycle {
 public:
  explicit ScanCycle(Session& session, ActivityLog* log = nullptr);

  TickOutcome RunTick(const TickInputs& inputs, const std::function<void()>& yield = {},
                      const std::function<bool()>& stopRequested = {});

  bool Running() const { return running_; }

 private:
  // Whether the orphan pass may run; otherwise why not, for the tick's notes.
  std::optional<std::string> WhyNoDeletion(const TickInputs& inputs, const TickPlan& plan);

  Session& session_;
  ActivityLog* log_;
  bool running_ = false;
  std::set<std::string> problemsLogged_;  // by the last tick, as log lines
  // The file system of the source folder when a tick last found G-code files there.
  std::string sourceFolder_;
  std::optional<std::uint64_t> sourceFileSystem_;
};

struct DeleteAllOutcome {
  bool confirmed = false;
  std::vector<std::string> deletedPrograms;
  std::vector<std::string> errors;  // folder not listed, programs left after both passes
};

// The confirmation text of the delete-all command for the extension in force.
std::string DeleteAllQuestion(bool rcmFormat);
inline constexpr const char* kDeleteAllTitle = "Alert!";

// The delete-all command: asks for confirmation, then deletes every program of the
// extension in force in `destinationFolder`, read-only, hidden and TEMPLATE ones
// included, in two passes. Each deletion and failure goes to `log` when there is one.
DeleteAllOutcome DeleteAllPrograms(const std::string& destinationFolder, bool rcmFormat,
                                   Operator& op, ActivityLog* log = nullptr);

}  // namespace tessaro
