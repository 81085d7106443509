#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "outside/status.h"

namespace tessaro {

// Reads a text file line by line and hands each line to a handler, which can split
// it into fields by a one-character separator, read and replace fields, or replace
// the whole line. A scan is synchronous: begin, every line, then end all run before
// Scan() returns. CR LF and LF line ends are both read; the line text never holds
// the line end. A last line without a line end is still a line; the line is empty
// again once the scan has ended.
class LineScanner {
 public:
  struct Handlers {
    std::function<void(LineScanner&)> begin;
    std::function<void(LineScanner&)> line;
    std::function<void(LineScanner&)> end;
  };

  // Scans the file at `path`. A file that cannot be read fails before any handler
  // runs; the status names the file and the reason.
  Status Scan(const std::string& path, const Handlers& handlers);
  // Scans text held in memory, as if it were the contents of a file named `name`.
  void ScanText(std::string_view text, const std::string& name, const Handlers& handlers);

  // Ends the running scan after the current line: no further line handler runs,
  // the end handler still does.
  void StopAfterThisLine() { stopRequested_ = true; }

  const std::string& FileName() const { return fileName_; }

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
  void RunLines(std::string_view text, const Handlers& handlers);

  std::string fileName_;
  std::string line_;
  char separator_ = ' ';
  bool stopRequested_ = false;
};

}  // namespace tessaro
