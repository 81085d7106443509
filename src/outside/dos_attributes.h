#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

// The value of the extended attribute "user.DOSATTRIB" that holds a file's DOS
// attribute bits (hidden 2, archive 32). We write the text form "0x" and the bits in
// hexadecimal, without a terminating NUL. Read are that form, with or without a NUL,
// and the binary form a Windows file server stores: a NUL-terminated text, a 16-bit
// little-endian version, then that version's fields, which hold the bits as a 32-bit
// little-endian number. nullopt when the value holds neither.
std::optional<int> ParseDosAttributes(std::string_view value);
std::string FormatDosAttributes(int attributes);

}  // namespace tessaro
