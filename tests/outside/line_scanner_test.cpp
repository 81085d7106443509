#include "outside/line_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

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
  const std::string longLine(3'000'000, 'x');  // longer than any read buffer
  const std::string path = folder.Write("PART", "first\n" + longLine + "\r\nnul\0byte\xff"s);
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

TEST(LineScanner, SplitsAtLineFeedsWithOrWithoutCarriageReturn) {
  for (const auto& [text, lines] :
       {std::pair{std::string("\n\r\nx\n\n"), Lines{"", "", "x", ""}},
        std::pair{std::string(""), Lines{}}, std::pair{std::string("a\rb\n"), Lines{"a\rb"}}}) {
    EXPECT_EQ(LinesOf(text), lines) << text;
  }
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

TEST(LineScannerFields, NewSeparatorAppliesAtOnceToTheCurrentLine) {
  LineScanner scanner = WithLine("G81X10Y20=l/2 Z5", 'X');
  EXPECT_EQ(scanner.Field(2), "10Y20=l/2 Z5");
  scanner.SetFieldSeparator('Y');
  EXPECT_EQ(scanner.Field(1), "G81X10");
  scanner.SetFieldSeparator('=');
  EXPECT_EQ(scanner.FieldCount(), 2);
  EXPECT_EQ(scanner.Field(2), "l/2 Z5");
  scanner.SetField(2, "9 Z5");
  scanner.SetFieldSeparator('X');
  scanner.SetField(1, "G80");
  EXPECT_EQ(scanner.Line(), "G80X10Y20=9 Z5");
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
}

}  // namespace
}  // namespace tessaro
