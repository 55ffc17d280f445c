#pragma once

#include <memory>
#include <string>
#include <variant>

#include "platform/SerialPort.h"

namespace tellurix::logger {

// A port that cannot be opened or set up: shown in a message box with one OK button, after
// which the program ends with exitCode.
struct LinkFailure {
  std::string text;
  std::string caption;
  int exitCode = 0;

  friend bool operator==(const LinkFailure&, const LinkFailure&) = default;
};

// Opens the logger's port exclusively and sets it to 4800 baud, 8N1. `portName` is what
// FindLoggerPort gave, or empty when it found nothing.
std::variant<std::unique_ptr<platform::SerialPort>, LinkFailure> OpenLoggerLink(const std::string& portName);

}  // namespace tellurix::logger
