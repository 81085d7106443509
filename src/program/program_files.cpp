#include "program/program_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "app/app_folder.h"
#include "app/text.h"

namespace tessaro {

namespace {

constexpr std::string_view kCrLf = "\r\n";

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
  return text;
}

void AppendOutputLine(ScanState& state, std::string_view line) {
  state.OutputText += line;
  state.OutputText += kCrLf;
}

std::string ResolveSaveTarget(const std::string& saveTarget, const std::string& basePath) {
  const std::string target = saveTarget.empty() ? basePath : saveTarget;
  if (IsTemplateName(target)) return FolderPart(target) + std::string(kUntitledName);
  return target;
}

// Mode 1: a program file into the table.
class ProgramFileHandlers::LoadHandler : public ScanModeHandler {
 public:
  LoadHandler(ScanState& state, ProgramTable& table, std::function<bool()> rcmFormat)
      : state_(state), table_(table), rcmFormat_(std::move(rcmFormat)) {}

  void ScanBegin(LineScanner& scanner) override {
    table_.FrameCaption = IsTemplateName(scanner.FileName()) ? std::string(kUntitledName)
                                                             : FileNamePart(scanner.FileName());
  }

  void LineScanned(LineScanner& scanner) override {
    if (rcmFormat_()) {
      RcmLine(scanner);
    } else {
      AccLine(scanner);
    }
  }

  void ScanEnd(LineScanner&) override {}

 private:
  void RcmLine(LineScanner& scanner) {
    scanner.SetFieldSeparator(',');
    const int lineNumber = state_.LineNumber;
    if (lineNumber == kRcmHeaderLine) {
      if (ToUpper(Trim(scanner.Field(1))) != kRcmHeaderWord) {
        state_.ScanMode = kScanIdle;
        scanner.StopAfterThisLine();
      }
    } else if (lineNumber == kRcmCommentLine) {
      table_.Cmt1 = ReadRcmComment(scanner.Line());
    } else if (lineNumber == kRcmUnitLockLine) {
      table_.UnitsEnabled = false;
    } else if (lineNumber >= kRcmFirstRecordLine) {
      RcmRecordLine(scanner);
    }
  }

  void RcmRecordLine(LineScanner& scanner) {
    const std::string value = scanner.Field(kRcmValueField);
    switch (RcmRecordKind(scanner.Field(1))) {
      case RcmRecord::kMet:
        table_.UnitsEnabled = true;
        table_.Inch = ReadNumber(value) != 0;
        break;
      case RcmRecord::kHol:
        ++state_.HoleCounter;
        table_.SetCell(state_.HoleCounter, ProgramTable::kLocationColumn, RcmCellText(value));
        break;
      case RcmRecord::kDri:
        // A flag before the first hole has no row; the caption row stays.
        if (state_.HoleCounter > 0) {
          table_.SetCell(state_.HoleCounter, ProgramTable::kDrillColumn, RcmCellText(value));
        }
        break;
      case RcmRecord::kDow:
        if (state_.HoleCounter > 0) {
          table_.SetCell(state_.HoleCounter, ProgramTable::kDowelColumn, RcmCellText(value));
        }
        break;
      case RcmRecord::kOther:
        break;
    }
  }

  void AccLine(LineScanner& scanner) {
    scanner.SetFieldSeparator(' ');
    // The first line is the comment only, whatever its first word.
    if (state_.LineNumber == 1) {
      table_.Cmt1 = scanner.Line();
      return;
    }
    if (ToUpper(scanner.Field(1)).find("HOLE") != std::string::npos) {
      ++state_.HoleCounter;
    } else if (state_.HoleCounter > 0) {
      table_.SetCell(state_.HoleCounter, ProgramTable::kLocationColumn, scanner.Field(1));
      table_.SetCell(state_.HoleCounter, ProgramTable::kDrillColumn, scanner.Field(2));
      table_.SetCell(state_.HoleCounter, ProgramTable::kDowelColumn, scanner.Field(4));
    }
  }

  ScanState& state_;
  ProgramTable& table_;
  std::function<bool()> rcmFormat_;
};

// Mode 2: the table merged into a base RCM program.
class ProgramFileHandlers::SaveThroughBaseHandler : public ScanModeHandler {
 public:
  SaveThroughBaseHandler(ScanState& state, const ProgramTable& table)
      : state_(state), table_(table) {}

  void ScanBegin(LineScanner&) override { state_.OutputText.clear(); }

