#include "outside/line_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tessaro {
namespace {

using testing::TempFolder;

// Scans `text` and returns every line as the line handler saw it.
std::vector<std::string> LinesOf(std::string_view text) {
  LineScanner scanner;
  std::vector<std::string> lines;
  scanner.ScanText(text, "memory",
                   {nullptr, [&](LineScanner& s) { lines.push_back(s.Line()); }, nullptr});
  return lines;
}

TEST(LineScanner, RunsBeginEveryLineAndEndInOrder) {
  TempFolder folder;
  const std::string path = folder.Write("PART", "first\nsecond\n");
  LineScanner scanner;
  std::vector<std::string> events;
  const Status status =
      scanner.Scan(path, {[&](LineScanner& s) { events.push_back("begin " + s.FileName()); },
                          [&](LineScanner& s) { events.push_back("line " + s.Line()); },
                          [&](LineScanner& s) { events.push_back("end " + s.FileName()); }});
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(events, (std::vector<std::string>{"begin " + path, "line first", "line second",
                                              "end " + path}));
  EXPECT_EQ(scanner.Line(), "");
}

TEST(LineScanner, MissingFileFailsBeforeAnyHandler) {
  TempFolder folder;
  LineScanner scanner;
  int calls = 0;
  auto count = [&](LineScanner&) { ++calls; };
  const Status status = scanner.Scan(folder.File("GONE"), {count, count, count});
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.error().find(folder.File("GONE")), std::string::npos) << status.error();
  EXPECT_EQ(calls, 0);
}

struct LinesCase {
  std::string name;
  std::string text;
  std::vector<std::string> lines;
};

class LineEndsTest : public ::testing::TestWithParam<LinesCase> {};
TEST_P(LineEndsTest, SplitsIntoLines) { EXPECT_EQ(LinesOf(GetParam().text), GetParam().lines); }
INSTANTIATE_TEST_SUITE_P(
    Cases, LineEndsTest,
    ::testing::Values(LinesCase{"LineFeeds", "a\nb\n", {"a", "b"}},
                      LinesCase{"CarriageReturnLineFeeds", "a\r\nb\r\n", {"a", "b"}},
                      LinesCase{"MixedLineEnds", "a\r\nb\nc\r\n", {"a", "b", "c"}},
                      LinesCase{"LastLineWithoutEnd", "a\nb", {"a", "b"}},
                      LinesCase{"EmptyLinesKept", "\n\r\nx\n\n", {"", "", "x", ""}},
                      LinesCase{"EmptyText", "", {}},
                      LinesCase{"LoneCarriageReturnStaysInTheLine", "a\rb\n", {"a\rb"}},
                      LinesCase{
                          "NulBytes", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}}),
    [](const auto& info) { return info.param.name; });

TEST(LineScanner, ReadsAVeryLongLineWhole) {
  TempFolder folder;
  const std::string longLine(3'000'000, 'x');
  const std::string path = folder.Write("LONG", "start\n" + longLine + "\nend");
  LineScanner scanner;
  std::vector<size_t> sizes;
  EXPECT_TRUE(
      scanner
          .Scan(path, {nullptr, [&](LineScanner& s) { sizes.push_back(s.Line().size()); }, nullptr})
          .ok());
  EXPECT_EQ(sizes, (std::vector<size_t>{5, 3'000'000, 3}));
}

TEST(LineScanner, StopAfterThisLineStillRunsTheEnd) {
  LineScanner scanner;
  std::vector<std::string> events;
  scanner.ScanText("a\nb\nc\n", "memory",
                   {nullptr,
                    [&](LineScanner& s) {
                      events.push_back(s.Line());
                      if (s.Line() == "b") s.StopAfterThisLine();
                    },
                    [&](LineScanner&) { events.push_back("end"); }});
  EXPECT_EQ(events, (std::vector<std::string>{"a", "b", "end"}));
  // The next scan starts afresh.
  events.clear();
  scanner.ScanText("x\ny\n", "memory",
                   {nullptr, [&](LineScanner& s) { events.push_back(s.Line()); }, nullptr});
  EXPECT_EQ(events, (std::vector<std::string>{"x", "y"}));
}

TEST(LineScanner, ReplacedLineDoesNotReachTheNextLine) {
  LineScanner scanner;
  std::vector<std::string> seen;
  scanner.ScanText("one\ntwo\n", "memory",
                   {nullptr,
                    [&](LineScanner& s) {
                      seen.push_back(s.Line());
                      s.SetLine("changed");
                    },
                    nullptr});
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "two"}));
}

// Fields of the current line, set through a scanner outside a scan.
LineScanner WithLine(std::string line, char separator) {
  LineScanner scanner;
  scanner.SetLine(std::move(line));
  scanner.SetFieldSeparator(separator);
  return scanner;
}

TEST(LineScannerFields, FieldsBetweenSeparators) {
  const LineScanner scanner = WithLine("G81 X10 Y20 Z-5", ' ');
  EXPECT_EQ(scanner.FieldCount(), 4);
  EXPECT_EQ(scanner.Field(0), "G81 X10 Y20 Z-5");
  EXPECT_EQ(scanner.Field(1), "G81");
  EXPECT_EQ(scanner.Field(2), "X10");
  EXPECT_EQ(scanner.Field(4), "Z-5");
  EXPECT_EQ(scanner.Field(5), "");
  EXPECT_EQ(scanner.Field(-1), "");
}

