#include "gcode/word_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace tessaro {
namespace {

struct WordCase {
  std::string text;
  double value;
};
std::ostream& operator<<(std::ostream& out, const WordCase& c) { return out << c.text; }

class ReadWordNumberCases : public ::testing::TestWithParam<WordCase> {};

TEST_P(ReadWordNumberCases, ReadsThePlainLeadingNumber) {
  EXPECT_EQ(ReadWordNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadWordNumberCases,
    ::testing::Values(WordCase{"120 Y40", 120}, WordCase{"50 E3", 50}, WordCase{"50E3", 50},
                      WordCase{"1D2", 1}, WordCase{"-5.5X", -5.5}, WordCase{"+7", 7},
                      WordCase{"2.5", 2.5}, WordCase{".5", 0.5}, WordCase{"5.", 5},
                      WordCase{" \t 12", 12}, WordCase{"5 0", 50}, WordCase{"- 3", -3},
                      WordCase{"1.2.3", 1.2}, WordCase{"", 0}, WordCase{"X5", 0}, WordCase{".", 0},
                      WordCase{"-", 0}, WordCase{"--5", 0}, WordCase{"&H10", 0}, WordCase{"-0", 0},
                      WordCase{"2440.13", 2440.13}, WordCase{std::string(400, '9'), 0},
                      WordCase{"0." + std::string(400, '0') + "1", 0}));

TEST(ReadWordNumber, NegativeZeroReadsAsPlainZero) {
  EXPECT_FALSE(std::signbit(ReadWordNumber("-0.0")));
}

TEST(ReadPlainDecimal, ReportsTheLengthRead) {
  EXPECT_EQ(ReadPlainDecimal("12.5Y").length, 4u);
  EXPECT_EQ(ReadPlainDecimal("12.5Y").value, 12.5);
  EXPECT_EQ(ReadPlainDecimal("-1").length, 0u);
  EXPECT_EQ(ReadPlainDecimal(".").length, 0u);
  EXPECT_EQ(ReadPlainDecimal(" 1").length, 0u);
}

TEST(ReadPlainDecimal, TooLargeIsInfiniteAndTooSmallIsZero) {
  EXPECT_EQ(ReadPlainDecimal(std::string(400, '9')).value, std::numeric_limits<double>::infinity());
  EXPECT_EQ(ReadPlainDecimal("0." + std::string(400, '0') + "1").value, 0);
}

TEST(WordAfter, ReadsAfterTheFirstOccurrenceOfTheLetter) {
  EXPECT_EQ(WordAfter("G81 P1 X120 G54", 'G'), 81);
  EXPECT_EQ(WordAfter("G81 P1 X120 G54", 'X'), 120);
  EXPECT_EQ(WordAfter("G81 P1 X120 G54", 'Y'), 0);
  EXPECT_EQ(WordAfter("XX5", 'X'), 0);
}

}  // namespace
}  // namespace tessaro
