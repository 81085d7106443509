#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

// Text that crosses to the system other than as a file name.

// What the program writes to std::cout and std::cerr (UTF-8) shows right in a console:
// on Windows, whose consoles show their own code page otherwise, the console's output code
// page becomes UTF-8 and a stream that goes to a console reaches it as UTF-16; elsewhere
// the terminal reads UTF-8 already. The program reads nothing typed into the console, so
// its input is left as it is.
void UseUtf8Console();

// The system's own ANSI code page on Windows (1252 in Western Europe), whatever the
// executable's manifest sets for the program itself; nullopt elsewhere, where names are
// bytes, and for a system language that has none.
std::optional<unsigned> SystemCodePage();

// `bytes` that are not UTF-8, as an older Windows program wrote them: read in the
// system's code page and given as UTF-8. Where there is no such code page they are
// returned as they are.
std::string FromSystemCodePage(std::string_view bytes);

}  // namespace tessaro
