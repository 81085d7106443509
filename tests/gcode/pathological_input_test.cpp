// Input no shop file holds, which must still be read to its end without harm.
#include <gtest/gtest.h>

#include <string>

#include "gcode/expression.h"
#include "gcode/gcode_reader.h"

namespace tessaro {
namespace {

using testing::GcodeReader;

constexpr std::size_t kMegabyte = 1 << 20;

TEST(PathologicalInput, MegabyteHoleLines) {
  GcodeReader reader;
  std::string assignments = "G81 P1 X";
  while (assignments.size() < kMegabyte) assignments += "=l/2+1";
  reader.ReadText("G71 X800 Y600 Z18\nG81 P1 X" + std::string(kMegabyte, '7') + " G54\n" +
                  assignments + " G54\n");
  EXPECT_EQ(reader.Count(1), 2);
  EXPECT_EQ(reader.Hole(1, 1).Location, 0);  // too large for a double
}

TEST(PathologicalInput, MegabyteMacroLines) {
  GcodeReader reader;
  std::string sum = "G150(BIG) A";
  while (sum.size() < kMegabyte) sum += "1+";
  reader.ReadText(sum + "1\n!B=" + std::string(kMegabyte, '(') + "\n");
  EXPECT_EQ(reader.holes.MacroName, "");
  EXPECT_GT(reader.holes.MacroParams[1], 100000);
  EXPECT_EQ(reader.holes.MacroParams[2], 0);
  EXPECT_FALSE(reader.holes.RejectedFile);
}

TEST(PathologicalInput, NestedParenthesesAndSigns) {
  const MacroParameters params{};
  const std::string nested = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ(EvaluateExpression(nested, params), 0);
  EXPECT_EQ(EvaluateExpression(std::string(100000, '-') + "1", params), 0);
  EXPECT_EQ(ExpandExpression(std::string(100000, '(') + " Y5", params), "0 Y5");
}

TEST(PathologicalInput, NulBytesInLines) {
  GcodeReader reader;
  using namespace std::string_literals;
  reader.ReadText("G71 X800\0 Y600 Z18\nG81 P1\0 X5 G54\n\0\0\0\nG81 P1 X=\0l G54\n"s);
  EXPECT_FALSE(reader.holes.RejectedFile);
  EXPECT_EQ(reader.Count(1), 2);
}

TEST(PathologicalInput, HundredThousandLines) {
  GcodeReader reader;
  std::string text = "G71 X800 Y600 Z18\n";
  for (int i = 0; i < 100000; ++i) text += "G81 P" + std::to_string(i % 6) + " X=l/2 Y=h/2 G54\n";
  reader.ReadText(text);
  EXPECT_EQ(reader.holes.FaceHoleCount, (std::array<int, 5>{10, 10, 10, 10, 10}));
  EXPECT_EQ(reader.state.LineNumber, 100001);
}

TEST(PathologicalInput, BinaryFirstLineIsRefused) {
  GcodeReader reader;
  std::string text;
  for (int c = 0; c < 256; ++c) text += static_cast<char>(c);
  reader.ReadText(text);
  EXPECT_TRUE(reader.holes.RejectedFile);
}

}  // namespace
}  // namespace tessaro
