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

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "program/session.h"
#include "scan/scan_cycle.h"

namespace tessaro::cli {

namespace {

using Json = nlohmann::ordered_json;

struct Totals {
  int translate = 0;
  int upToDate = 0;
  int notEligible = 0;
  int hidden = 0;
  int readOnly = 0;
  int orphans = 0;
};

Totals Count(const TickPlan& plan) {
  Totals totals;
  for (const SourcePlan& source : plan.sources) {
    switch (source.verdict) {
      case SourceVerdict::kTranslate:
        ++totals.translate;
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

std::string StatusJson(const TickInputs& inputs, const std::string& extension,
                       const TickPlan& plan) {
  Json sources = Json::array();
  for (std::size_t i = 0; i < plan.sources.size(); ++i) {
    const SourcePlan& source = plan.sources[i];
    Json entry;
    entry["name"] = ToUtf8(plan.sourceListing.entries[i].name);
    switch (source.verdict) {
      case SourceVerdict::kTranslate:
        entry["state"] = "translate";
        entry["reason"] = source.olderPrograms.empty() ? "no_program" : "newer";
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

  const Totals totals = Count(plan);
  Json json;
  json["source_folder"] = ToUtf8(inputs.sourceFolder);
  json["program_folder"] = ToUtf8(plan.programFolder);
  json["extension"] = extension;
  json["auto_delete"] = inputs.autoDel == 1;
  json["gcode_files"] = std::move(sources);
  json["programs"] = std::move(programs);
  json["totals"] = {{"translate", totals.translate},
                    {"up_to_date", totals.upToDate},
                    {"not_eligible", totals.notEligible},
                    {"programs", plan.programs.size()},
                    {"hidden", totals.hidden},
                    {"read_only", totals.readOnly},
                    {"orphans", totals.orphans}};
  return json.dump(2) + "\n";
}

// One line per file: its name in a column as wide as the longest, then the state.
class Column {
 public:
  explicit Column(const FolderListing& listing) {
    for (const FileEntry& entry : listing.entries) width_ = std::max(width_, entry.name.size());
  }
  std::string Line(const std::string& name, const std::string& state) const {
    return "  " + name + std::string(width_ - name.size() + 2, ' ') + state + "\n";
  }

 private:
  std::size_t width_ = 0;
};

std::string StatusText(const TickInputs& inputs, const TickPlan& plan) {
  std::ostringstream out;
  out << "G-code files in " << inputs.sourceFolder << ":\n";
  const Column sourceColumn(plan.sourceListing);
  for (std::size_t i = 0; i < plan.sources.size(); ++i) {
    const SourcePlan& source = plan.sources[i];
    std::string state;
    switch (source.verdict) {
      case SourceVerdict::kTranslate:
        state = source.olderPrograms.empty()
                    ? "translate: no program yet"
                    : "translate: newer than " + Joined(OlderProgramNames(plan, source));
        break;
      case SourceVerdict::kUpToDate:
        state = "up to date";
        break;
      case SourceVerdict::kNotEligible:
        state = std::string("not eligible: ") + IneligibilityText(source.ineligibility);
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

  const Totals totals = Count(plan);
  out << "Totals: " << totals.translate << " to translate, " << totals.upToDate << " up to date, "
      << totals.notEligible << " not eligible; " << plan.programs.size() << " programs, "
      << totals.hidden << " hidden, " << totals.readOnly << " read-only, " << totals.orphans
      << (totals.orphans == 1 ? " orphan\n" : " orphans\n");
  return out.str();
}

struct StatusOptions {
  std::string home;
  bool json = false;
};

int RunStatus(const StatusOptions& options) {
  const std::optional<ScanSetup> setup = ReadScanSetup(options.home, "status");
  if (!setup) return kExitFailed;

  StderrOperator asker;  // planning asks nothing
  Session session(asker);
  session.Settings() = setup->settings;
  const TickPlan plan = PlanTick(session, setup->inputs, ProgramAttributes::kRead);
  if (!plan.ok()) {
    for (const std::string& error : plan.errors)
      std::cerr << "tessaro-cli status: " << error << "\n";
    return kExitFailed;
  }
  std::cout << (options.json ? StatusJson(setup->inputs, setup->settings.programExtension(), plan)
                             : StatusText(setup->inputs, plan));
  return kExitOk;
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
