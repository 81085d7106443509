#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The one way numbers are read from text (settings, program fields, cells, boxes).
// Blanks, tabs and line feeds are ignored anywhere; the longest leading number is
// taken (sign, digits, period, digits, exponent with E, e, D or d; "&H" hex and "&O"
// octal integers). A text without a number, or whose number does not fit a double,
// reads 0. Never gives an infinite or not-a-number value.
double ReadNumber(std::string_view text);

// True for a character that separates the parts of a path: "/", and on Windows "\"
// as well (Windows takes both).
bool IsPathSeparator(char c);

// The parts of a path after and up to (including) its last path separator. On
// Windows a drive ("C:", "C:\") or a share ("\\server\share\") at the start is
// never cut: it stays with the folder part.
std::string FileNamePart(std::string_view path);
std::string FolderPart(std::string_view path);

// The separator to put between a folder and a file name: empty when the folder
// already ends with one.
std::string FolderSeparator(std::string_view folder);
std::string JoinPath(std::string_view folder, std::string_view name);

// `text` without the characters of `blanks` at either end.
std::string_view Trim(std::string_view text, std::string_view blanks = " ");
std::string ToUpper(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Number formats of the program files and the grid. None writes "-0".
std::string FormatFixed6(double value);         // "####0.000000": 12.500000, -1.000000
std::string FormatUpTo4Decimals(double value);  // "####0.####": 12., 12.5, 0.3333
std::string FormatGeneral(double value);        // up to 15 significant digits: 12.7, 0.5
// The shortest plain decimal that reads back as the same double, never with an
// exponent: 400, 0.1, 1234.5678, 1000000000000000000000.
std::string FormatShortest(double value);

// Characters a file name cannot hold: / \ : * ? " < > | and control characters.
bool IsFileNameCharacter(char c);
// True when every byte of `character` (one character of a name) may stand in a file name.
bool IsFileNameText(std::string_view character);

// Names are counted in characters: `text` read as UTF-8, where a byte that is not
// part of a valid UTF-8 sequence counts as one character of its own. Splitting never
// cuts inside a character.
std::vector<std::string_view> SplitCharacters(std::string_view text);
// The length of the well-formed UTF-8 sequence at the start of `text` (1 for an ASCII
// byte), 0 when none begins there.
size_t Utf8SequenceLength(std::string_view text);
size_t CharacterCount(std::string_view text);
// The first `count` characters of `text`.
std::string_view FirstCharacters(std::string_view text, size_t count);

// `text` with letter case folded as the shop's Windows file servers compare names:
// A-Z and the letters of Latin-1 and Latin Extended-A in their lower-case form; other
// bytes unchanged. Two names are the same file name there exactly when their folded
// forms are equal.
std::string FoldCase(std::string_view text);

// `format` with each %1 to %9 replaced by that argument, in one pass: a marker that an
// argument brings along stays as it is, as does a marker without an argument.
std::string FillFormat(std::string_view format, const std::vector<std::string>& args);

}  // namespace tessaro
