#include "app/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace tessaro {

namespace {

bool IsIgnoredInNumber(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// "&H1F" and "&O17" (the "&" already skipped): digits of the base up to the first other
// character; no digits read 0.
double ReadBasedInteger(std::string_view digits, int base) {
  double value = 0;
  for (char c : digits) {
    int digit = -1;
    if (IsDigit(c)) {
      digit = c - '0';
    } else if (base == 16 && UpperAscii(c) >= 'A' && UpperAscii(c) <= 'F') {
      digit = UpperAscii(c) - 'A' + 10;
    }
    if (digit < 0 || digit >= base) break;
    value = value * base + digit;
  }
  return std::isfinite(value) ? value : 0.0;
}

// Removes the sign of a zero ("-0.000" -> "0.000"), so no format ever writes "-0".
std::string WithoutNegativeZero(std::string text) {
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) {
    text.erase(0, 1);
  }
  return text;
}

// Writes the digits and decimal exponent of a number in scientific form ("-1.2345e+02")
// as a plain decimal without exponent ("-123.45").
std::string PlainFromScientific(std::string_view scientific) {
  std::string sign;
  if (!scientific.empty() && scientific[0] == '-') {
    sign = "-";
    scientific.remove_prefix(1);
  }
  const size_t e = scientific.find_first_of("eE");
  const std::string_view mantissa = scientific.substr(0, e);
  int exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view exponentText = scientific.substr(e + 1);
    if (!exponentText.empty() && exponentText[0] == '+') exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  }
  std::string digits;
  for (char c : mantissa) {
    if (IsDigit(c)) digits += c;
  }
  // The first digit stands before the period: the value is 0.digits * 10^(exponent + 1).
  const int pointPosition = exponent + 1;
  std::string result;
  if (pointPosition <= 0) {
    result = "0." + std::string(static_cast<size_t>(-pointPosition), '0') + digits;
  } else if (static_cast<size_t>(pointPosition) >= digits.size()) {
    result = digits + std::string(static_cast<size_t>(pointPosition) - digits.size(), '0');
  } else {
    result = digits.substr(0, static_cast<size_t>(pointPosition)) + "." +
             digits.substr(static_cast<size_t>(pointPosition));
  }
  if (result.find('.') != std::string::npos) {
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.') result.pop_back();
  }
  return WithoutNegativeZero(sign + result);
}

double Finite(double value) { return std::isfinite(value) ? value : 0.0; }

std::string FormatFixed(double value, int decimals) {
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), Finite(value),
                                    std::chars_format::fixed, decimals);
  return WithoutNegativeZero(std::string(buffer.data(), result.ptr));
}

}  // namespace

double ReadNumber(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text) {
    if (!IsIgnoredInNumber(c)) compact += c;
  }

  if (compact.size() >= 2 && compact[0] == '&') {
    const char kind = UpperAscii(compact[1]);
    if (kind == 'H') return ReadBasedInteger(std::string_view(compact).substr(2), 16);
    if (kind == 'O') return ReadBasedInteger(std::string_view(compact).substr(2), 8);
    return 0;
  }

  // The longest leading number, rewritten in the form from_chars reads.
  std::string number;
  size_t i = 0;
  const size_t n = compact.size();
  if (i < n && (compact[i] == '+' || compact[i] == '-')) {
    if (compact[i] == '-') number += '-';
    ++i;
  }
  size_t mantissaDigits = 0;
  while (i < n && IsDigit(compact[i])) {
    number += compact[i++];
    ++mantissaDigits;
  }
  if (i < n && compact[i] == '.') {
    ++i;
    std::string fraction;
    while (i < n && IsDigit(compact[i])) fraction += compact[i++];
    if (!fraction.empty()) {
      number += '.';
      number += fraction;
      mantissaDigits += fraction.size();
    }
  }
  if (mantissaDigits == 0) return 0;
  if (i < n && (UpperAscii(compact[i]) == 'E' || UpperAscii(compact[i]) == 'D')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < n && (compact[j] == '+' || compact[j] == '-')) exponent += compact[j++];
    bool hasDigits = false;
    while (j < n && IsDigit(compact[j])) {
      exponent += compact[j++];
      hasDigits = true;
    }
    if (hasDigits) number += exponent;
  }

  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value) || value == 0) return 0;
  return value;
}

bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

namespace {

// The length of the drive or share that starts `path`: "C:", "\\server\share\"
// ("\\server\share" when nothing follows); 0 for none and off Windows.
size_t RootLength(std::string_view path) {
#ifdef _WIN32
  if (path.size() >= 2 && path[1] == ':') return 2;
  if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
    size_t end = 2;
    for (int part = 0; part < 2 && end < path.size(); ++part) {
      while (end < path.size() && !IsPathSeparator(path[end])) ++end;
      if (end < path.size()) ++end;  // the separator after the server, then the share
    }
    return end;
  }
#endif
  (void)path;
  return 0;
}

