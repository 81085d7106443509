#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_folder.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "gcode/hole_set.h"
#include "program/panel_drawing.h"
#include "program/session.h"

namespace tessaro::cli {

namespace {

constexpr const char* kHolesUsage = "usage: tessaro-cli holes [--home DIR] [--json | --svg] FILE\n";
constexpr const char* kFaceNames[kFaceSlots] = {"no program", "top", "bottom", "left", "right"};

// The length of the valid UTF-8 sequence starting at `at`, 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = at + 2; i < at + length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// A JSON string. Bytes that are not UTF-8 (older files are often Latin-1) are written as
// the Latin-1 characters they would be, so that the output stays valid JSON.
std::string JsonString(std::string_view text) {
  std::string out = "\"";
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = c >= 0x80 ? Utf8SequenceLength(text, i) : 0) {
      out.append(text.substr(i, length));
      i += length;
      continue;
    } else {
      std::ostringstream escaped;
      escaped << "\\u" << std::hex << std::setw(4) << std::setfill('0') << static_cast<int>(c);
      out += escaped.str();
    }
    ++i;
  }
  return out + "\"";
}

std::string HolesJson(const HoleSet& holes) {
  const MacroParameters& params = holes.MacroParams;
  std::string json = "{\"accepted\": ";
  json += holes.RejectedFile ? "false" : "true";
  json += ", \"metric\": ";
  json += holes.MetricSource == 1 ? "true" : "false";
  json += ", \"panel\": [" + FormatShortest(params[kParamPanelX]) + ", " +
          FormatShortest(params[kParamPanelY]) + ", " + FormatShortest(params[kParamPanelZ]) +
          "], \"macro\": " + JsonString(holes.MacroName) + ", \"faces\": [";
  for (int face = 0; face < kFaceSlots; ++face) {
    if (face > 0) json += ", ";
    json += "[";
    for (int n = 1; n <= holes.FaceHoleCount[face]; ++n) {
      const HoleRecord& hole = holes.Holes[face][n];
      if (n > 1) json += ", ";
      json += "{\"location\": " + FormatShortest(hole.Location) +
              ", \"drill\": " + std::to_string(hole.Drill) +
              ", \"dowel\": " + std::to_string(hole.Dowel) + "}";
    }
    json += "]";
  }
  return json + "]}";
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

}  // namespace

int RunHolesCommand(const std::vector<std::string>& words) {
  const ParsedArguments arguments = ParseArguments(words, {"--json", "--svg"}, {"--home"});
  if (!arguments.error.empty() || arguments.operands.size() != 1) {
    std::cerr << "tessaro-cli holes: "
              << (arguments.error.empty() ? "name exactly one G-code file" : arguments.error)
              << "\n"
              << kHolesUsage;
    return kExitUsage;
  }
  const std::string& path = arguments.operands.front();

  // The exclusions as a translation reads them; the settings file is only read.
  const std::string appFolder = AppFolderFor(arguments.Value("--home"));
  StderrOperator asker;  // answers No: a refused file is never deleted here
  Session session(asker);
  session.Settings() = TranslationSettingsFromStored(
      ReadStoredOptions(SettingsFile(appFolder + kSettingsFileName)), appFolder);
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
  if (arguments.Has("--svg")) {
    // A refused file has no drawing.
    if (const std::optional<std::string> svg = DrawPanelSvg(holes)) std::cout << *svg;
  } else if (arguments.Has("--json")) {
    std::cout << HolesJson(holes) << "\n";
  } else if (holes.RejectedFile) {
    std::cout << path << ": refused\n";
  } else {
    std::cout << HolesTable(path, holes);
  }
  return holes.RejectedFile ? kExitFailed : kExitOk;
}

}  // namespace tessaro::cli
