#include "outside/dos_attributes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tessaro {
namespace {

struct AttributeCase {
  std::string name;
  std::string value;
  std::optional<int> expected;
};

std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (int b : bytes) text += static_cast<char>(b);
  return text;
}

class ParseDosAttributesTest : public ::testing::TestWithParam<AttributeCase> {};
TEST_P(ParseDosAttributesTest, ReadsTheAttributeBits) {
  EXPECT_EQ(ParseDosAttributes(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextForm, ParseDosAttributesTest,
    ::testing::Values(AttributeCase{"Hidden", "0x2", 2}, AttributeCase{"Archive", "0x20", 32},
                      AttributeCase{"UpperCase", "0X2A", 42},
                      AttributeCase{"WithNul", Bytes({'0', 'x', '2', 0}), 2},
                      AttributeCase{"Empty", "", std::nullopt},
                      AttributeCase{"NoDigits", "0x", std::nullopt},
                      AttributeCase{"NotHex", "0xZ", std::nullopt},
                      AttributeCase{"Decimal", "2", std::nullopt},
                      AttributeCase{"TrailingText", "0x2 hidden", std::nullopt}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    BinaryForm, ParseDosAttributesTest,
    ::testing::Values(
        // version 1: attributes, then sizes and times
        AttributeCase{"Version1", Bytes({0, 1, 0, 0x22, 0, 0, 0, 0, 0, 0, 0}), 0x22},
        // version 2: flags, then attributes
        AttributeCase{"Version2", Bytes({0, 2, 0, 0xff, 0, 0, 0, 0x02, 0, 0, 0}), 0x02},
        // versions 3 to 5: valid flags (bit 0 for the attributes), then attributes
        AttributeCase{"Version3", Bytes({'0', 'x', '2', 0, 3, 0, 1, 0, 0, 0, 0x02, 0, 0, 0}), 2},
        AttributeCase{"Version4", Bytes({0, 4, 0, 1, 0, 0, 0, 0x20, 0, 0, 0, 1, 2, 3, 4}), 32},
        AttributeCase{"Version5", Bytes({0, 5, 0, 0x0f, 0, 0, 0, 0x12, 0x01, 0, 0}), 0x112},
        AttributeCase{"AttributesNotValidFallsBackToText",
                      Bytes({'0', 'x', '2', 0, 3, 0, 0, 0, 0, 0, 0x20, 0, 0, 0}), 2},
        AttributeCase{"UnknownVersionFallsBackToText",
                      Bytes({'0', 'x', '2', '0', 0, 9, 0, 1, 0, 0, 0, 2, 0, 0, 0}), 32},
        AttributeCase{"ShortFieldsFallBackToText", Bytes({'0', 'x', '2', 0, 3, 0, 1, 0}), 2},
        AttributeCase{"NothingUsable", Bytes({0, 9, 0}), std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(FormatDosAttributes, WritesHexadecimalText) {
  EXPECT_EQ(FormatDosAttributes(2), "0x2");
  EXPECT_EQ(FormatDosAttributes(32), "0x20");
  EXPECT_EQ(FormatDosAttributes(34), "0x22");
  EXPECT_EQ(FormatDosAttributes(0), "0x0");
}

}  // namespace
}  // namespace tessaro