TEST(LineScannerFields, NeighbouringSeparatorsHoldAnEmptyField) {
  const LineScanner scanner = WithLine(",a,,b,", ',');
  EXPECT_EQ(scanner.FieldCount(), 5);
  EXPECT_EQ(scanner.Field(1), "");
  EXPECT_EQ(scanner.Field(2), "a");
  EXPECT_EQ(scanner.Field(3), "");
  EXPECT_EQ(scanner.Field(4), "b");
  EXPECT_EQ(scanner.Field(5), "");
}

TEST(LineScannerFields, EmptyLineHasNoFields) {
  const LineScanner scanner = WithLine("", ' ');
  EXPECT_EQ(scanner.FieldCount(), 0);
  EXPECT_EQ(scanner.Field(1), "");
  EXPECT_EQ(WithLine("abc", ' ').FieldCount(), 1);
}

TEST(LineScannerFields, NewSeparatorAppliesAtOnceToTheCurrentLine) {
  LineScanner scanner = WithLine("G81X10Y20=l/2 Z5", 'X');
  EXPECT_EQ(scanner.Field(1), "G81");
  EXPECT_EQ(scanner.Field(2), "10Y20=l/2 Z5");
  scanner.SetFieldSeparator('Y');
  EXPECT_EQ(scanner.Field(1), "G81X10");
  EXPECT_EQ(scanner.Field(2), "20=l/2 Z5");
  scanner.SetFieldSeparator('=');
  EXPECT_EQ(scanner.FieldCount(), 2);
  EXPECT_EQ(scanner.Field(2), "l/2 Z5");
  EXPECT_EQ(scanner.FieldSeparator(), '=');
}

TEST(LineScannerFields, SeparatorChangedInsideAScan) {
  LineScanner scanner;
  std::vector<std::string> fields;
  scanner.ScanText("A=1,2\nB=3,4\n", "memory",
                   {nullptr,
                    [&](LineScanner& s) {
                      s.SetFieldSeparator('=');
                      fields.push_back(s.Field(1));
                      s.SetFieldSeparator(',');
                      fields.push_back(s.Field(2));
                    },
                    nullptr});
  EXPECT_EQ(fields, (std::vector<std::string>{"A", "2", "B", "4"}));
}

struct SetFieldCase {
  std::string name;
  std::string line;
  char separator;
  int field;
  std::string value;
  std::string expected;
};

class SetFieldTest : public ::testing::TestWithParam<SetFieldCase> {};
TEST_P(SetFieldTest, ReplacesOnlyThatField) {
  const SetFieldCase& c = GetParam();
  LineScanner scanner = WithLine(c.line, c.separator);
  scanner.SetField(c.field, c.value);
  EXPECT_EQ(scanner.Line(), c.expected);
  EXPECT_EQ(scanner.Field(0), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, SetFieldTest,
    ::testing::Values(SetFieldCase{"First", "a,b,c", ',', 1, "XX", "XX,b,c"},
                      SetFieldCase{"Middle", "a,b,c", ',', 2, "", "a,,c"},
                      SetFieldCase{"Last", "a,b,c", ',', 3, "z z", "a,b,z z"},
                      SetFieldCase{"Fifth", "H 1 2 3 4 5", ' ', 5, "40.5", "H 1 2 3 40.5 5"},
                      SetFieldCase{"EmptyField", "a,,c", ',', 2, "b", "a,b,c"},
                      SetFieldCase{"PastTheLast", "a,b", ',', 4, "d", "a,b,,d"},
                      SetFieldCase{"OnEmptyLine", "", ',', 1, "a", "a"},
                      SetFieldCase{"ThirdOnEmptyLine", "", ',', 3, "c", ",,c"},
                      SetFieldCase{"ZeroIsTheLine", "a,b", ',', 0, "new", "new"},
                      SetFieldCase{"ValueHoldsTheSeparator", "a,b,c", ',', 2, "x,y", "a,x,y,c"}),
    [](const auto& info) { return info.param.name; });

TEST(LineScannerFields, ReplacedFieldUnderAChangedSeparator) {
  LineScanner scanner = WithLine("1,2=3,4", '=');
  scanner.SetField(2, "9,9");
  scanner.SetFieldSeparator(',');
  scanner.SetField(1, "0");
  EXPECT_EQ(scanner.Line(), "0,2=9,9");
}

TEST(LineScannerFields, FieldsComeFromAReplacedLine) {
  LineScanner scanner = WithLine("a b", ' ');
  scanner.SetLine("x y z");
  EXPECT_EQ(scanner.FieldCount(), 3);
  EXPECT_EQ(scanner.Field(3), "z");
}

TEST(LineScannerFields, ChangesInTheHandlerShowInLine) {
  LineScanner scanner;
  std::vector<std::string> written;
  scanner.ScanText("H 1 2 3 4 5\n", "memory",
                   {[](LineScanner& s) { s.SetFieldSeparator(' '); },
                    [&](LineScanner& s) {
                      s.SetField(1, "D");
                      s.SetField(5, "7");
                      written.push_back(s.Line());
                    },
                    nullptr});
  EXPECT_EQ(written, (std::vector<std::string>{"D 1 2 3 7 5"}));
}

}  // namespace
}  // namespace tessaro
