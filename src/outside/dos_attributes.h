#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

// The value of the extended attribute "user.DOSATTRIB" that holds a file's DOS
// attribute bits (read-only 1, hidden 2, archive 32). We write the text form: "0x"
// and the bits in hexadecimal, without a terminating NUL, which Samba and Wine read.
//
// Read are every form Samba and Wine write: the text, alone or NUL-ended (Wine, old
// Samba), and when that text is empty Samba's NDR blob after its NUL: padding to a
// 2-byte boundary, a 16-bit version, the same number again as the union level,
// padding to a 4-byte boundary, then the version's info, little-endian:
//   version 1:     attributes (32 bits), then sizes and times
//   version 2:     a flags word, then the attributes
//   versions 3-5:  a valid-fields word (bit 0: the attributes are valid), then the
//                  attributes
// nullopt when the value holds none of these: a blob too short, of another version,
// or whose attributes are not marked valid.
std::optional<int> ParseDosAttributes(std::string_view value);
std::string FormatDosAttributes(int attributes);

}  // namespace tessaro
