#pragma once

#include <cstddef>
#include <string_view>

namespace tessaro {

// An unsigned plain decimal at the start of a text: digits, an optional period and
// digits, never an exponent. `length` is 0 when the text does not begin with one
// ("." alone is none). A value too large for a double is infinite, one too small 0.
struct PlainDecimal {
  double value = 0;
  std::size_t length = 0;
};
PlainDecimal ReadPlainDecimal(std::string_view text);

// The number of a G-code word, read from the text after its letter: an optional sign,
// digits, a period and digits, with blanks, tabs and line feeds ignored anywhere as
// ReadNumber ignores them, but without an exponent, because D and E are words of the
// dialect ("50 E3" reads 50). No number, or one that does not fit a double, reads 0.
double ReadWordNumber(std::string_view text);

// The number after the first `letter` of a line; 0 when the letter does not occur.
double WordAfter(std::string_view line, char letter);

}  // namespace tessaro
