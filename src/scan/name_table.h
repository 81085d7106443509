#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/text.h"

namespace tessaro {

// A program name of at most eight characters packed into 32 bytes, with its letter
// case folded: every name a mask gives fits (a UTF-8 character takes at most four
// bytes), and two names are the same file name exactly when their keys are equal.
using NameKeyValue = std::array<std::uint64_t, 4>;

// Longer names and the empty name have no key.
inline std::optional<NameKeyValue> NameKey(std::string_view name) {
  constexpr std::size_t kLongestName = 8;
  if (name.empty()) return std::nullopt;
  NameKeyValue key{};
  auto* bytes = reinterpret_cast<unsigned char*>(key.data());
  bool ascii = name.size() <= kLongestName;
  for (std::size_t i = 0; ascii && i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c >= 0x80) ascii = false;
    bytes[i] = (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
  }
  if (ascii) return key;  // the common case, without an allocation
  if (CharacterCount(name) > kLongestName) return std::nullopt;
  const std::string folded = FoldCase(name);
  key = {};
  std::memcpy(bytes, folded.data(), std::min(folded.size(), sizeof key));
  return key;
}

// Name keys to values in one flat array (open addressing): a tick looks up every
// face name of every G-code file, and a shop's program folder holds tens of
// thousands of programs.
class NameTable {
 public:
  explicit NameTable(std::size_t expected) {
    const std::size_t capacity = std::bit_ceil(expected * 2 + 16);
    shift_ = 64 - std::countr_zero(capacity);
    keys_.assign(capacity, kEmpty);
    values_.assign(capacity, 0);
  }

  // Keeps the value of the first Add of a key.
  void Add(const NameKeyValue& key, std::uint32_t value) {
    const std::size_t slot = SlotOf(key);
    if (keys_[slot] != kEmpty) return;
    keys_[slot] = key;
    values_[slot] = value;
  }

  std::optional<std::uint32_t> Find(const NameKeyValue& key) const {
    const std::size_t slot = SlotOf(key);
    if (keys_[slot] == kEmpty) return std::nullopt;
    return values_[slot];
  }

 private:
  static constexpr NameKeyValue kEmpty{};  // no key is all zero: the empty name has none

  std::size_t SlotOf(const NameKeyValue& key) const {
    const std::size_t mask = keys_.size() - 1;
    std::uint64_t mixed = key[0];
    for (std::size_t i = 1; i < key.size(); ++i) mixed = (mixed ^ key[i]) * 0x9E3779B97F4A7C15ull;
    std::size_t slot = static_cast<std::size_t>((mixed * 0x9E3779B97F4A7C15ull) >> shift_);
    while (keys_[slot] != kEmpty && keys_[slot] != key) slot = (slot + 1) & mask;
    return slot;
  }

  int shift_ = 0;
  std::vector<NameKeyValue> keys_;
  std::vector<std::uint32_t> values_;
};

}  // namespace tessaro
