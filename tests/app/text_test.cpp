#include "app/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tessaro {
namespace {

struct NumberCase {
  std::string text;
  double expected;
};

class ReadNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberTest, ReadsTheLeadingNumber) {
  EXPECT_EQ(ReadNumber(GetParam().text), GetParam().expected) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ReadNumberTest,
    ::testing::Values(NumberCase{"120 Y40", 120}, NumberCase{"50 E3", 50000}, NumberCase{"", 0},
                      NumberCase{"-5.5X", -5.5}, NumberCase{"1D2", 100}, NumberCase{"2.5", 2.5},
                      NumberCase{"X5", 0}, NumberCase{"5 0", 50}, NumberCase{" \t1\n2 ", 12},
                      NumberCase{"+7", 7}, NumberCase{".5", 0.5}, NumberCase{"5.", 5},
                      NumberCase{"-.25", -0.25}, NumberCase{"1e", 1}, NumberCase{"1E+2", 100},
                      NumberCase{"1e-2", 0.01}, NumberCase{"2d-1", 0.2}, NumberCase{"1.2.3", 1.2},
                      NumberCase{"12,5", 12}, NumberCase{"--5", 0}, NumberCase{"-", 0},
                      NumberCase{".", 0}, NumberCase{"0.000001", 0.000001},
                      NumberCase{"1e5X", 100000}, NumberCase{"3E 2", 300}));

INSTANTIATE_TEST_SUITE_P(HexAndOctal, ReadNumberTest,
                         ::testing::Values(NumberCase{"&H1F", 31}, NumberCase{"&hff", 255},
                                           NumberCase{"&H 1 0", 16}, NumberCase{"&O17", 15},
                                           NumberCase{"&o8", 0}, NumberCase{"&O178", 15},
                                           NumberCase{"&H", 0}, NumberCase{"&", 0},
                                           NumberCase{"&X1", 0}, NumberCase{"&HFG", 15}));

INSTANTIATE_TEST_SUITE_P(NeverInfiniteOrNotANumber, ReadNumberTest,
                         ::testing::Values(NumberCase{"1e400", 0}, NumberCase{"-1e400", 0},
                                           NumberCase{"1D99999999999999999999", 0},
                                           NumberCase{"inf", 0}, NumberCase{"-inf", 0},
                                           NumberCase{"nan", 0}, NumberCase{"INFINITY", 0},
                                           NumberCase{"1e-400", 0},
                                           NumberCase{"&H" + std::string(300, 'F'), 0},
                                           NumberCase{std::string(400, '9'), 0}));

TEST(ReadNumber, ZeroHasNoSign) {
  EXPECT_FALSE(std::signbit(ReadNumber("-0")));
  EXPECT_FALSE(std::signbit(ReadNumber("-0.0E5")));
}

TEST(ReadNumber, ReadsAVeryLongNumberThatFits) {
  EXPECT_EQ(ReadNumber("1" + std::string(300, '0')), 1e300);
  EXPECT_EQ(ReadNumber("0." + std::string(300, '0') + "1"), 1e-301);
}

TEST(PathParts, SplitAtTheLastSeparator) {
  EXPECT_EQ(FileNamePart("/progs/PART1.RCM"), "PART1.RCM");
  EXPECT_EQ(FileNamePart("PART1.RCM"), "PART1.RCM");
  EXPECT_EQ(FileNamePart("/progs/"), "");
  EXPECT_EQ(FileNamePart(""), "");
  EXPECT_EQ(FolderPart("/progs/PART1.RCM"), "/progs/");
  EXPECT_EQ(FolderPart("/a/b/c"), "/a/b/");
  EXPECT_EQ(FolderPart("PART1.RCM"), "");
  EXPECT_EQ(FolderPart("/PART"), "/");
}

TEST(PathParts, SeparatorOnlyWhenTheFolderLacksOne) {
  EXPECT_EQ(FolderSeparator("/"), "");
  EXPECT_EQ(FolderSeparator("/home/shop/"), "");
  EXPECT_EQ(FolderSeparator("/home/shop"), "/");
  EXPECT_EQ(JoinPath("/home/shop", "PART"), "/home/shop/PART");
  EXPECT_EQ(JoinPath("/home/shop/", "PART"), "/home/shop/PART");
  EXPECT_EQ(JoinPath("/", "PART"), "/PART");
  EXPECT_EQ(JoinPath("", "PART"), "PART");
}

TEST(TextHelpers, TrimRemovesBlanksAtBothEnds) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("x"), "x");
}

TEST(TextHelpers, UpperCaseAndComparisonIgnoringCase) {
  EXPECT_EQ(ToUpper("Yes, part1.rcm"), "YES, PART1.RCM");
  EXPECT_TRUE(EqualsIgnoreCase("Settings", "SETTINGS"));
  EXPECT_TRUE(EqualsIgnoreCase("", ""));
  EXPECT_FALSE(EqualsIgnoreCase("Settings", "Setting"));
  EXPECT_FALSE(EqualsIgnoreCase("Top", "Tip"));
}

