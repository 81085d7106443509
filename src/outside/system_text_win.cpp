#include "outside/system_text.h"

#include <algorithm>
#include <iostream>
#include <streambuf>

#include "outside/windows_api.h"

namespace tessaro {

namespace {

// How many bytes at the end of `text` begin a UTF-8 character that is not complete yet.
size_t IncompleteTail(std::string_view text) {
  for (size_t back = 1; back <= std::min<size_t>(3, text.size()); ++back) {
    const auto byte = static_cast<unsigned char>(text[text.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

// A console stream that hands the console UTF-16 (WriteConsoleW), so that what it shows
// depends neither on the C runtime, which may convert bytes for a console in a locale of
// its own (Wine's does), nor on the console's code page. A character split between two
// writes waits for its last bytes.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<size_t>(count));
    const size_t complete = pending_.size() - IncompleteTail(pending_);
    const std::wstring wide = Widen(std::string_view(pending_).substr(0, complete));
    pending_.erase(0, complete);
    DWORD written = 0;
    if (!wide.empty() && !::WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()),
                                          &written, nullptr)) {
      return 0;
    }
    return count;
  }

 private:
  HANDLE console_;
  std::string pending_;
};

// Sends `stream` to the console when `handle` is one; the buffer lives as long as the
// process, as the stream is flushed at its very end.
void WriteToConsole(std::ostream& stream, DWORD handle) {
  const HANDLE console = ::GetStdHandle(handle);
  DWORD mode = 0;
  if (console != INVALID_HANDLE_VALUE && ::GetConsoleMode(console, &mode)) {
    stream.rdbuf(new ConsoleBuffer(console));
  }
}

}  // namespace

void UseUtf8Console() {
  ::SetConsoleOutputCP(CP_UTF8);
  WriteToConsole(std::cout, STD_OUTPUT_HANDLE);
  WriteToConsole(std::cerr, STD_ERROR_HANDLE);
}

// GetACP() gives the manifest's UTF-8, not the code page of the system's language.
std::optional<unsigned> SystemCodePage() {
  DWORD codePage = 0;
  const int read =
      ::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<wchar_t*>(&codePage), sizeof codePage / sizeof(wchar_t));
  // 0 (CP_ACP) is the answer of a language that has Unicode alone.
  if (read == 0 || codePage == CP_ACP || codePage == CP_UTF8) return std::nullopt;
  return codePage;
}

std::string FromSystemCodePage(std::string_view bytes) {
  const std::optional<unsigned> codePage = SystemCodePage();
  if (!codePage || bytes.empty()) return std::string(bytes);
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(*codePage, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::string(bytes);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(*codePage, 0, bytes.data(), size, wide.data(), length);
  return Narrow(wide);
}

}  // namespace tessaro
