#pragma once

#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "logger/LinkStartup.h"
#include "platform/LoggerLink.h"

namespace tellurix::shell {

// The logger's line, open at 4800 baud, or why it could not be had.
using OpenedLink = std::variant<std::unique_ptr<platform::LoggerLink>, logger::LinkFailure>;

// How the window gets its line; it hands in its settings file, where "Port" may name one.
using LinkOpener = std::function<OpenedLink(const std::string& settingsFile)>;

// The program's own: TELLURIX_PORT, else "Port" of the settings file, else the bridge
// attached last; opened exclusively and set to 4800 baud 8N1.
OpenedLink openLoggerPort(const std::string& settingsFile);

}  // namespace tellurix::shell
