#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tessaro {

class Session;
class Operator;

// What the owner of the cycle reads from its controls at every tick.
struct TickInputs {
  int autoScan = 0;  // check box value: only 1 runs the tick
  int autoDel = 0;   // only 1 runs the orphan pass
  std::string sourceFolder;
  std::string destinationFolder;  // also becomes the session's destination folder
};

struct TickOutcome {
  bool skipped = false;     // another tick was still running: nothing was done
  bool translated = false;  // Process ran at least once (refused files included)
  bool changed = false;     // something was translated or deleted: refresh the lists
  std::vector<std::string> translatedFiles;  // G-code paths translated, in order
  std::vector<std::string> writtenPrograms;  // program paths written
  std::vector<std::string> deletedPrograms;  // program paths deleted
  std::vector<std::string> refusedFiles;     // G-code paths refused on their first line
  std::vector<std::string> errors;           // folders not listed, programs not written or deleted
  bool ok() const { return errors.empty(); }
};

// One tick of the automatic scan: lists both folders once, translates every
// eligible G-code file that has no program or a program older than itself, and
// runs the orphan pass. The listings are all the tick knows: programs it writes
// are seen from the next tick on. A folder that cannot be listed stops the tick
// before anything is translated or deleted.
//
// `yield` runs between pieces of work (after each translation and every few
// hundred names) so that a window stays responsive. Ticks never overlap: a RunTick
// called while one is running, from inside `yield` say, returns at once with
// `skipped` set.
class ScanCycle {
 public:
  explicit ScanCycle(Session& session);

  TickOutcome RunTick(const TickInputs& inputs, const std::function<void()>& yield = {});

  bool Running() const { return running_; }

 private:
  Session& session_;
  bool running_ = false;
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
// included, in two passes.
DeleteAllOutcome DeleteAllPrograms(const std::string& destinationFolder, bool rcmFormat,
                                   Operator& op);

}  // namespace tessaro
