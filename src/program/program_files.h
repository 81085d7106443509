#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gcode/hole_set.h"
#include "gcode/scan_router.h"
#include "program/program_table.h"

namespace tessaro {

// Lines of an RCM program that the program reads or writes; the rest is copied.
inline constexpr int kRcmHeaderLine = 1;    // field 1 is USERLEVELS
inline constexpr int kRcmCommentLine = 15;  // field 1 is the comment in double quotes
inline constexpr int kRcmUnitLockLine = 17;
inline constexpr int kRcmFirstRecordLine = 19;
inline constexpr int kRcmValueField = 5;

inline constexpr std::string_view kRcmHeaderWord = "USERLEVELS";
inline constexpr std::string_view kUntitledName = "Untitled.RCM";
inline constexpr std::string_view kFaceCommentPrefix = "G-code Import Face ";

enum class RcmRecord { kOther, kMet, kHol, kDri, kDow };

// The kind of a record line from its first field: its first three characters in any
// letter case.
RcmRecord RcmRecordKind(std::string_view field1);

// The comment held by field 1 of an RCM comment line. Field 1 is read as a quoted
// field: a doubled quote inside stands for one quote, and a quote that is neither
// doubled nor followed by a comma or the line's end is taken as it stands. An
// unquoted field 1 is the comment as it stands.
std::string ReadRcmComment(std::string_view line);
// The comment line with field 1 replaced by `comment` in double quotes (quotes
// inside doubled, line breaks written as blanks) and every later field unchanged.
// ReadRcmComment gives `comment` back.
std::string ReplaceRcmComment(std::string_view line, std::string_view comment);

// The grid text of a value read from an RCM program: the number in its short form,
// without a zero before the period (12.500000 gives 12.5, 0.500000 gives .5).
std::string RcmCellText(std::string_view field);

// A flag in the pattern "0": the value rounded to a whole number.
std::string FormatWholeNumber(double value);

// The lines of an ACC program for the table's comment and its first `holeCount` rows,
// each ended by CR LF.
std::string FormatAccProgram(const ProgramTable& table, int holeCount);

// OutputText gets the line and a CR LF.
void AppendOutputLine(ScanState& state, std::string_view line);

// The scan handlers of the program files: mode 1 loads a program of the format in
// force into the table, mode 2 merges the table into a base RCM program, mode 4
// merges one face's holes into the template. Modes 2 and 4 leave the program's text
// in OutputText; mode 2 also settles the file it is to be written to in SaveTarget.
class ProgramFileHandlers {
 public:
  ProgramFileHandlers(HoleSet& holes, ScanState& state, ProgramTable& table,
                      std::function<bool()> rcmFormat);
  ~ProgramFileHandlers();
  ProgramFileHandlers(const ProgramFileHandlers&) = delete;
  ProgramFileHandlers& operator=(const ProgramFileHandlers&) = delete;

  // Makes the router hand modes 1, 2 and 4 to these handlers.
  void Register(ScanRouter& router);

 private:
  class LoadHandler;
  class SaveThroughBaseHandler;
  class FacePassHandler;

  std::unique_ptr<LoadHandler> load_;
  std::unique_ptr<SaveThroughBaseHandler> saveThroughBase_;
  std::unique_ptr<FacePassHandler> facePass_;
};

// Where mode 2 writes: `saveTarget`, or the base program when it is empty; a target
// named TEMPLATE.RCM in any letter case becomes Untitled.RCM in the same folder.
std::string ResolveSaveTarget(const std::string& saveTarget, const std::string& basePath);

}  // namespace tessaro
