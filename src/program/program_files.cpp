#include "program/program_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

#include "app/app_folder.h"
#include "app/text.h"
#include "outside/file_ops.h"
#include "outside/line_scanner.h"

namespace tessaro {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Every reader skips a byte-order mark at the start of a file: a text whose first line
// starts with that character gets one more, so that it reads back as it was.
std::string ReadableFromItsStart(std::string text) {
  if (ByteOrderMarkLength(text) > 0) text.insert(0, kUtf8ByteOrderMark);
  return text;
}

// A comment must stay on its line.
std::string OneLineText(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return result;
}

struct CommentField {
  std::string comment;
  size_t end = 0;  // index just past field 1: its closing comma or the line's end
};

CommentField ParseCommentField(std::string_view line) {
  const size_t firstComma = std::min(line.find(','), line.size());
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos || line[start] != '"') {
    return {std::string(line.substr(0, firstComma)), firstComma};
  }
  CommentField field;
  size_t from = start + 1;
  while (true) {
    const size_t quote = line.find('"', from);
    if (quote == std::string_view::npos) {
      // No closing quote: field 1 ends at the first comma like any other field.
      const size_t end = std::max(firstComma, start + 1);
      return {std::string(line.substr(start + 1, end - start - 1)), end};
    }
    field.comment.append(line.substr(from, quote - from));
    const size_t next = quote + 1;
    if (next < line.size() && line[next] == '"') {
      field.comment += '"';
      from = next + 1;
    } else if (next == line.size() || line[next] == ',') {
      field.end = next;
      return field;
    } else {
      field.comment += '"';
      from = next;
    }
  }
}

std::string QuotedComment(std::string_view comment) {
  std::string quoted = "\"";
  for (const char c : OneLineText(comment)) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

// The hole value of a record in a template pass: hole 0 (a record before the first
// HOL) and holes past the face's table read 0.
const HoleRecord* FaceHole(const HoleSet& holes, int face, int hole) {
  if (face < 0 || face >= kFaceSlots || hole < 1 || hole > kMaxHolesPerFace) return nullptr;
  return &holes.Holes[static_cast<size_t>(face)][static_cast<size_t>(hole)];
}

bool IsTemplateName(std::string_view path) { return IsTemplateFileName(FileNamePart(path)); }

}  // namespace

RcmRecord RcmRecordKind(std::string_view field1) {
  const std::string kind = ToUpper(field1.substr(0, 3));
  if (kind == "MET") return RcmRecord::kMet;
  if (kind == "HOL") return RcmRecord::kHol;
  if (kind == "DRI") return RcmRecord::kDri;
  if (kind == "DOW") return RcmRecord::kDow;
  return RcmRecord::kOther;
}

std::string ReadRcmComment(std::string_view line) { return ParseCommentField(line).comment; }

std::string ReplaceRcmComment(std::string_view line, std::string_view comment) {
  const CommentField field = ParseCommentField(line);
  return QuotedComment(comment) + std::string(line.substr(field.end));
}

std::string RcmCellText(std::string_view field) {
  std::string text = FormatGeneral(ReadNumber(field));
  if (text.rfind("0.", 0) == 0) {
    text.erase(0, 1);
  } else if (text.rfind("-0.", 0) == 0) {
    text.erase(1, 1);
  }
  return text;
}

std::string FormatWholeNumber(double value) {
  const double rounded = std::round(value);
  if (rounded == 0) return "0";
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", rounded);
  return buffer;
}

std::string FormatAccProgram(const ProgramTable& table, int holeCount) {
  std::string text;
  auto line = [&text](std::string_view content) {
    text += content;
    text += kCrLf;
  };
  line(OneLineText(table.Cmt1));
  line("100");
  line("Zones");
  line("4");
  line("Number of holes");
  line(std::to_string(holeCount));
  for (int hole = 1; hole <= holeCount; ++hole) {
    line("Hole " + std::to_string(hole));
    const double location = ReadNumber(table.GetCell(hole, ProgramTable::kLocationColumn));
    const double drill = ReadNumber(table.GetCell(hole, ProgramTable::kDrillColumn));
    const double dowel = ReadNumber(table.GetCell(hole, ProgramTable::kDowelColumn));
    line(FormatUpTo4Decimals(location) + " " + FormatWholeNumber(drill) + " 0 " +
         FormatWholeNumber(dowel));
  }
  return ReadableFromItsStart(std::move(text));
}

namespace {

// Runs `line` for every line of `text` with its line number from 1; the scanner reads
// fields by commas.
void ForEachLine(std::string_view text, const std::string& name,
                 const std::function<void(LineScanner&, int)>& line) {
  LineScanner scanner;
  int lineNumber = 0;
  scanner.ScanText(text, name, {nullptr, [&](LineScanner& s) { line(s, ++lineNumber); }, nullptr});
}

void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += kCrLf;
}

