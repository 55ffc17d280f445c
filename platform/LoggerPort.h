#pragma once

#include <memory>
#include <string>
#include <variant>

#include "SerialPort.h"
#include "logger/LoggerLink.h"

namespace tellurix::platform {

// Opens the logger's port exclusively and sets it to 4800 baud, 8N1. `portName` is what
// FindLoggerPort gave, or empty when it found nothing.
std::variant<std::unique_ptr<SerialPort>, logger::LinkFailure> OpenLoggerLink(const std::string& portName);

// The program's own line: TELLURIX_PORT, else "Port" of the settings file, else the bridge
// attached last (FindLoggerPort); then OpenLoggerLink.
logger::OpenedLink openLoggerPort(const std::string& settingsFile);

}  // namespace tellurix::platform
