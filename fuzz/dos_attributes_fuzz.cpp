// Arbitrary bytes as the value of "user.DOSATTRIB": another machine's Samba or Wine
// wrote it, so any bytes may come.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "outside/dos_attributes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Require;
  const std::string value(fuzz::InputText(data, size));
  const std::optional<int> bits = tessaro::ParseDosAttributes(value);
  if (!bits) return 0;

  // What we read, we write back as text that reads the same.
  Require(*bits >= 0);
  Require(tessaro::ParseDosAttributes(tessaro::FormatDosAttributes(*bits)) == bits);
  // A blob's trailing fields (times, names) never change its attributes.
  if (value.front() == '\0') Require(tessaro::ParseDosAttributes(value + "tail") == bits);
  return 0;
}
