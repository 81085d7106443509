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

// What Samba 4.17 stored for a file a client set with `setmode`: an empty text, padding,
// version 5, level 5, padding, valid fields 0x11, the attributes, the creation time.
std::string Samba417(int attributes) {
  return Bytes({0,          0, 5, 0, 5,    0,    0,    0,    0x11, 0,    0,    0,
                attributes, 0, 0, 0, 0xf3, 0x30, 0x35, 0x2b, 0xde, 0x85, 0xdd, 0x01});
}

TEST(ParseDosAttributes, ReadsTheTextAndEveryVersionOfSambasBlob) {
  const struct {
    std::string value;
    std::optional<int> bits;
  } cases[] = {
      // the text, alone or NUL-ended; a blob after a text that is not empty is not read
      {"0x20", 32},
      {"0X22", 0x22},
      {Bytes({'0', 'x', '2', 0}), 2},
      {Bytes({'0', 'x', '2', 0, 0, 3, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0x20, 0, 0, 0}), 2},
      {"", std::nullopt},
      {"0xZ", std::nullopt},
      {"0x2 hidden", std::nullopt},
      // the bytes Samba 4.17 wrote for +h, +r, +hr, +a and -h
      {Samba417(2), 2},
      {Samba417(1), 1},
      {Samba417(3), 3},
      {Samba417(0x20), 0x20},
      {Samba417(0), 0},
      // versions 1 to 4: attributes first; flags, then attributes; valid fields, then attributes
      {Bytes({0, 0, 1, 0, 1, 0, 0, 0, 0x22, 0, 0, 0, 0, 0, 0, 0}), 0x22},
      {Bytes({0, 0, 2, 0, 2, 0, 0, 0, 0xff, 0, 0, 0, 0x02, 0x01, 0, 0}), 0x102},
      {Bytes({0, 0, 3, 0, 3, 0, 0, 0, 0x0f, 0, 0, 0, 0x20, 0, 0, 0}), 0x20},
      {Bytes({0, 0, 4, 0, 4, 0, 0, 0, 0x01, 0, 0, 0, 0x02, 0, 0, 0, 1, 2, 3, 4}), 2},
      // attributes not marked valid, another version, a level that is not the version
      {Bytes({0, 0, 3, 0, 3, 0, 0, 0, 0x10, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      {Bytes({0, 0, 9, 0, 9, 0, 0, 0, 0x11, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      {Bytes({0, 0, 0xff, 0xff, 0xff, 0xff, 0, 0, 0x11, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      {Bytes({0, 0, 5, 0, 4, 0, 0, 0, 0x11, 0, 0, 0, 0x02, 0, 0, 0}), std::nullopt},
      // cut short: inside the attributes, before the level, the NUL alone
      {Samba417(2).substr(0, 15), std::nullopt},
      {Bytes({0, 0, 1, 0}), std::nullopt},
      {std::string(1, '\0'), std::nullopt},
  };
  for (const auto& [value, bits] : cases) {
    std::string bytes;
    for (const char c : value) bytes += std::to_string(static_cast<unsigned char>(c)) + " ";
    EXPECT_EQ(ParseDosAttributes(value), bits) << bytes;
  }
}

}  // namespace
}  // namespace tessaro
