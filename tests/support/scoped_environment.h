#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tessaro::testing {

// Sets an environment variable (nullopt removes it) and restores it at the end of the scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnvironment() { Set(old_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::optional<std::string>& value) const {
#ifdef _WIN32
    ::_putenv_s(name_, value ? value->c_str() : "");  // "" removes it
#else
    if (value) {
      ::setenv(name_, value->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
#endif
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace tessaro::testing