// Where the file name of `path` begins.
size_t NameStart(std::string_view path) {
  const size_t root = RootLength(path);
  for (size_t i = path.size(); i > root; --i) {
    if (IsPathSeparator(path[i - 1])) return i;
  }
  return root;
}

}  // namespace

std::string FileNamePart(std::string_view path) {
  return std::string(path.substr(NameStart(path)));
}

std::string FolderPart(std::string_view path) {
  return std::string(path.substr(0, NameStart(path)));
}

std::string FolderSeparator(std::string_view folder) {
  if (folder.empty() || IsPathSeparator(folder.back())) return "";
  return std::string(1, kPathSeparator);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  return std::string(folder) + FolderSeparator(folder) + std::string(name);
}

std::string_view Trim(std::string_view text, std::string_view blanks) {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

std::string ToUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperAscii(c);
  return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

std::string FormatFixed6(double value) { return FormatFixed(value, 6); }

std::string FormatUpTo4Decimals(double value) {
  std::string text = FormatFixed(value, 4);
  text.erase(text.find_last_not_of('0') + 1);  // the period always stays
  return WithoutNegativeZero(text);
}

std::string FormatGeneral(double value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), Finite(value),
                                    std::chars_format::scientific, 14);
  return PlainFromScientific(std::string_view(buffer.data(), result.ptr - buffer.data()));
}

std::string FormatShortest(double value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), Finite(value),
                                    std::chars_format::scientific);
  return PlainFromScientific(std::string_view(buffer.data(), result.ptr - buffer.data()));
}

bool IsFileNameCharacter(char c) {
  const auto code = static_cast<unsigned char>(c);
  if (code < 32 || code == 127) return false;
  switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return false;
    default:
      return true;
  }
}

bool IsFileNameText(std::string_view character) {
  for (const char c : character) {
    if (!IsFileNameCharacter(c)) return false;
  }
  return !character.empty();
}

size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  size_t length = 1;
  char32_t code = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  if (overlong || surrogate || code > 0x10FFFF) return 0;
  return length;
}

namespace {

// A byte that starts no valid UTF-8 sequence counts as one character of its own.
size_t CharacterLength(std::string_view text) {
  return std::max<size_t>(1, Utf8SequenceLength(text));
}

// The lower-case form of a letter of Latin-1 or Latin Extended-A, or the code itself.
char16_t LowerLatin(char16_t code) {
  if (code >= 0xC0 && code <= 0xDE && code != 0xD7) return code + 0x20;
  if (code == 0x178) return 0xFF;
  // Latin Extended-A pairs its letters: upper case on the even code in these runs,
  // on the odd code in the others.
  const bool evenUpper = (code >= 0x100 && code <= 0x137) || (code >= 0x14A && code <= 0x177);
  const bool oddUpper = (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E);
  if ((evenUpper && code % 2 == 0) || (oddUpper && code % 2 == 1)) return code + 1;
  return code;
}

}  // namespace

std::vector<std::string_view> SplitCharacters(std::string_view text) {
  std::vector<std::string_view> characters;
  while (!text.empty()) {
    const size_t length = CharacterLength(text);
    characters.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return characters;
}

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += CharacterLength(text.substr(i))) ++count;
  return count;
}

std::string_view FirstCharacters(std::string_view text, size_t count) {
  size_t end = 0;
  for (size_t taken = 0; taken < count && end < text.size(); ++taken) {
    end += CharacterLength(text.substr(end));
  }
  return text.substr(0, end);
}

std::string FoldCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (const std::string_view character : SplitCharacters(text)) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
      folded += (lead >= 'A' && lead <= 'Z') ? static_cast<char>(lead - 'A' + 'a') : character[0];
    } else if (character.size() == 2 && lead <= 0xC5) {
      const auto code = static_cast<char16_t>(((lead & 0x1F) << 6) |
                                              (static_cast<unsigned char>(character[1]) & 0x3F));
      const char16_t lower = LowerLatin(code);
      folded += static_cast<char>(0xC0 | (lower >> 6));
      folded += static_cast<char>(0x80 | (lower & 0x3F));
    } else {
      folded += character;
    }
  }
  return folded;
}

std::string FillFormat(std::string_view format, const std::vector<std::string>& args) {
  std::string text;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char next = i + 1 < format.size() ? format[i + 1] : '\0';
    if (format[i] == '%' && next >= '1' && next <= '9' &&
        static_cast<std::size_t>(next - '1') < args.size()) {
      text += args[static_cast<std::size_t>(next - '1')];
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace tessaro