  void LineScanned(LineScanner& scanner) override {
    scanner.SetFieldSeparator(',');
    if (state_.LineNumber == kRcmCommentLine) {
      scanner.SetLine(ReplaceRcmComment(scanner.Line(), table_.Cmt1));
    } else if (state_.LineNumber >= kRcmFirstRecordLine) {
      switch (RcmRecordKind(scanner.Field(1))) {
        case RcmRecord::kMet:
          scanner.SetField(kRcmValueField, FormatFixed6(table_.Inch ? -1 : 0));
          break;
        case RcmRecord::kHol:
          ++state_.HoleCounter;
          scanner.SetField(kRcmValueField, CellValue(ProgramTable::kLocationColumn));
          break;
        case RcmRecord::kDri:
          scanner.SetField(kRcmValueField, CellValue(ProgramTable::kDrillColumn));
          break;
        case RcmRecord::kDow:
          scanner.SetField(kRcmValueField, CellValue(ProgramTable::kDowelColumn));
          break;
        case RcmRecord::kOther:
          break;
      }
    }
    AppendOutputLine(state_, scanner.Line());
  }

  void ScanEnd(LineScanner& scanner) override {
    state_.SaveTarget = ResolveSaveTarget(state_.SaveTarget, scanner.FileName());
  }

 private:
  // Row 0 is the caption row, never a hole: a flag before the first HOL writes 0.
  std::string CellValue(int column) const {
    if (state_.HoleCounter < 1) return FormatFixed6(0);
    return FormatFixed6(ReadNumber(table_.GetCell(state_.HoleCounter, column)));
  }

  ScanState& state_;
  const ProgramTable& table_;
};

// Mode 4: one face's holes merged into the template.
class ProgramFileHandlers::FacePassHandler : public ScanModeHandler {
 public:
  FacePassHandler(const HoleSet& holes, ScanState& state) : holes_(holes), state_(state) {}

  void ScanBegin(LineScanner&) override { state_.OutputText.clear(); }

  void LineScanned(LineScanner& scanner) override {
    scanner.SetFieldSeparator(',');
    if (state_.LineNumber == kRcmCommentLine) {
      scanner.SetLine(ReplaceRcmComment(
          scanner.Line(), std::string(kFaceCommentPrefix) + std::to_string(state_.CurrentFace)));
    } else if (state_.LineNumber >= kRcmFirstRecordLine) {
      const HoleRecord* hole = nullptr;
      switch (RcmRecordKind(scanner.Field(1))) {
        case RcmRecord::kMet:
          scanner.SetField(kRcmValueField, FormatFixed6(1 - holes_.MetricSource));
          break;
        case RcmRecord::kHol:
          ++state_.HoleCounter;
          hole = FaceHole(holes_, state_.CurrentFace, state_.HoleCounter);
          scanner.SetField(kRcmValueField, FormatFixed6(hole ? hole->Location : 0));
          break;
        case RcmRecord::kDri:
          hole = FaceHole(holes_, state_.CurrentFace, state_.HoleCounter);
          scanner.SetField(kRcmValueField, FormatFixed6(hole ? hole->Drill : 0));
          break;
        case RcmRecord::kDow:
          hole = FaceHole(holes_, state_.CurrentFace, state_.HoleCounter);
          scanner.SetField(kRcmValueField, FormatFixed6(hole ? hole->Dowel : 0));
          break;
        case RcmRecord::kOther:
          break;
      }
    }
    AppendOutputLine(state_, scanner.Line());
  }

  void ScanEnd(LineScanner&) override {}

 private:
  const HoleSet& holes_;
  ScanState& state_;
};

ProgramFileHandlers::ProgramFileHandlers(HoleSet& holes, ScanState& state, ProgramTable& table,
                                         std::function<bool()> rcmFormat)
    : load_(std::make_unique<LoadHandler>(state, table, std::move(rcmFormat))),
      saveThroughBase_(std::make_unique<SaveThroughBaseHandler>(state, table)),
      facePass_(std::make_unique<FacePassHandler>(holes, state)) {}

ProgramFileHandlers::~ProgramFileHandlers() = default;

void ProgramFileHandlers::Register(ScanRouter& router) {
  router.SetHandler(kScanLoadProgram, load_.get());
  router.SetHandler(kScanSaveThroughBase, saveThroughBase_.get());
  router.SetHandler(kScanWriteFace, facePass_.get());
}

}  // namespace tessaro