void ReadRcmLine(LineScanner& scanner, int lineNumber, ProgramTable& table) {
  scanner.SetFieldSeparator(',');
  if (lineNumber == kRcmHeaderLine) {
    if (ToUpper(Trim(scanner.Field(1))) != kRcmHeaderWord) scanner.StopAfterThisLine();
  } else if (lineNumber == kRcmCommentLine) {
    table.Cmt1 = ReadRcmComment(scanner.Line());
  } else if (lineNumber == kRcmUnitLockLine) {
    table.UnitsEnabled = false;
  } else if (lineNumber >= kRcmFirstRecordLine) {
    const std::string value = scanner.Field(kRcmValueField);
    switch (RcmRecordKind(scanner.Field(1))) {
      case RcmRecord::kMet:
        table.UnitsEnabled = true;
        table.Inch = ReadNumber(value) != 0;
        break;
      case RcmRecord::kHol:
        ++table.HoleCount;
        table.SetCell(table.HoleCount, ProgramTable::kLocationColumn, RcmCellText(value));
        break;
      case RcmRecord::kDri:
        // A flag before the first hole has no row; the caption row stays.
        if (table.HoleCount > 0) {
          table.SetCell(table.HoleCount, ProgramTable::kDrillColumn, RcmCellText(value));
        }
        break;
      case RcmRecord::kDow:
        if (table.HoleCount > 0) {
          table.SetCell(table.HoleCount, ProgramTable::kDowelColumn, RcmCellText(value));
        }
        break;
      case RcmRecord::kOther:
        break;
    }
  }
}

void ReadAccLine(LineScanner& scanner, int lineNumber, ProgramTable& table) {
  scanner.SetFieldSeparator(' ');
  // The first line is the comment only, whatever its first word.
  if (lineNumber == 1) {
    table.Cmt1 = scanner.Line();
    return;
  }
  if (ToUpper(scanner.Field(1)).find("HOLE") != std::string::npos) {
    ++table.HoleCount;
  } else if (table.HoleCount > 0) {
    table.SetCell(table.HoleCount, ProgramTable::kLocationColumn, scanner.Field(1));
    table.SetCell(table.HoleCount, ProgramTable::kDrillColumn, scanner.Field(2));
    table.SetCell(table.HoleCount, ProgramTable::kDowelColumn, scanner.Field(4));
  }
}

// The records of an RCM text from line 19 on, each given the hole number the last HOL
// record opened; `value` returns the text for field 5, or nullopt to keep the line.
std::string MergeRecords(std::string_view text, const std::string& commentField,
                         const std::function<std::string(RcmRecord, int)>& value) {
  std::string merged;
  int hole = 0;
  ForEachLine(text, "", [&](LineScanner& scanner, int lineNumber) {
    scanner.SetFieldSeparator(',');
    if (lineNumber == kRcmCommentLine) {
      scanner.SetLine(ReplaceRcmComment(scanner.Line(), commentField));
    } else if (lineNumber >= kRcmFirstRecordLine) {
      const RcmRecord kind = RcmRecordKind(scanner.Field(1));
      if (kind == RcmRecord::kHol) ++hole;
      if (kind != RcmRecord::kOther) scanner.SetField(kRcmValueField, value(kind, hole));
    }
    AppendLine(merged, scanner.Line());
  });
  return ReadableFromItsStart(std::move(merged));
}

}  // namespace

ProgramTable ReadProgramText(std::string_view text, const std::string& path, bool rcmFormat,
                             ProgramTable table) {
  table.ClearTable();
  table.HoleCount = 0;
  table.FrameCaption = IsTemplateName(path) ? std::string(kUntitledName) : FileNamePart(path);
  ForEachLine(text, path, [&](LineScanner& scanner, int lineNumber) {
    if (rcmFormat) {
      ReadRcmLine(scanner, lineNumber, table);
    } else {
      ReadAccLine(scanner, lineNumber, table);
    }
  });
  return table;
}

std::string MergeTableIntoRcm(std::string_view baseText, const ProgramTable& table) {
  return MergeRecords(baseText, table.Cmt1, [&](RcmRecord kind, int hole) {
    if (kind == RcmRecord::kMet) return FormatFixed6(table.Inch ? -1 : 0);
    // Row 0 is the caption row, never a hole: a flag before the first HOL writes 0.
    if (hole < 1) return FormatFixed6(0);
    const int column = kind == RcmRecord::kHol   ? ProgramTable::kLocationColumn
                       : kind == RcmRecord::kDri ? ProgramTable::kDrillColumn
                                                 : ProgramTable::kDowelColumn;
    return FormatFixed6(ReadNumber(table.GetCell(hole, column)));
  });
}

std::string MergeFaceIntoTemplate(std::string_view templateText, const HoleSet& holes, int face) {
  return MergeRecords(templateText, std::string(kFaceCommentPrefix) + std::to_string(face),
                      [&](RcmRecord kind, int n) {
                        if (kind == RcmRecord::kMet) return FormatFixed6(1 - holes.MetricSource);
                        // Hole 0 (a record before the first HOL) and holes past the face's table
                        // read 0.
                        const HoleRecord* hole = FaceHole(holes, face, n);
                        if (hole == nullptr) return FormatFixed6(0);
                        if (kind == RcmRecord::kHol) return FormatFixed6(hole->Location);
                        return FormatFixed6(kind == RcmRecord::kDri ? hole->Drill : hole->Dowel);
                      });
}

std::string ResolveSaveTarget(const std::string& target) {
  if (IsTemplateName(target)) return FolderPart(target) + std::string(kUntitledName);
  return target;
}

}  // namespace tessaro
