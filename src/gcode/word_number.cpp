#include "gcode/word_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace tessaro {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

PlainDecimal ReadPlainDecimal(std::string_view text) {
  std::size_t end = 0;
  std::size_t digits = 0;
  bool integerPartNonZero = false;
  while (end < text.size() && IsDigit(text[end])) {
    if (text[end] != '0') integerPartNonZero = true;
    ++end;
    ++digits;
  }
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && IsDigit(text[end])) {
      ++end;
      ++digits;
    }
  }
  if (digits == 0) return {};

  double value = 0;
  const auto [ptr, error] =
      std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    value = integerPartNonZero ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || ptr != text.data() + end) {
    value = 0;
  }
  return {value, end};
}

double ReadWordNumber(std::string_view text) {
  // Collect the number's characters without the blanks between them.
  std::string compact;
  bool negative = false;
  bool signAllowed = true;
  bool periodSeen = false;
  for (const char c : text) {
    if (IsIgnoredBlank(c)) continue;
    if (signAllowed && (c == '-' || c == '+')) {
      negative = c == '-';
      signAllowed = false;
    } else if (IsDigit(c)) {
      compact += c;
      signAllowed = false;
    } else if (c == '.' && !periodSeen) {
      compact += c;
      periodSeen = true;
      signAllowed = false;
    } else {
      break;
    }
  }
  const PlainDecimal number = ReadPlainDecimal(compact);
  if (number.length == 0 || !std::isfinite(number.value) || number.value == 0) return 0;
  return negative ? -number.value : number.value;
}

double WordAfter(std::string_view line, char letter) {
  const std::size_t at = line.find(letter);
  if (at == std::string_view::npos) return 0;
  return ReadWordNumber(line.substr(at + 1));
}

}  // namespace tessaro
