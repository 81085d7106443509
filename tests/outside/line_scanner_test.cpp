#include "outside/line_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "outside/file_ops.h"
#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

// Scans `text` and returns every line as the line handler saw it.
Lines LinesOf(std::string_view text) {
  LineScanner scanner;
  Lines lines;
  scanner.ScanText(text, "memory",
                   {nullptr, [&](LineScanner& s) { lines.push_back(s.Line()); }, nullptr});
  return lines;
}

LineScanner WithLine(std::string line, char separator) {
  LineScanner scanner;
  scanner.SetLine(std::move(line));
  scanner.SetFieldSeparator(separator);
  return scanner;
}

TEST(LineScanner, RunsBeginEveryLineAndEndInOrder) {
  TempFolder folder;
  // The CR of the long line is the last byte of the first piece read, its LF the first
  // of the next.
  const std::string longLine(65535 - 9, 'x');
  const std::string path = folder.Write(
      "PART", std::string(kUtf8ByteOrderMark) + "first\n" + longLine + "\r\nnul\0byte\xff"s);
  LineScanner scanner;
  Lines events;
  const Status status =
      scanner.Scan(path, {[&](LineScanner& s) { events.push_back("begin " + s.FileName()); },
                          [&](LineScanner& s) { events.push_back("line " + s.Line()); },
                          [&](LineScanner& s) { events.push_back("end " + s.FileName()); }});
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(events, (Lines{"begin " + path, "line first", "line " + longLine, "line nul\0byte\xff"s,
                           "end " + path}));
  EXPECT_EQ(scanner.Line(), "");
}

TEST(LineScanner, EndsALineAtCrLfLfOrALoneCrAndSkipsAByteOrderMark) {
  for (const auto& [text, lines] :
       {std::pair{"\n\r\nx\n\n"s, Lines{"", "", "x", ""}}, std::pair{""s, Lines{}},
        std::pair{"a\rb\n"s, Lines{"a", "b"}}, std::pair{"a\r\r\nb"s, Lines{"a", "", "b"}},
        std::pair{"\xEF\xBB\xBFx\xEF\xBB\xBF"s, Lines{"x\xEF\xBB\xBF"}}}) {
    EXPECT_EQ(LinesOf(text), lines) << text;
  }
}

TEST(LineScanner, KeepsWithinItsLimits) {
  TempFolder folder;
  const std::string path = folder.Write("BIG", std::string(20, 'x') + "\nabc\n" + "tail");
  LineScanner scanner;
  Lines lines;
  const LineScanner::Handlers handlers{
      nullptr, [&](LineScanner& s) { lines.push_back(s.Line() + (s.LineCut() ? " (cut)" : "")); },
      nullptr};

  // A long line is handed over cut, the rest of it skipped.
  EXPECT_TRUE(scanner.Scan(path, handlers, {.maxLineLength = 8}).ok());
  EXPECT_EQ(lines, (Lines{"xxxxxxxx (cut)", "abc", "tail"}));

  bool began = false;
  const Status tooLarge = scanner.Scan(
      path, {[&](LineScanner&) { began = true; }, nullptr, nullptr}, {.maxFileSize = 20});
  EXPECT_FALSE(began);
  EXPECT_EQ(tooLarge.error(), "Cannot read " + path + ": the file is larger than 20 bytes");
}

TEST(LineScannerFields, FieldsLieBetweenSeparators) {
  for (const auto& [line, separator, expected] :
       {std::tuple{"G81 X10 Y20 Z-5", ' ', Lines{"G81", "X10", "Y20", "Z-5"}},
        std::tuple{",a,,b,", ',', Lines{"", "a", "", "b", ""}}, std::tuple{"", ' ', Lines{}}}) {
    const LineScanner scanner = WithLine(line, separator);
    Lines fields;
    for (int n = 1; n <= scanner.FieldCount(); ++n) fields.push_back(scanner.Field(n));
    EXPECT_EQ(fields, expected) << line;
    EXPECT_EQ(scanner.Field(0), line);
    EXPECT_EQ(scanner.Field(scanner.FieldCount() + 1), "");
  }
}

TEST(LineScannerFields, SetFieldReplacesOnlyThatField) {
  for (const auto& [line, field, value, expected] :
       {std::tuple{"a,b,c", 1, "XX", "XX,b,c"}, std::tuple{"a,,c", 2, "b", "a,b,c"},
        std::tuple{"a,b", 4, "d", "a,b,,d"}, std::tuple{"", 3, "c", ",,c"},
        std::tuple{"a,b", 0, "new", "new"}, std::tuple{"a,b,c", 2, "x,y", "a,x,y,c"}}) {
    LineScanner scanner = WithLine(line, ',');
    scanner.SetField(field, value);
    EXPECT_EQ(scanner.Line(), expected) << line << " field " << field;
  }
  // A new separator applies at once to the current line.
  LineScanner scanner = WithLine("G81X10Y20=l/2 Z5", 'X');
  EXPECT_EQ(scanner.Field(2), "10Y20=l/2 Z5");
  scanner.SetFieldSeparator('=');
  EXPECT_EQ(scanner.Field(2), "l/2 Z5");
  scanner.SetField(2, "9 Z5");
  scanner.SetFieldSeparator('X');
  scanner.SetField(1, "G80");
  EXPECT_EQ(scanner.Line(), "G80X10Y20=9 Z5");
}

}  // namespace
}  // namespace tessaro
