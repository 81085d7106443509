#include "outside/dos_attributes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tessaro {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (int b : bytes) text += static_cast<char>(b);
  return text;
}

struct Attribute {
  std::string value;
  std::optional<int> bits;
};

TEST(ParseDosAttributes, ReadsTheTextForm) {
  for (const Attribute& c :
       {Attribute{"0x20", 32}, Attribute{"0X2A", 42}, Attribute{Bytes({'0', 'x', '2', 0}), 2},
        Attribute{"", std::nullopt}, Attribute{"0xZ", std::nullopt}, Attribute{"2", std::nullopt},
        Attribute{"0x2 hidden", std::nullopt}}) {
    EXPECT_EQ(ParseDosAttributes(c.value), c.bits) << c.value;
  }
}

// Text, NUL, a 16-bit version, then that version's fields; the text when they fail.
TEST(ParseDosAttributes, ReadsTheBinaryFormOfEveryVersion) {
  int row = 0;
  for (const Attribute& c :
       {Attribute{Bytes({0, 1, 0, 0x22, 0, 0, 0, 0, 0, 0, 0}), 0x22},
        Attribute{Bytes({0, 2, 0, 0xff, 0, 0, 0, 0x02, 0, 0, 0}), 0x02},
        Attribute{Bytes({'0', 'x', '2', 0, 3, 0, 1, 0, 0, 0, 0x02, 0, 0, 0}), 2},
        Attribute{Bytes({0, 4, 0, 1, 0, 0, 0, 0x20, 0, 0, 0, 1, 2, 3, 4}), 32},
        Attribute{Bytes({0, 5, 0, 0x0f, 0, 0, 0, 0x12, 0x01, 0, 0}), 0x112},
        // attributes not marked valid, an unknown version, fields cut short
        Attribute{Bytes({'0', 'x', '2', 0, 3, 0, 0, 0, 0, 0, 0x20, 0, 0, 0}), 2},
        Attribute{Bytes({'0', 'x', '2', '0', 0, 9, 0, 1, 0, 0, 0, 2, 0, 0, 0}), 32},
        Attribute{Bytes({'0', 'x', '2', 0, 3, 0, 1, 0}), 2},
        Attribute{Bytes({0, 9, 0}), std::nullopt}}) {
    EXPECT_EQ(ParseDosAttributes(c.value), c.bits) << "row " << row++;
  }
}

}  // namespace
}  // namespace tessaro
