#include "outside/dos_attributes.h"

#include <charconv>
#include <cstdint>

namespace tessaro {

namespace {

constexpr uint32_t kAttributeMask = 0x7fffffff;

std::optional<int> ParseHexText(std::string_view text) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  uint32_t bits = 0;
  const auto result = std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return static_cast<int>(bits & kAttributeMask);
}

uint32_t ReadLittleEndian(std::string_view bytes, size_t offset, size_t size) {
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) {
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return value;
}

// The attribute bits of the binary fields after the version, nullopt when the version
// is unknown, the fields are too short, or they mark the bits as not valid.
std::optional<int> ParseBinaryFields(uint32_t version, std::string_view fields) {
  switch (version) {
    case 1:  // attributes first, then sizes and times
      if (fields.size() < 4) return std::nullopt;
      return static_cast<int>(ReadLittleEndian(fields, 0, 4) & kAttributeMask);
    case 2:  // a flags word, then the attributes
      if (fields.size() < 8) return std::nullopt;
      return static_cast<int>(ReadLittleEndian(fields, 4, 4) & kAttributeMask);
    case 3:
    case 4:
    case 5: {  // a word of valid-field flags (bit 0: attributes), then the attributes
      if (fields.size() < 8) return std::nullopt;
      if ((ReadLittleEndian(fields, 0, 4) & 1) == 0) return std::nullopt;
      return static_cast<int>(ReadLittleEndian(fields, 4, 4) & kAttributeMask);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<int> ParseDosAttributes(std::string_view value) {
  const size_t nul = value.find('\0');
  if (nul == std::string_view::npos) return ParseHexText(value);
  const std::string_view text = value.substr(0, nul);
  const std::string_view rest = value.substr(nul + 1);
  if (rest.size() >= 2) {
    const uint32_t version = ReadLittleEndian(rest, 0, 2);
    if (const std::optional<int> bits = ParseBinaryFields(version, rest.substr(2))) return bits;
  }
  return ParseHexText(text);
}

std::string FormatDosAttributes(int attributes) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits,
                                    static_cast<uint32_t>(attributes) & kAttributeMask, 16);
  return "0x" + std::string(digits, result.ptr);
}

}  // namespace tessaro
