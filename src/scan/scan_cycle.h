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
  std::string destinationFolder;
};

struct TickOutcome {
  bool translated = false;  // at least one G-code file was translated
  bool changed = false;     // something was translated or deleted: refresh the lists
  std::vector<std::string> translatedFiles;  // G-code paths, in the order translated
  std::vector<std::string> writtenPrograms;  // program paths written
  std::vector<std::string> deletedPrograms;  // program paths deleted
  std::vector<std::string> refusedFiles;     // G-code paths refused on their first line
  std::vector<std::string> errors;           // folders not listed, programs not written
  bool ok() const { return errors.empty(); }
};

// One tick of the automatic scan: lists both folders, translates every G-code file
// that has no program or a program older than itself, and runs the orphan pass.
// `yield` runs between pieces of work so that a window stays responsive.
class ScanCycle {
 public:
  explicit ScanCycle(Session& session);

  TickOutcome RunTick(const TickInputs& inputs, const std::function<void()>& yield = {});

 private:
  Session& session_;
};

struct DeleteAllOutcome {
  bool confirmed = false;
  std::vector<std::string> deletedPrograms;
  std::vector<std::string> errors;
};

// The delete-all command: asks for confirmation, then deletes every program of the
// extension in force in `destinationFolder`.
DeleteAllOutcome DeleteAllPrograms(const std::string& destinationFolder, bool rcmFormat,
                                   Operator& op);

}  // namespace tessaro
