#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstddef>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/text.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "gcode/gcode_interpreter.h"
#include "outside/file_ops.h"
#include "program/session.h"
#include "scan/scan_cycle.h"

namespace tessaro::cli {

namespace {

using Json = nlohmann::ordered_json;

struct Totals {
  int refused = 0;
  int failed = 0;
  int translate = 0;
  int upToDate = 0;
  int notEligible = 0;
  int settling = 0;
  int collisions = 0;
  int empty = 0;
  int hidden = 0;
  int readOnly = 0;
  int orphans = 0;
};

// What a status finds in a G-code file the next scan would translate.
enum class Contents { kNotRead, kGcode, kEmpty, kRefused, kUnreadable };

struct SourceState {
  const SourcePlan& plan;
  Contents contents = Contents::kNotRead;
  std::string unreadable;  // why, for kUnreadable
  bool attention() const { return plan.verdict != SourceVerdict::kUpToDate; }
};

std::vector<SourceState> SourceStates(const TickInputs& inputs, const TickPlan& plan) {
  std::vector<SourceState> states;
  for (std::size_t i = 0; i < plan.sources.size(); ++i) {
    const SourcePlan& source = plan.sources[i];
    SourceState state{source, Contents::kNotRead, ""};
    if (source.verdict == SourceVerdict::kTranslate) {
      const GcodeReading reading =
          ReadGcodeFile(JoinPath(inputs.sourceFolder, plan.sourceListing.entries[i].name), {}, {});
      state.contents = !reading.status.ok()         ? Contents::kUnreadable
                       : reading.empty              ? Contents::kEmpty
                       : reading.holes.RejectedFile ? Contents::kRefused
                                                    : Contents::kGcode;
      state.unreadable = reading.status.ok() ? "" : reading.status.error();
    }
    states.push_back(state);
  }
  return states;
}

Totals Count(const TickPlan& plan, const std::vector<SourceState>& states) {
  Totals totals;
  for (const SourceState& state : states) {
    if (state.contents == Contents::kEmpty) {
      ++totals.empty;
      continue;
    }
    if (state.contents == Contents::kRefused) {
      ++totals.refused;
      continue;
    }
    if (state.contents == Contents::kUnreadable) {
      ++totals.failed;
      continue;
    }
    switch (state.plan.verdict) {
      case SourceVerdict::kTranslate:
        ++totals.translate;
        break;
      case SourceVerdict::kSettling:
        ++totals.settling;
        break;
      case SourceVerdict::kCollision:
        ++totals.collisions;
        break;
      case SourceVerdict::kUpToDate:
        ++totals.upToDate;
        break;
      case SourceVerdict::kNotEligible:
        ++totals.notEligible;
        break;
    }
  }
  for (const ProgramPlan& program : plan.programs) {
    totals.hidden += program.hidden ? 1 : 0;
    totals.readOnly += program.readOnly ? 1 : 0;
    totals.orphans += program.verdict == ProgramVerdict::kOrphan ? 1 : 0;
  }
  return totals;
}

const char* IneligibilityKey(Ineligibility why) {
  switch (why) {
    case Ineligibility::kBlankName:
      return "blank_name";
    case Ineligibility::kLongName:
      return "long_name";
    case Ineligibility::kTilde:
      return "tilde";
    case Ineligibility::kNone:
      break;
  }
  return "";
}

const char* IneligibilityText(Ineligibility why) {
  switch (why) {
    case Ineligibility::kBlankName:
      return "the name is blank";
    case Ineligibility::kLongName:
      return "the name is longer than 8 characters";
    case Ineligibility::kTilde:
      return "the name holds a ~";
    case Ineligibility::kNone:
      break;
  }
  return "";
}

std::vector<std::string> OlderProgramNames(const TickPlan& plan, const SourcePlan& source) {
  std::vector<std::string> names;
  for (const std::size_t program : source.olderPrograms) {
    names.push_back(plan.programListing.entries[program].name);
  }
  return names;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::string StatusJson(const TickInputs& inputs, const std::string& extension, const TickPlan& plan,
                       const std::vector<SourceState>& states) {
  Json sources = Json::array();
  for (std::size_t i = 0; i < plan.sources.size(); ++i) {
    const SourcePlan& source = plan.sources[i];
    Json entry;
    entry["name"] = ToUtf8(plan.sourceListing.entries[i].name);
    switch (source.verdict) {
      case SourceVerdict::kTranslate:
        if (states[i].contents == Contents::kEmpty) {
          entry["state"] = "empty";
          break;
        }
        if (states[i].contents == Contents::kRefused) {
          entry["state"] = "refused";
          entry["reason"] = "not_gcode";
          break;
        }
        if (states[i].contents == Contents::kUnreadable) {
          entry["state"] = "failed";
          entry["reason"] = ToUtf8(states[i].unreadable);
          break;
        }
        entry["state"] = "translate";
        entry["reason"] = !source.olderPrograms.empty() ? "newer"
                          : source.incomplete           ? "program_missing"
                                                        : "no_program";
        if (!source.olderPrograms.empty()) {
          Json older = Json::array();
          for (const std::string& name : OlderProgramNames(plan, source)) {
            older.push_back(ToUtf8(name));
          }
          entry["newer_than"] = std::move(older);
        }
        break;
      case SourceVerdict::kUpToDate:
        entry["state"] = "up_to_date";
        break;
      case SourceVerdict::kNotEligible:
        entry["state"] = "not_eligible";
        entry["reason"] = IneligibilityKey(source.ineligibility);
        break;
      case SourceVerdict::kSettling:
        entry["state"] = "settling";
        break;
      case SourceVerdict::kCollision:
        entry["state"] = "collision";
        entry["program"] = ToUtf8(source.sharedProgram);
        entry["translated_instead"] = ToUtf8(plan.sourceListing.entries[source.collidesWith].name);
        break;
    }
    sources.push_back(std::move(entry));
  }

  Json programs = Json::array();
  for (std::size_t j = 0; j < plan.programs.size(); ++j) {
    const ProgramPlan& program = plan.programs[j];
    Json entry;
    entry["name"] = ToUtf8(plan.programListing.entries[j].name);
    entry["gcode_file"] = program.verdict == ProgramVerdict::kOwned
                              ? Json(ToUtf8(plan.sourceListing.entries[program.source].name))
                              : Json(nullptr);
    entry["hidden"] = program.hidden;
    entry["read_only"] = program.readOnly;
    entry["orphan"] = program.verdict == ProgramVerdict::kOrphan;
    programs.push_back(std::move(entry));
  }

  const Totals totals = Count(plan, states);
  Json json;
  json["format"] = 1;
  json["source_folder"] = ToUtf8(inputs.sourceFolder);
  json["program_folder"] = ToUtf8(plan.programFolder);
  json["extension"] = extension;
  json["auto_delete"] = inputs.autoDel == 1;
  json["gcode_files"] = std::move(sources);
  json["programs"] = std::move(programs);
  json["totals"] = {{"translate", totals.translate},
                    {"refused", totals.refused},
                    {"failed", totals.failed},
                    {"up_to_date", totals.upToDate},
                    {"not_eligible", totals.notEligible},
                    {"settling", totals.settling},
                    {"collisions", totals.collisions},
                    {"empty", totals.empty},
                    {"programs", plan.programs.size()},
                    {"hidden", totals.hidden},
                    {"read_only", totals.readOnly},
                    {"orphans", totals.orphans}};
  return json.dump(2) + "\n";
}

// One line per file: its name in a column as wide as the longest (in characters, not
// bytes), then the state.
class Column {
 public:
  explicit Column(const FolderListing& listing) {
    for (const FileEntry& entry : listing.entries) {
      width_ = std::max(width_, CharacterCount(entry.name));
    }
  }
  std::string Line(const std::string& name, const std::string& state) const {
    return "  " + name + std::string(width_ - CharacterCount(name) + 2, ' ') + state + "\n";
  }

 private:
  std::size_t width_ = 0;
};

std::string StatusText(const TickInputs& inputs, const TickPlan& plan,
                       const std::vector<SourceState>& states) {
  std::ostringstream out;
  out << "G-code files in " << inputs.sourceFolder << ":\n";
  const Column sourceColumn(plan.sourceListing);
  for (std::size_t i = 0; i < plan.sources.size(); ++i) {
    const SourcePlan& source = plan.sources[i];
    std::string state;
    switch (source.verdict) {
      case SourceVerdict::kTranslate:
        state = states[i].contents == Contents::kEmpty
                    ? "empty: not translated, its programs are kept"
                : states[i].contents == Contents::kRefused
                    ? "refused: not G-code of the accepted kind, the file is kept"
                : states[i].contents == Contents::kUnreadable ? "failed: " + states[i].unreadable
                : !source.olderPrograms.empty()
                    ? "translate: newer than " + Joined(OlderProgramNames(plan, source))
                : source.incomplete ? "translate: a program is missing"
                                    : "translate: no program yet";
        break;
      case SourceVerdict::kUpToDate:
        state = "up to date";
        break;
      case SourceVerdict::kNotEligible:
        state = std::string("not eligible: ") + IneligibilityText(source.ineligibility);
        break;
      case SourceVerdict::kSettling:
        state = "being written: translated once it has been quiet for a moment";
        break;
      case SourceVerdict::kCollision:
        state = "not translated: " + plan.sourceListing.entries[source.collidesWith].name +
                " gives the same program " + source.sharedProgram;
        break;
    }
    out << sourceColumn.Line(plan.sourceListing.entries[i].name, state);
  }

  const bool autoDelete = inputs.autoDel == 1;
  out << "Programs in " << plan.programFolder << " (automatic deletion "
      << (autoDelete ? "on" : "off") << "):\n";
  const Column programColumn(plan.programListing);
  for (std::size_t j = 0; j < plan.programs.size(); ++j) {
    const ProgramPlan& program = plan.programs[j];
    std::string state;
    switch (program.verdict) {
      case ProgramVerdict::kOwned:
        state = plan.sourceListing.entries[program.source].name;
        break;
      case ProgramVerdict::kOrphan:
        state = autoDelete ? "orphan: the next scan deletes it"
                           : "orphan: kept while automatic deletion is off";
        break;
      case ProgramVerdict::kSpared:
        state = "never deleted";
        break;
    }
    if (program.hidden) state += ", hidden";
    if (program.readOnly) state += ", read-only";
    out << programColumn.Line(plan.programListing.entries[j].name, state);
  }

  const Totals totals = Count(plan, states);
  out << "Totals: " << totals.translate << " to translate, " << totals.upToDate << " up to date, "
      << totals.notEligible << " not eligible, " << totals.refused << " refused, " << totals.failed
      << " failed, " << totals.empty << " empty, " << totals.collisions
      << (totals.collisions == 1 ? " collision, " : " collisions, ") << totals.settling
      << " being written; " << plan.programs.size() << " programs, " << totals.hidden << " hidden, "
      << totals.readOnly << " read-only, " << totals.orphans
      << (totals.orphans == 1 ? " orphan\n" : " orphans\n");
  return out.str();
}

struct StatusOptions {
  std::string home;
  bool json = false;
};

int RunStatus(const StatusOptions& options) {
  const std::optional<ScanSetup> setup = ReadScanSetup(options.home, "status");
  if (!setup) return kExitConfiguration;

  StderrOperator asker;  // planning asks nothing
  Session session(asker);
  session.Settings() = setup->settings;
  const TickPlan plan = PlanTick(session, setup->inputs, ProgramAttributes::kRead);
  if (!plan.ok()) {
    for (const std::string& error : plan.errors)
      std::cerr << "tessaro-cli status: " << error << "\n";
    return kExitFailed;
  }
  const std::vector<SourceState> states = SourceStates(setup->inputs, plan);
  std::cout << (options.json
                    ? StatusJson(setup->inputs, setup->settings.programExtension(), plan, states)
                    : StatusText(setup->inputs, plan, states));
  bool attention = std::any_of(states.begin(), states.end(),
                               [](const SourceState& state) { return state.attention(); });
  if (!IsWritableFolder(plan.programFolder)) {
    std::cerr << "tessaro-cli status: the program folder " << plan.programFolder
              << " cannot be written: no scan can translate into it\n";
    attention = true;
  }
  return attention ? kExitFailed : kExitOk;
}

}  // namespace

Command AddStatusCommand(CLI::App& tool) {
  auto options = std::make_shared<StatusOptions>();
  CLI::App* line = tool.add_subcommand("status", "what the next scan would do, without doing it");
  AddHomeOption(*line, options->home);
  line->add_flag("--json", options->json, "one JSON object for scripts");
  return {line, "usage: tessaro-cli status [--home DIR] [--json]\n",
          [options] { return RunStatus(*options); }};
}

}  // namespace tessaro::cli
