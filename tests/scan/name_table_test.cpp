#include "scan/name_table.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaro {
namespace {

TEST(NameTableTest, FullTableFindsTheFirstValueOfEveryKeyItHolds) {
  constexpr int kNames = 20'000;
  NameTable table(kNames);
  for (int i = 0; i < kNames; ++i) table.Add(*NameKey("P" + std::to_string(i)), i);
  table.Add(*NameKey("P7"), 9);

  for (int i = 0; i < kNames; ++i) {
    ASSERT_EQ(table.Find(*NameKey("P" + std::to_string(i))), static_cast<std::uint32_t>(i)) << i;
  }
  EXPECT_FALSE(table.Contains(*NameKey("P20000")));
  EXPECT_FALSE(table.Find(*NameKey("Q1")).has_value());
  EXPECT_FALSE(NameKey("P2345678X").has_value());
}

}  // namespace
}  // namespace tessaro
