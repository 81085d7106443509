#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tessaro::testing {

// Sets an environment variable and restores it at the end of the scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnvironment() { old_ ? Set(*old_) : (void)::unsetenv(name_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& value) const { ::setenv(name_, value.c_str(), 1); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace tessaro::testing
