#pragma once

#include <string>
#include <string_view>

#include "gcode/hole_set.h"
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
// each ended by CR LF. A text that starts with the byte-order mark character (from the
// comment) gets one more before it, which readers skip; so do the merged texts below.
std::string FormatAccProgram(const ProgramTable& table, int holeCount);

// A program file's text read into a table, which starts as `table` was (a program
// that says nothing of its unit keeps the unit shown): both comments and every row
// are emptied first, the frame caption becomes the file's name (Untitled.RCM for the
// template), and HoleCount becomes the number of holes read. An RCM text whose first
// line is not the USERLEVELS header fills nothing more.
ProgramTable ReadProgramText(std::string_view text, const std::string& path, bool rcmFormat,
                             ProgramTable table);

// A base RCM program's text with the table merged in: the comment on line 15, the
// unit in the MET record, and each HOL, DRI and DOW record from the table's row of
// that hole (a record before the first HOL writes 0); every other line as it was.
// Each line ends with CR LF.
std::string MergeTableIntoRcm(std::string_view baseText, const ProgramTable& table);

// The template's text with one face's holes in its hole records: the comment
// "G-code Import Face N", the G-code file's unit in the MET record, and hole n of the
// face in the n-th HOL, DRI and DOW records (0 past the face's holes).
std::string MergeFaceIntoTemplate(std::string_view templateText, const HoleSet& holes, int face);

// Where a save writes: `target`, except that one named Template.RCM in any letter case
// becomes Untitled.RCM in the same folder: the template itself is never overwritten.
std::string ResolveSaveTarget(const std::string& target);

}  // namespace tessaro
