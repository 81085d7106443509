#pragma once

#include <string>
#include <utility>

namespace tessaro {

// The outcome of an operation that can fail. A failure carries a message for the
// operator that names the file and the reason ("Cannot write /x/P1.RCM: No space left").
class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Failed(std::string message) { return Status(std::move(message)); }

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  Status() = default;
  explicit Status(std::string message) : error_(std::move(message)) {
    if (error_.empty()) error_ = "unknown error";
  }
  std::string error_;
};

}  // namespace tessaro
