#include "scan/scan_cycle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/app_folder.h"
#include "app/operator.h"
#include "app/text.h"
#include "outside/file_ops.h"
#include "outside/folder_listing.h"
#include "program/session.h"
#include "scan/name_table.h"

namespace tessaro {

namespace {

constexpr int kFaceCount = 4;
constexpr std::size_t kLongestSourceName = 8;
constexpr int kStepsPerYield = 256;

bool IsEligible(std::string_view trimmedName) {
  return !trimmedName.empty() && CharacterCount(trimmedName) <= kLongestSourceName &&
         trimmedName.find('~') == std::string_view::npos;
}

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

// Whether an eligible source has no program under any face name, or a program
// older than itself.
bool NeedsTranslation(const FileEntry& source, const FaceKeys& keys, const NameTable& index,
                      const FolderListing& programs) {
  int found = 0;
  bool upToDate = true;
  for (const std::optional<NameKeyValue>& key : keys) {
    const std::optional<std::uint32_t> program = key ? index.Find(*key) : std::nullopt;
    if (!program) continue;
    ++found;
    if (source.stamp > programs.entries[*program].stamp) upToDate = false;
  }
  return found == 0 || !upToDate;
}

void RunOrphanPass(const std::vector<FaceKeys>& sourceKeys, const FolderListing& programs,
                   const std::string& destinationFolder, Yielder& yielder, TickOutcome& outcome) {
  // Every listed source owns its names, the ones never translated included.
  NameTable owned(sourceKeys.size() * kFaceCount);
  for (const FaceKeys& keys : sourceKeys) {
    for (const std::optional<NameKeyValue>& key : keys) {
      if (key) owned.Add(*key, 0);
    }
  }

  for (const FileEntry& program : programs.entries) {
    yielder.Step();
    const std::string_view name = Trim(program.baseName);
    if (name.empty() || IsTemplateBaseName(name)) continue;
    const std::optional<NameKeyValue> key = NameKey(name);
    if (key && owned.Contains(*key)) continue;

    const std::string path = JoinPath(destinationFolder, program.name);
    if (!FileExists(path)) continue;  // gone since the listing
    SetFileAttributes(path, kArchiveAttribute);
    const Status removed = RemoveFile(path);
    if (!removed.ok()) {
      outcome.errors.push_back(removed.error());
      continue;
    }
    outcome.deletedPrograms.push_back(path);
    outcome.changed = true;
  }
}

std::string ProgramPattern(const std::string& extension) { return "*." + extension; }

}  // namespace

ScanCycle::ScanCycle(Session& session) : session_(session) {}

TickOutcome ScanCycle::RunTick(const TickInputs& inputs, const std::function<void()>& yield) {
  TickOutcome outcome;
  if (running_) {
    outcome.skipped = true;
    return outcome;
  }
  if (inputs.autoScan != 1) return outcome;
  const RunningGuard guard(running_);
  Yielder yielder(yield);

  // An empty path would list the working folder.
  if (inputs.sourceFolder.empty() || inputs.destinationFolder.empty()) {
    outcome.errors.push_back("No source or no program folder is set");
    return outcome;
  }
  const std::string extension = session_.Settings().programExtension();
  // The hidden flag is not needed: hidden programs are listed all the same.
  const FolderListing sources = ListFolder(inputs.sourceFolder, "*.", HiddenFlag::kSkip);
  const FolderListing programs =
      ListFolder(inputs.destinationFolder, ProgramPattern(extension), HiddenFlag::kSkip);
  if (!sources.ok()) outcome.errors.push_back(sources.error);
  if (!programs.ok()) outcome.errors.push_back(programs.error);
  if (!outcome.errors.empty()) return outcome;

  session_.Settings().destinationFolder = inputs.destinationFolder;
  RemoveStaleTemporaryFiles(inputs.destinationFolder);
  const std::vector<FaceKeys> sourceKeys = ProgramKeysOfSources(session_, sources, yielder);
  const NameTable index = IndexPrograms(programs);

  for (std::size_t i = 0; i < sources.entries.size(); ++i) {
    yielder.Step();
    const FileEntry& source = sources.entries[i];
    if (!IsEligible(Trim(source.baseName)) ||
        !NeedsTranslation(source, sourceKeys[i], index, programs)) {
      continue;
    }

    const std::string path = JoinPath(inputs.sourceFolder, source.name);
    const TranslationReport report = session_.Process(path);
    outcome.translated = true;
    if (report.refused) {
      outcome.refusedFiles.push_back(path);
    } else {
      outcome.translatedFiles.push_back(path);
    }
    for (const WrittenProgram& written : report.written) {
      outcome.writtenPrograms.push_back(written.path);
    }
    outcome.errors.insert(outcome.errors.end(), report.errors.begin(), report.errors.end());
    yielder.Now();
  }
  outcome.changed = outcome.translated;

  if (inputs.autoDel == 1) {
    RunOrphanPass(sourceKeys, programs, inputs.destinationFolder, yielder, outcome);
  }
  return outcome;
}

std::string DeleteAllQuestion(bool rcmFormat) {
  return std::string("Deleting all ") + ProgramExtension(rcmFormat) +
         " files will allow all files in the source directory" + "\r" +
         "     to be reprocessed if Automatic Translation is turned on." + "\r\r" +
         "                Do You Wish To Continue With Deletion?";
}

DeleteAllOutcome DeleteAllPrograms(const std::string& destinationFolder, bool rcmFormat,
                                   Operator& op) {
  DeleteAllOutcome outcome;
  outcome.confirmed = op.AskYesNo(kDeleteAllTitle, DeleteAllQuestion(rcmFormat));
  if (!outcome.confirmed) return outcome;

  const std::string pattern = ProgramPattern(ProgramExtension(rcmFormat));
  // A file that resists the first pass gets a second try; only the second
  // pass's failures are reported.
  for (int pass = 1; pass <= 2; ++pass) {
    const FolderListing programs = ListFolder(destinationFolder, pattern, HiddenFlag::kSkip);
    if (!programs.ok()) {
      outcome.errors.push_back(programs.error);
      break;
    }
    for (const FileEntry& program : programs.entries) {
      const std::string path = JoinPath(destinationFolder, program.name);
      SetFileAttributes(path, kArchiveAttribute);
      const Status removed = RemoveFile(path);
      if (removed.ok()) {
        outcome.deletedPrograms.push_back(path);
      } else if (pass == 2) {
        outcome.errors.push_back(removed.error());
      }
    }
  }
  return outcome;
}

}  // namespace tessaro
