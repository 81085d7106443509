#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_names.h"
#include "app/options.h"
#include "gcode/hole_set.h"
#include "outside/file_ops.h"
#include "outside/status.h"
#include "program/panel_drawing.h"
#include "program/program_table.h"

namespace tessaro {

class Operator;

// The options a translation reads, kept current by whoever owns the session (the
// desktop from its controls, the headless tool from the settings file).
struct TranslationSettings {
  bool rcmFormat = false;
  std::string appFolder;          // ends with a separator; holds Template.RCM
  std::string destinationFolder;  // the program folder
  std::string facePriority = std::string(kDefaultFacePriority);
  FaceMasks masks = {"", "        ", "        ", "        ", "        "};
  bool omissionRulesEnabled = false;  // Empties and Duplicates enabled (all masks set)
  int noEmpties = 0;                  // check box value: 0 unticked, 1 ticked, 2 grey
  int noDuplicates = 0;
  int drillExclusion = 0;  // digits 0 to 9, read for every hole
  int dowelExclusion = 0;

  std::string programExtension() const { return ProgramExtension(rcmFormat); }
};

// The translation options as the settings file holds them (the headless tool's way;
// the desktop keeps its controls and the session's settings in step instead).
// Masks hold "*" read as blank; NoEmpties and NoDuplicates count only when all four
// masks are set.
TranslationSettings TranslationSettingsFromStored(const StoredOptions& stored,
                                                  const std::string& appFolder);

struct WrittenProgram {
  std::string path;
  bool hidden = false;
};

struct SaveOutcome {
  std::string path;  // the file written (or that could not be written)
  Status status = Status::Ok();
};

// What one translation did.
struct TranslationReport {
  bool refused = false;  // the G-code file's first line was not acceptable
  bool empty = false;    // the file holds nothing but blanks: nothing written or asked
  // The file kept changing while it was read: what it gave is not taken for its
  // translation, and the next tick translates it again.
  bool unsettled = false;
  std::vector<WrittenProgram> written;  // in the order written
  std::vector<std::string> errors;      // each names the file and the reason
  // Set when the operator answered Yes to deleting the refused file: whether it went.
  std::optional<Status> refusedFileDeletion;
  bool ok() const { return !refused && !empty && !unsettled && errors.empty(); }
};

// The faces whose programs every translation writes in the format in force: all four
// in the RCM format; in the ACC format the first face of the face order, or every
// face it names while the omission rules are enabled. Such a program missing from
// the program folder means its G-code file's translation is not complete.
std::vector<int> FacesAlwaysWritten(const TranslationSettings& settings);

// Owns what successive commands share: the hole set that carries over from one G-code
// file to the next, the program table the operator sees, and the translation settings.
// The desktop window and the headless tool each own one Session.
class Session {
 public:
  explicit Session(Operator& op) : operator_(op) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  TranslationSettings& Settings() { return settings_; }
  const TranslationSettings& Settings() const { return settings_; }
  HoleSet& Holes() { return holes_; }
  const HoleSet& Holes() const { return holes_; }
  ProgramTable& Table() { return table_; }
  const ProgramTable& Table() const { return table_; }
  Operator& Asker() { return operator_; }

  // Reads one G-code file into the hole set only (nothing is written), with the
  // exclusion digits in force. A refused file asks whether to delete it, once for each
  // version of it (its stamp and size): after a No it is left alone until it changes.
  Status ReadGcode(const std::string& gcodePath);

  // The next refusal of the file at `path` asks again (the operator picked it).
  void AskAgainAbout(const std::string& path) { keptRefusedFiles_.erase(path); }

  // Translates one G-code file into its face programs in the destination folder: in
  // the RCM format faces 1 to 4 through Template.RCM of the application folder, in the
  // ACC format the faces in FacePriority order (each face once) through the table.
  // The programs are replaced as one (see FileReplacement): all of them or none,
  // hidden and read-only ones included. A refused or empty G-code file and an
  // unreadable template write nothing; failures name the file in `errors`.
  //
  // The file's stamp and size are taken before it is read; a file that changes while
  // it is translated is read again, a few times at most. One that is still changing
  // then is left `unsettled`: its programs are never newer than it.
  //
  // `programNames` holds the names of the program folder, kept up to date here;
  // without it the folder is listed for this translation.
  TranslationReport Process(const std::string& gcodePath, FolderSpellings* programNames = nullptr);

  // Loads a program file of the format in force into the table; "" only clears it. A
  // file that cannot be read leaves the table as it was.
  Status LoadProgramFile(const std::string& path);
  // Saves the table to `target`. RCM: merged into the base program `basePath` (the
  // program being saved over, or the one a Save As starts from), written to
  // ResolveSaveTarget(target). ACC: the comment and the first HoleCount rows.
  SaveOutcome SaveProgram(const std::string& target, const std::string& basePath);

  // The output base name of a source file name for a face (at most 8 characters).
  std::string ApplyMask(std::string_view sourceName, int face) const;
  // True when the face's program is to be hidden by the omission rules.
  bool FaceTest(int face) const;

  // Runs each time Process has read a G-code file, before its programs are staged:
  // where a test changes the file under the translation.
  void SetReadObserver(std::function<void(const std::string& gcodePath)> observer) {
    readObserver_ = std::move(observer);
  }

  // What the drawing of the hole set read last shows beside its holes: whether its
  // macro name came from an earlier file, and the faces the omission rules hide.
  DrawingNotes LastDrawingNotes() const;

  // The G-code file of the last translation in the RCM format.
  const std::string& LastTranslatedFile() const { return lastTranslatedFile_; }
  // The hole set of the last G-code file Process read, as read: Process empties the face
  // counts of Holes() once the programs are written.
  const HoleSet& TranslatedHoles() const { return translatedHoles_; }

 private:
  using FacePaths = std::array<std::string, 5>;  // slots 1 to 4
  // destination folder / ApplyMask(name of the G-code file, face) . extension, in the
  // letter case of a program already there; nullopt (and an error) when a face gets
  // no usable name.
  std::optional<FacePaths> FaceProgramPaths(const std::string& gcodePath,
                                            const FolderSpellings& programNames,
                                            TranslationReport& report) const;
  struct FaceProgram {
    int face = 0;
    std::string text;
    bool hidden = false;
  };
  // The programs of the hole set just read, in the order they are written; nullopt
  // (and an error) when the template cannot be read.
  std::optional<std::vector<FaceProgram>> RcmPrograms(TranslationReport& report) const;
  std::vector<FaceProgram> AccPrograms();
  struct ReadResult {
    Status status = Status::Ok();
    bool empty = false;
    std::optional<Status> refusedFileDeletion;
  };
  ReadResult ReadGcodeAsking(const std::string& gcodePath);
  std::optional<Status> AskToDeleteRefusedFile(const std::string& path);
  // One reading of the G-code file and, unless it changed before its programs were
  // staged, their replacement; `unsettled` is set when it changed.
  TranslationReport TranslateOnce(const std::string& gcodePath, FolderSpellings& programNames,
                                  const std::optional<FileVersion>& before);

  Operator& operator_;
  TranslationSettings settings_;
  HoleSet holes_;
  ProgramTable table_;
  std::string lastTranslatedFile_;
  HoleSet translatedHoles_;
  std::function<void(const std::string&)> readObserver_;
  bool macroCarriedOver_ = false;  // by the last read
  // Refused files the operator chose to keep, each with the version asked about: the
  // same version is not asked about again.
  std::map<std::string, std::optional<FileVersion>> keptRefusedFiles_;
};

}  // namespace tessaro