struct FormatCase {
  double value;
  std::string expected;
};

class FormatFixed6Test : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatFixed6Test, WritesSixDecimals) {
  EXPECT_EQ(FormatFixed6(GetParam().value), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Values, FormatFixed6Test,
    ::testing::Values(FormatCase{12.5, "12.500000"}, FormatCase{0, "0.000000"},
                      FormatCase{-0.0, "0.000000"}, FormatCase{-1, "-1.000000"},
                      FormatCase{-0.0000001, "0.000000"}, FormatCase{1.0 / 3, "0.333333"},
                      FormatCase{2.0 / 3, "0.666667"}, FormatCase{123456.789, "123456.789000"},
                      FormatCase{-25.4, "-25.400000"}));

class FormatUpTo4DecimalsTest : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatUpTo4DecimalsTest, WritesThePeriodAlways) {
  EXPECT_EQ(FormatUpTo4Decimals(GetParam().value), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Values, FormatUpTo4DecimalsTest,
                         ::testing::Values(FormatCase{12, "12."}, FormatCase{12.5, "12.5"},
                                           FormatCase{0.5, "0.5"}, FormatCase{0, "0."},
                                           FormatCase{-0.0, "0."}, FormatCase{-0.00001, "0."},
                                           FormatCase{1.0 / 3, "0.3333"},
                                           FormatCase{2.0 / 3, "0.6667"},
                                           FormatCase{9.99996, "10."}, FormatCase{-3.25, "-3.25"},
                                           FormatCase{100, "100."}));

class FormatGeneralTest : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatGeneralTest, WritesUpTo15SignificantDigits) {
  EXPECT_EQ(FormatGeneral(GetParam().value), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Values, FormatGeneralTest,
    ::testing::Values(FormatCase{12.7, "12.7"}, FormatCase{25.4 / 25.4, "1"},
                      FormatCase{0.999999984981507, "0.999999984981507"}, FormatCase{0, "0"},
                      FormatCase{-0.0, "0"}, FormatCase{0.5, "0.5"}, FormatCase{-12.5, "-12.5"},
                      FormatCase{1.0 / 3, "0.333333333333333"}, FormatCase{0.1 + 0.2, "0.3"},
                      FormatCase{100, "100"}, FormatCase{123456789012345, "123456789012345"},
                      FormatCase{1e20, "100000000000000000000"}, FormatCase{0.00001, "0.00001"},
                      FormatCase{304.8 / 25.4, "12"}));

class FormatShortestTest : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatShortestTest, WritesThePlainShortestDecimal) {
  EXPECT_EQ(FormatShortest(GetParam().value), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Values, FormatShortestTest,
                         ::testing::Values(FormatCase{400, "400"}, FormatCase{0.1, "0.1"},
                                           FormatCase{1234.5678, "1234.5678"},
                                           FormatCase{1e21, "1000000000000000000000"},
                                           FormatCase{1e-7, "0.0000001"}, FormatCase{0, "0"},
                                           FormatCase{-0.0, "0"}, FormatCase{-2.5, "-2.5"},
                                           FormatCase{0.1 + 0.2, "0.30000000000000004"},
                                           FormatCase{1.0 / 3, "0.3333333333333333"},
                                           FormatCase{123e-20, "0.00000000000000000123"}));

TEST(FormatShortest, ReadsBackAsTheSameNumber) {
  for (double value : {0.1, 1.0 / 3, 2.0 / 3, 1e-300, 1.7976931348623157e308, 5e-324, 123.456,
                       -98765.4321, 25.4, 1.0 / 25.4}) {
    EXPECT_EQ(ReadNumber(FormatShortest(value)), value) << FormatShortest(value);
  }
}

TEST(Formats, InfiniteOrNotANumberWriteZero) {
  EXPECT_EQ(FormatFixed6(INFINITY), "0.000000");
  EXPECT_EQ(FormatUpTo4Decimals(NAN), "0.");
  EXPECT_EQ(FormatGeneral(-INFINITY), "0");
  EXPECT_EQ(FormatShortest(NAN), "0");
}

TEST(FileNameCharacters, ForbiddenOnesAreRefused) {
  for (char c : std::string("/\\:*?\"<>|\t\r\n") + '\0') {
    EXPECT_FALSE(IsFileNameCharacter(c)) << static_cast<int>(c);
  }
  for (char c : std::string("aZ09 _-.#$%&()+,;=@[]{}~")) {
    EXPECT_TRUE(IsFileNameCharacter(c)) << c;
  }
}

}  // namespace
}  // namespace tessaro
