#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace tessaro {

// A program name of at most eight characters packed into one number: every name
// a mask gives fits, and two names are equal exactly when their numbers are.
// Longer names and the empty name have no key.
inline std::optional<std::uint64_t> NameKey(std::string_view name) {
  if (name.empty() || name.size() > 8) return std::nullopt;
  std::uint64_t key = 0;
  std::memcpy(&key, name.data(), name.size());
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
  void Add(std::uint64_t key, std::uint32_t value) {
    const std::size_t slot = SlotOf(key);
    if (keys_[slot] != kEmpty) return;
    keys_[slot] = key;
    values_[slot] = value;
  }

  std::optional<std::uint32_t> Find(std::uint64_t key) const {
    const std::size_t slot = SlotOf(key);
    if (keys_[slot] == kEmpty) return std::nullopt;
    return values_[slot];
  }

 private:
  static constexpr std::uint64_t kEmpty = 0;  // no key is 0: the empty name has none

  std::size_t SlotOf(std::uint64_t key) const {
    const std::size_t mask = keys_.size() - 1;
    std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
    while (keys_[slot] != kEmpty && keys_[slot] != key) slot = (slot + 1) & mask;
    return slot;
  }

  int shift_ = 0;
  std::vector<std::uint64_t> keys_;
  std::vector<std::uint32_t> values_;
};

}  // namespace tessaro
