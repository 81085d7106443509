#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "outside/status.h"

namespace tessaro {

// What a scan is willing to read.
struct ScanLimits {
  std::uint64_t maxFileSize = 0;      // a larger file is refused before any handler runs; 0: any
  std::size_t maxLineLength = 1 << 20;  // a longer line is handed over cut (see LineCut)
};

// Reads a text file line by line and hands each line to a handler, which can split
// it into fields by a one-character separator, read and replace fields, or replace
// the whole line. A scan is synchronous: begin, every line, then end all run before
// Scan() returns. The file is read in pieces as the lines are handled, so a scan
// that stops early reads no further and memory does not grow with the file's size.
// CR LF, LF and a lone CR each end a line; the line text never holds the line end.
// A UTF-8 byte-order mark at the start is skipped. A last line without a line end is
// still a line; the line is empty again once the scan has ended.
class LineScanner {
 public:
  struct Handlers {
    std::function<void(LineScanner&)> begin;
    std::function<void(LineScanner&)> line;
    std::function<void(LineScanner&)> end;
  };

  // Scans the file at `path`. A file that cannot be read, or is larger than the
  // limit, fails before any handler runs; the status names the file and the reason.
  // A read that fails midway ends the scan (the end handler still runs) and fails.
  Status Scan(const std::string& path, const Handlers& handlers, const ScanLimits& limits = {});
  // Scans text held in memory, as if it were the contents of a file named `name`.
  void ScanText(std::string_view text, const std::string& name, const Handlers& handlers,
                const ScanLimits& limits = {});

  // Ends the running scan after the current line: no further line handler runs,
  // the end handler still does.
  void StopAfterThisLine() { stopRequested_ = true; }

  const std::string& FileName() const { return fileName_; }

  // The current line was longer than the limit: Line() holds its beginning only.
  bool LineCut() const { return lineCut_; }

  // The separator applies at once to the current line.
  void SetFieldSeparator(char separator) { separator_ = separator; }
  char FieldSeparator() const { return separator_; }

  const std::string& Line() const { return line_; }
  void SetLine(std::string line) { line_ = std::move(line); }

  // Field 0 is the whole line; field 1 the text before the first separator, field 2
  // the text between the first and second separator, and so on. A field that does
  // not exist reads "".
  std::string Field(int n) const;
  // Replaces field n (n >= 1) and leaves all other text and separators unchanged.
  // Replacing a field past the last one appends the missing separators first.
  void SetField(int n, std::string_view value);
  // The number of separators plus one; 0 for an empty line.
  int FieldCount() const;

 private:
  void Begin(const std::string& name, const Handlers& handlers, const ScanLimits& limits);
  // Hands over every line that `piece` completes; the rest waits for the next piece.
  void Feed(std::string_view piece, const Handlers& handlers);
  void Finish(const Handlers& handlers);
  void HandOver(const Handlers& handlers);

  std::string fileName_;
  std::string line_;
  char separator_ = ' ';
  bool stopRequested_ = false;
  std::size_t maxLineLength_ = 0;
  bool lineCut_ = false;
  bool atStart_ = true;       // no byte read yet (a byte-order mark may follow)
  bool afterCr_ = false;      // the last byte ended a line with CR: an LF now belongs to it
  bool lineStarted_ = false;  // bytes of an unfinished line were read
  bool skippingRest_ = false;  // the current line was handed over cut: skip to its end
};

}  // namespace tessaro
