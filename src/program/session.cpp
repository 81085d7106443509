#include "program/session.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <utility>

#include "app/app_folder.h"
#include "app/file_names.h"
#include "app/operator.h"
#include "app/text.h"
#include "gcode/gcode_interpreter.h"
#include "outside/file_ops.h"
#include "program/program_files.h"

namespace tessaro {

namespace {

constexpr int kFirstFace = 1;
constexpr int kLastFace = 4;

// A check box value as start-up leaves it: a stored 0, 1 or 2, else unchecked.
int CheckBoxValue(const std::optional<int>& stored) {
  if (!stored || *stored < 0 || *stored > 2) return 0;
  return *stored;
}

int ExclusionDigit(const std::string& text) { return static_cast<int>(ReadNumber(text)); }

// The face named by one position of the face order, or 0 when the position holds no
// digit 1 to 4 or lies past the end of the text.
int FaceAtPosition(const std::string& facePriority, size_t position) {
  if (position >= facePriority.size()) return 0;
  const char c = facePriority[position];
  if (c < '1' || c > '4') return 0;
  return c - '0';
}

bool HasPositiveLocation(const HoleSet& holes, int face) {
  for (int hole = 1; hole <= kMaxHolesPerFace; ++hole) {
    if (holes.Holes[face][hole].Location > 0) return true;
  }
  return false;
}

int CountPositiveLocations(const HoleSet& holes, int face) {
  int count = 0;
  for (int hole = 1; hole <= kMaxHolesPerFace; ++hole) {
    if (holes.Holes[face][hole].Location > 0) ++count;
  }
  return count;
}

bool FaceHasHole(const HoleSet& holes, int face, const HoleRecord& wanted) {
  for (int hole = 1; hole <= kMaxHolesPerFace; ++hole) {
    const HoleRecord& candidate = holes.Holes[face][hole];
    if (candidate.Location == wanted.Location && candidate.Drill == wanted.Drill &&
        candidate.Dowel == wanted.Dowel) {
      return true;
    }
  }
  return false;
}

}  // namespace

TranslationSettings TranslationSettingsFromStored(const StoredOptions& stored,
                                                  const std::string& appFolder) {
  TranslationSettings settings;
  settings.rcmFormat = stored.rcmFormat;
  settings.appFolder = appFolder;
  settings.destinationFolder = stored.destinationPath;
  settings.facePriority = stored.facePriority;
  for (int face = 1; face <= kLastFace; ++face) {
    settings.masks[face] = MaskFromStored(stored.masks[face]);
  }
  settings.omissionRulesEnabled = AllMasksSet(settings.masks);
  settings.noEmpties = CheckBoxValue(stored.noEmpties);
  settings.noDuplicates = CheckBoxValue(stored.noDuplicates);
  settings.drillExclusion = ExclusionDigit(stored.drillExclusion);
  settings.dowelExclusion = ExclusionDigit(stored.dowelExclusion);
  return settings;
}

std::vector<int> FacesAlwaysWritten(const TranslationSettings& settings) {
  if (settings.rcmFormat) return {1, 2, 3, 4};
  std::vector<int> faces;
  for (size_t position = 0; position < kLastFace; ++position) {
    const int face = FaceAtPosition(settings.facePriority, position);
    if (face == 0 || std::find(faces.begin(), faces.end(), face) != faces.end()) continue;
    faces.push_back(face);
    if (!settings.omissionRulesEnabled) break;
  }
  return faces;
}

Status Session::ReadGcode(const std::string& gcodePath) {
  return ReadGcodeAsking(gcodePath).status;
}

Session::ReadResult Session::ReadGcodeAsking(const std::string& gcodePath) {
  GcodeReading reading =
      ReadGcodeFile(gcodePath, holes_, {settings_.drillExclusion, settings_.dowelExclusion});
  holes_ = std::move(reading.holes);
  if (reading.status.ok() && !reading.empty) macroCarriedOver_ = !reading.namedMacro;
  if (!reading.status.ok() || reading.empty || !holes_.RejectedFile) {
    return {reading.status, reading.empty, std::nullopt};
  }
  return {reading.status, false, AskToDeleteRefusedFile(gcodePath)};
}

std::optional<Status> Session::AskToDeleteRefusedFile(const std::string& path) {
  const std::optional<FileVersion> version = VersionOf(path);
  if (const auto kept = keptRefusedFiles_.find(path);
      kept != keptRefusedFiles_.end() && kept->second == version) {
    return std::nullopt;
  }
  const std::string text = "         Source file " + FileNamePart(path) + "\r" +
                           "    Is not of the correct file type." + "\r\r" +
                           "      Do you wish to delete it?";
  if (!operator_.AskYesNo("Alert!", text)) {
    keptRefusedFiles_[path] = version;
    return std::nullopt;
  }
  const Status removed = RemoveFile(path);
  if (!removed.ok()) operator_.Tell("Alert!", removed.error());
  return removed;
}

TranslationReport Session::Process(const std::string& gcodePath, FolderSpellings* programNames) {
  // A file still being written may change several times in a row; after this many
  // readings the next tick tries again.
  constexpr int kReadings = 3;
  std::optional<FolderSpellings> listed;
  if (programNames == nullptr) {
    programNames = &listed.emplace(FolderSpellings::Of(settings_.destinationFolder));
  }
  const HoleSet carried = holes_;
  for (int reading = 1;; ++reading) {
    holes_ = carried;
    const std::optional<FileVersion> before = VersionOf(gcodePath);
    TranslationReport report = TranslateOnce(gcodePath, *programNames, before);
    if (report.unsettled && reading < kReadings) continue;
    if (report.unsettled || report.written.empty()) return report;

    const std::optional<FileVersion> after = VersionOf(gcodePath);
    if (after == before) return report;
    if (reading < kReadings) continue;
    // Programs newer than their G-code file would pass for its translation.
    if (after && before) {
      const auto older = std::min(before->stamp, after->stamp) - std::chrono::seconds(1);
      for (const WrittenProgram& program : report.written) SetModifiedStamp(program.path, older);
    }
    report.unsettled = true;
    return report;
  }
}

TranslationReport Session::TranslateOnce(const std::string& gcodePath,
                                         FolderSpellings& programNames,
                                         const std::optional<FileVersion>& before) {
  TranslationReport report;
  const ReadResult read = ReadGcodeAsking(gcodePath);
  if (!read.status.ok()) {
    report.errors.push_back(read.status.error());
    return report;
  }
  if (read.empty) {
    report.empty = true;
    return report;
  }
  report.refusedFileDeletion = read.refusedFileDeletion;
  translatedHoles_ = holes_;
  if (holes_.RejectedFile) {
    report.refused = true;
    return report;
  }
  if (readObserver_) readObserver_(gcodePath);
  const std::optional<FacePaths> paths = FaceProgramPaths(gcodePath, programNames, report);
  if (!paths) return report;
  std::optional<std::vector<FaceProgram>> programs;
  if (settings_.rcmFormat) {
    programs = RcmPrograms(report);
    if (programs) lastTranslatedFile_ = gcodePath;
  } else {
    programs = AccPrograms();
  }
  holes_.FaceHoleCount = {};
  if (!programs) return report;

  FileReplacement replacement;
  for (const FaceProgram& program : *programs) {
    // The archive attribute alone lets a hidden or read-only program be replaced.
    const Status staged = replacement.Stage(paths->at(program.face), program.text,
                                            program.hidden ? kHiddenAttribute : kArchiveAttribute);
    if (!staged.ok()) {
      report.errors.push_back(staged.error());
      return report;
    }
  }
  if (VersionOf(gcodePath) != before) {
    report.unsettled = true;
    return report;
  }
  const FileReplacement::Committed committed = replacement.Commit();
  for (size_t i = 0; i < committed.placed; ++i) {
    const std::string& path = paths->at((*programs)[i].face);
    report.written.push_back({path, (*programs)[i].hidden});
    programNames.Add(FileNamePart(path));
  }
  if (!committed.status.ok()) report.errors.push_back(committed.status.error());
  return report;
}

std::optional<Session::FacePaths> Session::FaceProgramPaths(const std::string& gcodePath,
                                                            const FolderSpellings& programNames,
                                                            TranslationReport& report) const {
  FacePaths paths;
  for (int face = kFirstFace; face <= kLastFace; ++face) {
    const std::string baseName = ApplyMask(FileNamePart(holes_.ScannedFile), face);
    // An empty name or one that starts with "." would write a hidden dot file.
    if (baseName.empty() || baseName[0] == '.') {
      report.errors.push_back("Cannot translate " + gcodePath + ": face " + std::to_string(face) +
                              " gets no usable program name (\"" + baseName + "\")");
      return std::nullopt;
    }
    // A program whose name differs only in letter case is the same program.
    paths[face] = JoinPath(settings_.destinationFolder,
                           programNames.SpellingOf(baseName + "." + settings_.programExtension()));
  }
  return paths;
}

std::optional<std::vector<Session::FaceProgram>> Session::RcmPrograms(
    TranslationReport& report) const {
  // The template is read once; a template that cannot be read leaves the destination
  // as it was.
  const FileContents templateFile = ReadFileContents(TemplatePath(settings_.appFolder));
  if (!templateFile.status.ok()) {
    report.errors.push_back(templateFile.status.error());
    return std::nullopt;
  }
  std::vector<FaceProgram> programs;
  for (int face = kFirstFace; face <= kLastFace; ++face) {
    programs.push_back(
        {face, MergeFaceIntoTemplate(templateFile.text, holes_, face), FaceTest(face)});
  }
  return programs;
}

std::vector<Session::FaceProgram> Session::AccPrograms() {
  const bool metricSource = holes_.MetricSource == 1;
  auto shown = [&](double location) {
    if (metricSource && table_.Inch) return location / 25.4;
    if (!metricSource && !table_.Inch) return location * 25.4;
    return location;
  };

  std::vector<FaceProgram> programs;
  std::array<bool, kLastFace + 1> done{};
  for (size_t position = 0; position < kLastFace; ++position) {
    const int face = FaceAtPosition(settings_.facePriority, position);
    // A face the order names twice is written once.
    if (face == 0 || done[static_cast<size_t>(face)]) continue;
    done[static_cast<size_t>(face)] = true;

    int row = 1;
    while (row <= kMaxHolesPerFace && holes_.Holes[face][row].Location != 0) {
      const HoleRecord& hole = holes_.Holes[face][row];
      table_.SetCell(row, ProgramTable::kLocationColumn, FormatGeneral(shown(hole.Location)));
      table_.SetCell(row, ProgramTable::kDrillColumn, std::to_string(hole.Drill));
      table_.SetCell(row, ProgramTable::kDowelColumn, std::to_string(hole.Dowel));
      ++row;
    }
    table_.Cmt1 = holes_.MacroName;
    table_.HoleCount = row - 1;

    const bool lastPosition = position == kLastFace - 1;
    bool hide = false;
    if (settings_.omissionRulesEnabled) {
      hide = FaceTest(face);
    } else {
      hide = table_.HoleCount == 0 && lastPosition;
    }
    programs.push_back({face, FormatAccProgram(table_, table_.HoleCount), hide});
    if (!settings_.omissionRulesEnabled && table_.HoleCount > 0) break;
  }
  return programs;
}

Status Session::LoadProgramFile(const std::string& path) {
  if (path.empty()) {
    table_.ClearTable();
    return Status::Ok();
  }
  const FileContents program = ReadFileContents(path);
  if (!program.status.ok()) return program.status;
  table_ = ReadProgramText(program.text, path, settings_.rcmFormat, std::move(table_));
  return Status::Ok();
}

SaveOutcome Session::SaveProgram(const std::string& target, const std::string& basePath) {
  if (!settings_.rcmFormat) {
    return {target, ReplaceFileContents(target, FormatAccProgram(table_, table_.HoleCount))};
  }
  const std::string written = ResolveSaveTarget(target);
  const FileContents base = ReadFileContents(basePath);
  if (!base.status.ok()) return {written, base.status};
  return {written, ReplaceFileContents(written, MergeTableIntoRcm(base.text, table_))};
}

std::string Session::ApplyMask(std::string_view sourceName, int face) const {
  std::vector<std::string_view> name = SplitCharacters(FirstCharacters(sourceName, kMaskLength));
  name.resize(kMaskLength, " ");
  if (face >= 0 && face <= kLastFace) {
    const std::vector<std::string_view> mask =
        SplitCharacters(settings_.masks[static_cast<size_t>(face)]);
    for (size_t i = 0; i < kMaskLength && i < mask.size(); ++i) {
      // A character no file name can hold keeps the source's character.
      if (mask[i] != " " && IsFileNameText(mask[i])) name[i] = mask[i];
    }
  }
  std::string joined;
  for (const std::string_view character : name) joined += character;
  joined = std::string(Trim(joined));
  std::replace(joined.begin(), joined.end(), ' ', '-');
  return joined;
}

DrawingNotes Session::LastDrawingNotes() const {
  DrawingNotes notes;
  notes.macroFromEarlierFile = macroCarriedOver_;
  for (int face = kFirstFace; face <= kLastFace; ++face) {
    notes.hiddenFaces[static_cast<size_t>(face)] = FaceTest(face);
  }
  return notes;
}

bool Session::FaceTest(int face) const {
  if (!settings_.omissionRulesEnabled) return false;
  if (face < kFirstFace || face > kLastFace) return false;
  if (settings_.noEmpties != 0 && !HasPositiveLocation(holes_, face)) return true;
  if (settings_.noDuplicates == 0) return false;

  int partner = 0;
  if (face == 2) partner = 1;
  if (face == 4) partner = 3;
  if (partner == 0) return false;

  if (CountPositiveLocations(holes_, partner) != CountPositiveLocations(holes_, face)) {
    return false;
  }
  for (int hole = 1; hole <= kMaxHolesPerFace; ++hole) {
    const HoleRecord& wanted = holes_.Holes[partner][hole];
    if (wanted.Location != 0 && !FaceHasHole(holes_, face, wanted)) return false;
  }
  return true;
}

}  // namespace tessaro
