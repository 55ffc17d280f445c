#pragma once

#include <stdexcept>
#include <string>

namespace tellurix::tracklog {

// A file the program cannot do without could not be opened: the caller shows the message and
// ends the program with the exit code.
class FatalError : public std::runtime_error {
 public:
  FatalError(const std::string& message, int exitCode) : std::runtime_error(message), exitCode_(exitCode) {}
  [[nodiscard]] int exitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

// An unguarded conversion of a field text failed: the current command ends, the program goes on.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& badText)
      : std::runtime_error("'" + badText + "' is not a valid integer value"), badText_(badText) {}
  [[nodiscard]] const std::string& badText() const { return badText_; }

 private:
  std::string badText_;
};

}  // namespace tellurix::tracklog
