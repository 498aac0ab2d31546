#pragma once
// Sets an environment variable for one test and removes it afterwards.

#include <cstdlib>
#include <string>

namespace vtq::cli {

class ScopedVariable {
 public:
  // A null value removes the variable.
  ScopedVariable(const char* name, const char* value) : name_(name) { Set(value); }
  ~ScopedVariable() { Set(nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  void Set(const char* value) {
#ifdef _WIN32
    // An empty text removes a variable on Windows; the tests that need a set
    // but empty variable accept that as the same case.
    _putenv_s(name_.c_str(), value ? value : "");
#else
    if (value)
      setenv(name_.c_str(), value, 1);
    else
      unsetenv(name_.c_str());
#endif
  }

  std::string name_;
};

}  // namespace vtq::cli
