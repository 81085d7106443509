#include "scan/name_table.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaro {
namespace {

TEST(NameKeyTest, OnlyNamesOfOneToEightCharactersHaveKeys) {
  EXPECT_FALSE(NameKey("").has_value());
  EXPECT_TRUE(NameKey("P").has_value());
  EXPECT_TRUE(NameKey("PART1234").has_value());
  EXPECT_FALSE(NameKey("PART12345").has_value());
}

TEST(NameKeyTest, KeysDifferWhereNamesDiffer) {
  EXPECT_EQ(NameKey("PART1"), NameKey("PART1"));
  EXPECT_NE(NameKey("PART1"), NameKey("part1"));
  EXPECT_NE(NameKey("PART1"), NameKey("PART1 "));
  EXPECT_NE(NameKey("AB"), NameKey("A"));
}

TEST(NameTableTest, FirstValueOfAKeyStays) {
  NameTable table(4);
  table.Add(*NameKey("PART1"), 7);
  table.Add(*NameKey("PART1"), 9);

  EXPECT_EQ(table.Find(*NameKey("PART1")), 7u);
  EXPECT_FALSE(table.Find(*NameKey("PART2")).has_value());
}

TEST(NameTableTest, FullTableFindsEveryKeyItHolds) {
  constexpr int kNames = 20'000;
  NameTable table(kNames);
  for (int i = 0; i < kNames; ++i) table.Add(*NameKey("P" + std::to_string(i)), i);

  for (int i = 0; i < kNames; ++i) {
    ASSERT_EQ(table.Find(*NameKey("P" + std::to_string(i))), static_cast<std::uint32_t>(i)) << i;
  }
  EXPECT_FALSE(table.Contains(*NameKey("P20000")));
  EXPECT_FALSE(table.Contains(*NameKey("Q1")));
}

}  // namespace
}  // namespace tessaro
