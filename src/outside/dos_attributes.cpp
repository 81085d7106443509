#include "outside/dos_attributes.h"

#include <charconv>
#include <cstddef>
#include <cstdint>

namespace tessaro {

namespace {

constexpr uint32_t kAttributeMask = 0x7fffffff;
constexpr uint32_t kAttributesValid = 1;

std::optional<int> ParseHexText(std::string_view text) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  uint32_t bits = 0;
  const auto result = std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return static_cast<int>(bits & kAttributeMask);
}

// A little-endian number of `size` bytes at `offset`, nullopt when the bytes end first.
std::optional<uint32_t> ReadLittleEndian(std::string_view bytes, size_t offset, size_t size) {
  if (offset > bytes.size() || bytes.size() - offset < size) return std::nullopt;
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) {
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return value;
}

constexpr size_t AlignedUp(size_t offset, size_t boundary) {
  return (offset + boundary - 1) / boundary * boundary;
}

// The NDR blob whose empty text ends at `textEnd` (the offset of its NUL).
std::optional<int> ParseBlob(std::string_view value, size_t textEnd) {
  const size_t versionAt = AlignedUp(textEnd + 1, 2);
  const std::optional<uint32_t> version = ReadLittleEndian(value, versionAt, 2);
  const std::optional<uint32_t> level = ReadLittleEndian(value, versionAt + 2, 2);
  if (!version || level != version) return std::nullopt;
  const size_t infoAt = AlignedUp(versionAt + 4, 4);

  std::optional<uint32_t> bits;
  switch (*version) {
    case 1:
      bits = ReadLittleEndian(value, infoAt, 4);
      break;
    case 2:  // the flags word says nothing about the attributes
      bits = ReadLittleEndian(value, infoAt + 4, 4);
      break;
    case 3:
    case 4:
    case 5:
      if (const auto valid = ReadLittleEndian(value, infoAt, 4);
          valid && *valid & kAttributesValid) {
        bits = ReadLittleEndian(value, infoAt + 4, 4);
      }
      break;
    default:
      break;
  }
  if (!bits) return std::nullopt;
  return static_cast<int>(*bits & kAttributeMask);
}

}  // namespace

std::optional<int> ParseDosAttributes(std::string_view value) {
  const size_t nul = value.find('\0');
  const std::string_view text = value.substr(0, nul);
  if (!text.empty() || nul == std::string_view::npos) return ParseHexText(text);
  return ParseBlob(value, nul);
}

std::string FormatDosAttributes(int attributes) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits,
                                    static_cast<uint32_t>(attributes) & kAttributeMask, 16);
  return "0x" + std::string(digits, result.ptr);
}

}  // namespace tessaro
