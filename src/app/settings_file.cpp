#include "app/settings_file.h"

#include <optional>
#include <vector>

#include "app/text.h"
#include "outside/file_ops.h"
#include "outside/system_text.h"

namespace tessaro {

namespace {

#ifdef _WIN32
constexpr std::string_view kNewFileLineEnd = "\r\n";
#else
constexpr std::string_view kNewFileLineEnd = "\n";
#endif

constexpr std::string_view kMissingValue = "END.-";

// Keys, values and section names are read without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text) { return Trim(text, " \t"); }

struct TextLine {
  size_t begin = 0;  // offset of the first character
  size_t end = 0;    // offset just past the text, before the line end
  size_t next = 0;   // offset of the next line
};

// CR LF, LF and a lone CR each end a line; a byte-order mark before the first line
// is no part of it (and stays in the file).
std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  size_t begin = ByteOrderMarkLength(text);
  while (begin < text.size()) {
    const size_t lineEnd = text.find_first_of("\r\n", begin);
    TextLine line;
    line.begin = begin;
    line.end = lineEnd == std::string_view::npos ? text.size() : lineEnd;
    line.next = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    if (lineEnd != std::string_view::npos && text[lineEnd] == '\r' && line.next < text.size() &&
        text[line.next] == '\n') {
      ++line.next;
    }
    lines.push_back(line);
    begin = line.next;
  }
  return lines;
}

// The name of a section header line ("[Settings]"), nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line[0] != '[') return std::nullopt;
  const size_t close = line.find(']');
  return TrimBlanks(
      line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct KeyLine {
  std::string_view key;    // as written in the file, trimmed
  std::string_view value;  // untrimmed
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') return std::nullopt;
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{TrimBlanks(line.substr(0, equals)), line.substr(equals + 1)};
}

// Where a key stands in the file: the line of the key itself, or else the last line
// of its section that is not blank (the header at least).
struct KeyPlace {
  std::optional<size_t> keyLine;
  std::optional<size_t> sectionEnd;
};

KeyPlace FindKey(std::string_view text, const std::vector<TextLine>& lines,
                 std::string_view section, std::string_view key) {
  KeyPlace place;
  bool inSection = false;
  bool firstSectionDone = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (const std::optional<std::string_view> name = SectionName(line)) {
      if (inSection) firstSectionDone = true;
      inSection = EqualsIgnoreCase(*name, section);
      if (inSection && !firstSectionDone && !place.sectionEnd) place.sectionEnd = i;
      continue;
    }
    if (!inSection) continue;
    if (!firstSectionDone && !TrimBlanks(line).empty()) place.sectionEnd = i;
    const std::optional<KeyLine> keyLine = ParseKeyLine(line);
    if (keyLine && EqualsIgnoreCase(keyLine->key, key)) {
      place.keyLine = i;
      return place;
    }
  }
  return place;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view LineEndOf(std::string_view text) {
  const size_t lineEnd = text.find_first_of("\r\n");
  if (lineEnd == std::string_view::npos) return kNewFileLineEnd;
  if (text[lineEnd] == '\n') return "\n";
  return text.substr(lineEnd + 1, 1) == "\n" ? "\r\n" : "\r";
}

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    const size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

std::string KeyValueLine(std::string_view key, std::string_view value) {
  return std::string(key) + "=" + std::string(value);
}

}  // namespace

std::string SettingsFile::ReadSetting(std::string_view section, std::string_view key) const {
  const FileContents contents = ReadFileContents(path_);
  if (!contents.status.ok()) return "";
  const std::string_view text = contents.text;
  const std::vector<TextLine> lines = SplitLines(text);
  const KeyPlace place = FindKey(text, lines, TrimBlanks(section), TrimBlanks(key));
  if (!place.keyLine) return "";
  const TextLine& line = lines[*place.keyLine];
  const std::string_view value =
      TrimBlanks(ParseKeyLine(text.substr(line.begin, line.end - line.begin))->value);
  if (value == kMissingValue) return "";
  // Decided for each value, not for the file: a file carried over keeps its old values
  // in the old code page beside those the program has written since, in UTF-8.
  return IsUtf8(value) ? std::string(value) : FromSystemCodePage(value);
}

std::optional<int> SettingsFile::LineOf(std::string_view section, std::string_view key) const {
  const FileContents contents = ReadFileContents(path_);
  if (!contents.status.ok()) return std::nullopt;
  const std::vector<TextLine> lines = SplitLines(contents.text);
  const KeyPlace place = FindKey(contents.text, lines, TrimBlanks(section), TrimBlanks(key));
  if (!place.keyLine) return std::nullopt;
  return static_cast<int>(*place.keyLine) + 1;
}

void SettingsFile::WriteSetting(std::string_view section, std::string_view key,
                                std::string_view value) const {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  // Names and values that would break the file's layout are not stored.
  if (key.empty() || HasLineBreak(section) || section.find(']') != std::string_view::npos ||
      HasLineBreak(key) || key.find('=') != std::string_view::npos || key[0] == '[' ||
      key[0] == ';' || key[0] == '#' || HasLineBreak(value)) {
    return;
  }

  std::string text;
  if (FileExists(path_)) {
    // A settings file made read-only by hand is left as it is.
    if (IsReadOnly(path_)) return;
    FileContents contents = ReadFileContents(path_);
    if (!contents.status.ok()) return;
    text = std::move(contents.text);
  }

  const std::string_view lineEnd = LineEndOf(text);
  const std::vector<TextLine> lines = SplitLines(text);
  const KeyPlace place = FindKey(text, lines, section, key);

  if (place.keyLine) {
    const TextLine& line = lines[*place.keyLine];
    const std::string keyLine = KeyValueLine(
        ParseKeyLine(std::string_view(text).substr(line.begin, line.end - line.begin))->key, value);
    text.replace(line.begin, line.end - line.begin, keyLine);
  } else if (place.sectionEnd) {
    const TextLine& line = lines[*place.sectionEnd];
    const std::string keyLine = KeyValueLine(key, value);
    if (line.next == line.end) {  // the file's last line, without a line end
      text.insert(line.next, std::string(lineEnd) + keyLine);
    } else {
      text.insert(line.next, keyLine + std::string(lineEnd));
    }
  } else {
    if (text.size() > ByteOrderMarkLength(text) && text.back() != '\n' && text.back() != '\r') {
      text += lineEnd;
    }
    text += "[" + std::string(section) + "]" + std::string(lineEnd);
    text += KeyValueLine(key, value) + std::string(lineEnd);
  }

  // A failed write leaves the old file whole and is not reported.
  ReplaceFileContents(path_, text);
}

}  // namespace tessaro
