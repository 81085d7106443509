#include <CLI/CLI.hpp>
#include <iomanip>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "gcode/hole_set.h"
#include "program/panel_svg.h"
#include "program/session.h"

namespace tessaro::cli {

namespace {

constexpr const char* kHolesUsage = "usage: tessaro-cli holes [--home DIR] [--json | --svg] FILE\n";
constexpr const char* kFaceNames[kFaceSlots] = {"no program", "top", "bottom", "left", "right"};

std::string HolesJson(const HoleSet& holes) {
  const MacroParameters& params = holes.MacroParams;
  nlohmann::ordered_json faces = nlohmann::ordered_json::array();
  for (int face = 0; face < kFaceSlots; ++face) {
    nlohmann::ordered_json faceHoles = nlohmann::ordered_json::array();
    for (int n = 1; n <= holes.FaceHoleCount[face]; ++n) {
      const HoleRecord& hole = holes.Holes[face][n];
      faceHoles.push_back(
          {{"location", hole.Location}, {"drill", hole.Drill != 0}, {"dowel", hole.Dowel != 0}});
    }
    faces.push_back(std::move(faceHoles));
  }
  nlohmann::ordered_json json;
  json["format"] = 1;
  json["accepted"] = !holes.RejectedFile;
  json["metric"] = holes.MetricSource == 1;
  json["panel"] = {params[kParamPanelX], params[kParamPanelY], params[kParamPanelZ]};
  json["macro"] = ToUtf8(holes.MacroName);
  json["faces"] = std::move(faces);
  return json.dump();
}

std::string HolesTable(const std::string& path, const HoleSet& holes) {
  std::ostringstream out;
  out << path << ": " << (holes.MetricSource == 1 ? "metric (G71)" : "inch (G70)") << "\n";
  out << "Panel: X " << FormatShortest(holes.MacroParams[kParamPanelX]) << ", Y "
      << FormatShortest(holes.MacroParams[kParamPanelY]) << ", Z "
      << FormatShortest(holes.MacroParams[kParamPanelZ]) << "\n";
  out << "Macro: " << holes.MacroName << "\n";
  for (int face = 0; face < kFaceSlots; ++face) {
    const int count = holes.FaceHoleCount[face];
    out << "\nFace " << face << " (" << kFaceNames[face] << "): ";
    if (count == 0) {
      out << "no holes\n";
      continue;
    }
    out << count << (count == 1 ? " hole\n" : " holes\n");
    out << "  Hole      Location  Drill  Dowel\n";
    for (int n = 1; n <= count; ++n) {
      const HoleRecord& hole = holes.Holes[face][n];
      out << std::setw(6) << n << std::setw(14) << FormatShortest(hole.Location) << std::setw(7)
          << hole.Drill << std::setw(7) << hole.Dowel << "\n";
    }
  }
  return out.str();
}

struct HolesOptions {
  std::string home;
  bool json = false;
  bool svg = false;
  std::string path;
};

int RunHoles(const HolesOptions& options) {
  const std::string& path = options.path;

  // The exclusions as a translation reads them; the settings file is only read.
  const std::optional<Configuration> configuration =
      ReadConfiguration(options.home, "holes", false);
  if (!configuration) return kExitConfiguration;
  StderrOperator asker;  // answers No: a refused file is never deleted here
  Session session(asker);
  session.Settings() =
      TranslationSettingsFromStored(configuration->stored, configuration->appFolder);
  const Status status = session.ReadGcode(path);
  const HoleSet& holes = session.Holes();
  if (!status.ok()) {
    std::cerr << "tessaro-cli holes: " << status.error() << "\n";
    return kExitFailed;
  }

  if (holes.RejectedFile) {
    std::cerr << "tessaro-cli holes: " << path
              << " refused: its first line is not G70, G71, G81 or G150 (the file is kept)\n";
  }
  if (options.svg) {
    // A refused file has no drawing.
    if (const std::optional<std::string> svg = DrawPanelSvg(holes, session.LastDrawingNotes())) {
      std::cout << *svg;
    }
  } else if (options.json) {
    std::cout << HolesJson(holes) << "\n";
  } else if (holes.RejectedFile) {
    std::cout << path << ": refused\n";
  } else {
    std::cout << HolesTable(path, holes);
  }
  return holes.RejectedFile ? kExitFailed : kExitOk;
}

}  // namespace

Command AddHolesCommand(CLI::App& tool) {
  auto options = std::make_shared<HolesOptions>();
  CLI::App* line = tool.add_subcommand("holes", "print the holes of one G-code file");
  AddHomeOption(*line, options->home);
  CLI::Option* json = line->add_flag("--json", options->json, "one JSON object for scripts");
  line->add_flag("--svg", options->svg, "an SVG drawing of the panel and its holes")
      ->excludes(json);
  line->add_option("FILE", options->path, "the G-code file")->required();
  return {line, kHolesUsage, [options] { return RunHoles(*options); }};
}

}  // namespace tessaro::cli
